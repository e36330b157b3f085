#include "graphics/displays/readout/CReadoutPage.h"

#include <algorithm>

#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CSpinEdit.h"
#include "ui_CReadoutPage.h"

namespace {
// The readout's "Advanced" page.
const PageRegistration<CReadoutPage> kAdvancedPage{156};
} // namespace

CReadoutPage::CReadoutPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::CReadoutPage>()) {}

CReadoutPage::~CReadoutPage() = default;

void CReadoutPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    // The dialog's control ids, by which the program's tests find them.
    m_ui->decimal->setObjectName("1074");
    m_ui->hex->setObjectName("1075");
    m_ui->immediate->setObjectName("1100");
    m_ui->scan->setObjectName("1101");
    m_rate = PlaceRateEdit(m_ui->ratePlace, m_ui->rateLabel, "1051");
    auto* frame = dynamic_cast<CReadOutFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<ReadoutPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    m_rate->SetValue(m_model->UpdateRate());
    UpdateControls();
    connect(m_ui->decimal, &QRadioButton::clicked, this, [this] { m_model->SetFormat(0); });
    connect(m_ui->hex, &QRadioButton::clicked, this, [this] { m_model->SetFormat(1); });
    connect(m_ui->immediate, &QRadioButton::clicked, this,
            [this] { SetMode(CReadout::kImmediate); });
    connect(m_ui->scan, &QRadioButton::clicked, this, [this] { SetMode(CReadout::kScan); });
}

void CReadoutPage::UpdateControls() {
    if (!m_model)
        return;
    m_model->Update(m_controls);
    m_ui->decimal->setEnabled(m_controls.decimalEnabled);
    m_ui->hex->setEnabled(m_controls.hexEnabled);
    (m_controls.format == 1 ? m_ui->hex : m_ui->decimal)->setChecked(true);
    (m_controls.mode == CReadout::kImmediate ? m_ui->immediate : m_ui->scan)->setChecked(true);
    m_rate->setEnabled(m_controls.rateEnabled);
    m_ui->rateLabel->setEnabled(m_controls.rateEnabled);
}

void CReadoutPage::SetMode(std::int32_t mode) {
    m_model->SetMode(mode);
    UpdateControls();
    // The channel pages list the channels of the new mode.
    SendSiblingQuery(graphpage::kChannelsChanged);
}

long CReadoutPage::OnQuerySiblings(int code) {
    if (code != graphpage::kAppearanceChanged || !m_model)
        return 0;
    UpdateControls();
    return 1;
}

bool CReadoutPage::OnKillActive() {
    if (!m_rate || !m_model)
        return true;
    // A number typed outside 1 to 5000 is moved into the range.
    m_rate->SetValue(std::clamp(m_rate->text().toInt(), 1, 5000));
    m_model->SetUpdateRate(m_rate->GetValue());
    return true;
}
