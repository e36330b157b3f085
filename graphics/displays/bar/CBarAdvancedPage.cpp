#include "graphics/displays/bar/CBarAdvancedPage.h"

#include <QHBoxLayout>

#include "graphics/displays/bar/CBarFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CSpinEdit.h"
#include "ui_CBarAdvancedPage.h"

namespace {
const PageRegistration<CBarAdvancedPage> kBarAdvancedPage{153};
}

CBarAdvancedPage::CBarAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::CBarAdvancedPage>()) {}

CBarAdvancedPage::~CBarAdvancedPage() = default;

void CBarAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    m_rate = new tvane::CSpinEdit(m_ui->ratePlace);
    m_rate->setObjectName("1133");
    auto* place = new QHBoxLayout(m_ui->ratePlace);
    place->setContentsMargins(0, 0, 0, 0);
    place->addWidget(m_rate);
    m_ui->rateLabel->setBuddy(m_rate);
    m_rate->SetRange(BarAdvancedPageModel::kMinRate, BarAdvancedPageModel::kMaxRate);
    m_rate->Attach(true);
    auto* frame = dynamic_cast<CBarFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<BarAdvancedPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    const BarAdvancedPageModel::Values v = m_model->Init();
    m_rate->SetValue(v.updateRate);
    m_ui->grid->setChecked(v.grid);
    (v.orientation == 0 ? m_ui->horizontal : m_ui->vertical)->setChecked(true);
    connect(m_ui->grid, &QCheckBox::clicked, this, [this](bool on) { m_model->SetGrid(on); });
    connect(m_ui->horizontal, &QRadioButton::clicked, this, [this] { m_model->SetOrientation(0); });
    connect(m_ui->vertical, &QRadioButton::clicked, this, [this] { m_model->SetOrientation(1); });
}

bool CBarAdvancedPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    m_rate->SetValue(m_rate->text().toInt());
    const int rate = m_rate->GetValue();
    std::string message;
    if (!m_model->Check(rate, message))
        return false;
    m_model->Apply(rate);
    return true;
}
