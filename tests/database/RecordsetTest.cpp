#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/CDynaDatabase.h"
#include "database/CRSCardData.h"
#include "database/CRSCards.h"
#include "database/CRSDataset.h"
#include "database/CRSFunction.h"
#include "database/CRSRange.h"
#include "database/CRSResolution.h"
#include "database/CRSSetup.h"
#include "database/DBException.h"
#include "database/SeedDatabase.h"
#include "platform/core/Clock.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

class RecordsetTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        if (HasFatalFailure())
            return;
        std::filesystem::create_directories(home.Data());
        path = home.Data() / "tvane.mdb";
        CreateSeedDatabase(path);
        ASSERT_TRUE(Open(db)) << db.LastError();
    }

    bool Open(CDynaDatabase& database, bool readOnly = false) {
        return database.Open({}, false, readOnly,
                             "ODBC;Driver=SQLite3;Database=" + path.string() + ";");
    }

    // Adds a Setup row through an updatable set.
    void AddSetup(const std::string& name, std::int64_t time = 1000000000) {
        CRSSetup set(&db);
        ASSERT_NE(set.OpenAll(RS_UPDATABLE), RS_FAILED);
        set.AddNewRecord();
        set.m_Name = name;
        set.m_DateTime = time;
        set.m_User = "user";
        set.m_SetupFile = "/data/X0000000.000";
        EXPECT_EQ(set.UpdateRecord(), 1);
        set.Close();
    }

    template <typename Set, typename Get>
    static std::vector<std::string> Column(Set& set, Get get) {
        std::vector<std::string> values;
        for (set.MoveRecord(RS_MOVE_FIRST); !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
            values.push_back(get(set));
        return values;
    }

    std::filesystem::path path;
    CDynaDatabase db;
};

