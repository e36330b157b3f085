#include <algorithm>

#include "BindingFixture.h"
#include "comm/ICommSetupSheet.h"
#include "comm/InterfaceTypes.h"
#include "platform/com/ComException.h"
#include "platform/com/Registration.h"
#include "scan/ComUtilities.h"

namespace tvane::test {
namespace {

using comm::ScriptedTransport;
using Step = ScriptedTransport::Step;

// Creation: each way it can fail shows its text with the ProgID, then the user
// exception (or, for a driver object without IInstDriverData, the query's status).
TEST_F(BindingTest, CreateFailuresShowTheirTextAndStop) {
    ClassRegistration missing;
    missing.clsid = MakeGuid("{5C1E7A10-2B4D-4E8F-9A61-0D3B7C2E4F09}");
    missing.progId = "Gone.Drv32";
    missing.description = "Gone.Drv32";
    missing.modulePath = std::string(TVANE_BINARY_DIR) + "/bin/NoSuchDriver.so";
    ASSERT_EQ(RegisterClassKeys(missing), S_OK);

    const struct {
        const char* progId;
        const char* text;
    } cases[] = {
        {"Nothing.Drv32", "Bad or missing registry entry for OLE object Nothing.Drv32"},
        {"Gone.Drv32", "Failed to load OLE Instrument object Gone.Drv32"},
        {"Fake.NoControl", "Failed to load OLE Instrument object Fake.NoControl"},
        {"Fake.NoDispatch", "Failed to attach Comm OLE dispatch driver Fake.NoDispatch"},
    };
    for (const auto& c : cases) {
        prompter.asked.clear();
        COleKXQT7100 binding;
        EXPECT_THROW(binding.Create(c.progId), UserException) << c.progId;
        ASSERT_EQ(prompter.asked.size(), 1u) << c.progId;
        EXPECT_EQ(prompter.asked[0].text, c.text);
    }

    // The generic driver object has the control but not the driver's data interface.
    prompter.asked.clear();
    COleKXQT7100 generic;
    try {
        generic.Create(kInstDriverProgId);
        ADD_FAILURE() << "created";
    } catch (const UserException&) {
        ADD_FAILURE() << "a user exception";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), E_NOINTERFACE);
    }
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(BindingTest, CreatedByProgIdOrByClassDescription) {
    for (const char* name : {"KXQT7100.Drv32", "kxqt7100"}) {
        CLSID clsid;
        std::string key;
        ASSERT_TRUE(ProgIDToCLSID(name, clsid, key)) << name;
        EXPECT_EQ(clsid, CLSID_KXQT7100);
        EXPECT_EQ(key, GuidToString(CLSID_KXQT7100));
    }
    COleKXQT7100 binding;
    ASSERT_TRUE(binding.Create("KXQT7100.Drv32"));
    EXPECT_EQ(binding.ProgID(), "KXQT7100.Drv32");
    EXPECT_TRUE(binding.IsKindOf(RUNTIME_CLASS(COleDriver)));
    EXPECT_STREQ(binding.GetRuntimeClass()->m_lpszClassName, "COleKXQT7100");
    std::unique_ptr<CObject> made(RUNTIME_CLASS(COleDriver)->CreateObject());
    EXPECT_NE(dynamic_cast<COleDriver*>(made.get()), nullptr);
    EXPECT_EQ(binding.Clsid(), CLSID_KXQT7100);
    std::string name, version, files;
    binding.GetInstrumentName(name);
    binding.GetDriverFiles(files);
    EXPECT_EQ(name, "KXQT7100");
    EXPECT_FALSE(files.empty());
    EXPECT_TRUE(prompter.asked.empty());
}

// Open: the address argument, the settings refreshed from the control with the
// identification forced to the model, and the ini time-outs applied in order.
TEST_F(BindingTest, OpenPassesTheAddressAndAppliesTheIniTimeouts) {
    auto log = std::make_shared<std::vector<std::string>>();
    comm::ScopedTransportCreator recorder{
        4, [log](int32_t type) { return std::make_unique<RecordingTransport>(log, type); }};
    WriteIni("Drivers", "Instrument", "KXQT7100.Drv32");
    WriteIni("KXQT7100.Drv32", "InterfaceTimeout", "3500");
    WriteIni("KXQT7100.Drv32", "PollTimeout", "35");
    WriteIni("KXQT7100.Drv32", "LanTimeout", "35000");

    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    settings.InstID = "SOMETHING ELSE";
    ASSERT_TRUE(binding.Connect(&settings, 0));
    EXPECT_TRUE(binding.IsOpened());
    EXPECT_EQ(*log,
              (std::vector<std::string>{"[open GPIB0,9]", "comm 3500", "poll 35", "lan 35000"}));
    EXPECT_EQ(settings.InstID, "KXQT7100");
    EXPECT_EQ(settings.InterfaceType, 4);
    EXPECT_EQ(settings.InterfaceName, "WENX");
    EXPECT_EQ(settings.ControllerName, "GPIB0");
    EXPECT_EQ(settings.Address, 9);
    EXPECT_EQ(settings.CommTimeout, 3500);
    EXPECT_EQ(settings.PollTimeout, 35);
    EXPECT_EQ(settings.LanTimeout, 35000);
    EXPECT_EQ(binding.Settings(), settings);
    EXPECT_EQ(binding.Settings().CommTimeout, 3500);
    EXPECT_NE(binding.IsValidInterface(), 0);
    std::string text;
    binding.GetAddressText(text);
    EXPECT_EQ(text, "9");
    binding.GetControllerName(text);
    EXPECT_EQ(text, "GPIB0");

    binding.Close();
    EXPECT_FALSE(binding.IsOpened());
    EXPECT_EQ(binding.IsValidInterface(), 0);

    // No keys: the defaults.
    log->clear();
    WriteIni("Drivers", "Instrument", "Elsewhere");
    settings = Wenx();
    ASSERT_TRUE(binding.Open(&settings, 0));
    EXPECT_EQ(*log,
              (std::vector<std::string>{"[open GPIB0,9]", "comm 2000", "poll 20", "lan 20000"}));
}

TEST_F(BindingTest, OpenAnyPassesTheModelAsThePattern) {
    auto log = std::make_shared<std::vector<std::string>>();
    comm::ScopedTransportCreator noBus{4, {}};
    comm::ScopedTransportCreator noCard{2, {}};
    comm::ScopedTransportCreator recorder{
        3, [log](int32_t type) { return std::make_unique<RecordingTransport>(log, type); }};
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings;
    settings.InterfaceName = "ANY";
    settings.ControllerName = "GPIB0";
    settings.Address = 9;
    ASSERT_TRUE(binding.Open(&settings, 0));
    ASSERT_FALSE(log->empty());
    EXPECT_EQ(log->front(), "[search KXQT7100]");
    EXPECT_EQ(settings.InterfaceType, 3);
    EXPECT_EQ(settings.InstID, "KXQT7100");
}

// Destroying an open binding closes the link and gives back every reference, so
// the server libraries can be unloaded; a second Create replaces the first object.
TEST_F(BindingTest, DestructionClosesAndReleasesTheDriver) {
    {
        COleKXQT7100 binding;
        binding.Create(kKXQT7100ProgId);
        binding.Create(kKXQT7100ProgId);
        CommSettings settings = Wenx();
        ASSERT_TRUE(binding.Open(&settings, 0));
        const auto loaded = LoadedServerLibraries();
        EXPECT_TRUE(std::any_of(loaded.begin(), loaded.end(), [](const std::string& path) {
            return path.find("KXQT7100.so") != std::string::npos;
        }));
        script->transcript.clear();
    }
    ASSERT_FALSE(script->transcript.empty());
    EXPECT_EQ(script->transcript.front(), "[close]");
    EXPECT_EQ(script->transcript.back(), "[deleted]");
    CoFreeUnusedLibraries();
    for (const std::string& path : LoadedServerLibraries()) {
        EXPECT_EQ(path.find("KXQT7100.so"), std::string::npos) << path;
        EXPECT_EQ(path.find("Linkwell.so"), std::string::npos) << path;
    }
}

TEST_F(BindingTest, FailedOpenClosesTheControl) {
    script->present = {"GPIB0,7"};
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    EXPECT_FALSE(binding.Open(&settings, 0));
    EXPECT_FALSE(binding.IsOpened());
    EXPECT_EQ(binding.IsValidInterface(), 0);
    EXPECT_EQ(binding.Settings(), settings);
}

// A failing Fetch wrapper copies the control's error into the binding's record;
// a failure with no communications error leaves the record as it was; the
// driver's own GetLastError then clears the record.
TEST_F(BindingTest, FailedCallsFetchTheCommunicationsError) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    ASSERT_TRUE(binding.Open(&settings, 0));

