#pragma once
#include <memory>
#include <string>

#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"
#include "scan/CCompChnl.h"
#include "setup/AlarmLimitRules.h"
#include "setup/IChannelDetailsSheet.h"
#include "setup/MeasurementRules.h"

class CFXSetup;
class IColorPicker;
class IMeasurementLookup;
class ISheetDocument;
class QComboBox;
namespace Ui {
class ChannelPage;
class MeasurementPage;
class ScalingPage;
class AlarmLimitsPage;
class ComputedPage;
} // namespace Ui

// What the channel sheet's pages reach outside the row: the document, the
// database's lists and (for tests) nothing else.
struct DetailsServices {
    ISheetDocument* document = nullptr;
    IMeasurementLookup* lookup = nullptr;
};

// "Channel": name, scan flag, monitor choice and comment of the row.
class CDetailsPage1 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    // monitor: whether the row is the document's monitor channel now, so a
    // sheet closed without visiting this page keeps it.
    CDetailsPage1(CFXSetup* row, bool monitor);
    ~CDetailsPage1() override;
    bool Monitor() const { return m_monitor; }
    Ui::ChannelPage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    std::unique_ptr<Ui::ChannelPage> m_ui;
    CFXSetup* m_row;
    bool m_monitor;
};

// "Measurement" of a measured channel: function, range, resolution and the
// advanced settings of the function's mask.
class CDetailsPage2 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CDetailsPage2(CFXSetup* row, const DetailsServices& services);
    ~CDetailsPage2() override;
    Ui::MeasurementPage& Controls() { return *m_ui; }
    std::uint32_t CurrentMask() const { return m_currentMask; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void FillFunctionList();
    void FillRangeAndResolution(const std::string& function);
    void OnSelchangeFunction();
    void OnSelchangeResolution();
    void OnSelchangeIntegration();
    void OnSetDefaults();
    void ApplyAdvancedMask(bool force);
    void LoadControls(const measurement::AdvancedValues& values);
    bool ReadControls(measurement::AdvancedValues& values, QWidget*& bad);
    void ShowOptionalEdits();

    std::unique_ptr<Ui::MeasurementPage> m_ui;
    CFXSetup* m_row;
    DetailsServices m_services;
    bool m_initialising = false;
    bool m_laidOut = false;
    std::uint32_t m_shownMask = 0;
    std::uint32_t m_currentMask = 0;
    std::string m_workingText;
    std::string m_functionAtOpen;
    std::string m_previousFunction;
    double m_customIntegration = 0.016;
};

// "Scaling (Mx + B)": scale mode, gain, offset and units label.
class CDetailsPage3 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    explicit CDetailsPage3(CFXSetup* row);
    ~CDetailsPage3() override;
    Ui::ScalingPage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    void OnSetActive() override;
    bool OnKillActive() override;

private:
    void OnScaleClicked();
    void OnLabelEdited(const QString& text);
    void SelectLabel(const std::string& label);

    std::unique_ptr<Ui::ScalingPage> m_ui;
    CFXSetup* m_row;
    QString m_lastLabel;
};

// "Alarm Limits": the test, limits, hardware output and limit-failure actions.
class CDetailsPage4 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CDetailsPage4(CFXSetup* row, const DetailsServices& services);
    ~CDetailsPage4() override;
    Ui::AlarmLimitsPage& Controls() { return *m_ui; }
    const alarmlimits::Availability& Available() const { return m_available; }

protected:
    void OnInitPage() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void LoadActions(const std::string& list);
    void ApplyEnabling();
    void OnTestChanged();
    bool IsLocked() const;
    bool IsComputedRow() const;

    std::unique_ptr<Ui::AlarmLimitsPage> m_ui;
    CFXSetup* m_row;
    DetailsServices m_services;
    bool m_refreshNeeded = false;
    bool m_loading = false;
    alarmlimits::LimitMode m_mode = alarmlimits::kAnalog;
    alarmlimits::Availability m_available;
    // The texts of the stored close and open channels, kept for an action
    // whose list is empty.
    alarmlimits::Actions m_stored;
};

// The "Measurement" page of a computed channel: category, function and the
// two arguments. Its record is the sheet's result for the channel.
class CDetailsPage5 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CDetailsPage5(const CFXSetup* row, const CCompChnl& start, const DetailsServices& services);
    ~CDetailsPage5() override;
    const CCompChnl& Record() const { return m_record; }
    const std::string& Formula() const { return m_formula; }
    Ui::ComputedPage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void OnCategoryChanged();
    void OnFunctionChanged();
    void SetArgumentKind(int argument, int kind, bool focus);
    int ArgumentKind(int argument) const;
    void OnMore();

    std::unique_ptr<Ui::ComputedPage> m_ui;
    const CFXSetup* m_row;
    DetailsServices m_services;
    CCompChnl m_record;
    std::string m_formula;
    bool m_initialising = false;
};

// The sheet of one channel row. It edits its own copy of the row; the caller
// compares the copy with its row after OK.
class CDetailsPropSheet final : public tvane::PropertySheet {
    Q_OBJECT
public:
    // An existing row, opened on a start page; computed holds the row's
    // current definition when it is a computed row.
    CDetailsPropSheet(const QString& caption, const CFXSetup& row, int startPage,
                      const DetailsServices& services, bool monitor, const CCompChnl* computed,
                      QWidget* parent = nullptr);
    // The computed-channel page alone, for a new computed channel.
    CDetailsPropSheet(const QString& caption, const CCompChnl& computed,
                      const DetailsServices& services, QWidget* parent = nullptr);
    ~CDetailsPropSheet() override;

    CFXSetup* Copy() const { return m_copy.get(); }
    CDetailsPage1* ChannelPage() const { return m_page1; }
    CDetailsPage2* MeasurementPage() const { return m_page2; }
    CDetailsPage3* ScalingPage() const { return m_page3; }
    CDetailsPage4* AlarmPage() const { return m_page4; }
    CDetailsPage5* ComputedPage() const { return m_page5; }

private:
    std::unique_ptr<CFXSetup> m_copy;
    CDetailsPage1* m_page1 = nullptr;
    CDetailsPage2* m_page2 = nullptr;
    CDetailsPage3* m_page3 = nullptr;
    CDetailsPage4* m_page4 = nullptr;
    CDetailsPage5* m_page5 = nullptr;
};

// The channel sheet as the document's setup operations run it.
class ChannelDetailsSheet final : public IChannelDetailsSheet {
public:
    ChannelDetailsSheet(const DetailsServices& services, QWidget* parent)
        : m_services(services), m_parent(parent) {}
    bool EditRow(const std::string& caption, const CFXSetup& row, int startPage, CFXSetup& copy,
                 CCompChnl* computed, RowResult& monitor) override;
    bool NewComputedChannel(const std::string& caption, CCompChnl& computed) override;

private:
    DetailsServices m_services;
    QWidget* m_parent;
};
