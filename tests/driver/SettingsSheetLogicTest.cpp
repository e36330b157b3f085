#include "DriverFixture.h"
#include "driver/CAlarmSettingsModel.h"
#include "driver/CGeneralModel.h"
#include "driver/CInstStateModel.h"
#include "platform/core/LocaleFormats.h"

namespace tvane::driver::test {
namespace {

using Strings = std::vector<std::string>;
using Mode = CInstStateModel::Mode;

const Strings kChoices = {"Last Power Down", "Factory Reset", "Preset"};

Strings JoinStrings(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class StateSheet : public DriverTest {
protected:
    // States 1-3 named A, B, C; A and C hold a setup.
    void ThreeStates() {
        link.On("MEM:NST?", "4\n");
        const char* names[] = {"A", "B", "C"};
        for (int i = 1; i <= 3; ++i) {
            link.On(Format("MEM:STAT:NAME? %d", i), Format("\"%s\"\n", names[i - 1]));
            link.On(Format("MEM:STAT:VAL? %d", i), i == 2 ? "0\n" : "1\n");
        }
        drv->GetStateNames();
        link.transcript.clear();
    }
    void Select(CInstStateModel& m, const std::string& text) {
        Strings rows = m.Entries();
        auto it = std::find(rows.begin(), rows.end(), text);
        ASSERT_NE(it, rows.end()) << text;
        m.Select(static_cast<int>(it - rows.begin()));
    }
};

TEST_F(StateSheet, OneStateReportedListsOnlyTheRecallChoices) {
    link.On("MEM:NST?", "1\n");
    drv->GetStateNames();
    EXPECT_EQ(link.Sent(), Strings{"MEM:NST?"});
    EXPECT_TRUE(drv->StateNames().empty());
    EXPECT_EQ(drv->StoredStates(), 0);
    CInstStateModel m(*drv);
    EXPECT_EQ(m.Entries(), kChoices);
    EXPECT_EQ(m.Selection(), 0);
    EXPECT_EQ(m.CurrentName(), "Last Power Down");
    EXPECT_FALSE(m.CanStore());
    EXPECT_FALSE(m.CanEdit());
    EXPECT_TRUE(m.CanRecall());
}

TEST_F(StateSheet, ListFollowsTheChoiceAndButtonsFollowTheSelection) {
    ThreeStates();
    CInstStateModel m(*drv);
    EXPECT_EQ(m.Entries(), JoinStrings({"A", "B", "C"}, kChoices));
    EXPECT_TRUE(m.CanStore() && m.CanEdit() && m.CanRecall());
    Select(m, "B"); // a state without a setup cannot be recalled
    EXPECT_TRUE(m.CanStore() && m.CanEdit());
    EXPECT_FALSE(m.CanRecall());
    Select(m, "Preset");
    EXPECT_FALSE(m.CanStore() || m.CanEdit());
    EXPECT_TRUE(m.CanRecall());

    m.SetMode(Mode::Recall);
    EXPECT_EQ(m.Entries(), JoinStrings({"A", "C"}, kChoices));
    EXPECT_FALSE(m.CanEdit());
    m.SetMode(Mode::Store);
    EXPECT_EQ(m.Entries(), (Strings{"A", "B", "C"}));
    EXPECT_FALSE(m.CanEdit());
    m.SetMode(Mode::Rename);
    EXPECT_EQ(m.Entries(), (Strings{"A", "B", "C"}));
    EXPECT_TRUE(m.CanEdit());
    EXPECT_TRUE(link.Sent().empty());
}

TEST_F(StateSheet, ActionsSendTheirCommands) {
    struct Case {
        Mode mode;
        std::string row;
        void (*act)(CInstStateModel&);
        Strings sent;
    };
    auto recall = [](CInstStateModel& m) { m.RecallStoredState(); };
    auto store = [](CInstStateModel& m) { m.StoreCurrentState(); };
    auto apply = [](CInstStateModel& m) { m.Apply(); };
    const Case cases[] = {
        {Mode::None, "Factory Reset", recall, {"*RST"}},
        {Mode::None, "Preset", recall, {"SYST:PRESET"}},
        {Mode::None, "Last Power Down", recall, {"*RCL 0"}},
        {Mode::None, "C", recall, {"*RCL 3"}},
        {Mode::None, "B", store, {"*SAV 2"}},
        // The row's own state, not its place in the shorter list.
        {Mode::Recall, "C", store, {"*SAV 3"}},
        {Mode::Recall, "Last Power Down", store, {}},
        {Mode::Store, "C", apply, {"*SAV 3"}},
        {Mode::Rename, "B", apply, {"MEM:STAT:NAME 2,B"}},
        {Mode::Recall, "C", apply, {"*RCL 3"}},
        {Mode::Recall, "Preset", apply, {"SYST:PRESET"}},
        {Mode::Recall, "Last Power Down", apply, {}},
    };
    for (const Case& c : cases) {
        ThreeStates();
        CInstStateModel m(*drv);
        if (c.mode != Mode::None)
            m.SetMode(c.mode);
        Select(m, c.row);
        c.act(m);
        EXPECT_EQ(link.Sent(), c.sent) << c.row;
    }
}

TEST_F(StateSheet, StoringAStateMakesItRecallable) {
    ThreeStates();
    CInstStateModel m(*drv);
    Select(m, "B");
    EXPECT_FALSE(m.CanRecall());
    m.StoreCurrentState();
    EXPECT_EQ(drv->RecallList()[1], "B");
    EXPECT_TRUE(m.CanRecall());
    m.SetMode(Mode::Recall);
    EXPECT_EQ(m.Entries(), JoinStrings({"A", "B", "C"}, kChoices));
}

TEST_F(StateSheet, RenameReplacesTheEntryAndTheStoredName) {
    ThreeStates();
    CInstStateModel m(*drv);
    Select(m, "C");
    EXPECT_FALSE(m.Rename("9LIVES"));
    EXPECT_TRUE(link.Sent().empty());
    ASSERT_TRUE(m.Rename("NIGHT_RUN"));
    EXPECT_EQ(link.Sent(), Strings{"MEM:STAT:NAME 3,NIGHT_RUN"});
    EXPECT_EQ(m.Entries(), JoinStrings({"A", "B", "NIGHT_RUN"}, kChoices));
    EXPECT_EQ(m.Selection(), 2);
    EXPECT_EQ(drv->StateNames()[2], "NIGHT_RUN");
    EXPECT_EQ(drv->RecallList()[2], "NIGHT_RUN");
    EXPECT_TRUE(m.CanRecall());
    m.RecallStoredState();
    EXPECT_EQ(link.Sent().back(), "*RCL 3");

    link.transcript.clear();
    Select(m, "Preset"); // not a stored state: nothing to rename
    EXPECT_FALSE(m.Rename("OTHER"));
    EXPECT_TRUE(link.Sent().empty());
}

TEST_F(StateSheet, ResetReachesTheChosenSlot) {
    ThreeStates();
    CInstStateModel m(*drv);
    EXPECT_EQ(CInstStateModel::SlotEntries(), (Strings{"Slot 1", "Slot 2", "Slot 3"}));
    m.ResetSlot(1);
    m.ResetSlot(-1);
    EXPECT_EQ(link.Sent(), Strings{"SYST:CPON 200"});
}

TEST(StateName, RulesAndMessages) {
    const std::string first = "A state name must be at least one character and cannot begin with "
                              "an underscore or digit (0-9).";
    const std::string other =
        "A state name may only contain characters (A-Z), digits (0-9) or underscores.";
    const std::pair<std::string, std::string> cases[] = {
        {"1ABC", "Invalid name: 1ABC   " + first},
        {"_A", "Invalid name: _A   " + first},
        {"", "Invalid name:    " + first},
        {"AB-C", "Invalid name: AB-C   " + other},
        {"AB C", "Invalid name: AB C   " + other},
        {"A_1", ""},
        {"zz9", ""},
    };
    for (const auto& [name, message] : cases)
        EXPECT_EQ(CInstStateModel::NameError(name), message) << name;
}

class AlarmSheet : public DriverTest {};

TEST_F(AlarmSheet, ChoicesSendOnlyWhenTheyChange) {
    CAlarmSettingsModel m(*drv);
    EXPECT_EQ(CAlarmSettingsModel::OutputEntries(),
              (Strings{"Alarm 1", "Alarm 2", "Alarm 3", "Alarm 4", "All"}));
    EXPECT_FALSE(m.Latched());
    EXPECT_FALSE(m.PolarityHigh());
    m.SetPolarityHigh(true);
    m.SetPolarityHigh(true);
    m.SetLatched(false);
    m.SetLatched(true);
    m.SetLatched(true);
    m.SetPolarityHigh(false);
    m.SetLatched(false);
    m.Clear(0);
    m.Clear(4);
    EXPECT_EQ(link.Sent(),
              (Strings{"OUTP:ALAR:SLOPE POS", "OUTP:ALAR:MODE LATC", "OUTP:ALAR:SLOPE NEG",
                       "OUTP:ALAR:MODE TRAC", "OUTP:ALAR1:CLE", "OUTP:ALAR:CLE:ALL"}));
    EXPECT_FALSE(drv->AlarmLatched());
    EXPECT_FALSE(drv->AlarmPolarityHigh());
}

class UtilitySheet : public DriverTest {
protected:
    FixedLocaleFormats locale{[] {
        LocaleFormats f;
        f.shortDate = "dd.MM.yyyy";
        f.timeFormat = "HH:mm:ss";
        return f;
    }()};
    ScopedService<ILocaleFormats> localeGuard{SetLocale, &locale};
};

TEST_F(UtilitySheet, RevisionsStopAtTheFirstFailedSlot) {
    link.On("*IDN?", "ORVANTA,QT7100,0,2.10-1.05\n");
    link.On("SYST:CTYP? 100", "ORVANTA,QT7101,0,1.3\n");
    link.On("SYST:DATE?", "2026,3,4\n");
    link.On("SYST:TIME?", "5,6,7.250\n");
    CGeneralModel m(*drv);
    m.Refresh();
    EXPECT_EQ(m.SystemRevision(), "2.10-1.05");
    EXPECT_EQ(m.SlotRevisions(), (std::array<std::string, 3>{"QT7101 REV:1.3", "", ""}));
    EXPECT_EQ(link.Sent(),
              (Strings{"SYST:DATE?", "SYST:TIME?", "*IDN?", "SYST:CTYP? 100", "SYST:CTYP? 200"}));
    EXPECT_EQ(m.InstrumentTime(), "04.03.2026 05:06:07");
    EXPECT_EQ(m.ComputerTime(), CGeneralModel::FormatDateTime(clock.LocalNow()));

    link.On("SYST:CTYP? 200", "0,0,0,0\n");
    link.On("SYST:CTYP? 300", "ORVANTA,QT7108,0,2.0\n");
    m.Refresh();
    EXPECT_EQ(m.SlotRevisions(),
              (std::array<std::string, 3>{"QT7101 REV:1.3", "", "QT7108 REV:2.0"}));
}

TEST_F(UtilitySheet, SetToPcSendsTheComputerClock) {
    clock.SetNow(FromLocalTime(LocalTime{2027, 11, 30, 23, 58, 9, 0, 0}));
    CGeneralModel m(*drv);
    ASSERT_TRUE(m.SetToPc());
    EXPECT_EQ(link.Sent(), (Strings{"SYST:DATE 2027,11,30", "SYST:TIME 23,58,9.000"}));
    EXPECT_EQ(m.InstrumentTime(), "30.11.2027 23:58:09");
    EXPECT_EQ(m.ComputerTime(), "30.11.2027 23:58:09");

    link.transcript.clear();
    link.failSend.insert("SYST:DATE 2027,11,30");
    CGeneralModel refused(*drv);
    EXPECT_FALSE(refused.SetToPc());
    EXPECT_EQ(link.Sent(), Strings{"SYST:DATE 2027,11,30"});
    EXPECT_EQ(refused.InstrumentTime(), "");
}

TEST(UtilityFormat, DefaultLocaleUsesTwelveHourTime) {
    EXPECT_EQ(CGeneralModel::FormatDateTime(LocalTime{2026, 3, 4, 15, 6, 7, 0, 0}),
              "03/04/26 03:06:07 PM");
}

class SimulatedSheet : public SimulatedDriverTest {};

TEST_F(SimulatedSheet, SimulatedInstrumentShowsNoStatesOrModules) {
    drv->GetStateNames();
    EXPECT_TRUE(drv->StateNames().empty());
    EXPECT_EQ(drv->RecallList(), kChoices);
    CGeneralModel m(*drv);
    m.Refresh();
    EXPECT_EQ(m.SystemRevision(), "");
    EXPECT_EQ(m.SlotRevisions(), (std::array<std::string, 3>{}));
    EXPECT_EQ(m.InstrumentTime(), m.ComputerTime());
}

} // namespace
} // namespace tvane::driver::test
