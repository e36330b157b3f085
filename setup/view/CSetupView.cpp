#include "setup/view/CSetupView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/grid/GridCellControl.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "setup/ISetupGridOperations.h"
#include "setup/ISetupOptionsSheet.h"
#include "setup/SetupGridController.h"
#include "setup/SetupMessages.h"
#include "setup/SetupTexts.h"
#include "setup/SetupViewCommands.h"
#include "setup/view/CFXComboBox.h"
#include "setup/view/SetupCellControls.h"

CSetupView::CSetupView(ISetupGridOperations& operations, ISetupOptionsSheet& options,
                       QWidget* parent)
    : GridView(parent),
      m_controller(std::make_unique<SetupGridController>(Core(), *this, operations)),
      m_commands(std::make_unique<SetupViewCommands>(*m_controller, options)),
      m_dropDown(RegisterSetupCellControls(*this, *this)) {
    connect(this, &GridView::currentCellChanged, this,
            [this](int row, int col, int, int) { m_controller->CurrentCellMoved(row, col); });
    connect(this, &GridView::cellDoubleClicked, this, &CSetupView::DoubleClicked);
    // F1 anywhere in the grid, its cell editors included, opens the view's help.
    auto* help = new QAction(this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(help);
    connect(help, &QAction::triggered, this, [this] { m_commands->OnCommandHelp(); });
    setPalette([this] {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Base, Qt::white);
        return palette;
    }());
}

CSetupView::~CSetupView() = default;

void CSetupView::InitialUpdate(bool opened) {
    m_controller->InitialUpdate(opened);
    ResetGrid();
    int row = 0, col = 0;
    if (Core().GetCurrentCell(row, col))
        GridView::SetCurrentCell(row, col);
}

void CSetupView::ActivateView(bool active) {
    m_controller->Activate(active);
}

int CSetupView::PrintSetupTo(QPagedPaintDevice& device) {
    const int frozen = Core().GetFrozenCols();
    const bool locked = GridView::LockUpdate(true);
    Core().SetFrozenCols(0);
    SetPrintFitToWidth(false);
    const int pages = PrintTo(device);
    Core().SetFrozenCols(frozen);
    GridView::LockUpdate(locked);
    return pages;
}

bool CSetupView::AcceptsPress(QMouseEvent* event) {
    // No setup, nothing to click; Ctrl never adds a second range.
    return m_controller->Operations().IsSetupLoaded() &&
           !(event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier));
}

long CSetupView::OnMessage(const tvane::Message& message) {
    return m_controller->OnMessage(message);
}

void CSetupView::SyncRowCount() {
    Redraw();
}

void CSetupView::ActivateCurrentCell(bool active) {
    if (active) {
        GridView::ActivateCurrentCell();
        return;
    }
    if (tvane::GridCellControl* control = Core().GetCurrentCellControl())
        control->SetActive(false);
}

void CSetupView::SetStatusText(const std::string& text) {
    emit statusTextChanged(tvane::ToQString(text));
}

void CSetupView::FillDropDown(const std::vector<std::string>& items, const std::string& chosen) {
    m_dropDown->SetItems(items);
    m_dropDown->SelectText(chosen);
}

void CSetupView::SetTabName(const std::string& name) {
    m_tabName = name;
    emit tabNameChanged(tvane::ToQString(name));
}

void CSetupView::SetTabColour(tvane::ColorRef colour) {
    m_tabColour = colour;
    emit tabColourChanged(colour);
}

void CSetupView::ShowPopupMenu(int menuId) {
    emit popupMenuRequested(menuId);
}

bool CSetupView::CopyTextToClipboard(const std::string& text) {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->setText(tvane::ToQString(text));
    return true;
}

bool CSetupView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        event->accept();
        return true;
    }
    return GridView::event(event);
}

bool CSetupView::ProcessKey(QKeyEvent* event) {
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        m_controller->OnKey(SetupGridController::Key::Tab,
                            shift || event->key() == Qt::Key_Backtab);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_controller->OnKey(SetupGridController::Key::Enter, shift);
        return true;
    case Qt::Key_Delete:
        if (!m_controller->OnKey(SetupGridController::Key::Delete, shift) &&
            m_controller->Operations().CanDeleteSelection(Core().GetSelection().front()))
            m_commands->OnEditDelete();
        return true;
    default:
        return false;
    }
}

void CSetupView::RightButtonPressed(int row, int col, const QPoint&) {
    if (!m_controller->Operations().IsSetupLoaded())
        return;
    if (Core().GetSelection().empty() && !Core().HasCurrentCell()) {
        tvane::ShowMessage(setuptext::kNothingSelected, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
        return;
    }
    // The grid's own press has selected an unselected cell already.
    tvane::MessageBus::Send(
        *this, {setupmsg::DispPopup(),
                row >= 0 && col == 0 ? setupmsg::kChannelMenu : setupmsg::kSetupViewMenu,
                0,
                {}});
}

void CSetupView::DoubleClicked(int row, int col) {
    if (!m_controller->Operations().IsSetupLoaded())
        return;
    // A data cell opens its channel; the empty area and the headers but the
    // ID column's open the grid's options.
    if (m_controller->IsDataRow(row))
        m_commands->OnChannelProperties();
    else if (row < 0 || (row < 2 && col != 0))
        m_commands->RunOptionsSheet(ISetupOptionsSheet::kAppearancePage);
}
