#include "app/eventlog/CEventView.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "app/CLoggerDoc.h"
#include "app/IEventEditDialog.h"
#include "app/eventlog/EventLogRules.h"
#include "app/eventlog/WindowMessages.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Format.h"
#include "platform/gridview/GridFindDialog.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/MfxCursor.h"
#include "shared/view/MfxFontQt.h"

namespace {

constexpr const char* kConfirmDelete = "Are you sure you want to delete selected event(s)?";
constexpr const char* kConfirmDeleteCaption = "Delete Event(s)";
constexpr const char* kNothingSelected = "Nothing selected for operation"; // 901
constexpr const char* kCopied = "The selected data has been successfully copied to the clipboard.";

// The header texts of the data columns.
constexpr const char* kHeaders[] = {"Type", "Channel", "Date/Time", "Description"};
constexpr int kWidths[] = {40, 90, 70, 125, 110};
constexpr int kTimeColumn = 3;

// The code the focus-change message carries for a key.
int MessageKey(int key) {
    switch (key) {
    case Qt::Key_Escape:
        return eventlog::kKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return eventlog::kKeyTab;
    default:
        return key;
    }
}

} // namespace

CEventView::CEventView(QWidget* parent) : GridView(parent) {
    tvane::GridCore& grid = Core();
    grid.SetColCount(4);
    for (int col = 1; col <= 4; ++col)
        grid.SetHeaderText(col, kHeaders[col - 1]);
    for (int col = 0; col <= 4; ++col)
        grid.SetColWidth(col, kWidths[col]);
    grid.SetRowCountSource([this] { return m_doc ? m_doc->GetEventCount() : 0; });
    grid.SetCellTextSource([this](int row, int col, std::string& text) {
        return m_doc != nullptr && m_doc->GetEventCellText(row - 1, col - 1, text);
    });
    SetHighlightCurrentRow(true);
    setFont(CreateFontByPoints(nullptr, "MS Sans Serif", 8, 0));
    ApplyColWidths();
}

CEventView::~CEventView() {
    if (m_doc != nullptr)
        m_doc->RemoveView(this);
}

void CEventView::SetDocument(CLoggerDoc* document) {
    if (m_doc == document)
        return;
    if (m_doc != nullptr)
        m_doc->RemoveView(this);
    m_doc = document;
    if (m_doc != nullptr)
        m_doc->AddView(this);
    FitTimeColumn();
    ResetGrid();
}

void CEventView::FitTimeColumn() {
    // The set width is a least: a date and time as the document's format
    // writes them, in the grid's font, is never cut.
    int width = kWidths[kTimeColumn];
    if (m_doc != nullptr) {
        const tvane::GridStyle style = Core().GetStyle(1, kTimeColumn);
        for (int hour : {10, 22})
            width =
                std::max(width, CellWidthFor(QString::fromStdString(m_doc->FormatTimeMs(
                                                 tvane::CTime(2037, 12, 28, hour, 58, 58), 888)),
                                             style));
    }
    Core().SetColWidth(kTimeColumn, width);
    ApplyColWidths();
}

void CEventView::OnUpdate(IView*, long hint, const HintObject& object) {
    const eventlog::HintAction action = eventlog::ClassifyHint(hint, object);
    switch (action.kind) {
    case eventlog::HintAction::Reset:
        FitTimeColumn();
        ResetGrid();
        break;
    case eventlog::HintAction::Redraw:
        Redraw();
        break;
    case eventlog::HintAction::StoreEvent:
        if (m_doc != nullptr) {
            m_doc->AddEvent(*action.event);
            m_doc->LogEvent();
        }
        Redraw();
        break;
    case eventlog::HintAction::ShowEvent: {
        Redraw();
        int row = 0, col = 0;
        if (Core().GetCurrentCell(row, col))
            SetCurrentCell(row, 0);
        SetCurrentCell(action.index + 1, 0);
        ScrollToCell(action.index + 1, 0);
        break;
    }
    case eventlog::HintAction::Ignore:
        break;
    }
}

void CEventView::AddEvent() {
    if (m_doc != nullptr)
        m_doc->AddUserEvent();
}

bool CEventView::EditEvent() {
    int row = 0, col = 0;
    if (m_doc == nullptr || m_doc->GetServices().eventEditDialog == nullptr ||
        !Core().GetCurrentCell(row, col))
        return false;
    CEventEditFields fields;
    fields.addMode = false;
    std::int32_t type = -1;
    CLoggerDoc::GetEventTypeFromText(CellText(row, 1), type);
    fields.type = static_cast<std::uint32_t>(type);
    fields.typeText = CellText(row, 1);
    fields.channelText = tvane::Format("<%s>", CellText(row, 2).c_str());
    fields.timeText = CellText(row, 3);
    fields.description = CellText(row, 4);

    CDatasetEvent event;
    {
        tvane::CMfxWaitCursor wait;
        if (!m_doc->GetEvent(row - 1, event))
            return false;
    }
    if (!m_doc->GetServices().eventEditDialog->Run(*m_doc, fields))
        return false;
    // The type and time of a stored event stay as they were.
    event.m_channel = fields.channel;
    event.m_text = fields.description;
    m_doc->SetEvent(row - 1, event);
    Redraw();
    return true;
}

