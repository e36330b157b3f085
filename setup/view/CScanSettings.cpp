#include "setup/view/CScanSettings.h"

#include <QButtonGroup>

#include "platform/archive/CTime.h"
#include "platform/core/Clock.h"
#include "platform/widgets/CQmxSpinButton.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXScan.h"
#include "setup/ISheetDocument.h"
#include "setup/ScanSettingsRules.h"
#include "setup/SheetTexts.h"
#include "setup/view/SheetControls.h"
#include "ui_ScanSettingsPage.h"

using tvane::CTime;

CScanSettingsPage::CScanSettingsPage()
    : tvane::PropertyPage(sheettext::kScanSettings),
      m_ui(std::make_unique<Ui::ScanSettingsPage>()) {}

CScanSettingsPage::~CScanSettingsPage() = default;

int CScanSettingsPage::StartMode() const {
    const QRadioButton* buttons[] = {m_ui->startImmediately, m_ui->startTrigger, m_ui->startAlarm,
                                     m_ui->startTimed};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

int CScanSettingsPage::StopMode() const {
    const QRadioButton* buttons[] = {m_ui->stopUser, m_ui->stopCount, m_ui->stopTimed};
    for (int i = 0; i < 3; ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

void CScanSettingsPage::OnInitPage() {
    m_ui->setupUi(this);
    m_ui->postScanGroup->hide();
    for (const char* alarm : {"Alarm1", "Alarm2", "Alarm3", "Alarm4"})
        m_ui->alarmList->addItem(alarm);
    if (m_scan == nullptr)
        return;
    const CFXScan& scan = *m_scan;

    QRadioButton* starts[] = {m_ui->startImmediately, m_ui->startTrigger, m_ui->startAlarm,
                              m_ui->startTimed};
    if (scan.m_startMode >= 0 && scan.m_startMode < 4)
        starts[scan.m_startMode]->setChecked(true);
    int alarm = scansettings::ShownAlarm(scan.m_alarmStartChannel);
    // Start on alarm always names an alarm; without one it is the first, as
    // the click on "On alarm:" chooses.
    if (alarm < 0 && scan.m_startMode == CFXScan::kStartOnAlarm)
        alarm = 0;
    m_ui->alarmList->setCurrentIndex(alarm);
    QRadioButton* stops[] = {m_ui->stopUser, m_ui->stopCount, m_ui->stopTimed};
    if (scan.m_stopMode >= 0 && scan.m_stopMode < 3)
        stops[scan.m_stopMode]->setChecked(true);

    m_scanning = m_document != nullptr && m_document->IsScanning();
    const CTime now = CTime::GetCurrentTime();
    const CTime start = scansettings::ShownStartTime(scan.m_startTime, now);
    const CTime stop = scansettings::ShownStopTime(scan.m_stopTime, start);

    // The interval as a time of 1 January 1997 with the hour counter beside it.
    if (m_scan->m_scanInterval > scansettings::kMaxInterval)
        m_scan->m_scanInterval = scansettings::kMaxInterval;
    const auto parts = scansettings::SplitInterval(m_scan->m_scanInterval);
    CDateTimeEditWnd* interval = m_ui->intervalEdit;
    interval->Attach(true);
    interval->SetFormat(sheettext::kIntervalFormat);
    const CTime base(1997, 1, parts.days > 1 ? parts.days : 1, parts.hours, parts.minutes,
                     parts.seconds);
    interval->SetTime(base, parts.milliseconds);
    interval->SetHourCounter(parts.hourCounter);
    interval->SetRange(base - parts.wholeSeconds, 0, base - parts.wholeSeconds + 359999, 999);

    const std::string format =
        m_document != nullptr ? m_document->GetDateTimeFormat() : std::string("%x %X");
    for (auto [edit, shown, stored] : {std::tuple{m_ui->startTimeEdit, start, scan.m_startTime},
                                       std::tuple{m_ui->stopTimeEdit, stop, scan.m_stopTime}}) {
        edit->Attach(true);
        edit->SetFormat(format);
        edit->SetTime(m_scanning ? stored : shown, 0);
    }

    m_ui->countEdit->SetRange(scansettings::kMinCount, scansettings::kMaxCount);
    m_ui->countEdit->Attach(true);
    m_ui->countEdit->SetValue(scansettings::ShownCount(scan.m_scanCount));
    for (auto [edit, spin] :
         {std::pair<QWidget*, QWidget*>{m_ui->intervalEdit, m_ui->intervalEdit->SpinButton()},
          {m_ui->startTimeEdit, m_ui->startTimeEdit->SpinButton()},
          {m_ui->stopTimeEdit, m_ui->stopTimeEdit->SpinButton()},
          {m_ui->countEdit, m_ui->countEdit->SpinButton()}})
        sheetui::FollowBuddy(edit, spin);

    m_ui->leaveScanning->setChecked(scan.m_leaveScanning != 0);
    m_ui->exportFlag->setChecked(scan.m_exportOnPostScan != 0);

    for (QRadioButton* button : starts)
        connect(button, &QRadioButton::clicked, this, [this] { ApplyStartRules(); });
    connect(m_ui->startAlarm, &QRadioButton::clicked, this, [this] {
        if (m_ui->alarmList->currentIndex() < 0)
            m_ui->alarmList->setCurrentIndex(0);
    });
    for (QRadioButton* button : stops)
        connect(button, &QRadioButton::clicked, this, [this] { ApplyStopRules(); });
    ApplyStartRules();
    ApplyStopRules();

    if (m_scanning) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 m_ui->intervalEdit, m_ui->startImmediately, m_ui->startTrigger, m_ui->startAlarm,
                 m_ui->startTimed, m_ui->stopUser, m_ui->stopCount, m_ui->stopTimed,
                 m_ui->alarmList, m_ui->startTimeEdit, m_ui->stopTimeEdit, m_ui->countEdit})
            w->setEnabled(false);
    }
}

