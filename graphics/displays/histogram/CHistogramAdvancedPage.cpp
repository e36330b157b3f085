#include "graphics/displays/histogram/CHistogramAdvancedPage.h"

#include "graphics/displays/histogram/CHistogramFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CSpinEdit.h"
#include "ui_CHistogramAdvancedPage.h"

namespace {
const PageRegistration<CHistogramAdvancedPage> kHistogramAdvancedPage{152};
}

CHistogramAdvancedPage::CHistogramAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"),
      m_ui(std::make_unique<Ui::CHistogramAdvancedPage>()) {}

CHistogramAdvancedPage::~CHistogramAdvancedPage() = default;

void CHistogramAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    m_rate = PlaceRateEdit(m_ui->ratePlace, m_ui->rateLabel, "1116");
    auto* frame = dynamic_cast<CHistogramFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<HistogramAdvancedPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    const HistogramAdvancedPageModel::Values v = m_model->Init();
    m_ui->grid->setChecked(v.grid);
    m_ui->follow->setChecked(v.follow);
    m_rate->SetValue(v.updateRate);
    (v.orientation == 0 ? m_ui->horizontal : m_ui->vertical)->setChecked(true);
    connect(m_ui->grid, &QCheckBox::clicked, this, [this](bool on) { m_model->SetGrid(on); });
    connect(m_ui->follow, &QCheckBox::clicked, this, [this](bool on) { m_model->SetFollow(on); });
    connect(m_ui->horizontal, &QRadioButton::clicked, this, [this] { m_model->SetOrientation(0); });
    connect(m_ui->vertical, &QRadioButton::clicked, this, [this] { m_model->SetOrientation(1); });
}

bool CHistogramAdvancedPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    m_rate->SetValue(m_rate->text().toInt());
    m_model->Apply(m_rate->GetValue());
    return true;
}
