#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/ExportDialogModels.h"
#include "platform/core/LocaleFormats.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

class ExportDataModelTest : public TempHomeTest {
protected:
    ExportDataModelTest() {
        query.m_fileName = (home.Data() / "export1.csv").string();
        query.m_channelLabels = {"<101> Oven", "<102>", "<901> Sum"};
        query.m_channelNumbers = {101, 102, 901};
        query.m_selectedLabels = {"<102>", "<101> Oven"};
        query.m_selectedNumbers = {102, 101};
        query.m_startTime = 2000;
        query.m_endTime = 4000;
        query.m_eventStartTime = 10;
        query.m_eventEndTime = 20;
        model.m_firstReading = 1000;
        model.m_lastReading = 5000;
        model.m_firstEvent = 5;
        model.m_lastEvent = 50;
        model.m_formatTime = [](double t) { return "T" + std::to_string(static_cast<int>(t)); };
        std::filesystem::create_directories(home.Data());
    }
    std::string Path(const char* name) const { return (home.Data() / name).string(); }

    CReadingQuery query;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    ExportDataModel model{query, prompter};
};

TEST_F(ExportDataModelTest, ExtensionsFollowTheFormatAndTheDestination) {
    struct Case {
        const char* name;
        std::int16_t format;
        const char* expected;
    };
    for (const Case& c : std::vector<Case>{{"data.backup.txt", 0, "data.backup.csv"},
                                           {".hidden", 1, ".hidden.txt"},
                                           {"plain", 2, "plain.txt"},
                                           {"/tmp/a.b/run.csv", 1, "/tmp/a.b/run.txt"}})
        EXPECT_EQ(ExportDataModel::WithFormatExtension(c.name, c.format), c.expected) << c.name;
    EXPECT_EQ(ExportDataModel::WithExtensionIfNone("run", 0), "run.csv");
    EXPECT_EQ(ExportDataModel::WithExtensionIfNone("run.dat", 1), "run.dat");

    model.Init();
    model.SetDestination(CReadingQuery::kToClipboard);
    EXPECT_EQ(model.m_format, CReadingQuery::kTabDelimited);
    EXPECT_FALSE(model.FileControlsEnabled());
    EXPECT_EQ(model.m_fileName, Path("export1.txt"));
    model.SetDestination(CReadingQuery::kToFile);
    EXPECT_EQ(model.m_format, CReadingQuery::kCommaDelimited);
    EXPECT_EQ(model.m_fileName, Path("export1.csv"));
}

TEST_F(ExportDataModelTest, SummaryAndTimesFollowTheKind) {
    query.m_alarmFlag = 1;
    model.Init();
    EXPECT_EQ(model.Summary(), (std::vector<std::string>{
                                   "Start Time\tT2000", "End Time\tT4000", "Alarmed Data Only\tNo",
                                   "Optional Fields\tTime stamp, Seconds, Units, Alarm Conditions",
                                   "Channels\t<102>", "\t\t<101> Oven"}));
    EXPECT_EQ(model.m_channelText, "<102>,<101> Oven,");
    EXPECT_EQ(model.m_earliest, 1000);

    model.SelectKind(CReadingQuery::kEvents);
    EXPECT_EQ(query.m_dataKind, CReadingQuery::kEvents) << "written at once";
    EXPECT_EQ(model.Summary(),
              (std::vector<std::string>{"Start Time\tT10", "End Time\tT20", "Channels\t<101> Oven",
                                        "\t\t<102>", "\t\t<901> Sum"}));
    EXPECT_EQ(model.m_latest, 50);

    model.SelectKind(CReadingQuery::kSetupListing);
    EXPECT_FALSE(model.OptionsEnabled());
    query.m_timeStamp = query.m_seconds = query.m_units = query.m_alarmFlag = 0;
    model.SelectKind(CReadingQuery::kReadings);
    EXPECT_EQ(model.Summary()[3], "Optional Fields\t(none)");

    // Without readings or events only the setup listing is left.
    ExportDataModel empty(query, prompter);
    empty.m_hasContent = false;
    empty.Init();
    EXPECT_TRUE(empty.m_kindFixed);
    EXPECT_EQ(query.m_dataKind, CReadingQuery::kSetupListing);
}

