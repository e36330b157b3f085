#include "driver/sheet/CGeneralPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "driver/DriverStrings.h"
#include "platform/core/Format.h"
#include "platform/widgets/QtText.h"

namespace tvane::driver {

namespace {
using tvane::ToQString;
} // namespace

CGeneralPage::CGeneralPage(CKXQT7100& driver) : CSettingsPage("Utility", driver) {}

CGeneralPage::~CGeneralPage() = default;

void CGeneralPage::BuildPage() {
    m_model = std::make_unique<CGeneralModel>(Driver());

    auto* layout = new QGridLayout(this);
    m_instrumentTime = new QLabel(this);
    m_computerTime = new QLabel(this);
    m_setToPc = new QPushButton(QStringLiteral("&Set to PC"), this);
    layout->addWidget(m_instrumentTime, 0, 0, 1, 2);
    layout->addWidget(m_setToPc, 0, 2);
    layout->addWidget(m_computerTime, 1, 0, 1, 2);
    // The revisions under the driver's own words for the instrument and its slots.
    m_system = new QLabel(this);
    layout->addWidget(new QLabel(ToQString(DriverText(1022)), this), 2, 0);
    layout->addWidget(m_system, 2, 1, 1, 2);
    for (int i = 0; i < 3; ++i) {
        m_slots[static_cast<std::size_t>(i)] = new QLabel(this);
        layout->addWidget(
            new QLabel(ToQString(tvane::Format(DriverText(1023).c_str(), i + 1)), this), 3 + i, 0);
        layout->addWidget(m_slots[static_cast<std::size_t>(i)], 3 + i, 1, 1, 2);
    }
    layout->setRowStretch(6, 1);

    m_model->Refresh();
    ShowTexts();
    connect(m_setToPc, &QPushButton::clicked, this, [this] {
        m_model->SetToPc();
        ShowTexts();
    });
}

void CGeneralPage::ShowTexts() {
    m_instrumentTime->setText(ToQString(m_model->InstrumentTime()));
    m_computerTime->setText(ToQString(m_model->ComputerTime()));
    m_system->setText(ToQString(m_model->SystemRevision()));
    for (std::size_t i = 0; i < 3; ++i)
        m_slots[i]->setText(ToQString(m_model->SlotRevisions()[i]));
}

} // namespace tvane::driver
