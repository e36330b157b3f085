#include "graphics/displays/histogram/CHistogramChannelPage.h"

#include "graphics/displays/histogram/CHistogramFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/pages/PageFields.h"
#include "platform/widgets/QtText.h"
#include "ui_CHistogramChannelPage.h"

namespace {
const PageRegistration<CHistogramChannelPage> kHistogramChannelPage{151};
}

using Model = HistogramChannelPageModel;

CHistogramChannelPage::CHistogramChannelPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Channels"),
      m_ui(std::make_unique<Ui::CHistogramChannelPage>()) {}

CHistogramChannelPage::~CHistogramChannelPage() = default;

void CHistogramChannelPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    auto* frame = dynamic_cast<CHistogramFrame*>(m_frame);
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
        // Only the value axis follows the channel; the other fields keep what
        // the user typed.
        const Model::Values v = m_model->Choose(entry);
        m_ui->minimum->setText(pagefields::NumberText(v.minimum));
        m_ui->maximum->setText(pagefields::NumberText(v.maximum));
        EnableFields();
    });
}

void CHistogramChannelPage::Show(const Model::Values& v) {
    m_ui->minimum->setText(pagefields::NumberText(v.minimum));
    m_ui->maximum->setText(pagefields::NumberText(v.maximum));
    m_ui->precision->setText(QString::number(v.precision));
    m_ui->bins->setText(QString::number(v.bins));
    m_ui->frequencyMin->setText(pagefields::NumberText(v.frequencyMin));
    m_ui->frequencyMax->setText(pagefields::NumberText(v.frequencyMax));
}

void CHistogramChannelPage::EnableFields() {
    const bool on = m_model && m_model->FieldsEnabled();
    for (QWidget* field :
         {static_cast<QWidget*>(m_ui->minimum), static_cast<QWidget*>(m_ui->maximum),
          static_cast<QWidget*>(m_ui->precision), static_cast<QWidget*>(m_ui->bins)})
        field->setEnabled(on);
}

void CHistogramChannelPage::OnSetActive() {
    if (!m_model)
        return;
    const auto [value, frequency] = m_model->GroupCaptions();
    m_ui->valueGroup->setTitle(tvane::ToQString(value));
    m_ui->frequencyGroup->setTitle(tvane::ToQString(frequency));
}

bool CHistogramChannelPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    // The frequency axis' order first, from the texts as numbers.
    const double frequencyMin = m_ui->frequencyMin->text().trimmed().toDouble();
    const double frequencyMax = m_ui->frequencyMax->text().trimmed().toDouble();
    if (!(frequencyMax > frequencyMin)) {
        pagefields::Refuse(m_ui->frequencyMin, Model::kFrequencyOrder);
        return false;
    }
    Model::Values v;
    if (!pagefields::ReadDouble(m_ui->minimum, v.minimum) ||
        !pagefields::ReadDouble(m_ui->maximum, v.maximum) ||
        !pagefields::ReadInteger(m_ui->precision, v.precision) ||
        !pagefields::ReadInteger(m_ui->bins, v.bins) ||
        !pagefields::ReadDouble(m_ui->frequencyMin, v.frequencyMin) ||
        !pagefields::ReadDouble(m_ui->frequencyMax, v.frequencyMax))
        return false;
    Model::Field field = Model::kNoField;
    std::string message;
    if (!m_model->Check(v, field, message)) {
        QLineEdit* edits[] = {nullptr,    m_ui->minimum,      m_ui->maximum,     m_ui->precision,
                              m_ui->bins, m_ui->frequencyMin, m_ui->frequencyMax};
        pagefields::Refuse(edits[field] ? edits[field] : m_ui->minimum, message);
        return false;
    }
    m_model->Apply(v);
    return true;
}
