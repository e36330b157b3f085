#include "graphics/view/CGraphViewWnd.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QRubberBand>
#include <QScreen>
#include <QScrollBar>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDocument.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphicsWindowsDialog.h"
#include "graphics/view/GraphClipboard.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/ui/Help.h"
#include "platform/widgets/QtDragTracker.h"
#include "platform/widgets/QtText.h"

namespace {

// Moves a rubber band with the mouse until a click places it (true) or Escape
// or the right button gives up (false).
class PasteTracker final : public QObject {
public:
    PasteTracker(QWidget* page, const QRect& start)
        : m_page(page), m_band(QRubberBand::Rectangle, page) {
        m_band.setGeometry(start);
        m_band.show();
        m_offset = QPoint(1, 1);
        page->setMouseTracking(true);
        qApp->installEventFilter(this);
    }
    ~PasteTracker() override {
        qApp->removeEventFilter(this);
        m_page->setMouseTracking(false);
    }
    bool Run() {
        m_loop.exec();
        return m_placed;
    }
    QRect Placed() const { return m_band.geometry(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const QPoint p =
                m_page->mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            m_band.move(p - m_offset);
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            m_placed =
                e->button() == Qt::LeftButton && m_page->rect().intersects(m_band.geometry());
            m_loop.quit();
            return true;
        }
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                m_placed = false;
                m_loop.quit();
            }
            return true;
        default:
            return false;
        }
    }

private:
    QWidget* m_page;
    QRubberBand m_band;
    QPoint m_offset;
    QEventLoop m_loop;
    bool m_placed = false;
};

} // namespace

CGraphViewWnd::CGraphViewWnd(IGraphDocument* document, std::function<void(IView*)> attach,
                             std::function<void(IView*)> detach, QWidget* parent)
    : QWidget(parent), m_model(std::make_unique<CGraphView>(this, document)),
      m_detach(std::move(detach)) {
    setObjectName("GraphView");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_model->SetClipboard(&QtGraphClipboard::Instance());
    m_model->SetRectTracker([this](const GRect& r) { return TrackPaste(r); });
    m_vBar = MakeScrollBar(true);
    m_hBar = MakeScrollBar(false);
    m_model->OnInitialUpdate(false);
    tvane::SetDropTarget(this, m_model.get());

    m_menu = new QMenu(this);
    m_menu->addAction(AddAction(kEditCut, "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X)));
    m_menu->addAction(AddAction(kEditCopy, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)));
    m_menu->addAction(AddAction(kEditPaste, "&Paste\t", QKeySequence(Qt::CTRL | Qt::Key_V)));
    QAction* del = AddAction(kDelete, "&Delete", QKeySequence(Qt::Key_Delete));
    del->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_F4)});
    m_menu->addAction(del);
    m_menu->addSeparator();
    m_menu->addAction(AddAction(kAddEvent, "&Add Event..."));
    m_menu->addSeparator();
    m_menu->addAction(
        AddAction(kProperties, "Properties...", QKeySequence(Qt::ALT | Qt::Key_Return)));
    AddAction(kNextDisplay, "Next Display", QKeySequence(Qt::CTRL | Qt::Key_Tab));
    AddAction(kHelp, "Help", QKeySequence(Qt::Key_F1));
    if (attach)
        attach(m_model.get());
}

CGraphViewWnd::~CGraphViewWnd() {
    if (m_detach)
        m_detach(m_model.get());
    // The displays' windows go with the model, before this window's children.
    tvane::SetDropTarget(this, nullptr);
    m_model.reset();
}

QAction* CGraphViewWnd::AddAction(unsigned id, const QString& text, const QKeySequence& key) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!key.isEmpty())
        action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    return action;
}

void CGraphViewWnd::LeaveKeysToMenu(unsigned id, const QList<QKeySequence>& keys) {
    for (QAction* action : actions()) {
        if (action->data().toUInt() != id)
            continue;
        QList<QKeySequence> own = action->shortcuts();
        for (const QKeySequence& key : keys)
            own.removeAll(key);
        action->setShortcuts(own);
    }
}

bool CGraphViewWnd::IsCommandEnabled(unsigned id) const {
    switch (id) {
    case kEditCut:
    case kEditCopy:
    case kDelete:
        return m_model->CanCopy();
    case kEditPaste:
        return m_model->CanPaste();
    case kWindows:
        return m_model->GetFrameCount() > 0;
    default:
        return true;
    }
}

