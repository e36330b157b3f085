#include "graphics/displays/slider/CSliderAdvancedPage.h"

#include <cmath>
#include <cstdio>

#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>

#include "graphics/displays/slider/CSliderFrame.h"
#include "graphics/displays/slider/SliderRules.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CQmxSpinButton.h"
#include "platform/widgets/QtText.h"
#include "ui_CSliderAdvancedPage.h"

namespace {
// The slider display's "Advanced" page.
const PageRegistration<CSliderAdvancedPage> kAdvancedPage{143};

constexpr int kLowerSpin = 1150;
constexpr int kUpperSpin = 1133;
constexpr int kSpinWidth = 16;
constexpr int kSpinHeight = 20;

QString FormatG(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return QString::fromLatin1(text);
}

int Trunc(double value) {
    return static_cast<int>(std::trunc(value));
}
} // namespace

CSliderAdvancedPage::CSliderAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::CSliderAdvancedPage>()) {}

CSliderAdvancedPage::~CSliderAdvancedPage() = default;

QLineEdit* CSliderAdvancedPage::LowerEdit() const {
    return m_ui->lower;
}
QLineEdit* CSliderAdvancedPage::UpperEdit() const {
    return m_ui->upper;
}
QLineEdit* CSliderAdvancedPage::ResolutionEdit() const {
    return m_ui->resolution;
}

CSliderFrame* CSliderAdvancedPage::Slider() const {
    return dynamic_cast<CSliderFrame*>(m_frame);
}

void CSliderAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    // The dialog's control ids, by which the program's tests find them.
    m_ui->horizontal->setObjectName("1134");
    m_ui->vertical->setObjectName("1135");
    m_ui->upper->setObjectName("1132");
    m_ui->lower->setObjectName("1151");
    m_ui->resolution->setObjectName("1136");
    CSliderFrame* frame = Slider();
    if (!frame)
        return;
    SetHelpId(static_cast<unsigned>(frame->GetHelpId(3)));
    frame->GetLimits(m_lower, m_upper);
    m_value = frame->GetValue();
    m_resolution = frame->GetResolution();

    m_lowerSpin = new tvane::CQmxSpinButton(this);
    m_lowerSpin->Create(this, QRect(0, 0, kSpinWidth, kSpinHeight), kLowerSpin);
    m_lowerSpin->setFixedSize(kSpinWidth, kSpinHeight);
    m_ui->lowerRow->addWidget(m_lowerSpin);
    m_ui->lowerRow->addStretch();
    m_lowerSpin->SetNotifyWindow(this);
    m_lowerSpin->SetRange(static_cast<int>(sliderrules::kMinLimit),
                          static_cast<int>(sliderrules::kMaxLimit) - 1);
    m_lowerSpin->SetPos(Trunc(m_lower));
    m_upperSpin = new tvane::CQmxSpinButton(this);
    m_upperSpin->Create(this, QRect(0, 0, kSpinWidth, kSpinHeight), kUpperSpin);
    m_upperSpin->setFixedSize(kSpinWidth, kSpinHeight);
    m_ui->upperRow->addWidget(m_upperSpin);
    m_ui->upperRow->addStretch();
    m_upperSpin->SetNotifyWindow(this);
    m_upperSpin->SetRange(static_cast<int>(sliderrules::kMinLimit) + 1,
                          static_cast<int>(sliderrules::kMaxLimit));
    m_upperSpin->SetPos(Trunc(m_upper + 0.5));

    (frame->GetOrientation() == SliderModel::kHorizontal ? m_ui->horizontal : m_ui->vertical)
        ->setChecked(true);
    ShowFields();
    connect(m_ui->horizontal, &QRadioButton::clicked, this, [this] {
        if (CSliderFrame* f = Slider(); f && f->GetOrientation() != SliderModel::kHorizontal)
            f->SetOrientation(SliderModel::kHorizontal);
    });
    connect(m_ui->vertical, &QRadioButton::clicked, this, [this] {
        if (CSliderFrame* f = Slider(); f && f->GetOrientation() != SliderModel::kVertical)
            f->SetOrientation(SliderModel::kVertical);
    });
    m_ui->lower->installEventFilter(this);
    m_ui->upper->installEventFilter(this);
}

void CSliderAdvancedPage::ShowFields() {
    m_ui->lower->setText(FormatG(m_lower));
    m_ui->upper->setText(FormatG(m_upper));
    m_ui->resolution->setText(FormatG(m_resolution));
}