    script->sendFailures["TRIG:COUN 5"] = {1234, "Bus jammed"};
    EXPECT_FALSE(binding.SetScanCount(5));
    std::string text;
    LONG code = 0;
    EXPECT_TRUE(binding.GetError(text, code));
    EXPECT_EQ(text, "Bus jammed");
    EXPECT_EQ(code, 1234);

    // A failure of the driver's own, with no communications error: the record stays.
    EXPECT_FALSE(binding.SetTriggerSource("NOWHERE"));
    binding.GetError(text, code);
    EXPECT_EQ(text, "Bus jammed");
    EXPECT_EQ(code, 1234);

    // The driver's error, and the binding's record cleared.
    EXPECT_TRUE(binding.GetLastError(text, code));
    EXPECT_EQ(code, 1004);
    EXPECT_FALSE(text.empty());
    binding.GetError(text, code);
    EXPECT_EQ(text, "No Error");
    EXPECT_EQ(code, 0);

    // GetReading fails only by a negative count; nothing received is a count of 0.
    Variant readings;
    EXPECT_EQ(binding.GetReading(&readings), 0);
    binding.GetError(text, code);
    EXPECT_EQ(text, "No Error");
    EXPECT_EQ(code, 0);

    // Raw sends and receives fetch it too.
    script->sendFailures["PING"] = {77, "No carrier"};
    EXPECT_FALSE(binding.SendRawMsg("PING"));
    binding.GetError(text, code);
    EXPECT_EQ(text, "No carrier");
    EXPECT_EQ(code, 77);
}

