#include "graphics/displays/xy/CXYChannelPage.h"

#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "ui_CXYChannelPage.h"

namespace {
const PageRegistration<CXYChannelPage> kChannelsPage{146};
} // namespace

CXYChannelPage::CXYChannelPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Channels"), m_ui(std::make_unique<Ui::CXYChannelPage>()) {}

CXYChannelPage::~CXYChannelPage() = default;

void CXYChannelPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    auto* frame = dynamic_cast<CXYFrame*>(m_frame);
    if (!frame)
        return;
    m_model = std::make_unique<XYChannelPageModel>(*frame);
    SetHelpId(static_cast<unsigned>(m_model->HelpId()));
    for (const std::string& text : m_model->ChannelTexts()) {
        m_ui->xChannel->addItem(tvane::ToQString(text));
        m_ui->yChannel->addItem(tvane::ToQString(text));
    }
    m_values = m_model->Init();
    m_ui->xChannel->setCurrentIndex(m_values.x.selection);
    m_ui->yChannel->setCurrentIndex(m_values.y.selection);
    ShowAxis(m_values.x, m_ui->xMin, m_ui->xMax, m_ui->xPrecision);
    ShowAxis(m_values.y, m_ui->yMin, m_ui->yMax, m_ui->yPrecision);
    connect(m_ui->xChannel, &QComboBox::activated, this, [this](int index) {
        m_model->SelectX(index, m_values.x);
        ShowAxis(m_values.x, m_ui->xMin, m_ui->xMax, m_ui->xPrecision);
    });
    connect(m_ui->yChannel, &QComboBox::activated, this, [this](int index) {
        m_model->SelectY(index, m_values.y);
        ShowAxis(m_values.y, m_ui->yMin, m_ui->yMax, m_ui->yPrecision);
    });
}

void CXYChannelPage::ShowAxis(const XYChannelPageModel::Axis& axis, QLineEdit* minimum,
                              QLineEdit* maximum, QLineEdit* precision) {
    minimum->setText(
        tvane::ToQString(XYChannelPageModel::FormatBound(axis.minimum, axis.precision)));
    maximum->setText(
        tvane::ToQString(XYChannelPageModel::FormatBound(axis.maximum, axis.precision)));
    precision->setText(QString::number(axis.precision));
    for (QLineEdit* edit : {minimum, maximum, precision})
        edit->setEnabled(axis.enabled);
}

QLineEdit* CXYChannelPage::Edit(XYChannelPageModel::Field field) const {
    switch (field) {
    case XYChannelPageModel::kXPrecision:
        return m_ui->xPrecision;
    case XYChannelPageModel::kYPrecision:
        return m_ui->yPrecision;
    case XYChannelPageModel::kXMin:
        return m_ui->xMin;
    case XYChannelPageModel::kXMax:
        return m_ui->xMax;
    case XYChannelPageModel::kYMin:
        return m_ui->yMin;
    case XYChannelPageModel::kYMax:
        return m_ui->yMax;
    default:
        return nullptr;
    }
}

bool CXYChannelPage::Read(XYChannelPageModel::Values& v, QLineEdit*& field,
                          std::string& message) const {
    v = m_values;
    bool ok = true;
    auto integer = [&](QLineEdit* edit, int& out) {
        if (!ok)
            return;
        out = edit->text().trimmed().toInt(&ok);
        if (!ok) {
            field = edit;
            message = "Please enter an integer.";
        }
    };
    auto number = [&](QLineEdit* edit, double& out) {
        if (!ok)
            return;
        out = edit->text().trimmed().toDouble(&ok);
        if (!ok) {
            field = edit;
            message = "Please enter a number.";
        }
    };
    integer(m_ui->xPrecision, v.x.precision);
    integer(m_ui->yPrecision, v.y.precision);
    number(m_ui->xMin, v.x.minimum);
    number(m_ui->xMax, v.x.maximum);
    number(m_ui->yMin, v.y.minimum);
    number(m_ui->yMax, v.y.maximum);
    return ok;
}

bool CXYChannelPage::OnKillActive() {
    if (!m_model || IsCancelling())
        return true;
    XYChannelPageModel::Values v;
    QLineEdit* field = nullptr;
    std::string message;
    if (Read(v, field, message)) {
        XYChannelPageModel::Field failed = XYChannelPageModel::kNone;
        if (m_model->Apply(v, failed, message)) {
            m_values = v;
            return true;
        }
        field = Edit(failed);
    }
    tvane::ShowMessage(message, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
    if (field) {
        field->setFocus();
        field->selectAll();
    }
    return false;
}
