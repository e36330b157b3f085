// The Measurement page of a measured channel.
#include <QGridLayout>

#include "platform/core/Format.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXSetup.h"
#include "scan/IMeasurementLookup.h"
#include "setup/ISheetDocument.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/SheetControls.h"
#include "ui_MeasurementPage.h"

using measurement::AdvancedValues;
using tvane::ToQString;
using tvane::ToUtf8;

namespace {

// The index of the checked button, -1 when none is.
int Checked(std::initializer_list<QRadioButton*> buttons) {
    int i = 0;
    for (QRadioButton* b : buttons) {
        if (b->isChecked())
            return i;
        ++i;
    }
    return -1;
}

// Checks button index (none for -1); exclusive buttons only clear together.
void Check(std::initializer_list<QRadioButton*> buttons, int index) {
    int i = 0;
    for (QRadioButton* b : buttons) {
        b->setAutoExclusive(false);
        b->setChecked(i++ == index);
        b->setAutoExclusive(true);
    }
}

} // namespace

CDetailsPage2::CDetailsPage2(CFXSetup* row, const DetailsServices& services)
    : tvane::PropertyPage(sheettext::kMeasurementTitle),
      m_ui(std::make_unique<Ui::MeasurementPage>()), m_row(row), m_services(services) {}

CDetailsPage2::~CDetailsPage2() = default;

void CDetailsPage2::OnInitPage() {
    m_ui->setupUi(this);
    const CFXSetup& row = *m_row;
    if (row.CellFlags == CFXSetup::kCellAll || (row.CellFlags & CFXSetup::kCellFunction)) {
        for (QWidget* w : std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->functionList),
                                                          m_ui->rangeList, m_ui->resolutionList,
                                                          m_ui->setDefaults})
            w->setEnabled(false);
    }
    if (row.AdvSettings.empty())
        m_ui->setDefaults->setEnabled(false);

    m_initialising = true;
    for (const std::string& item : measurement::kIntegrationItems)
        m_ui->integrationList->addItem(ToQString(item));
    m_ui->delayList->addItem(measurement::kDelayAuto);
    m_ui->delayList->addItem(measurement::kDelayTime);
    connect(m_ui->functionList, &QComboBox::activated, this, [this] { OnSelchangeFunction(); });
    connect(m_ui->resolutionList, &QComboBox::activated, this, [this] { OnSelchangeResolution(); });
    connect(m_ui->integrationList, &QComboBox::activated, this,
            [this] { OnSelchangeIntegration(); });
    connect(m_ui->delayList, &QComboBox::activated, this, [this] { ShowOptionalEdits(); });
    for (QRadioButton* b : {m_ui->junctionInternal, m_ui->junctionFixed, m_ui->junctionExternal})
        connect(b, &QRadioButton::clicked, this, [this] { ShowOptionalEdits(); });
    connect(m_ui->setDefaults, &QPushButton::clicked, this, [this] { OnSetDefaults(); });

    FillFunctionList();
    m_functionAtOpen = row.Function;
    m_previousFunction = row.Function;
    sheetui::SelectPrefix(m_ui->functionList, row.Function);
    OnSelchangeFunction();
    sheetui::SelectPrefix(m_ui->rangeList, row.Range);
    sheetui::SelectPrefix(m_ui->resolutionList, row.Resolution);
    m_currentMask = row.AdvSettingsType;
    m_workingText = row.AdvSettings;
    ApplyAdvancedMask(!m_laidOut);
    m_initialising = false;
}

void CDetailsPage2::FillFunctionList() {
    QComboBox* list = m_ui->functionList;
    list->clear();
    list->setEnabled(false);
    if (m_row->Name.empty() || m_services.lookup == nullptr)
        return;
    std::vector<std::string> names;
    const auto result =
        m_services.lookup->Functions(static_cast<std::int32_t>(m_row->FunctionType), names);
    if (result == IMeasurementLookup::kFailed) {
        sheetui::Refuse(sheettext::kLookupFailed, sheettext::kMeasurementTitle,
                        tvane::MsgIcon::Error);
        return;
    }
    if (result != IMeasurementLookup::kRows)
        return;
    const bool locked =
        m_row->CellFlags == CFXSetup::kCellAll || (m_row->CellFlags & CFXSetup::kCellFunction);
    list->setEnabled(!locked);
    sheetui::Fill(list, names);
}

