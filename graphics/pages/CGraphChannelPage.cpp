#include "graphics/pages/CGraphChannelPage.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "graphics/CGraphFrame.h"
#include "graphics/pages/CChannelListBox.h"
#include "platform/widgets/QtText.h"

CGraphChannelPage::CGraphChannelPage(int dialogId, int pageId, const QString& caption)
    : CGraphPage(dialogId, pageId, caption) {}

CGraphChannelPage::~CGraphChannelPage() {
    if (m_available)
        m_available->DeleteAll();
}

void CGraphChannelPage::OnInitPage() {
    CGraphPage::OnInitPage();
    if (!m_frame)
        return;
    SetHelpId(static_cast<unsigned>(m_frame->GetHelpId(1)));
    m_slotCount = m_frame->GetChannelSlotCount();
    m_available = std::make_unique<CChannelArray>();
    m_frame->GetAvailableChannels(*m_available);

    auto* layout = new QVBoxLayout(this);
    m_listLabel = new QLabel("&Channel List:", this);
    m_list = new CChannelListBox(this);
    m_list->setObjectName("1301");
    m_listLabel->setBuddy(m_list);
    m_group = new QGroupBox("Display", this);
    auto* groupLayout = new QVBoxLayout(m_group);
    m_channelLabel = new QLabel("&Channel:", m_group);
    m_combo = new QComboBox(m_group);
    m_combo->setObjectName("1300");
    m_channelLabel->setBuddy(m_combo);
    groupLayout->addWidget(m_channelLabel);
    groupLayout->addWidget(m_combo);
    layout->addWidget(m_listLabel);
    layout->addWidget(m_list);
    layout->addWidget(m_group);
    layout->addStretch();
    m_list->SetComboId(m_combo);

    FillCombo(m_combo, true);
    FillSlots();
    if (m_slotCount > 1) {
        // The combo edits the selected row in place.
        m_group->hide();
        m_channelLabel->hide();
        m_combo->setParent(m_list->viewport());
        m_combo->show();
        // It follows the rows as the list is laid out and scrolled.
        m_list->viewport()->installEventFilter(this);
    } else {
        m_listLabel->hide();
        m_channelLabel->setText("Channel:");
        m_list->hide();
    }
    connect(m_combo, &QComboBox::activated, this, [this](int index) { ApplyChannel(index); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { ShowSlot(); });
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { ShowSlot(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        ShowSlot();
        m_combo->setFocus();
    });
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    ShowSlot();
}

bool CGraphChannelPage::eventFilter(QObject* watched, QEvent* event) {
    if (m_list && watched == m_list->viewport() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        ShowSlot();
    return CGraphPage::eventFilter(watched, event);
}

void CGraphChannelPage::FillCombo(QComboBox* combo, bool withChannels) {
    combo->clear();
    combo->addItem(tvane::ToQString(m_none.Label), QVariant::fromValue<void*>(nullptr));
    if (!withChannels || !m_available)
        return;
    for (std::size_t i = 0; i < m_available->GetSize(); ++i)
        if (CChannelInfo* c = m_available->GetAt(i))
            combo->addItem(tvane::ToQString(graphpage::ChannelText(*c)),
                           QVariant::fromValue<void*>(c));
}

void CGraphChannelPage::FillSlots() {
    const int row = std::max(0, m_list->currentRow());
    m_list->clear();
    const CChannelArray* channels = m_frame->GetChannelArray();
    for (int slot = 0; slot < m_slotCount; ++slot) {
        const CChannelInfo* c =
            channels ? channels->GetAt(static_cast<std::size_t>(slot)) : nullptr;
        m_list->addItem(tvane::ToQString(graphpage::SlotRowText(slot, c)));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
}

void CGraphChannelPage::ShowSlot() {
    if (!m_list || !m_combo)
        return;
    const int row = std::max(0, m_list->currentRow());
    if (m_slotCount > 1) {
        const QRect itemRect = m_list->visualRect(m_list->model()->index(row, 0));
        m_combo->setGeometry(CChannelListBox::kCellWidth + 1, itemRect.top(),
                             m_list->viewport()->width() - CChannelListBox::kCellWidth - 1,
                             CChannelListBox::kItemHeight);
    }
    if (QListWidgetItem* item = m_list->item(row)) {
        const int found =
            m_combo->findText(tvane::ToQString(graphpage::AfterTab(tvane::ToUtf8(item->text()))));
        m_combo->setCurrentIndex(std::max(0, found));
    }
}

const CChannelInfo* CGraphChannelPage::ChannelOf(QComboBox* combo, int index) const {
    const auto* c = static_cast<const CChannelInfo*>(combo->itemData(index).value<void*>());
    return c ? c : &m_none;
}

void CGraphChannelPage::ApplyChannel(int comboIndex) {
    const int slot = m_slotCount > 1 ? m_list->currentRow() : 0;
    if (slot < 0 || comboIndex < 0 || !m_frame)
        return;
    const CChannelInfo* channel = ChannelOf(m_combo, comboIndex);
    m_list->item(slot)->setText(tvane::ToQString(std::to_string(slot + 1) + "\t") +
                                m_combo->itemText(comboIndex));
    if (channel->Number == m_none.Number)
        m_frame->RemoveChannelAt(slot);
    else
        m_frame->SetChannelAt(slot, channel);
    m_frame->MarkLayoutChanged(true);
    m_frame->Redraw(true);
    SendSiblingQuery(graphpage::kAppearanceChanged);
}

void CGraphChannelPage::Refill() {
    if (!m_frame || !m_available)
        return;
    m_available->DeleteAll();
    m_frame->GetAvailableChannels(*m_available);
    FillCombo(m_combo, true);
    FillSlots();
    ShowSlot();
}

long CGraphChannelPage::OnQuerySiblings(int code) {
    if (code != graphpage::kChannelsChanged || !IsCreated())
        return 0;
    Refill();
    return 1;
}

// --- The switch channel page ------------------------------------------------------------

CSwitchChannelPage::CSwitchChannelPage(int dialogId, int pageId)
    : CGraphChannelPage(dialogId, pageId, "Channels") {}

void CSwitchChannelPage::OnInitPage() {
    CGraphChannelPage::OnInitPage();
    if (!m_frame)
        return;
    m_mode = m_frame->IsByteDisplay() ? 1 : 0;
    const bool reading = m_frame->IsDigitalReadDisplay();
    m_bit = new QRadioButton(reading ? "&Bit display" : "&Switch/Bit display", this);
    m_byte =
        new QRadioButton(reading ? "&Byte display (available only for digital read channels)"
                                 : "&Byte display  (available only for digital write channels)",
                         this);
    m_byteCombo = new QComboBox(this);
    m_byteCombo->setObjectName("1302");
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(0, m_bit);
    layout->insertWidget(layout->count() - 1, m_byte);
    layout->insertWidget(layout->count() - 1, m_byteCombo);
    (m_mode ? m_byte : m_bit)->setChecked(true);
    if (m_mode == 0) {
        // A byte display needs a port channel: offered only when there is one.
        m_frame->SetChannelFilter(graphpage::SwitchFilter(reading, true));
        CChannelArray ports;
        m_frame->GetAvailableChannels(ports);
        m_byte->setEnabled(ports.GetSize() > 0);
        ports.DeleteAll();
        m_frame->SetChannelFilter(graphpage::SwitchFilter(reading, false));
    }
    Refill();
    FillCombo(m_combo, m_mode == 0);
    FillCombo(m_byteCombo, m_mode == 1);
    ShowSlot();
    EnableForMode();
    connect(m_bit, &QRadioButton::clicked, this, [this] { SetMode(false); });
    connect(m_byte, &QRadioButton::clicked, this, [this] { SetMode(true); });
    connect(m_byteCombo, &QComboBox::activated, this, [this](int index) { ApplyByte(index); });
}

void CSwitchChannelPage::EnableForMode() {
    m_list->setEnabled(m_mode == 0);
    m_combo->setEnabled(m_mode == 0);
    m_byteCombo->setEnabled(m_mode == 1);
}

void CSwitchChannelPage::SetMode(bool byteDisplay) {
    m_mode = byteDisplay ? 1 : 0;
    (byteDisplay ? m_byte : m_bit)->setChecked(true);
    m_frame->SetByteDisplay(byteDisplay);
    m_frame->SetChannelFilter(
        graphpage::SwitchFilter(m_frame->IsDigitalReadDisplay(), byteDisplay));
    EnableForMode();
    OnQuerySiblings(graphpage::kChannelsChanged);
}

void CSwitchChannelPage::ApplyByte(int comboIndex) {
    if (comboIndex < 0 || !m_frame)
        return;
    const CChannelInfo* channel = ChannelOf(m_byteCombo, comboIndex);
    if (channel->Number == m_none.Number)
        m_frame->RemoveChannelAt(0);
    else
        m_frame->SetChannelAt(0, channel);
    m_frame->Redraw(true);
    SendSiblingQuery(graphpage::kAppearanceChanged);
}

long CSwitchChannelPage::OnQuerySiblings(int code) {
    if (code != graphpage::kChannelsChanged || !IsCreated() || !m_byteCombo)
        return 0;
    Refill();
    FillCombo(m_combo, m_mode == 0);
    FillCombo(m_byteCombo, m_mode == 1);
    ShowSlot();
    return 1;
}