TEST_F(RecordsetTest, OpenAllReadsEveryTableThroughTheTableOrTheStoredQuery) {
    CRSSetup setups(&db);
    EXPECT_EQ(setups.OpenAll(RS_READONLY), RS_EMPTY);
    EXPECT_EQ(setups.GetSQL(), "{CALL Get_Setup}");
    EXPECT_FALSE(setups.CanUpdate());
    EXPECT_EQ(setups.OpenAll(RS_UPDATABLE), RS_EMPTY);
    EXPECT_EQ(setups.GetSQL(), "Setup");
    EXPECT_TRUE(setups.CanUpdate());
    EXPECT_EQ(setups.m_opened, 1);

    CRSCards cards(&db);
    EXPECT_EQ(cards.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_EQ(cards.GetSQL(), "{CALL Get_Cards}");
    EXPECT_EQ(cards.CountRecords(), 8);
    EXPECT_EQ(cards.OpenAll(RS_UPDATABLE), RS_ROWS);
    EXPECT_EQ(cards.GetSQL(), "Cards");

    CRSDataset datasets(&db);
    EXPECT_EQ(datasets.OpenAll(RS_READONLY), RS_EMPTY);
    CRSCardData cardData(&db);
    EXPECT_EQ(cardData.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_EQ(cardData.CountRecords(), 22 + 16 + 20 + 32 + 8 + 8 + 5 + 40);
    CRSFunction functions(&db);
    EXPECT_EQ(functions.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_EQ(functions.CountRecords(), 19 + 19 + 2 + 2 + 2 + 1);
    CRSRange ranges(&db);
    EXPECT_EQ(ranges.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_EQ(ranges.CountRecords(), 24);
    CRSResolution resolutions(&db);
    EXPECT_EQ(resolutions.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_EQ(resolutions.CountRecords(), 3);

    cards.Close();
    EXPECT_EQ(cards.m_opened, 0);
    EXPECT_FALSE(cards.IsOpen());
}

TEST_F(RecordsetTest, OpenGivenSelectsByExactCaseSensitiveParameters) {
    CRSCards cards(&db);
    EXPECT_EQ(cards.OpenGivenCard("KXQT7107", RS_READONLY), RS_ROWS);
    EXPECT_EQ(cards.m_Name, "KXQT7107");
    EXPECT_EQ(cards.m_Channels, 5);
    EXPECT_EQ(cards.CountRecords(), 1);
    EXPECT_EQ(cards.OpenGivenCard("kxqt7107", RS_READONLY), RS_EMPTY);
    EXPECT_EQ(cards.OpenGivenCard("KXQT7107 ", RS_READONLY), RS_EMPTY);

    CRSCardData cardData(&db);
    EXPECT_EQ(cardData.OpenGivenCard("KXQT7102", RS_READONLY), RS_ROWS);
    EXPECT_EQ(cardData.CountRecords(), 16);
    cardData.MoveRecord(RS_MOVE_FIRST);
    EXPECT_EQ(cardData.m_ChannelId, 1);
    EXPECT_EQ(cardData.OpenGivenCardChannel("KXQT7101", 21, RS_READONLY), RS_ROWS);
    EXPECT_EQ(cardData.m_Function, "DC current");
    EXPECT_EQ(cardData.m_FunctionType, 3);
    EXPECT_EQ(cardData.OpenGivenCardChannel("KXQT7101", 23, RS_READONLY), RS_EMPTY);

    CRSFunction functions(&db);
    EXPECT_EQ(functions.OpenGivenType(3, RS_READONLY), RS_ROWS);
    EXPECT_EQ(Column(functions, [](CRSFunction& f) { return f.m_Name; }),
              (std::vector<std::string>{"DC current", "AC current"}));
    EXPECT_EQ(functions.OpenGivenTypeName(5, "4w ohms", RS_READONLY), RS_ROWS);
    EXPECT_EQ(functions.m_RangeType, 3);
    EXPECT_EQ(functions.m_AdvSettingsType, 0x302);
    EXPECT_DOUBLE_EQ(functions.m_MaxRange, 1000.0);
    EXPECT_EQ(functions.OpenGivenTypeName(5, "4W Ohms", RS_READONLY), RS_EMPTY);

    CRSRange ranges(&db);
    EXPECT_EQ(ranges.OpenGivenType(3, RS_READONLY), RS_ROWS);
    EXPECT_EQ(Column(ranges, [](CRSRange& r) { return r.m_Name; }),
              (std::vector<std::string>{"Auto", "100  ", "1 K ", "10 K ", "100 K ", "1 M ", "10 M ",
                                        "100 M "}));
    CRSResolution resolutions(&db);
    EXPECT_EQ(resolutions.OpenGivenType(1, RS_READONLY), RS_ROWS);
    EXPECT_EQ(Column(resolutions, [](CRSResolution& r) { return r.m_Name; }),
              (std::vector<std::string>{"6.5 digits", "5.5 digits", "4.5 digits"}));
    EXPECT_EQ(resolutions.OpenGivenType(0, RS_READONLY), RS_EMPTY);
}

TEST_F(RecordsetTest, StoredQueriesCannotBeOpenedForUpdate) {
    CRSCards cards(&db);
    EXPECT_EQ(cards.OpenGivenCard("KXQT7101", RS_UPDATABLE), RS_FAILED);
    EXPECT_TRUE(cards.IsOpen()); // open until Close or destruction
    EXPECT_EQ(cards.m_opened, 0);
    cards.Close();
    EXPECT_FALSE(cards.IsOpen());

    CRSSetup setups(&db);
    EXPECT_EQ(setups.OpenGivenSetup("none", RS_UPDATABLE), RS_FAILED);
    EXPECT_THROW(setups.AddNewRecord(), DBException);
}

TEST_F(RecordsetTest, ReadOnlyConnectionRefusesUpdatableOpens) {
    CDynaDatabase readOnly;
    ASSERT_TRUE(Open(readOnly, true));
    EXPECT_FALSE(readOnly.CanUpdate());
    CRSSetup setups(&readOnly);
    EXPECT_EQ(setups.OpenSQL("Setup", RS_UPDATABLE), RS_FAILED);
    EXPECT_FALSE(setups.IsOpen());
    EXPECT_EQ(setups.OpenAll(RS_UPDATABLE), RS_FAILED);
    EXPECT_EQ(setups.m_opened, 0);
    EXPECT_EQ(setups.OpenAll(RS_READONLY), RS_EMPTY);

    CDynaDatabase closed;
    CRSSetup onClosed(&closed);
    EXPECT_EQ(onClosed.OpenAll(RS_READONLY), RS_FAILED);
}

TEST_F(RecordsetTest, SearchesStopOnTheFirstMatchOrAtTheEnd) {
    CRSCards cards(&db);
    ASSERT_EQ(cards.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_TRUE(cards.FindCard("KXQT7105"));
    EXPECT_EQ(cards.m_Channels, 8);
    EXPECT_FALSE(cards.FindCard("KXQT710"));
    EXPECT_TRUE(cards.IsEOF());

    CRSCardData cardData(&db);
    ASSERT_EQ(cardData.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_TRUE(cardData.FindCard("KXQT7104"));
    EXPECT_EQ(cardData.m_ChannelId, 11); // the module's first channel row
    EXPECT_FALSE(cardData.FindCard("kxqt7104"));

    CRSFunction functions(&db);
    ASSERT_EQ(functions.OpenAll(RS_READONLY), RS_ROWS);
    EXPECT_TRUE(functions.FindName("Totalize (Reset)"));
    EXPECT_EQ(functions.m_Type, 4);
    EXPECT_EQ(functions.m_DefaultAdvSettings, ";;;;;;;;;;;;POS;");

    CRSSetup empty(&db);
    ASSERT_EQ(empty.OpenAll(RS_UPDATABLE), RS_EMPTY);
    EXPECT_FALSE(empty.FindSetup(""));
    EXPECT_TRUE(empty.IsBOF() && empty.IsEOF());
}

TEST_F(RecordsetTest, MovesOnAnEmptySetAndPastTheEnds) {
    CRSSetup setups(&db);
    ASSERT_EQ(setups.OpenAll(RS_UPDATABLE), RS_EMPTY);
    for (std::int16_t code : {1, 2, 3, 4, 9}) {
        EXPECT_EQ(setups.MoveRecord(code), 2) << code;
        EXPECT_TRUE(setups.IsBOF() && setups.IsEOF());
    }
    EXPECT_EQ(setups.CountRecords(), 0);

    CRSResolution resolutions(&db);
    ASSERT_EQ(resolutions.OpenGivenType(1, RS_READONLY), RS_ROWS);
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_LAST), 1);
    EXPECT_EQ(resolutions.m_Name, "4.5 digits");
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_NEXT), 1);
    EXPECT_TRUE(resolutions.IsEOF());
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_NEXT), 1); // stays at the end
    EXPECT_TRUE(resolutions.IsEOF());
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_PREV), 1);
    EXPECT_EQ(resolutions.m_Name, "4.5 digits");
    resolutions.MoveRecord(RS_MOVE_FIRST);
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_PREV), 1);
    EXPECT_TRUE(resolutions.IsBOF());
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_PREV), 1); // stays at the beginning
    EXPECT_TRUE(resolutions.IsBOF());
    EXPECT_EQ(resolutions.MoveRecord(RS_MOVE_NEXT), 1);
    EXPECT_EQ(resolutions.m_Name, "6.5 digits");
    resolutions.MoveRelative(2);
    EXPECT_EQ(resolutions.m_Name, "4.5 digits");
    EXPECT_EQ(resolutions.CountRecords(), 3);
}