void CDetailsPage2::FillRangeAndResolution(const std::string& function) {
    for (QComboBox* list : {m_ui->rangeList, m_ui->resolutionList}) {
        list->clear();
        list->setEnabled(false);
    }
    MeasurementFunction found;
    if (m_row->Name.empty() || function.empty() || m_services.lookup == nullptr)
        return;
    const auto type = static_cast<std::int32_t>(m_row->FunctionType);
    const auto result = m_services.lookup->FindFunction(type, function, found);
    if (result == IMeasurementLookup::kFailed)
        sheetui::Refuse(sheettext::kLookupFailed, sheettext::kMeasurementTitle,
                        tvane::MsgIcon::Error);
    if (result != IMeasurementLookup::kRows)
        return;
    const bool locked =
        m_row->CellFlags == CFXSetup::kCellAll || (m_row->CellFlags & CFXSetup::kCellFunction);
    std::vector<std::string> names;
    const auto ranges = m_services.lookup->Ranges(found.RangeType, names);
    if (ranges == IMeasurementLookup::kRows) {
        sheetui::Fill(m_ui->rangeList, names);
        m_ui->rangeList->setEnabled(!locked);
    }
    const auto resolutions = m_services.lookup->Resolutions(found.ResolutionType, names);
    if (resolutions == IMeasurementLookup::kRows) {
        sheetui::Fill(m_ui->resolutionList, names);
        m_ui->resolutionList->setEnabled(!locked);
    }
    if (ranges == IMeasurementLookup::kFailed || resolutions == IMeasurementLookup::kFailed)
        sheetui::Refuse(sheettext::kLookupFailed, sheettext::kMeasurementTitle,
                        tvane::MsgIcon::Error);
}

void CDetailsPage2::OnSelchangeFunction() {
    if (m_ui->functionList->currentIndex() < 0)
        return;
    const std::string function = sheetui::Selected(m_ui->functionList);
    if (function != m_previousFunction && m_services.document != nullptr) {
        const int gridRow = m_services.document->GetGridRow(static_cast<long>(m_row->Channel));
        if (gridRow > 0 && !m_services.document->CanChangeFunction(gridRow, function)) {
            sheetui::SelectPrefix(m_ui->functionList, m_previousFunction);
            return;
        }
    }
    m_previousFunction = function;
    FillRangeAndResolution(function);
    MeasurementFunction found;
    if (m_row->Name.empty() || m_services.lookup == nullptr ||
        m_services.lookup->FindFunction(static_cast<std::int32_t>(m_row->FunctionType), function,
                                        found) != IMeasurementLookup::kRows)
        return;
    sheetui::SelectPrefix(m_ui->rangeList, found.DefaultRange);
    sheetui::SelectPrefix(m_ui->resolutionList, found.DefaultResolution);
    if (m_initialising) {
        m_currentMask = m_row->AdvSettingsType;
        m_workingText = m_row->AdvSettings;
    } else {
        m_currentMask = found.AdvSettingsType;
        m_workingText = found.DefaultAdvSettings;
    }
    ApplyAdvancedMask(!m_laidOut);
}

void CDetailsPage2::OnSelchangeResolution() {
    m_ui->integrationList->setCurrentText(
        ToQString(measurement::IntegrationForResolution(m_ui->resolutionList->currentIndex())));
    OnSelchangeIntegration();
}

void CDetailsPage2::OnSelchangeIntegration() {
    const std::string integration = sheetui::Selected(m_ui->integrationList);
    const int index = measurement::ResolutionForIntegration(integration);
    if (index < m_ui->resolutionList->count())
        m_ui->resolutionList->setCurrentIndex(index);
    ShowOptionalEdits();
}

