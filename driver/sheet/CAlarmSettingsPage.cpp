#include "driver/sheet/CAlarmSettingsPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tvane::driver {

CAlarmSettingsPage::CAlarmSettingsPage(CKXQT7100& driver) : CSettingsPage("Alarm Out", driver) {}

CAlarmSettingsPage::~CAlarmSettingsPage() = default;

void CAlarmSettingsPage::BuildPage() {
    m_model = std::make_unique<CAlarmSettingsModel>(Driver());

    m_outputs = new QListWidget(this);
    for (const std::string& entry : CAlarmSettingsModel::OutputEntries())
        m_outputs->addItem(QString::fromUtf8(entry.c_str()));
    m_outputs->setCurrentRow(0);
    m_clear = new QPushButton(QStringLiteral("Clear"), this);
    m_tracking = new QRadioButton(QStringLiteral("&Tracking"), this);
    m_latched = new QRadioButton(QStringLiteral("Latch on &Fail"), this);
    m_low = new QRadioButton(QStringLiteral("Fail = &Low"), this);
    m_high = new QRadioButton(QStringLiteral("Fail = &High"), this);
    auto* mode = new QButtonGroup(this);
    mode->addButton(m_tracking);
    mode->addButton(m_latched);
    auto* polarity = new QButtonGroup(this);
    polarity->addButton(m_low);
    polarity->addButton(m_high);
    (m_model->Latched() ? m_latched : m_tracking)->setChecked(true);
    (m_model->PolarityHigh() ? m_high : m_low)->setChecked(true);

    auto* clearColumn = new QVBoxLayout;
    clearColumn->addWidget(m_clear);
    clearColumn->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_outputs, 0, 0, 4, 1);
    layout->addLayout(clearColumn, 0, 1, 4, 1);
    layout->addWidget(m_tracking, 0, 2);
    layout->addWidget(m_latched, 1, 2);
    layout->addWidget(m_low, 2, 2);
    layout->addWidget(m_high, 3, 2);

    connect(m_clear, &QPushButton::clicked, this,
            [this] { m_model->Clear(m_outputs->currentRow()); });
    connect(m_tracking, &QRadioButton::clicked, this, [this] { m_model->SetLatched(false); });
    connect(m_latched, &QRadioButton::clicked, this, [this] { m_model->SetLatched(true); });
    connect(m_low, &QRadioButton::clicked, this, [this] { m_model->SetPolarityHigh(false); });
    connect(m_high, &QRadioButton::clicked, this, [this] { m_model->SetPolarityHigh(true); });
}

} // namespace tvane::driver