TEST_F(RecordsetTest, AddedRowsKeepTheirTextsAndAnIndependentReaderSeesThem) {
    const std::string quoted = "O'Brien \"quoted\"; DROP TABLE \"Setup\"; --";
    const std::string longest = std::string(254, 'n') + "\xC3\xA9"; // 255 characters
    AddSetup("Alpha  ");
    AddSetup(quoted);
    AddSetup(longest);

    CRSSetup setups(&db);
    ASSERT_EQ(setups.OpenAll(RS_UPDATABLE), RS_ROWS);
    setups.AddNewRecord();
    setups.m_Name = std::string(256, 'x');
    EXPECT_THROW(setups.UpdateRecord(), DBException);
    setups.CancelUpdate();

    EXPECT_EQ(setups.CountRecords(), 3);
    EXPECT_TRUE(setups.FindSetup(quoted));
    EXPECT_TRUE(setups.FindSetup(longest));
    EXPECT_EQ(setups.m_User, "user");
    EXPECT_EQ(setups.m_DateTime, 1000000000);
    EXPECT_FALSE(setups.FindSetup("alpha"));
    EXPECT_TRUE(setups.FindSetup("Alpha")); // trailing blanks removed
    EXPECT_EQ(setups.m_Name, "Alpha");

    EXPECT_EQ(Sqlite3(path, "SELECT \"Name\" || '|' FROM \"Setup\" ORDER BY rowid;"),
              "Alpha  |\n" + quoted + "|\n" + longest + "|\n");
    EXPECT_EQ(Sqlite3(path, "SELECT count(*) FROM \"CardData\";"), "151\n");
}

