#include "app/eventlog/CEventFrame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/eventlog/CEventBarButton.h"
#include "app/eventlog/CEventDialogBar.h"
#include "app/eventlog/CEventView.h"
#include "app/eventlog/EventLogRules.h"
#include "app/eventlog/WindowMessages.h"
#include "platform/gridview/GridFindDialog.h"
#include "platform/ui/Help.h"

CEventFrame::CEventFrame(QWidget* mainWindow) : QWidget(nullptr), m_mainWindow(mainWindow) {
    setWindowTitle("Event Log");
    // Registered before anything can post them.
    FocusChangeMessage();
    CopyToClipboardMessage();

    m_view = new CEventView(this);
    m_bar = new CEventDialogBar(this);
    m_view->SetMessageTarget(this);
    m_bar->SetMessageTarget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_bar);
    setFocusProxy(m_view);

    connect(m_bar, &CEventDialogBar::commandRequested, this,
            [this](unsigned id) { OnCommand(id); });
    connect(m_view, &CEventView::commandRequested, this, [this](unsigned id) { OnCommand(id); });
    connect(m_view, &CEventView::currentCellChanged, this, [this] { UpdateCommands(); });
    QAbstractItemModel* model = m_view->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { UpdateCommands(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateCommands(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { UpdateCommands(); });
    UpdateCommands();
}

CEventFrame::~CEventFrame() {
    if (m_findDialog)
        delete m_findDialog.data();
}

void CEventFrame::SetDocument(CLoggerDoc* document) {
    m_view->SetDocument(document);
    UpdateCommands();
}

bool CEventFrame::IsCommandEnabled(unsigned id) const {
    switch (id) {
    case CEventView::kEdit:
    case CEventView::kFind:
    case CEventView::kDelete:
        return m_view->Core().HasCurrentCell();
    case CEventView::kPrint:
        return m_view->Core().GetRowCount() > 0;
    case CEventView::kAdd:
    case CEventView::kClose:
        return true;
    default:
        return false;
    }
}

void CEventFrame::UpdateCommands() {
    for (unsigned id : CEventDialogBar::kIds)
        m_bar->Button(id)->setEnabled(IsCommandEnabled(id));
}

bool CEventFrame::OnCommand(unsigned id) {
    if (!IsCommandEnabled(id))
        return false;
    switch (id) {
    case CEventView::kAdd:
        m_view->AddEvent();
        m_view->setFocus();
        break;
    case CEventView::kEdit:
        m_view->EditEvent();
        m_view->setFocus();
        break;
    case CEventView::kFind:
        if (m_findDialog)
            m_findDialog->close();
        m_findDialog = m_view->FindEvent();
        break;
    case CEventView::kDelete:
        m_view->DeleteEvents();
        m_view->setFocus();
        break;
    case CEventView::kPrint:
        m_view->PrintLog();
        m_view->setFocus();
        break;
    case CEventView::kClose:
        HideFrame();
        break;
    default:
        return false;
    }
    UpdateCommands();
    return true;
}

void CEventFrame::HideFrame() {
    if (m_mainWindow)
        m_mainWindow->raise();
    hide();
}

void CEventFrame::OnFocusChange(long long key, long long flag) {
    using eventlog::FocusAction;
    const FocusAction action =
        eventlog::FocusChangeAction(static_cast<int>(key), static_cast<long>(flag));
    switch (action) {
    case FocusAction::FocusFirstButton:
        m_bar->First()->setFocus(Qt::TabFocusReason);
        return;
    case FocusAction::FocusLastButton:
        m_bar->Last()->setFocus(Qt::BacktabFocusReason);
        return;
    default:
        break;
    }
    m_bar->First()->setFocus(Qt::OtherFocusReason);
    switch (action) {
    case FocusAction::Add:
        OnCommand(CEventView::kAdd);
        break;
    case FocusAction::Edit:
        OnCommand(CEventView::kEdit);
        break;
    case FocusAction::Find:
        OnCommand(CEventView::kFind);
        break;
    case FocusAction::Delete:
        OnCommand(CEventView::kDelete);
        break;
    case FocusAction::Print:
        OnCommand(CEventView::kPrint);
        break;
    case FocusAction::Hide:
        HideFrame();
        break;
    case FocusAction::FocusView:
        m_view->setFocus(Qt::TabFocusReason);
        break;
    default:
        break;
    }
}

bool CEventFrame::event(QEvent* e) {
    if (e->type() == FocusChangeMessage()) {
        auto* message = static_cast<WindowMessage*>(e);
        OnFocusChange(message->WParam(), message->LParam());
        return true;
    }
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
        tvane::Help().ShowContext(kHelpContext);
        return true;
    }
    return QWidget::event(e);
}

void CEventFrame::closeEvent(QCloseEvent* e) {
    e->ignore();
    HideFrame();
}

void CEventFrame::hideEvent(QHideEvent* e) {
    // Minimising is not hiding: the find window stays with the log.
    if (!e->spontaneous() && m_findDialog) {
        m_findDialog->close();
        m_findDialog = nullptr;
    }
    QWidget::hideEvent(e);
}