TEST_F(ExportDataModelTest, OkRefusesBadNamesAndStoresTheChoices) {
    FixedLocaleFormats locale;
    LocaleFormats formats;
    formats.listSeparator = ";";
    locale.Set(formats);
    ScopedService<ILocaleFormats> localeGuard(SetLocale, &locale);
    model.Init();
    bool select = false;
    for (const char* bad : {"", "a*b", "a?b", "a;b", "a<b", "a>b", "a|b", "a\"b"})
        EXPECT_FALSE(model.Accept(bad, {}, select)) << bad;
    EXPECT_EQ(prompter.Texts().front(), "\"\" is not a valid filename");
    EXPECT_EQ(prompter.Texts().back(), "a\"b is not a valid filename");
    EXPECT_FALSE(model.Accept(Path("missing/dir/x.csv"), {}, select));

    model.SelectFormat(CReadingQuery::kLocale);
    model.TakeOptionTimes(2500, 3500);
    ASSERT_TRUE(model.Accept(Path("fresh"), {}, select));
    EXPECT_FALSE(std::filesystem::exists(Path("fresh.txt"))) << "the probe file is removed";
    EXPECT_EQ(query.m_fileName, Path("fresh.txt"));
    EXPECT_EQ(query.m_outputFormat, CReadingQuery::kLocale);
    EXPECT_EQ(query.m_separator, ';');
    EXPECT_EQ(query.m_useLocale, 1);
    EXPECT_EQ(query.m_startTime, 2500);
    EXPECT_EQ(query.m_endTime, 3500);
    model.SetDestination(CReadingQuery::kToClipboard);
    ASSERT_TRUE(model.Accept(Path("clip.txt"), {}, select));
    EXPECT_EQ(query.m_separator, '\t');
    EXPECT_EQ(query.m_useLocale, 0);
    EXPECT_EQ(query.m_destination, CReadingQuery::kToClipboard);
}

TEST_F(ExportDataModelTest, AnExistingFileIsCheckedAndOverwrittenOnlyWhenAgreed) {
    for (const char* name : {"a.csv", "b.csv", "ro.csv"})
        std::ofstream(Path(name)) << "x";
    std::filesystem::permissions(Path("ro.csv"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    std::filesystem::create_directories(Path("dir.csv"));
    model.Init();
    bool select = false;
    EXPECT_FALSE(model.Accept(Path("ro.csv"), {}, select));
    EXPECT_TRUE(select);
    EXPECT_EQ(prompter.Texts().back(),
              "Unable to export data.\nFile " + Path("ro.csv") + " is read only.");
    EXPECT_FALSE(model.Accept(Path("dir.csv"), {}, select));
    EXPECT_EQ(prompter.Texts().back(), "Invalid filename");

    // No, another existing file, No again, a new one: asked twice, then accepted.
    std::vector<std::string> offered;
    int browsed = 0;
    const auto browse = [&](std::string& name) {
        offered.push_back(name);
        name = Path(++browsed == 1 ? "b.csv" : "c");
        return true;
    };
    prompter.asked.clear();
    prompter.Script({MsgAnswer::No, MsgAnswer::No});
    ASSERT_TRUE(model.Accept(Path("a.csv"), browse, select));
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"Export file exists, overwrite it?",
                                                          "Export file exists, overwrite it?"}));
    EXPECT_EQ(offered, (std::vector<std::string>{Path("a.csv"), Path("b.csv")}));
    EXPECT_EQ(query.m_fileName, Path("c.csv"));

    // Cancel, or No with a cancelled file dialog, keeps the dialog open.
    query.m_fileName = "kept";
    prompter.Script({MsgAnswer::Cancel, MsgAnswer::No});
    EXPECT_FALSE(model.Accept(Path("a.csv"), browse, select));
    EXPECT_FALSE(model.Accept(
        Path("a.csv"), [](std::string&) { return false; }, select));
    prompter.Script({MsgAnswer::Yes});
    EXPECT_TRUE(model.Accept(Path("a.csv"), {}, select));
    EXPECT_EQ(query.m_fileName, Path("a.csv"));
}