// Without a driver: the dispatch calls throw, GetLastError answers the binding's
// own record and clears it.
TEST_F(BindingTest, WithoutADriverGetLastErrorFallsBack) {
    struct Unbound : COleKXQT7100 {
        void Fail(const char* text, LONG code) {
            m_errorText = text;
            m_errorCode = code;
        }
    } binding;
    binding.Fail("Port closed", 31);
    std::string text;
    LONG code = 0;
    EXPECT_TRUE(binding.GetLastError(text, code));
    EXPECT_EQ(text, "Port closed");
    EXPECT_EQ(code, 31);
    binding.GetError(text, code);
    EXPECT_EQ(text, "No Error");
    EXPECT_EQ(code, 0);

    EXPECT_THROW(binding.DriverDispatch().StartMeasurement(), ComException);
    EXPECT_THROW(binding.IsSimulated(), ComException);
    EXPECT_THROW(binding.GetReadings(nullptr, 0, nullptr), ComException);
    binding.Close(); // nothing to close
}

// The serial-settings check against the instrument's answers.
TEST_F(BindingTest, CheckSerialSettings) {
    const char* notResponding =
        "Instrument not responding or communication settings are invalid - operation aborted.";
    const struct {
        const char* handshake; // the control's setting
        const char* baudReply; // the instrument's
        const char* parityReply;
        const char* handshakeReply;
        bool responding;
        bool ok;
        const char* message; // null: none
        std::size_t queries; // how many were sent
    } cases[] = {
        {"NONNON", "+9600", "NONE", "NONE", true, true, nullptr, 3},
        {"RTSRTS", "+9600", "NONE", "RTS", true, true, nullptr, 3},
        {"XONXON", "+9600", "NONE", "XON", true, true, nullptr, 3},
        {"NONNON", "+19200", "NONE", "NONE", true, false,
         "Baud rate mismatch detected - operation aborted.", 1},
        {"NONNON", "9600", "NONE", "NONE", true, false,
         "Baud rate mismatch detected - operation aborted.", 1},
        {"NONNON", "+9600", "EVEN", "NONE", true, false,
         "Parity mismatch detected - operation aborted.", 2},
        {"NONNON", "+9600", "NONE", "NONNON", true, false,
         "Handshake mismatch detected - operation aborted.", 3},
        {"DTRDTR", "+9600", "NONE", "RTS", true, false,
         "Handshake mismatch detected - operation aborted.", 3},
        {"WHATEVER", "+9600", "NONE", "NONE", true, false,
         "Handshake mismatch detected - operation aborted.", 3},
        {"NONNON", "+9600", "NONE", "NONE", false, false, notResponding, 0},
    };
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.handshake) + " " + c.baudReply + " " + c.parityReply + " " +
                     c.handshakeReply);
        script->baud = "9600";
        script->parity = "NONE";
        script->handshake = c.handshake;
        script->responding = c.responding;
        script->On("SYST:COMM:SER:BAUD?", c.baudReply);
        script->On("SYST:COMM:SER:PAR?", c.parityReply);
        script->On("SYST:COMM:SER:HAND?", c.handshakeReply);
        CommSettings settings;
        settings.InterfaceName = "RS232";
        settings.ControllerName = "COM1";
        ASSERT_TRUE(binding.Open(&settings, 0));
        ASSERT_EQ(binding.Settings().InterfaceType, 3);
        script->sent.clear();
        prompter.asked.clear();
        EXPECT_EQ(binding.CheckSerialSettings(), c.ok);
        EXPECT_EQ(prompter.Texts(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(std::count_if(script->sent.begin(), script->sent.end(),
                                [](const std::string& s) { return s.rfind("SYST:COMM", 0) == 0; }),
                  static_cast<long>(c.queries));
        binding.Close();
    }

    // A query that cannot be sent is not compared.
    script->responding = true;
    script->On("SYST:COMM:SER:BAUD?", "+1");
    script->sendFailures["SYST:COMM:SER:BAUD?"] = {5, "Line busy"};
    CommSettings settings;
    settings.InterfaceName = "RS232";
    settings.ControllerName = "COM1";
    ASSERT_TRUE(binding.Open(&settings, 0));
    prompter.asked.clear();
    EXPECT_TRUE(binding.CheckSerialSettings());
    EXPECT_TRUE(prompter.asked.empty());
    binding.Close();

    // Any other interface: no check, no traffic.
    prompter.asked.clear();
    settings = Wenx();
    ASSERT_TRUE(binding.Open(&settings, 0));
    script->sent.clear();
    script->responding = false;
    EXPECT_TRUE(binding.CheckSerialSettings());
    EXPECT_TRUE(script->sent.empty());
    EXPECT_TRUE(prompter.asked.empty());
}