void CEventView::DeleteEvents() {
    if (m_doc == nullptr || !Core().HasCurrentCell())
        return;
    if (tvane::ShowMessage(kConfirmDelete, tvane::MsgButtons::YesNo, tvane::MsgIcon::Question, 0,
                           kConfirmDeleteCaption) != tvane::MsgAnswer::Yes)
        return;
    {
        tvane::CMfxWaitCursor wait;
        const tvane::GridRangeList ranges = Core().GetSelection();
        if (ranges.empty()) {
            tvane::ShowMessage(kNothingSelected, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
            return;
        }
        bool failed = false;
        for (const auto& [index, count] : tvane::RowRemovalSteps(ranges)) {
            for (int i = 0; i < count && !failed; ++i)
                failed = !m_doc->DeleteEvent(index);
            if (failed)
                break;
        }
    }
    ClearGridSelection();
    Redraw();
    if (m_doc->GetEventCount() > 0) {
        if (!Core().HasCurrentCell())
            SetCurrentCell(1, 1);
    } else {
        SetCurrentCell(0, 0);
    }
    viewport()->update();
}

tvane::GridFindDialog* CEventView::FindEvent() {
    int row = 0, col = 0;
    Core().GetCurrentCell(row, col);
    return OpenFindDialog(QString::fromStdString(CellText(row, col)));
}

void CEventView::CopyToClipboard() {
    const tvane::GridRangeList ranges = Core().GetSelection();
    if (ranges.empty()) {
        tvane::ShowMessage(kNothingSelected, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return;
    }
    const std::string text = tvane::BuildCopyText(ranges, Core().GetColCount(),
                                                  [this](int row, int col, std::string& t) {
                                                      t = CellText(row, col);
                                                      return true;
                                                  });
    QApplication::clipboard()->setText(QString::fromStdString(text));
    tvane::ShowMessage(kCopied);
}

void CEventView::ActivateView() {
    const int count = Core().GetRowCount();
    if (count == 0)
        return;
    int row = 0, col = 0;
    Core().GetCurrentCell(row, col);
    if (row < 1 || row > count)
        row = 1;
    if (col < 1 || col > 4)
        col = 1;
    SetCurrentCell(row, col);
}

void CEventView::PostFocusChange(long long key, long long flag) {
    QObject* target = m_target ? m_target.data() : window();
    WindowMessage::Post(target, FocusChangeMessage(), key, flag);
}

bool CEventView::event(QEvent* e) {
    if (e->type() == CopyToClipboardMessage()) {
        CopyToClipboard();
        return true;
    }
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool shift =
                key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
            PostFocusChange(0, shift ? 1 : 0);
            return true;
        }
    }
    if (e->type() == QEvent::ShortcutOverride) {
        // Alt and a letter are the bar's commands from here, not the buttons'
        // mnemonics.
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->modifiers().testFlag(Qt::AltModifier) && key->key() != Qt::Key_Alt) {
            e->accept();
            return true;
        }
    }
    return GridView::event(e);
}

void CEventView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        PostFocusChange(eventlog::kKeyEscape, 0);
        return;
    }
    if (e->modifiers().testFlag(Qt::AltModifier) && e->key() != Qt::Key_Alt) {
        PostFocusChange(MessageKey(e->key()), 0);
        return;
    }
    if (e->key() == Qt::Key_C && e->modifiers().testFlag(Qt::ControlModifier))
        return; // copied when the key comes up
    GridView::keyPressEvent(e);
}

void CEventView::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_C && e->modifiers().testFlag(Qt::ControlModifier)) {
        WindowMessage::Post(this, CopyToClipboardMessage());
        return;
    }
    GridView::keyReleaseEvent(e);
}

void CEventView::focusInEvent(QFocusEvent* e) {
    ActivateView();
    GridView::focusInEvent(e);
}

void CEventView::mouseDoubleClickEvent(QMouseEvent* e) {
    int row = 0, col = 0;
    if (HitTest(e->position().toPoint(), row, col) && row >= 1) {
        emit commandRequested(kEdit);
        return;
    }
    GridView::mouseDoubleClickEvent(e);
}

void CEventView::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    const struct {
        const char* text;
        unsigned id;
    } items[] = {{"&Add...", kAdd}, {"&Edit...", kEdit}, {"&Delete", kDelete}};
    for (const auto& item : items)
        menu.addAction(item.text, this, [this, id = item.id] { emit commandRequested(id); });
    menu.addSeparator();
    menu.addAction("&Print...", this, [this] { emit commandRequested(kPrint); });
    menu.exec(e->globalPos());
}
