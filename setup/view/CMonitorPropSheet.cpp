#include "setup/view/CMonitorPropSheet.h"

#include <QIntValidator>

#include "platform/widgets/QtText.h"
#include "setup/IColorPicker.h"
#include "setup/SheetTexts.h"
#include "setup/view/SheetControls.h"
#include "ui_MonitorPage.h"

using tvane::ToQString;

namespace {

// The monitor can show channels of these module kinds.
constexpr std::uint32_t kMonitorKinds = 0x503;

} // namespace

CMonitorPropPage::CMonitorPropPage(ISheetDocument* document, IColorPicker* picker)
    : tvane::PropertyPage("Settings"), m_ui(std::make_unique<Ui::MonitorPage>()),
      m_document(document), m_picker(picker) {}

CMonitorPropPage::~CMonitorPropPage() = default;

void CMonitorPropPage::OnInitPage() {
    m_ui->setupUi(this);
    m_ui->colorList->addItem(sheettext::kBackground, static_cast<qulonglong>(m_background));
    m_ui->colorList->addItem(sheettext::kText, static_cast<qulonglong>(m_text));
    m_ui->colorList->setCurrentIndex(0);
    ShowSample();
    if (m_refreshRate < 1 || m_refreshRate > 1800)
        m_refreshRate = 5;

    if (m_document != nullptr)
        m_channels = m_document->GetChannels(kMonitorKinds);
    m_ui->channelList->addItem(sheettext::kNone, 0LL);
    int selected = 0;
    for (const auto& channel : m_channels) {
        m_ui->channelList->addItem(ToQString(ChannelItemText(channel.number, channel.name)),
                                   static_cast<qlonglong>(channel.number));
        if (channel.number == m_channel && selected == 0)
            selected = m_ui->channelList->count() - 1;
    }
    m_ui->channelList->setCurrentIndex(selected);
    if (selected == 0)
        m_channel = 0;

    m_ui->refreshEdit->setMaxLength(4);
    m_ui->refreshEdit->setValidator(new QIntValidator(0, 9999, m_ui->refreshEdit));
    m_ui->refreshEdit->setText(QString::number(m_refreshRate));
    (m_format == 1 ? m_ui->formatHex : m_ui->formatDecimal)->setChecked(true);
    UpdateFormatControls();

    connect(m_ui->channelList, &QComboBox::activated, this, [this] {
        m_channel = m_ui->channelList->currentData().toLongLong();
        UpdateFormatControls();
    });
    connect(m_ui->colorList, &QComboBox::activated, this, [this] { ShowSample(); });
    connect(m_ui->changeButton, &QPushButton::clicked, this, [this] { OnChangeColor(); });
    connect(m_ui->formatDecimal, &QRadioButton::clicked, this, [this] { m_format = 0; });
    connect(m_ui->formatHex, &QRadioButton::clicked, this, [this] { m_format = 1; });
}

void CMonitorPropPage::UpdateFormatControls() {
    const ISheetDocument::Channel* found = nullptr;
    for (const auto& channel : m_channels)
        if (channel.number == m_channel && m_channel != 0) {
            found = &channel;
            break;
        }
    if (found == nullptr) {
        m_ui->formatDecimal->setEnabled(false);
        m_ui->formatHex->setEnabled(false);
    } else if (found->kind == 1) {
        m_ui->formatDecimal->setEnabled(true);
        m_ui->formatDecimal->setChecked(true);
        m_format = 0;
        m_ui->formatHex->setEnabled(false);
    } else if (found->kind == 2 || found->kind == 0x400) {
        m_ui->formatDecimal->setEnabled(true);
        m_ui->formatHex->setEnabled(true);
    }
}

void CMonitorPropPage::ShowSample() {
    m_ui->sample->SetColor(
        static_cast<std::uint32_t>(m_ui->colorList->currentData().toULongLong()));
}

void CMonitorPropPage::OnChangeColor() {
    const int item = m_ui->colorList->currentIndex();
    if (item < 0 || m_picker == nullptr)
        return;
    auto colour = static_cast<std::uint32_t>(m_ui->colorList->currentData().toULongLong());
    if (!m_picker->PickColor(colour))
        return;
    m_ui->colorList->setItemData(item, static_cast<qulonglong>(colour));
    ShowSample();
    (item == 0 ? m_background : m_text) = colour;
}

bool CMonitorPropPage::OnKillActive() {
    bool ok = false;
    const unsigned rate = m_ui->refreshEdit->text().toUInt(&ok);
    if (!ok || rate < 1 || rate > 1800) {
        sheetui::Refuse(sheettext::kRefreshRange, "Tvane", tvane::MsgIcon::Warning,
                        m_ui->refreshEdit);
        return false;
    }
    m_refreshRate = rate;
    return true;
}

CMonitorPropSheet::CMonitorPropSheet(const QString& caption, ISheetDocument* document,
                                     IColorPicker* picker, QWidget* parent)
    : tvane::PropertySheet(caption, parent), m_page(new CMonitorPropPage(document, picker)) {
    AddPage(m_page);
}
