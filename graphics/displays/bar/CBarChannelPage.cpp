#include "graphics/displays/bar/CBarChannelPage.h"

#include "graphics/displays/bar/CBarFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/pages/PageFields.h"
#include "platform/widgets/QtText.h"
#include "ui_CBarChannelPage.h"

namespace {
const PageRegistration<CBarChannelPage> kBarChannelPage{217};
}

using Model = BarChannelPageModel;

CBarChannelPage::CBarChannelPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Channels"), m_ui(std::make_unique<Ui::CBarChannelPage>()) {}

CBarChannelPage::~CBarChannelPage() = default;

void CBarChannelPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    auto* frame = dynamic_cast<CBarFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<Model>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    for (const std::string& entry : m_model->Entries())
        m_ui->channel->addItem(tvane::ToQString(entry));
    m_ui->channel->setCurrentIndex(m_model->Selected());
    Show(m_model->Init());
    EnableFields();
    connect(m_ui->channel, &QComboBox::activated, this, [this](int entry) {
        Show(m_model->Choose(entry));
        EnableFields();
    });
}

void CBarChannelPage::Show(const Model::Values& v) {
    m_ui->minimum->setText(pagefields::NumberText(v.minimum));
    m_ui->maximum->setText(pagefields::NumberText(v.maximum));
    m_ui->precision->setText(QString::number(v.precision));
}

void CBarChannelPage::EnableFields() {
    const bool on = m_model && m_model->FieldsEnabled();
    m_ui->minimum->setEnabled(on);
    m_ui->maximum->setEnabled(on);
    m_ui->precision->setEnabled(on);
}

bool CBarChannelPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    Model::Values v;
    if (!pagefields::ReadInteger(m_ui->precision, v.precision) ||
        !pagefields::ReadDouble(m_ui->minimum, v.minimum) ||
        !pagefields::ReadDouble(m_ui->maximum, v.maximum))
        return false;
    Model::Field field = Model::kNoField;
    std::string message;
    if (!m_model->Check(v, field, message)) {
        QLineEdit* edit = field == Model::kPrecisionField ? m_ui->precision
                          : field == Model::kMaxField     ? m_ui->maximum
                                                          : m_ui->minimum;
        pagefields::Refuse(edit, message);
        return false;
    }
    m_model->Apply(v);
    return true;
}
