#include "comm/sheet/CCallProgressDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/CommStrings.h"
#include "comm/sheet/CommDialogFont.h"

namespace tvane::comm {

CCallProgressDialog::CCallProgressDialog(QWidget* owner)
    : QDialog(owner ? owner->window() : nullptr) {
    setWindowTitle(QString::fromStdString(LoadResString(IDS_DIAL_STATUS)));
    setModal(false);
    m_list = new QListWidget(this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0); // busy: a call takes as long as it takes
    m_progress->setTextVisible(false);
    m_line = new QLabel(this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, &CCallProgressDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_line, 1);
    bottom->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_progress);
    layout->addLayout(bottom);
    ApplyDialogFont(this);
    resize(360, 220);
    CentreDialog(this);
    // No other window takes input while the call is set up (the dialog, a child of its
    // owner's window, must not be disabled with it).
    setWindowModality(Qt::ApplicationModal);
    show();
}

CCallProgressDialog::~CCallProgressDialog() {
    Dismiss();
}

void CCallProgressDialog::AddLine(const QString& text) {
    m_list->addItem(text);
    m_list->scrollToBottom();
    m_line->setText(text);
    m_list->repaint();
}

void CCallProgressDialog::Dismiss() {
    if (!m_up)
        return;
    m_up = false;
    hide();
}

bool CCallProgressDialog::TakeCancel() {
    const bool cancelled = m_cancelled;
    m_cancelled = false;
    return cancelled;
}

void CCallProgressDialog::reject() {
    m_cancelled = true;
}

CallProgressWindow::CallProgressWindow(QWidget* owner) : m_dialog(new CCallProgressDialog(owner)) {}

CallProgressWindow::~CallProgressWindow() {
    delete m_dialog.data();
}

void CallProgressWindow::AddLine(const std::string& text) {
    if (m_dialog)
        m_dialog->AddLine(QString::fromStdString(text));
}

bool CallProgressWindow::IsOpen() const {
    return m_dialog && m_dialog->IsUp();
}

void CallProgressWindow::Close() {
    if (m_dialog)
        m_dialog->Dismiss();
}

bool CallProgressWindow::TakeCancel() {
    // The waits of the dialer pump without user input; the one input that matters
    // while this window is up is its Cancel, and the window is the only one that
    // takes input now.
    if (m_dialog && m_dialog->IsUp())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_dialog && m_dialog->TakeCancel();
}

} // namespace tvane::comm
