// The Alarm Limits page.
#include <QEvent>

#include "platform/controls/NumericEditModel.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXSetup.h"
#include "setup/ISheetDocument.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/SheetControls.h"
#include "ui_AlarmLimitsPage.h"

using tvane::NumericEditModel;
using tvane::ToQString;
using tvane::ToUtf8;

namespace {

// Module kinds of the document's channel lists.
constexpr std::uint32_t kCloseKinds = 0x1D0;
constexpr std::uint32_t kOpenKinds = 0x190;
constexpr std::uint32_t kPortKinds = 0x800;

void SetupNumber(tvane::CNumericEdit* edit, int mode, const char* text, double low, double high) {
    edit->Setup(mode, text);
    edit->SetRange(low, high);
    edit->setMaxLength(20);
}

} // namespace

CDetailsPage4::CDetailsPage4(CFXSetup* row, const DetailsServices& services)
    : tvane::PropertyPage(sheettext::kAlarmTitle), m_ui(std::make_unique<Ui::AlarmLimitsPage>()),
      m_row(row), m_services(services) {}

CDetailsPage4::~CDetailsPage4() = default;

bool CDetailsPage4::IsLocked() const {
    return m_row->CellFlags == CFXSetup::kCellAll || (m_row->CellFlags & CFXSetup::kCellAlarmTest);
}

bool CDetailsPage4::IsComputedRow() const {
    return m_row->IsComputed();
}

void CDetailsPage4::OnInitPage() {
    m_ui->setupUi(this);
    m_ui->patternEdit->Setup(NumericEditModel::kPattern, sheettext::kEmptyPattern);
    m_ui->patternEdit->setMaxLength(8);
    SetupNumber(m_ui->lowEdit, NumericEditModel::kReal, "0.0", -1e15, 1e15);
    m_ui->highEdit->installEventFilter(this);
    m_ui->lowEdit->installEventFilter(this);
    connect(m_ui->testList, &QComboBox::activated, this, [this] { OnTestChanged(); });
    connect(m_ui->setDefaults, &QPushButton::clicked, this, [this] {
        LoadActions(sheettext::kDefaultActions);
        ApplyEnabling();
    });
    for (auto [box, list] :
         {std::pair{m_ui->closeBox, m_ui->closeList}, std::pair{m_ui->openBox, m_ui->openList}})
        connect(box, &QCheckBox::clicked, this,
                [box, list](bool checked) { list->setEnabled(box->isEnabled() && checked); });
    connect(m_ui->patternBox, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && m_ui->patternEdit->text().isEmpty())
            m_ui->patternEdit->SetText(sheettext::kEmptyPattern);
        for (QWidget* w : std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->patternEdit),
                                                          m_ui->portList,
                                                          static_cast<QWidget*>(m_ui->portLabel)})
            w->setEnabled(checked);
    });
    Refresh();
}

void CDetailsPage4::OnSetActive() {
    if (m_refreshNeeded && IsCreated())
        Refresh();
}

void CDetailsPage4::Refresh() {
    m_refreshNeeded = true;
    const CFXSetup& row = *m_row;
    m_mode = alarmlimits::LimitModeOf(row.Function);
    sheetui::Fill(m_ui->testList, alarmlimits::TestItems(m_mode));
    std::string test = row.Alarms;
    std::string high = row.AlarmHi;
    std::string low = row.AlarmLo;
    switch (m_mode) {
    case alarmlimits::kDigitalRead:
        m_ui->highEdit->Setup(NumericEditModel::kPattern, sheettext::kEmptyPattern);
        m_ui->highEdit->setMaxLength(8);
        if (test.empty())
            test = "Off";
        if (high.size() != 8)
            high = sheettext::kEmptyPattern;
        low.clear();
        break;
    case alarmlimits::kDigitalWrite:
        low.clear();
        break;
    case alarmlimits::kTotalizer:
        SetupNumber(m_ui->highEdit, NumericEditModel::kDigits, "0", 0, 67108863);
        low.clear();
        break;
    case alarmlimits::kAnalog:
        SetupNumber(m_ui->highEdit, NumericEditModel::kReal, "0.0", -1e15, 1e15);
        break;
    }

    sheetui::SelectPrefix(m_ui->testList, test);
    m_ui->highEdit->SetText(high);
    m_ui->lowEdit->SetText(low);
    sheetui::Fill(m_ui->outputList, {"Alarm1", "Alarm2", "Alarm3", "Alarm4"});
    sheetui::SelectPrefix(m_ui->outputList, row.AlarmEvent);

    // The lists of what an action can work on.
    std::vector<ISheetDocument::Channel> close, open, ports;
    if (m_services.document != nullptr) {
        close = m_services.document->GetChannels(kCloseKinds);
        open = m_services.document->GetChannels(kOpenKinds);
        ports = m_services.document->GetChannels(kPortKinds);
    }
    sheetui::FillChannels(m_ui->closeList, close);
    sheetui::FillChannels(m_ui->openList, open);
    sheetui::FillChannels(m_ui->portList, ports);
    m_available = {!close.empty(), !open.empty(), !ports.empty()};
    LoadActions(row.AlarmActions);
    ApplyEnabling();
}