void CScanSettingsPage::ApplyStartRules() {
    const auto e = scansettings::EnablingForStart(StartMode());
    m_ui->intervalEdit->setEnabled(e.interval);
    m_ui->alarmList->setEnabled(e.alarm);
    m_ui->startTimeEdit->setEnabled(e.startTime);
}

void CScanSettingsPage::ApplyStopRules() {
    const auto e = scansettings::EnablingForStop(StopMode());
    m_ui->countEdit->setEnabled(e.count);
    m_ui->stopTimeEdit->setEnabled(e.stopTime);
}

bool CScanSettingsPage::OnKillActive() {
    if (m_scan == nullptr)
        return true;
    scansettings::PageValues v;
    v.leaveScanning = m_ui->leaveScanning->isChecked();
    v.exportAfterScan = m_ui->exportFlag->isChecked();
    if (m_scanning) {
        scansettings::Write(v, true, *m_scan);
        return true;
    }
    v.startMode = StartMode();
    v.stopMode = StopMode();
    v.alarmSelection = m_ui->alarmList->currentIndex();
    v.startTime = m_ui->startTimeEdit->GetTime();
    v.startText = m_ui->startTimeEdit->GetText();
    v.stopTime = m_ui->stopTimeEdit->GetTime();
    v.stopText = m_ui->stopTimeEdit->GetText();
    // The count edit takes its typed number when it is left; read it the same way.
    m_ui->countEdit->SetValue(m_ui->countEdit->text().toInt());
    v.count = m_ui->countEdit->GetValue();
    const tvane::LocalTime interval = m_ui->intervalEdit->GetTime().GetLocalTm();
    v.hourCounter = m_ui->intervalEdit->GetHourCounter();
    v.minutes = interval.minute;
    v.seconds = interval.second;
    v.milliseconds = m_ui->intervalEdit->GetMilliseconds();
    const std::string refusal = scansettings::CheckTimes(v, CTime::GetCurrentTime());
    if (!refusal.empty()) {
        sheetui::Refuse(refusal, "Tvane", tvane::MsgIcon::None);
        return false;
    }
    scansettings::Write(v, false, *m_scan);
    return true;
}

CScanSettings::CScanSettings(QWidget* parent)
    : tvane::PropertySheet(sheettext::kScanSettings, parent), m_page(new CScanSettingsPage) {
    AddPage(m_page);
}
