#include "app/frame/CProgressDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/frame/CProgressMeter.h"

namespace {

const char* CaptionText(unsigned id) {
    switch (id) {
    case CProgressDialog::kUploadingConfigs:
        return "Uploading Channel Configurations";
    case CProgressDialog::kUploadingData:
        return "Uploading Instrument Data";
    default:
        return "Downloading Channel Configurations";
    }
}

} // namespace

CProgressDialog::CProgressDialog(unsigned captionId)
    : m_captionId(captionId ? captionId : kDownloading) {
    setWindowTitle(CaptionText(m_captionId));
    // Dialog units of the layout scaled to pixels (about 1.5 x 1.6 per unit).
    setFixedSize(280, 128);
    m_status = new QLabel(this);
    m_status->setGeometry(20, 11, 240, 14);
    m_percent = new QLabel(" 0 %", this);
    m_percent->setGeometry(122, 37, 40, 14);
    m_meter = new CProgressMeter(this);
    m_meter->setGeometry(22, 55, 231, 21);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(100, 94, 75, 23);
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancel = true; });
}

CProgressDialog::~CProgressDialog() {
    DestroyWindow();
}

bool CProgressDialog::Create(QWidget* parent) {
    QWidget* owner = parent ? parent->window() : nullptr;
    if (owner && owner->isEnabled()) {
        owner->setEnabled(false);
        m_ownerDisabled = true;
        m_owner = owner;
    }
    setParent(owner, Qt::Dialog);
    m_meter->SetRange(m_lower, m_upper);
    m_meter->SetStep(m_step);
    m_meter->SetPos(m_lower);
    // The dialog stays usable while its owner is disabled.
    setEnabled(true);
    show();
    if (owner) {
        const QRect o = owner->frameGeometry();
        move(o.center() - rect().center());
    }
    if (!isVisible()) {
        DestroyWindow();
        return false;
    }
    return true;
}

void CProgressDialog::DestroyWindow() {
    if (m_ownerDisabled && m_owner)
        m_owner->setEnabled(true);
    m_ownerDisabled = false;
    hide();
}

void CProgressDialog::SetStatusText(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
}

QString CProgressDialog::StatusText() const {
    return m_status->text();
}

void CProgressDialog::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_meter->SetRange(lower, upper);
}

void CProgressDialog::SetStep(int step) {
    m_step = step;
    m_meter->SetStep(step);
}

int CProgressDialog::SetPos(int pos) {
    if (m_meter->GetPos() == pos)
        return -1;
    PumpMessages();
    const int result = m_meter->SetPos(pos);
    UpdatePercent(pos);
    return result;
}

int CProgressDialog::OffsetPos(int delta) {
    PumpMessages();
    const int previous = m_meter->OffsetPos(delta);
    UpdatePercent(previous + delta);
    return previous;
}

int CProgressDialog::StepIt() {
    PumpMessages();
    const int previous = m_meter->StepIt();
    UpdatePercent(previous + m_step);
    return previous;
}

bool CProgressDialog::CheckCancel() {
    PumpMessages();
    const bool cancel = m_cancel;
    m_cancel = false;
    return cancel;
}

void CProgressDialog::reject() {
    m_cancel = true;
}

void CProgressDialog::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString CProgressDialog::PercentFor(int pos, int lower, int upper) {
    long long percent;
    if (upper == lower)
        percent = pos >= upper ? 100 : 0;
    else
        percent =
            (static_cast<long long>(pos) - lower) * 100 / (static_cast<long long>(upper) - lower);
    if (percent != 100)
        percent %= 100;
    return QString("%1%").arg(percent);
}

void CProgressDialog::UpdatePercent(int pos) {
    const QString text = PercentFor(pos, m_lower, m_upper);
    if (m_percent->text() != text)
        m_percent->setText(text);
}

QString CProgressDialog::PercentText() const {
    return m_percent->text();
}