// The instrument's error queue collected up to its "no error" entry.
TEST_F(BindingTest, InstrumentErrorsCollectedUntilTheQueueIsEmpty) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    ASSERT_TRUE(binding.Open(&settings, 0));
    std::vector<std::string> numbers{"stale"}, texts{"stale"};
    int count = -1;
    script->On("SYST:ERR?", "+0,\"No error\"");
    EXPECT_TRUE(binding.GetInstrumentError(numbers, texts, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(numbers.empty());
    EXPECT_TRUE(texts.empty());

    script->On("SYST:ERR?",
               {Step::Answer("-113,\"Undefined header\""),
                Step::Answer("-222,\"Data out of range\""), Step::Answer("+0,\"No error\"")});
    EXPECT_TRUE(binding.GetInstrumentError(numbers, texts, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(numbers, (std::vector<std::string>{"-113", "-222"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Undefined header", "Data out of range"}));

    // A query that fails ends the collection with the communications error fetched.
    script->On("SYST:ERR?", {Step::Answer("-113,\"Undefined header\""), Step::TimedOut()});
    EXPECT_FALSE(binding.GetInstrumentError(numbers, texts, count));
    EXPECT_EQ(count, 1);
    std::string text;
    LONG code = 0;
    binding.GetError(text, code);
    EXPECT_EQ(code, 1052);
}

TEST_F(BindingTest, SimulatedAndSearch) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    binding.SetSimulated(&settings);
    EXPECT_EQ(settings.InstID, "KXQT7100");
    EXPECT_EQ(settings.InterfaceType, 0);
    EXPECT_EQ(binding.GetInterfaceTypeValue(), 0);
    EXPECT_TRUE(binding.IsSimulated());
    std::string name;
    binding.GetInterfaceName(name);
    EXPECT_EQ(settings.InterfaceName, name);

    // A search that finds nothing is FALSE; one that finds fills the record from the
    // control.
    CommSettings preset = Wenx();
    preset.InterfaceType = 4;
    script->searchLines.clear();
    CommSettings found;
    found.InstID = "untouched";
    EXPECT_FALSE(binding.Search(&found, "KXQT7100", 0, &preset));
    EXPECT_EQ(found.InstID, "untouched");

    // The user picks an instrument: the record comes from the control's properties.
    struct PickingSheet final : comm::ICommSetupSheet {
        Result Run(const Request& r) override {
            asked = r;
            Result result;
            result.selected = true;
            result.type = 5;
            result.model = "QT7100";
            result.address = "LAN7,12";
            return result;
        }
        bool ShowProperties(comm::CCommCtrl&) override { return false; }
        Request asked;
    } sheet;
    comm::SetCommSetupSheet(&sheet);
    preset.ControllerName = "GPIB3";
    EXPECT_TRUE(binding.Search(&found, "KXQT7100", 1, &preset));
    comm::SetCommSetupSheet(nullptr);
    EXPECT_EQ(sheet.asked.type, 4); // the preset's type was written first
    EXPECT_EQ(sheet.asked.pattern, "KXQT7100");
    EXPECT_EQ(sheet.asked.flag, 1);
    EXPECT_EQ(found.InterfaceType, 5);
    EXPECT_EQ(found.ControllerName, "LAN7");
    EXPECT_EQ(found.Address, 12);
    EXPECT_EQ(found.InstID, "QT7100");
    EXPECT_EQ(found.InterfaceName, comm::TypeToName(5));
    EXPECT_TRUE(binding.Search(nullptr, "", 0, nullptr) == FALSE); // no sheet: nothing found
}

TEST(CommSettingsTest, EqualityIgnoresTheTimeouts) {
    CommSettings a, b;
    b.CommTimeout = 1;
    b.PollTimeout = 2;
    b.LanTimeout = 3;
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.InstID, "UNKNOWN");
    EXPECT_EQ(a.CommTimeout, 2000);
    EXPECT_EQ(a.PollTimeout, 20);
    EXPECT_EQ(a.LanTimeout, 20000);
    for (auto change :
         {+[](CommSettings& s) { s.InstID = "X"; },
          +[](CommSettings& s) { s.InterfaceName = "WENX"; },
          +[](CommSettings& s) { s.ControllerName = "gpib0"; },
          +[](CommSettings& s) { s.Address = 9; }, +[](CommSettings& s) { s.InterfaceType = 3; }}) {
        CommSettings c;
        change(c);
        EXPECT_FALSE(c == a);
    }
}

TEST(ComUtilitiesTest, FormatMessageArgs) {
    const struct {
        const char* pattern;
        const char* result;
    } cases[] = {
        {"LoadLibrary(\"%1\") failed.\nGetLastError returns %2.",
         "LoadLibrary(\"x.so\") failed.\nGetLastError returns 0x0000007e."},
        {"%1 in %2 failed.", "x.so in 0x0000007e failed."},
        {"%2%1%2", "0x0000007ex.so0x0000007e"},
        {"100% %d %3 %", "100% %d %3 %"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMessageArgs(c.pattern, "x.so", "0x0000007e"), c.result) << c.pattern;
    // No fixed buffer: a long text comes out whole.
    const std::string path(5000, 'p');
    EXPECT_EQ(FormatMessageArgs("[%1]", path, ""), "[" + path + "]");
}

TEST(ComUtilitiesTest, GetResourceStringSharesOneBuffer) {
    const char* first = GetResourceString(169);
    EXPECT_STREQ(first, "Failed to load OLE Instrument object %s");
    const char* second = GetResourceString(3001);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "KXQT7100");
    EXPECT_STREQ(GetResourceString(1), "");
}

} // namespace
} // namespace tvane::test