void CDetailsPage4::LoadActions(const std::string& list) {
    m_stored = alarmlimits::ParseActions(list);
    const alarmlimits::Actions& a = m_stored;
    m_ui->stopBox->setChecked(a.stopScan);
    m_ui->beepBox->setChecked(a.beep);
    m_ui->logBox->setChecked(a.logEvent);
    // Each action keeps its stored tick, also when the setup has nothing for
    // it to work on; it is then shown disabled and written back as it was.
    m_ui->closeBox->setChecked(a.closeChannel);
    m_ui->openBox->setChecked(a.openChannel);
    m_ui->patternBox->setChecked(a.bitPattern);
    m_ui->closeList->setCurrentIndex(-1);
    m_ui->openList->setCurrentIndex(-1);
    m_ui->portList->setCurrentIndex(-1);
    sheetui::SelectPrefix(m_ui->closeList, a.closeText);
    sheetui::SelectPrefix(m_ui->openList, a.openText);
    if (!a.pattern.empty())
        m_ui->patternEdit->SetText(a.pattern);
    sheetui::SelectPrefix(m_ui->portList, a.port);
}

void CDetailsPage4::ApplyEnabling() {
    std::vector<QWidget*> everything = {
        m_ui->testList,   m_ui->highEdit,   m_ui->lowEdit,     m_ui->stopBox,
        m_ui->beepBox,    m_ui->logBox,     m_ui->closeBox,    m_ui->openBox,
        m_ui->patternBox, m_ui->outputList, m_ui->closeList,   m_ui->openList,
        m_ui->portList,   m_ui->portLabel,  m_ui->patternEdit, m_ui->setDefaults};
    if (IsLocked()) {
        for (QWidget* w : everything)
            w->setEnabled(false);
        return;
    }
    const auto enabling = alarmlimits::EnablingFor(sheetui::Selected(m_ui->testList));
    if (!enabling)
        return;
    m_ui->testList->setEnabled(true);
    m_ui->highEdit->setEnabled(enabling->high);
    m_ui->lowEdit->setEnabled(enabling->low);
    alarmlimits::Actions ticked;
    ticked.closeChannel = m_ui->closeBox->isChecked();
    ticked.openChannel = m_ui->openBox->isChecked();
    ticked.bitPattern = m_ui->patternBox->isChecked();
    const auto c =
        alarmlimits::ActionControlsFor(enabling->actions, m_available, ticked, !IsComputedRow());
    for (QWidget* w :
         std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->stopBox), m_ui->beepBox,
                                         m_ui->logBox, static_cast<QWidget*>(m_ui->setDefaults)})
        w->setEnabled(c.stopBeepLogDefaults);
    m_ui->outputList->setEnabled(c.hardwareAlarm);
    m_ui->closeBox->setEnabled(c.closeBox);
    m_ui->closeList->setEnabled(c.closeList);
    m_ui->openBox->setEnabled(c.openBox);
    m_ui->openList->setEnabled(c.openList);
    m_ui->patternBox->setEnabled(c.patternBox);
    for (QWidget* w :
         std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->patternEdit), m_ui->portList,
                                         static_cast<QWidget*>(m_ui->portLabel)})
        w->setEnabled(c.patternControls);
}