void CDetailsPage2::OnSetDefaults() {
    const std::string function = sheetui::Selected(m_ui->functionList);
    MeasurementFunction found;
    if (function.empty() || m_row->Name.empty() || m_services.lookup == nullptr)
        return;
    const auto result = m_services.lookup->FindFunction(
        static_cast<std::int32_t>(m_row->FunctionType), function, found);
    if (result == IMeasurementLookup::kFailed)
        sheetui::Refuse(sheettext::kLookupFailed, sheettext::kMeasurementTitle,
                        tvane::MsgIcon::Error);
    if (result != IMeasurementLookup::kRows)
        return;
    m_currentMask = found.AdvSettingsType;
    m_workingText = found.DefaultAdvSettings;
    m_customIntegration = 0.016;
    ApplyAdvancedMask(true);
    OnSelchangeIntegration();
}

void CDetailsPage2::ApplyAdvancedMask(bool force) {
    QGroupBox* groups[measurement::kGroupCount] = {
        m_ui->inputGroup,        m_ui->integrationGroup, m_ui->frequencyGroup, m_ui->unitsGroup,
        m_ui->thermocoupleGroup, m_ui->junctionGroup,    m_ui->rtdGroup,       m_ui->apertureGroup,
        m_ui->offsetGroup,       m_ui->delayGroup,       m_ui->edgeGroup};
    if (force || m_currentMask != m_shownMask) {
        auto* layout = static_cast<QGridLayout*>(m_ui->advancedFrame->layout());
        for (QGroupBox* group : groups) {
            layout->removeWidget(group);
            group->hide();
        }
        layout->removeWidget(m_ui->noAdvanced);
        m_ui->noAdvanced->hide();
        int column = 0;
        for (const auto& place : measurement::PlaceGroups(m_currentMask)) {
            QGroupBox* group = groups[place.group];
            column = place.besidePrevious ? column + 1 : 0;
            layout->addWidget(group, place.row, column);
            group->show();
        }
        if (m_currentMask == 0) {
            layout->addWidget(m_ui->noAdvanced, 0, 0, 1, 2, Qt::AlignCenter);
            m_ui->noAdvanced->show();
        }
        m_laidOut = true;
    }
    if (m_currentMask != 0) {
        const std::string function = m_ui->functionList->currentIndex() >= 0
                                         ? sheetui::Selected(m_ui->functionList)
                                         : m_row->Function;
        const double delay = m_services.document != nullptr
                                 ? m_services.document->GetFunctionDefaultValue(function)
                                 : 0.0;
        AdvancedValues start;
        start.customIntegration = m_customIntegration;
        LoadControls(measurement::LoadAdvanced(m_currentMask, m_workingText, delay, start));
    }
    m_shownMask = m_currentMask;
}

void CDetailsPage2::LoadControls(const AdvancedValues& v) {
    Check({m_ui->input10M, m_ui->inputHigh}, v.inputResistance);
    const int integration = m_ui->integrationList->findText(ToQString(v.integration));
    m_ui->integrationList->setCurrentIndex(integration);
    m_ui->customIntegration->setText(ToQString(tvane::Format("%g", v.customIntegration)));
    Check({m_ui->frequency3, m_ui->frequency20, m_ui->frequency200}, v.lowFrequency);
    Check({m_ui->unitsC, m_ui->unitsF, m_ui->unitsK}, v.units);
    m_ui->autoCheck->setChecked(v.thermocoupleCheck);
    Check({m_ui->junctionInternal, m_ui->junctionFixed, m_ui->junctionExternal},
          v.referenceJunction);
    m_ui->junctionTemperature->setText(ToQString(tvane::Format("%g", v.referenceTemperature)));
    Check({m_ui->rtd385, m_ui->rtd391}, v.rtd);
    m_ui->r0Edit->setText(ToQString(v.r0));
    Check({m_ui->aperture001, m_ui->aperture01, m_ui->aperture1}, v.aperture);
    Check({m_ui->offsetOff, m_ui->offsetOn}, v.offsetCompensation);
    m_ui->delayList->setCurrentIndex(v.delayMode == measurement::kDelayTime ? 1 : 0);
    m_ui->delayEdit->setText(ToQString(tvane::Format("%g", v.delaySeconds)));
    Check({m_ui->edgeRise, m_ui->edgeFall}, v.edge);
    ShowOptionalEdits();
}