TEST_F(RecordsetTest, EditAndDeleteChangeOnlyTheirRow) {
    AddSetup("one");
    AddSetup("two");
    AddSetup("three");
    {
        CRSSetup setups(&db);
        ASSERT_EQ(setups.OpenAll(RS_UPDATABLE), RS_ROWS);
        ASSERT_TRUE(setups.FindSetup("two"));
        setups.EditRecord();
        EXPECT_EQ(setups.UpdateRecord(), 0); // nothing changed
        setups.EditRecord();
        setups.m_Note = "noted";
        EXPECT_EQ(setups.UpdateRecord(), 1);
        ASSERT_TRUE(setups.FindSetup("one"));
        EXPECT_EQ(setups.DeleteRow(), 1);
        EXPECT_EQ(setups.CountRecords(), 2);
        setups.MoveRecord(RS_MOVE_FIRST);
        EXPECT_EQ(setups.m_Name, "two");
        EXPECT_EQ(setups.m_Note, "noted");
    }
    EXPECT_EQ(Sqlite3(path, "SELECT \"Name\", \"Note\" FROM \"Setup\" ORDER BY rowid;"),
              "two|noted\nthree|\n");
}

TEST_F(RecordsetTest, DatesBefore1970AreStoredAsZeroAndReadAsStored) {
    AddSetup("old", -86400);
    CRSSetup setups(&db);
    ASSERT_EQ(setups.OpenGivenSetup("old", RS_READONLY), RS_ROWS);
    EXPECT_EQ(setups.m_DateTime, 0);

    Sqlite3(path, "INSERT INTO \"Setup\" (\"Name\", \"DateTime\") VALUES ('older', "
                  "'1960-07-01 12:30:00');");
    ASSERT_EQ(setups.OpenGivenSetup("older", RS_READONLY), RS_ROWS);
    EXPECT_EQ(setups.m_DateTime, FromLocalTime(LocalTime{1960, 7, 1, 12, 30, 0}));
    EXPECT_LT(setups.m_DateTime, 0);
}

TEST_F(RecordsetTest, DatasetSearchesTrimOnlyTheSetupName) {
    {
        CRSDataset datasets(&db);
        ASSERT_EQ(datasets.OpenAll(RS_UPDATABLE), RS_EMPTY);
        datasets.AddNewRecord();
        datasets.m_SetupName = "Rig  ";
        datasets.m_Name = "Run 1";
        datasets.m_DatasetKey = "Z1000000.000";
        datasets.UpdateRecord();
    }
    CRSDataset datasets(&db);
    ASSERT_EQ(datasets.OpenAll(RS_UPDATABLE), RS_ROWS);
    EXPECT_FALSE(datasets.FindDataset("Rig", "Run 1"));
    EXPECT_TRUE(datasets.FindDataset("Rig  ", "Run 1"));
    EXPECT_TRUE(datasets.FindSetup("Rig"));
    EXPECT_EQ(datasets.m_DatasetKey, "Z1000000.000");
    EXPECT_EQ(datasets.OpenGivenSetupDataset("Rig  ", "Run 1", RS_READONLY), RS_ROWS);
    EXPECT_EQ(datasets.OpenGivenSetup("Rig", RS_READONLY), RS_EMPTY);
}

} // namespace
} // namespace tvane::test
