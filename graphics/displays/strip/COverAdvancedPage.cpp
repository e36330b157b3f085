#include "graphics/displays/strip/COverAdvancedPage.h"

#include <QHBoxLayout>
#include <QIntValidator>

#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "platform/widgets/QtText.h"
#include "ui_COverAdvancedPage.h"

namespace {
// The strip chart's "Advanced" page.
const PageRegistration<COverAdvancedPage> kAdvancedPage{141};
} // namespace

COverAdvancedPage::COverAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::COverAdvancedPage>()) {}

COverAdvancedPage::~COverAdvancedPage() = default;

void COverAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    m_rate = new tvane::CSpinEdit(m_ui->ratePlace);
    m_rate->setObjectName("1085");
    auto* place = new QHBoxLayout(m_ui->ratePlace);
    place->setContentsMargins(0, 0, 0, 0);
    place->addWidget(m_rate);
    m_ui->rateLabel->setBuddy(m_rate);
    m_rate->SetRange(1, 5000);
    m_rate->Attach(true);
    auto* frame = dynamic_cast<CXrtOverlayFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<OverAdvancedPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    const OverAdvancedPageModel::Values v = m_model->Init();
    m_ui->maxScans->setText(QString::number(v.maxScans));
    m_ui->relativeReset->setText(QString::number(v.relativeReset));
    m_rate->SetValue(v.updateRate);
    m_ui->grid->setChecked(v.grid);
    (v.style == 0 ? m_ui->point : v.style == 2 ? m_ui->both : m_ui->line)->setChecked(true);
    for (const std::string& item : m_model->Items())
        m_ui->items->addItem(tvane::ToQString(item));
    for (const std::string& symbol : m_model->Symbols())
        m_ui->symbols->addItem(tvane::ToQString(symbol));
    for (const std::string& size : OverAdvancedPageModel::Sizes())
        m_ui->sizes->addItem(tvane::ToQString(size));
    m_ui->items->setCurrentIndex(0);
    ShowItem(0);

    connect(m_ui->grid, &QCheckBox::toggled, this, [this](bool on) { m_model->SetGrid(on); });
    connect(m_ui->point, &QRadioButton::clicked, this, [this] { m_model->SetStyle(0); });
    connect(m_ui->line, &QRadioButton::clicked, this, [this] { m_model->SetStyle(1); });
    connect(m_ui->both, &QRadioButton::clicked, this, [this] { m_model->SetStyle(2); });
    connect(m_ui->items, &QComboBox::currentIndexChanged, this, [this](int i) { ShowItem(i); });
    const auto apply = [this] {
        m_model->SetSymbol(m_ui->items->currentIndex(), m_ui->symbols->currentIndex(),
                           m_ui->sizes->currentIndex());
    };
    connect(m_ui->symbols, &QComboBox::activated, this, apply);
    connect(m_ui->sizes, &QComboBox::activated, this, apply);
}

void COverAdvancedPage::ShowItem(int item) {
    if (!m_model || item < 0)
        return;
    m_ui->symbols->setCurrentIndex(m_model->SymbolIndex(item));
    m_ui->sizes->setCurrentIndex(m_model->SizeIndex(item));
}

OverAdvancedPageModel::Values COverAdvancedPage::Read() const {
    OverAdvancedPageModel::Values v;
    v.maxScans = m_ui->maxScans->text().trimmed().toInt();
    v.relativeReset = m_ui->relativeReset->text().trimmed().toInt();
    m_rate->SetValue(m_rate->text().toInt());
    v.updateRate = m_rate->GetValue();
    v.grid = m_ui->grid->isChecked();
    v.style = m_ui->point->isChecked() ? 0 : m_ui->both->isChecked() ? 2 : 1;
    return v;
}

bool COverAdvancedPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    const OverAdvancedPageModel::Values v = Read();
    std::string message;
    QLineEdit* field = nullptr;
    if (!OverAdvancedPageModel::CheckRange(v.maxScans, OverAdvancedPageModel::kMinScans,
                                           OverAdvancedPageModel::kMaxScans, message))
        field = m_ui->maxScans;
    else if (!OverAdvancedPageModel::CheckRange(v.relativeReset, OverAdvancedPageModel::kMinReset,
                                                OverAdvancedPageModel::kMaxReset, message))
        field = m_ui->relativeReset;
    if (!field)
        return true;
    tvane::ShowMessage(message, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
    field->setFocus();
    field->selectAll();
    return false;
}

void COverAdvancedPage::OnOK() {
    if (!m_model)
        return;
    OverAdvancedPageModel::Field field;
    std::string message;
    m_model->Apply(Read(), field, message);
}