void CDetailsPage2::ShowOptionalEdits() {
    m_ui->customIntegration->setVisible(m_ui->integrationList->currentText() ==
                                        measurement::kCustom);
    m_ui->delayEdit->setVisible(m_ui->delayList->currentText() == measurement::kDelayTime);
    m_ui->junctionTemperature->setVisible(m_ui->junctionFixed->isChecked());
}

bool CDetailsPage2::ReadControls(AdvancedValues& v, QWidget*& bad) {
    v.inputResistance = Checked({m_ui->input10M, m_ui->inputHigh});
    v.integration = sheetui::Selected(m_ui->integrationList);
    v.lowFrequency = Checked({m_ui->frequency3, m_ui->frequency20, m_ui->frequency200});
    v.units = Checked({m_ui->unitsC, m_ui->unitsF, m_ui->unitsK});
    v.thermocoupleCheck = m_ui->autoCheck->isChecked();
    v.referenceJunction =
        Checked({m_ui->junctionInternal, m_ui->junctionFixed, m_ui->junctionExternal});
    v.rtd = Checked({m_ui->rtd385, m_ui->rtd391});
    v.r0 = ToUtf8(m_ui->r0Edit->text());
    v.aperture = Checked({m_ui->aperture001, m_ui->aperture01, m_ui->aperture1});
    v.offsetCompensation = Checked({m_ui->offsetOff, m_ui->offsetOn});
    v.delayMode = sheetui::Selected(m_ui->delayList);
    v.edge = Checked({m_ui->edgeRise, m_ui->edgeFall});
    // The numbers the page keeps as numbers must read as numbers, where they count.
    struct NumberEdit {
        QLineEdit* edit;
        double* value;
        bool counts;
    };
    const NumberEdit numbers[] = {
        {m_ui->customIntegration, &v.customIntegration,
         (m_currentMask & 0x0002) && v.integration == measurement::kCustom},
        {m_ui->delayEdit, &v.delaySeconds,
         (m_currentMask & 0x0200) && v.delayMode == measurement::kDelayTime},
        {m_ui->junctionTemperature, &v.referenceTemperature, (m_currentMask & 0x0800) != 0},
    };
    for (const NumberEdit& n : numbers) {
        if (!sheetui::ReadNumber(ToUtf8(n.edit->text()), *n.value) && n.counts) {
            bad = n.edit;
            return false;
        }
    }
    return true;
}

bool CDetailsPage2::OnKillActive() {
    AdvancedValues v;
    QWidget* bad = nullptr;
    if (!ReadControls(v, bad)) {
        sheetui::Refuse(sheettext::kNotNumber, sheettext::kMeasurementTitle, tvane::MsgIcon::Error,
                        bad);
        return false;
    }
    m_customIntegration = v.customIntegration;
    const std::string refusal = measurement::CheckAdvanced(m_currentMask, v);
    if (!refusal.empty()) {
        sheetui::Refuse(refusal, sheettext::kMeasurementTitle, tvane::MsgIcon::Error);
        return false;
    }
    CFXSetup& row = *m_row;
    // A list the database could not fill keeps the row's text.
    for (auto [list, field] :
         {std::pair{m_ui->functionList, &row.Function}, std::pair{m_ui->rangeList, &row.Range},
          std::pair{m_ui->resolutionList, &row.Resolution}})
        if (list->count() > 0)
            *field = sheetui::Selected(list);
    row.AdvSettingsType = m_currentMask;
    const auto stored = measurement::StoreAdvanced(m_currentMask, v);
    row.AdvSettings = stored.text;
    if (stored.integrationDefaulted)
        row.Resolution = sheettext::kDefaultResolution;
    if (!stored.units.empty())
        row.Units = stored.units;
    row.ComputeFlagWord();
    if (row.Function != m_functionAtOpen) {
        row.Alarms = sheettext::kAlarmOff;
        row.SetAlarmDefaults();
    }
    return true;
}
