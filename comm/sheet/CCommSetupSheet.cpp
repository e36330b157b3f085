#include "comm/sheet/CCommSetupSheet.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "comm/sheet/CommDialogFont.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {

namespace {
// The pause before a search that shows the user it started.
constexpr int kSearchPauseMs = 500;
constexpr int kPageWidth = 460;
constexpr int kPageHeight = 280;
} // namespace

CCommPage1::CCommPage1(CCommSetupSheet& sheet)
    : PropertyPage(QStringLiteral("Select Instrument")), m_sheet(sheet) {}

void CCommPage1::OnInitPage() {
    m_interfaces = new QListWidget(this);
    m_instruments = new QListWidget(this);
    m_settings = new QPushButton(QStringLiteral("&Change Settings..."), this);
    m_search = new QPushButton(QStringLiteral("&Search"), this);
    m_details = new QPushButton(QStringLiteral("&Details..."), this);
    m_connect = new QPushButton(QStringLiteral("Connect &now"), this);
    m_connect->hide();
    for (QPushButton* b : {m_settings, m_search, m_details, m_connect})
        b->setAutoDefault(false);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_interfaces, 0, 0, 3, 1);
    layout->addWidget(m_settings, 0, 1);
    layout->addWidget(m_search, 1, 1);
    layout->addWidget(m_connect, 1, 1);
    layout->addWidget(m_instruments, 3, 0);
    layout->addWidget(m_details, 3, 1, Qt::AlignTop);
    // Room for a whole result line: a connected modem's line is long.
    setMinimumSize(kPageWidth, kPageHeight);
    ApplyDialogFont(this);

    CSetupPageModel& model = m_sheet.Model();
    const bool searchNow = model.Open();
    for (const CSetupPageModel::Entry& e : model.Entries())
        m_interfaces->addItem(QString::fromStdString(e.name));
    m_interfaces->setCurrentRow(model.Selected());
    connect(m_interfaces, &QListWidget::currentRowChanged, this, &CCommPage1::InterfaceChosen);
    connect(m_instruments, &QListWidget::currentRowChanged, this, &CCommPage1::InstrumentChosen);
    connect(m_instruments, &QListWidget::itemDoubleClicked, this, [this] { ShowDetails(); });
    connect(m_search, &QPushButton::clicked, this, [this] { Search(false); });
    connect(m_settings, &QPushButton::clicked, this, &CCommPage1::ChangeSettings);
    connect(m_details, &QPushButton::clicked, this, &CCommPage1::ShowDetails);
    connect(m_connect, &QPushButton::clicked, this, &CCommPage1::ConnectOrHangUp);
    if (searchNow)
        Search(false);
    else
        ShowLines();
}

void CCommPage1::InterfaceChosen(int index) {
    if (m_sheet.Model().SelectInterface(index))
        Search(false);
    else
        ShowLines();
}

void CCommPage1::InstrumentChosen(int index) {
    m_sheet.Model().SelectLine(index);
    UpdateButtons();
}

void CCommPage1::ShowLines() {
    CSetupPageModel& model = m_sheet.Model();
    const QSignalBlocker block(m_instruments);
    m_instruments->clear();
    for (const std::string& line : model.Lines())
        m_instruments->addItem(QString::fromStdString(line));
    m_instruments->setCurrentRow(model.SelectedLine());
    UpdateButtons();
}

void CCommPage1::UpdateButtons() {
    const bool ok = m_sheet.Model().CanAccept();
    m_details->setEnabled(ok);
    m_sheet.OkButton()->setEnabled(ok);
    m_settings->setEnabled(!m_sheet.IsBusy());
    m_search->setEnabled(!m_sheet.IsBusy());
    const CSetupPageModel::LineButton button = m_sheet.Model().Button();
    m_search->setVisible(button == CSetupPageModel::LineButton::Search);
    m_connect->setVisible(button != CSetupPageModel::LineButton::Search);
    m_connect->setText(button == CSetupPageModel::LineButton::HangUp
                           ? QStringLiteral("&Hangup now")
                           : QStringLiteral("Connect &now"));
    m_connect->setEnabled(!m_sheet.IsBusy());
}

void CCommPage1::ConnectOrHangUp() {
    m_connect->setEnabled(false);
    // Dialling pumps messages: the sheet must not close under the call.
    m_sheet.SetBusy(true);
    m_sheet.CancelButton()->setEnabled(false);
    m_sheet.OkButton()->setEnabled(false);
    m_interfaces->setEnabled(false);
    m_sheet.Model().ConnectOrHangUp(static_cast<QWidget*>(this));
    m_sheet.SetBusy(false);
    m_sheet.CancelButton()->setEnabled(true);
    m_interfaces->setEnabled(true);
    ShowLines();
}

void CCommPage1::Search(bool messages) {
    CSetupPageModel& model = m_sheet.Model();
    m_sheet.SetBusy(true);
    m_sheet.CancelButton()->setEnabled(false);
    m_details->setEnabled(false);
    m_sheet.OkButton()->setEnabled(false);
    m_search->setEnabled(false);
    m_settings->setEnabled(false);
    // The pause pumps messages: another interface must not be chosen under the search.
    m_interfaces->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!model.SearchesAtOnce()) {
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < kSearchPauseMs)
            QApplication::processEvents(QEventLoop::AllEvents, kSearchPauseMs);
    }
    model.Search(messages, static_cast<QWidget*>(this));
    QApplication::restoreOverrideCursor();
    m_sheet.SetBusy(false);
    m_sheet.CancelButton()->setEnabled(true);
    m_interfaces->setEnabled(true);
    ShowLines();
}

void CCommPage1::ShowDetails() {
    if (!m_sheet.Model().CanAccept())
        return;
    MessageRequest box;
    box.text = m_sheet.Model().Details();
    box.caption = "Details";
    Prompter().Ask(box);
}

void CCommPage1::ChangeSettings() {
    if (m_sheet.Model().ChangeSettings(static_cast<QWidget*>(this)))
        Search(false);
}

CCommSetupSheet::CCommSetupSheet(const ICommSetupSheet::Request& request, QWidget* parent)
    : PropertySheet(QStringLiteral("Communication Setup"), parent), m_model(request) {
    m_page = new CCommPage1(*this);
    AddPage(m_page);
}

ICommSetupSheet::Result CCommSetupSheet::Run() {
    if (exec() != QDialog::Accepted)
        m_model.Cancel();
    return std::move(m_result);
}

void CCommSetupSheet::accept() {
    if (m_busy)
        return;
    ICommSetupSheet::Result result;
    if (!m_model.Accept(result))
        return;
    m_result = std::move(result);
    PropertySheet::accept();
}

void CCommSetupSheet::reject() {
    // The search pumps messages; closing the sheet under it would pull its
    // transport away.
    if (m_busy)
        return;
    PropertySheet::reject();
}

} // namespace tvane::comm
