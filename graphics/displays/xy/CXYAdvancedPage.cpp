#include "graphics/displays/xy/CXYAdvancedPage.h"

#include <QHBoxLayout>

#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "platform/widgets/QtText.h"
#include "ui_CXYAdvancedPage.h"

namespace {
const PageRegistration<CXYAdvancedPage> kAdvancedPage{147};
} // namespace

CXYAdvancedPage::CXYAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::CXYAdvancedPage>()) {}

CXYAdvancedPage::~CXYAdvancedPage() = default;

void CXYAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    m_rate = new tvane::CSpinEdit(m_ui->ratePlace);
    m_rate->setObjectName("1091");
    auto* place = new QHBoxLayout(m_ui->ratePlace);
    place->setContentsMargins(0, 0, 0, 0);
    place->addWidget(m_rate);
    m_ui->rateLabel->setBuddy(m_rate);
    m_rate->SetRange(XYAdvancedPageModel::kMinRate, XYAdvancedPageModel::kMaxRate);
    m_rate->Attach(true);
    auto* frame = dynamic_cast<CXYFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<XYAdvancedPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    const XYAdvancedPageModel::Values v = m_model->Init();
    m_ui->grid->setChecked(v.grid);
    m_ui->autoscale->setChecked(v.autoscale);
    m_ui->lines->setChecked(v.lines);
    m_ui->maxScans->setText(QString::number(v.maxScans));
    m_rate->SetValue(v.updateRate);
    for (const std::string& item : m_model->Items())
        m_ui->items->addItem(tvane::ToQString(item));
    for (const std::string& symbol : m_model->Symbols())
        m_ui->symbols->addItem(tvane::ToQString(symbol));
    for (const std::string& size : XYAdvancedPageModel::Sizes())
        m_ui->sizes->addItem(tvane::ToQString(size));
    m_ui->items->setCurrentIndex(0);
    ShowItem(0);

    connect(m_ui->grid, &QCheckBox::clicked, this, [this](bool on) { m_model->SetGrid(on); });
    connect(m_ui->autoscale, &QCheckBox::clicked, this,
            [this](bool on) { m_model->SetAutoscale(on); });
    connect(m_ui->lines, &QCheckBox::clicked, this, [this](bool on) { m_model->SetLines(on); });
    connect(m_ui->items, &QComboBox::currentIndexChanged, this, [this](int i) { ShowItem(i); });
    const auto apply = [this] {
        m_model->SetSymbol(m_ui->items->currentIndex(), m_ui->symbols->currentIndex(),
                           m_ui->sizes->currentIndex());
    };
    connect(m_ui->symbols, &QComboBox::activated, this, apply);
    connect(m_ui->sizes, &QComboBox::activated, this, apply);
}

void CXYAdvancedPage::ShowItem(int item) {
    if (!m_model || item < 0)
        return;
    m_ui->symbols->setCurrentIndex(m_model->SymbolIndex(item));
    m_ui->sizes->setCurrentIndex(m_model->SizeIndex(item));
}

bool CXYAdvancedPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    XYAdvancedPageModel::Values v = m_model->Init();
    bool number = false;
    v.maxScans = m_ui->maxScans->text().trimmed().toInt(&number);
    if (!number)
        v.maxScans = 0; // refused with the range message
    m_rate->SetValue(m_rate->text().toInt());
    v.updateRate = m_rate->GetValue();
    XYAdvancedPageModel::Field field = XYAdvancedPageModel::kNone;
    std::string message;
    if (m_model->Apply(v, field, message))
        return true;
    tvane::ShowMessage(message, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
    QWidget* focus =
        field == XYAdvancedPageModel::kRateField ? static_cast<QWidget*>(m_rate) : m_ui->maxScans;
    focus->setFocus();
    if (field != XYAdvancedPageModel::kRateField)
        m_ui->maxScans->selectAll();
    return false;
}
