#include "setup/view/CDetailsPropSheet.h"

#include "platform/core/Format.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXSetup.h"
#include "setup/ISheetDocument.h"
#include "setup/SheetTexts.h"
#include "setup/view/SheetControls.h"
#include "ui_ChannelPage.h"

using tvane::ToQString;

// --- Channel page -------------------------------------------------------------

CDetailsPage1::CDetailsPage1(CFXSetup* row, bool monitor)
    : tvane::PropertyPage("Channel"), m_ui(std::make_unique<Ui::ChannelPage>()), m_row(row),
      m_monitor(monitor) {}

CDetailsPage1::~CDetailsPage1() = default;

void CDetailsPage1::OnInitPage() {
    m_ui->setupUi(this);
    const CFXSetup& row = *m_row;
    const bool locked = row.CellFlags == CFXSetup::kCellAll;
    m_ui->includeInScan->setEnabled(!locked && (row.CellFlags & CFXSetup::kCellScan) == 0);
    m_ui->moduleType->setText(ToQString(row.Name));
    m_ui->channelGroup->setTitle(
        ToQString(tvane::Format(sheettext::kChannelGroup, static_cast<long>(row.Channel))));
    m_ui->nameEdit->setMaxLength(20);
    m_ui->nameEdit->setText(ToQString(row.ChannelName));
    m_ui->includeInScan->setChecked(row.ChannelMode != 0);
    sheetui::SetText(m_ui->commentEdit, row.Comment);
    // The comment is limited as it is typed.
    connect(m_ui->commentEdit, &QPlainTextEdit::textChanged, this, [this] {
        QPlainTextEdit* edit = m_ui->commentEdit;
        const QString text = edit->toPlainText();
        if (text.size() > 256) {
            const QSignalBlocker block(edit);
            edit->setPlainText(text.left(256));
            edit->moveCursor(QTextCursor::End);
        }
    });
    m_ui->monitorChannel->setChecked(row.FunctionType != 0 && m_monitor);
    if (row.FunctionType == 0 || row.IsType5WithAllFlags())
        m_ui->monitorChannel->setEnabled(false);
}

bool CDetailsPage1::OnKillActive() {
    m_row->ChannelName = sheetui::Text(m_ui->nameEdit);
    m_row->ChannelMode = m_ui->includeInScan->isChecked() ? 1 : 0;
    m_row->Comment = sheetui::Text(m_ui->commentEdit);
    m_monitor = m_ui->monitorChannel->isChecked();
    return true;
}

// --- The sheet ----------------------------------------------------------------

CDetailsPropSheet::CDetailsPropSheet(const QString& caption, const CFXSetup& row, int startPage,
                                     const DetailsServices& services, bool monitor,
                                     const CCompChnl* computed, QWidget* parent)
    : tvane::PropertySheet(caption, parent), m_copy(std::make_unique<CFXSetup>(row)) {
    m_page1 = new CDetailsPage1(m_copy.get(), monitor);
    AddPage(m_page1);
    if (row.Name == sheettext::kComputed) {
        CCompChnl none;
        m_page5 = new CDetailsPage5(m_copy.get(), computed ? *computed : none, services);
        m_page3 = new CDetailsPage3(m_copy.get());
        m_page4 = new CDetailsPage4(m_copy.get(), services);
        AddPage(m_page5);
        AddPage(m_page3);
        AddPage(m_page4);
    } else if (row.CellFlags != CFXSetup::kCellAll) {
        m_page2 = new CDetailsPage2(m_copy.get(), services);
        m_page3 = new CDetailsPage3(m_copy.get());
        m_page4 = new CDetailsPage4(m_copy.get(), services);
        AddPage(m_page2);
        AddPage(m_page3);
        AddPage(m_page4);
    } else if (startPage > 0) {
        startPage = 0;
    }
    SetStartPage(startPage);
}

CDetailsPropSheet::CDetailsPropSheet(const QString& caption, const CCompChnl& computed,
                                     const DetailsServices& services, QWidget* parent)
    : tvane::PropertySheet(caption, parent) {
    m_page5 = new CDetailsPage5(nullptr, computed, services);
    AddPage(m_page5);
}

CDetailsPropSheet::~CDetailsPropSheet() = default;

bool ChannelDetailsSheet::EditRow(const std::string& caption, const CFXSetup& row, int startPage,
                                  CFXSetup& copy, CCompChnl* computed, RowResult& monitor) {
    CDetailsPropSheet sheet(ToQString(caption), row, startPage, m_services, monitor.monitor,
                            computed, m_parent);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    copy = *sheet.Copy();
    monitor.monitor = sheet.ChannelPage()->Monitor();
    if (computed != nullptr && sheet.ComputedPage() != nullptr)
        computed->Copy(sheet.ComputedPage()->Record());
    return true;
}

bool ChannelDetailsSheet::NewComputedChannel(const std::string& caption, CCompChnl& computed) {
    CDetailsPropSheet sheet(ToQString(caption), computed, m_services, m_parent);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    computed.Copy(sheet.ComputedPage()->Record());
    return true;
}