bool CGraphViewWnd::RunCommand(unsigned id) {
    if (!IsCommandEnabled(id))
        return false;
    switch (id) {
    case kEditCut:
        m_model->OnEditCut();
        return true;
    case kEditCopy:
        m_model->OnEditCopy();
        return true;
    case kEditPaste:
        m_model->Paste(true);
        return true;
    case kDelete:
        m_model->DeleteSelected(true);
        return true;
    case kProperties:
        m_model->EditSelectedProperties();
        return true;
    case kNextDisplay:
        m_model->SelectNext();
        return true;
    case kWindows: {
        CGraphicsWindowsDialog dialog(*m_model, this);
        dialog.exec();
        return true;
    }
    case kHelp:
        tvane::Help().ShowContext(m_model->GetHelpId());
        return true;
    case kAddEvent:
        if (m_commandSink)
            m_commandSink(id);
        return true;
    default:
        if (graphfactory::FindCommand(id)) {
            m_model->CreateDisplay(id);
            return true;
        }
        return false;
    }
}

void CGraphViewWnd::ShowContextMenu(const QPoint& global) {
    // A selected display the click is not on is deselected first.
    if (CGraphFrame* selected = m_model->GetSelected()) {
        const GRect r = selected->GetFrameRect();
        const QPoint p = mapFromGlobal(global);
        if (!r.Contains(p.x(), p.y()))
            m_model->DeselectAll();
    }
    for (QAction* action : m_menu->actions())
        if (!action->isSeparator())
            action->setEnabled(IsCommandEnabled(action->data().toUInt()));
    m_menu->popup(global);
}

std::unique_ptr<IGraphFrameWindow> CGraphViewWnd::CreateFrameWindow(CGraphFrame& frame,
                                                                    const GRect& rect, int id) {
    auto window = std::make_unique<CGraphFrameWnd>(frame, this, rect, id);
    window->SetContextMenuHandler([this](const QPoint& global) {
        tvane::MessageBus::DeliverPosted(); // the press's selection first
        ShowContextMenu(global);
    });
    CGraphFrame* f = &frame;
    window->SetDoubleClickHandler([this, f] {
        m_model->SelectFrame(f);
        m_model->EditSelectedProperties();
    });
    return window;
}

std::string CGraphViewWnd::GetTabName() const {
    return m_getTab ? m_getTab() : m_tabName;
}

void CGraphViewWnd::SetTabName(const std::string& name) {
    m_tabName = name;
    if (m_setTab)
        m_setTab(name);
}

std::vector<const IGraphFrameWindow*> CGraphViewWnd::WindowsTopDown() const {
    std::vector<const IGraphFrameWindow*> windows;
    const QObjectList& kids = children(); // bottom of the stacking order first
    for (auto it = kids.rbegin(); it != kids.rend(); ++it)
        if (auto* w = qobject_cast<CGraphFrameWnd*>(*it))
            windows.push_back(w);
    return windows;
}

void CGraphViewWnd::StackTopDown(const std::vector<const IGraphFrameWindow*>& windows) {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (auto* w = dynamic_cast<const CGraphFrameWnd*>(*it))
            const_cast<CGraphFrameWnd*>(w)->raise();
}

bool CGraphViewWnd::RunPageProperties(std::uint32_t& color, std::string& name) {
    IGraphSheetRunner* runner = GraphSheetRunner();
    return runner && runner->RunPageProperties(color, name);
}

std::uintptr_t CGraphViewWnd::SaveFocus() {
    return reinterpret_cast<std::uintptr_t>(new QPointer<QWidget>(QApplication::focusWidget()));
}

void CGraphViewWnd::RestoreFocus(std::uintptr_t token) {
    auto* focus = reinterpret_cast<QPointer<QWidget>*>(token);
    if (!focus)
        return;
    if (*focus)
        (*focus)->setFocus(Qt::OtherFocusReason);
    delete focus;
}

void CGraphViewWnd::ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

void CGraphViewWnd::BeginWait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CGraphViewWnd::EndWait() {
    QApplication::restoreOverrideCursor();
}

std::optional<GRect> CGraphViewWnd::TrackPaste(const GRect& rect) {
    PasteTracker tracker(this, QRect(rect.left, rect.top, rect.Width(), rect.Height()));
    if (!tracker.Run())
        return std::nullopt;
    const QRect r = tracker.Placed();
    return GRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QScrollBar* CGraphViewWnd::MakeScrollBar(bool vertical) {
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, this);
    bar->setObjectName(vertical ? "verticalScrollBar" : "horizontalScrollBar");
    bar->setFocusPolicy(Qt::NoFocus);
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, vertical](int action) {
        using graphgeo::ScrollCode;
        ScrollCode code = ScrollCode::ThumbPosition;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = ScrollCode::LineDown;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = ScrollCode::LineUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = ScrollCode::PageDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = ScrollCode::PageUp;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = ScrollCode::Top;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = ScrollCode::Bottom;
            break;
        case QAbstractSlider::SliderMove:
            code = ScrollCode::ThumbTrack;
            break;
        default:
            break;
        }
        m_model->OnScroll(vertical, code, bar->sliderPosition());
        // The bar shows the page's position, whatever it made of the action.
        bar->setSliderPosition(vertical ? m_model->m_vScroll : m_model->m_hScroll);
    });
    return bar;
}