TEST(ExportOptionsModel, ChoicesLayoutAndDefaults) {
    CReadingQuery query;
    query.m_channelLabels = {"<101> Oven", "<102>", "<901> Sum"};
    query.m_channelNumbers = {101, 102, 901};
    query.m_selectedLabels = {"<901> Sum", "<101> Oven"};
    query.m_units = 0;
    query.m_alarmedOnly = 1;
    ExportOptionsModel options(query);
    options.m_start = 2000;
    options.m_end = 3000;
    options.m_earliest = 1000;
    options.m_latest = 5000;
    options.Init();
    ASSERT_EQ(options.m_channels.size(), 3u);
    EXPECT_TRUE(options.m_channels[0].selected);
    EXPECT_FALSE(options.m_channels[1].selected);
    EXPECT_EQ(options.m_channels[2].number, 901u);
    EXPECT_FALSE(options.m_units);
    EXPECT_TRUE(options.m_alarmedOnly);
    EXPECT_EQ(options.StartMax(), 3000);
    EXPECT_EQ(options.EndMin(), 2000);

    // The layout is written at once; the rest only on OK, in list order.
    options.SetLayout(CReadingQuery::kRows);
    EXPECT_EQ(query.m_layout, CReadingQuery::kRows);
    options.m_channels[1].selected = true;
    options.Accept();
    EXPECT_EQ(query.m_selectedNumbers, (std::vector<std::uint32_t>{101, 102, 901}));
    EXPECT_EQ(query.m_selectedLabels.front(), "<101> Oven");
    EXPECT_EQ(query.m_alarmedOnly, 1);

    options.Init(true);
    EXPECT_EQ(query.m_layout, CReadingQuery::kColumns);
    EXPECT_EQ(options.m_start, 1000);
    EXPECT_EQ(options.m_end, 5000);
    EXPECT_TRUE(options.m_units);
    EXPECT_FALSE(options.m_alarmedOnly);

    // The event log: every field ticked, every channel listed, nothing stored.
    query.m_dataKind = CReadingQuery::kEvents;
    query.m_selectedNumbers = {101};
    options.Init();
    EXPECT_FALSE(options.ChoicesEnabled());
    EXPECT_TRUE(options.m_alarmFlag);
    for (const auto& channel : options.m_channels)
        EXPECT_TRUE(channel.selected);
    options.Accept();
    EXPECT_EQ(query.m_selectedNumbers, (std::vector<std::uint32_t>{101}));
}

TEST(SaveScanDataModel, NameRulesPropertiesAndTheNameCheck) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    std::vector<std::string> looked;
    SaveScanDataModel model(
        [&](const std::string& setup, const std::string& name) -> std::int16_t {
            looked.push_back(setup + "/" + name);
            return name == "Taken" ? 1 : 2;
        },
        prompter);
    model.m_setupName = "Bench";
    model.m_storedName = "Run 1";
    model.m_exportName = "/data/export1.csv";
    const SaveScanDataModel::RowReader reader = [](const std::string&, const std::string& name,
                                                   SaveScanDataModel::Properties& row) {
        row = {name, "ann", "03/05/26", "warm-up"};
        return true;
    };
    model.Init(reader);
    EXPECT_EQ(model.m_name, "Run 1");
    EXPECT_EQ(model.m_user, "ann") << "kept when only the name changes";
    EXPECT_TRUE(model.OkEnabled());
    EXPECT_TRUE(model.Accept()) << "the stored name needs no lookup";
    EXPECT_TRUE(looked.empty());

    model.EditName("");
    EXPECT_FALSE(model.OkEnabled());
    model.EditName(std::string(40, 'n'));
    EXPECT_EQ(model.m_name.size(), 35u);
    EXPECT_TRUE(model.m_modified);
    model.EditName("Taken");
    EXPECT_FALSE(model.Accept());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{SaveScanDataModel::kNameInUse});
    model.EditName("Fresh");
    EXPECT_TRUE(model.Accept());
    EXPECT_EQ(looked, (std::vector<std::string>{"Bench/Taken", "Bench/Fresh"}));

    model.m_exportAfterScan = true;
    model.EditExportName("");
    EXPECT_FALSE(model.OkEnabled());

    // Properties: shown with the current name; a change marks the dialog modified.
    SaveScanDataModel fresh(nullptr, prompter);
    fresh.m_storedName = "Run 1";
    fresh.Init();
    SaveScanDataModel::Properties shown;
    ASSERT_TRUE(fresh.LoadProperties(reader, shown));
    EXPECT_EQ(shown.user, "ann");
    fresh.TakeProperties(shown, shown);
    EXPECT_FALSE(fresh.m_modified);
    SaveScanDataModel::Properties edited = shown;
    edited.note = "new note";
    edited.name = "Run 2";
    fresh.TakeProperties(shown, edited);
    EXPECT_TRUE(fresh.m_modified);
    EXPECT_EQ(fresh.m_name, "Run 2");
    EXPECT_EQ(fresh.m_note, "new note");
    EXPECT_FALSE(fresh.LoadProperties({}, shown)) << "no row: nothing to show";
}

} // namespace
} // namespace tvane::test