bool CSliderAdvancedPage::Exchange() {
    std::string message;
    const auto refuse = [&](QLineEdit* edit) {
        tvane::ShowMessage(message, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        edit->setFocus();
        edit->selectAll();
        return false;
    };
    // Each bound follows the other fields as they stand now.
    const auto lower =
        sliderrules::TakeField(tvane::ToUtf8(m_ui->lower->text()),
                               sliderrules::LowerLimitRange(m_upper, m_resolution), message);
    if (!lower)
        return refuse(m_ui->lower);
    m_lower = *lower;
    const auto upper =
        sliderrules::TakeField(tvane::ToUtf8(m_ui->upper->text()),
                               sliderrules::UpperLimitRange(m_lower, m_resolution), message);
    if (!upper)
        return refuse(m_ui->upper);
    m_upper = *upper;
    const auto resolution =
        sliderrules::TakeField(tvane::ToUtf8(m_ui->resolution->text()),
                               sliderrules::ResolutionRange(m_lower, m_upper), message);
    if (!resolution)
        return refuse(m_ui->resolution);
    m_resolution = *resolution;
    return true;
}

void CSliderAdvancedPage::ApplyLower() {
    CSliderFrame* frame = Slider();
    double lower = 0.0, upper = 0.0;
    frame->GetLimits(lower, upper);
    frame->SetLimits(m_lower, upper);
    if (m_value < m_lower) {
        frame->SetValue(m_lower);
        m_value = frame->GetValue();
    }
}

void CSliderAdvancedPage::ApplyUpper() {
    CSliderFrame* frame = Slider();
    double lower = 0.0, upper = 0.0;
    frame->GetLimits(lower, upper);
    frame->SetLimits(lower, m_upper);
    if (m_value > m_upper) {
        frame->SetValue(m_upper);
        m_value = frame->GetValue();
    }
}

void CSliderAdvancedPage::TieSpins() {
    // The two limits never meet: each spin ends one short of the other.
    m_upperSpin->SetRange(m_lowerSpin->GetPos() + 1, static_cast<int>(sliderrules::kMaxLimit));
    m_lowerSpin->SetRange(static_cast<int>(sliderrules::kMinLimit), m_upperSpin->GetPos() - 1);
}

void CSliderAdvancedPage::LowerLeft() {
    if (IsCancelling() || !Slider() || !Exchange())
        return;
    ApplyLower();
    m_lowerSpin->SetPos(Trunc(m_lower));
    TieSpins();
}

void CSliderAdvancedPage::UpperLeft() {
    if (IsCancelling() || !Slider() || !Exchange())
        return;
    ApplyUpper();
    // The spin takes the new limit before the ranges are tied to it, so the
    // lower spin cannot pass it.
    m_upperSpin->SetPos(Trunc(m_upper));
    TieSpins();
}

long CSliderAdvancedPage::OnMessage(const tvane::Message& message) {
    if (message.id != tvane::CQmxSpinButton::UpDownSpinMessage() || !message.data || !Slider())
        return 0;
    const auto* step = static_cast<const tvane::SpinNotification*>(message.data);
    if (static_cast<int>(message.wParam) == kLowerSpin) {
        m_lowerSpin->SetPos(step->position);
        m_lower = step->position;
        ApplyLower();
        m_ui->lower->setText(FormatG(m_lower));
    } else if (static_cast<int>(message.wParam) == kUpperSpin) {
        m_upperSpin->SetPos(step->position);
        m_upper = step->position;
        ApplyUpper();
        m_ui->upper->setText(FormatG(m_upper));
    } else {
        return 0;
    }
    TieSpins();
    return 1;
}

bool CSliderAdvancedPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Leaving a limit for its own spin button changes nothing yet.
        QWidget* to = focusWidget();
        if (watched == m_ui->lower && to != m_lowerSpin)
            LowerLeft();
        else if (watched == m_ui->upper && to != m_upperSpin)
            UpperLeft();
    }
    return CGraphPage::eventFilter(watched, event);
}

bool CSliderAdvancedPage::OnKillActive() {
    CSliderFrame* frame = Slider();
    if (IsCancelling() || !frame)
        return true;
    if (!Exchange())
        return false;
    frame->SetResolution(m_resolution);
    double lower = 0.0, upper = 0.0;
    frame->GetLimits(lower, upper);
    frame->SetLimits(m_lower, upper);
    frame->GetLimits(lower, upper);
    frame->SetLimits(lower, m_upper);
    return true;
}