void CGraphViewWnd::PlaceScrollBars() {
    const int w = m_vBar->sizeHint().width();
    const int h = m_hBar->sizeHint().height();
    m_vBar->setGeometry(width() - w, 0, w, std::max(0, height() - h));
    m_hBar->setGeometry(0, height() - h, std::max(0, width() - w), h);
    m_vBar->raise();
    m_hBar->raise();
}

GRect CGraphViewWnd::GetClientRect() const {
    return {0, 0, std::max(0, width() - m_vBar->sizeHint().width()),
            std::max(0, height() - m_hBar->sizeHint().height())};
}

GPoint CGraphViewWnd::FullScreenClientSize() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize size = s ? s->availableGeometry().size() : QSize(640, 480);
    return {size.width(), size.height()};
}

void CGraphViewWnd::SetScrollInfo(bool vertical, int range, int page, int pos) {
    QScrollBar* bar = vertical ? m_vBar : m_hBar;
    const QSignalBlocker block(bar);
    bar->setRange(0, range);
    bar->setPageStep(page);
    bar->setSingleStep(1);
    bar->setSliderPosition(pos);
}

void CGraphViewWnd::ScrollContent(int dx, int dy) {
    for (QObject* child : children())
        if (auto* w = qobject_cast<CGraphFrameWnd*>(child))
            w->move(w->pos() + QPoint(dx, dy));
    update();
}

void CGraphViewWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_model->SetUpScrollBars();
}

void CGraphViewWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceScrollBars();
}

void CGraphViewWnd::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    if (event->added() && m_vBar && m_hBar && event->child() != m_vBar &&
        event->child() != m_hBar && event->child()->isWidgetType()) {
        event->child()->installEventFilter(this);
        m_vBar->raise();
        m_hBar->raise();
    }
}

bool CGraphViewWnd::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ZOrderChange && watched != m_vBar && watched != m_hBar) {
        m_vBar->raise();
        m_hBar->raise();
    }
    return QWidget::eventFilter(watched, event);
}

void CGraphViewWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_model->GetBackColor()));
}

void CGraphViewWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_pressedOnBackground = true;
    else if (event->button() == Qt::RightButton)
        ShowContextMenu(event->globalPosition().toPoint());
}

void CGraphViewWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressedOnBackground)
        m_model->OnBackgroundClick();
    m_pressedOnBackground = false;
}

void CGraphViewWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    OnDoubleClick(event->globalPosition().toPoint());
}

void CGraphViewWnd::OnDoubleClick(const QPoint& global) {
    CGraphFrame* selected = m_model->GetSelected();
    const QPoint p = mapFromGlobal(global);
    if (selected && selected->GetFrameRect().Contains(p.x(), p.y()))
        m_model->EditSelectedProperties();
    else
        m_model->EditPageProperties();
}

void CGraphViewWnd::focusInEvent(QFocusEvent* event) {
    if (CGraphFrame* selected = m_model->GetSelected(); selected && selected->GetWindow())
        selected->GetWindow()->SetFocus();
    else
        QWidget::focusInEvent(event);
}

void CGraphViewWnd::Print(QPrinter& printer, bool selectionOnly) {
    QPainter painter(&printer);
    PrintOn(painter, printer.pageLayout().paintRectPixels(printer.resolution()), selectionOnly);
}

void CGraphViewWnd::PrintOn(QPainter& painter, const QRect& page, bool selectionOnly) {
    const GRect client = GetClientRect();
    const GPoint view{std::max(1, client.Width()), std::max(1, client.Height())};
    CGraphFrame* selected = selectionOnly ? m_model->GetSelected() : nullptr;
    GPoint selectedClient;
    if (selected && selected->GetWindow()) {
        const GRect c = selected->GetWindow()->GetClientRect();
        selectedClient = {std::max(1, c.Width()), std::max(1, c.Height())};
    }
    const GPoint viewport = graphgeo::PrintViewportExtent({page.width(), page.height()}, view,
                                                          selected ? &selectedClient : nullptr);
    // Isotropic: one scale for both axes.
    const double scale = std::min(double(viewport.x) / view.x, double(viewport.y) / view.y);
    painter.scale(scale, scale);
    QtGraphDC dc(painter);
    // The page is drawn at the sheet's top; its footer goes to the sheet's foot.
    const GRect sheet{0, 0, static_cast<std::int32_t>(page.width() / scale),
                      static_cast<std::int32_t>(page.height() / scale)};
    auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    m_model->PrintPage(dc, selected != nullptr, sheet, [paged] {
        if (paged)
            paged->newPage();
    });
}