void CDetailsPage4::OnTestChanged() {
    const std::string test = sheetui::Selected(m_ui->testList);
    if (test != "Off" && !IsComputedRow()) {
        m_ui->outputList->setEnabled(true);
        sheetui::SelectPrefix(m_ui->outputList, sheettext::kAlarm1);
    }
    ApplyEnabling();
}

bool CDetailsPage4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut &&
        (watched == m_ui->highEdit || watched == m_ui->lowEdit) && m_mode == alarmlimits::kAnalog) {
        const std::string high = ToUtf8(m_ui->highEdit->text());
        const std::string low = ToUtf8(m_ui->lowEdit->text());
        if (alarmlimits::CheckLimits(high, low) == alarmlimits::LimitCheck::LowAboveHigh) {
            if (watched == m_ui->highEdit)
                m_ui->lowEdit->SetText(high);
            else
                m_ui->highEdit->SetText(low);
        }
    }
    return tvane::PropertyPage::eventFilter(watched, event);
}

bool CDetailsPage4::OnKillActive() {
    for (tvane::CNumericEdit* edit : {m_ui->highEdit, m_ui->lowEdit, m_ui->patternEdit})
        if (edit->isEnabled() && !edit->Validate()) {
            edit->setFocus();
            return false;
        }
    const std::string high = ToUtf8(m_ui->highEdit->text());
    const std::string low = ToUtf8(m_ui->lowEdit->text());
    if (m_ui->highEdit->isEnabled() && m_ui->lowEdit->isEnabled()) {
        switch (alarmlimits::CheckLimits(high, low)) {
        case alarmlimits::LimitCheck::LowAboveHigh:
            sheetui::Refuse(sheettext::kLowAboveHigh, sheettext::kAlarmTitle,
                            tvane::MsgIcon::Error);
            return false;
        case alarmlimits::LimitCheck::Equal:
            if (tvane::ShowMessage("High and Low Limits are the same.\nThis may generate an "
                                   "excessive amount of alarms",
                                   tvane::MsgButtons::OkCancel, tvane::MsgIcon::Warning, 0,
                                   sheettext::kAlarmTitle) != tvane::MsgAnswer::Ok)
                return false;
            break;
        case alarmlimits::LimitCheck::Pass:
            break;
        }
    }
    CFXSetup& row = *m_row;
    row.Alarms = sheetui::Selected(m_ui->testList);
    if (row.Alarms.empty()) {
        const auto cleared = alarmlimits::ClearedAlarm(row.CellFlags);
        row.AlarmHi = cleared.high;
        row.AlarmLo = cleared.low;
        row.AlarmEvent = cleared.output;
        row.AlarmActions = cleared.actions;
        return true;
    }
    row.AlarmHi = high;
    row.AlarmLo = low;
    row.AlarmEvent = sheetui::Selected(m_ui->outputList);
    alarmlimits::Actions a;
    a.stopScan = m_ui->stopBox->isChecked();
    a.beep = m_ui->beepBox->isChecked();
    a.logEvent = m_ui->logBox->isChecked();
    a.closeChannel = m_ui->closeBox->isChecked();
    a.openChannel = m_ui->openBox->isChecked();
    a.bitPattern = m_ui->patternBox->isChecked();
    // An action whose list is empty keeps its stored text.
    a.closeText = m_available.close ? sheetui::Selected(m_ui->closeList) : m_stored.closeText;
    a.openText = m_available.open ? sheetui::Selected(m_ui->openList) : m_stored.openText;
    a.pattern = ToUtf8(m_ui->patternEdit->text());
    a.port = m_available.digital ? sheetui::Selected(m_ui->portList) : m_stored.port;
    const auto built = alarmlimits::BuildActions(a);
    if (!built.error.empty()) {
        sheetui::Refuse(built.error, sheettext::kAlarmTitle, tvane::MsgIcon::Warning);
        return false;
    }
    row.AlarmActions = built.list;
    return true;
}
