#include <optional>

#include "DriverFixture.h"
#include "FakeControl.h"
#include "driver/CKXQT7100Object.h"
#include "driver/DriverServer.h"
#include "platform/com/ComPtr.h"
#include "platform/com/SafeArray.h"

namespace tvane::driver::test {
namespace {

using Strings = std::vector<std::string>;
using Answers = std::vector<std::pair<std::string, std::string>>;

// One call through IDispatch::Invoke. Arguments: "I2:n", "I4:n", "R8:x", "S:text",
// "B:0|1" by value; "&I2", "&I4", "&R8", "&B", "&V" by reference. Outputs are the
// by-reference values in order, as text ("?" matches anything).
struct Call {
    DISPID id;
    Strings args = {};
    Answers answers = {}; // the instrument's answers while the call runs
    Strings sent = {};
    std::string result = {};
    Strings outs = {};
    // On the simulated interface, where it differs.
    std::optional<Strings> simSent = std::nullopt;
    std::optional<std::string> simResult = std::nullopt;
    std::optional<Strings> simOuts = std::nullopt;
};

struct Presenter : ISettingsPresenter {
    bool Show(CKXQT7100&, void*) override {
        ++shown;
        return true;
    }
    int shown = 0;
};

std::string Text(const VARIANT& v) {
    switch (v.vt) {
    case VT_EMPTY:
        return "";
    case VT_BOOL:
        return v.boolVal ? "TRUE" : "FALSE";
    case VT_I2:
        return std::to_string(v.iVal);
    case VT_I4:
        return std::to_string(v.lVal);
    case VT_R8:
        return Format("%g", v.dblVal);
    case VT_BSTR:
        return "\"" + Utf8FromBstr(v.bstrVal) + "\"";
    case VT_ARRAY | VT_VARIANT: {
        LONG rows = 0;
        SafeArrayGetUBound(v.parray, 1, &rows);
        std::string out;
        for (LONG r = 0; r <= rows; ++r) {
            out += "[";
            for (LONG c = 0; c < 5; ++c) {
                Variant cell;
                LONG index[2] = {r, c};
                SafeArrayGetElement(v.parray, index, &cell);
                out += (c ? " " : "") + Text(cell);
            }
            out += "]";
        }
        return out;
    }
    default:
        return "vt" + std::to_string(v.vt);
    }
}

class DispatchTable : public tvane::test::TempHomeTest {
protected:
    void Create(int type) {
        link.type = type;
        FakeControl::Link() = &link;
        previous = SetControlCreator([](IUnknown* outer, IUnknown** inner) {
            return CreateComInstance<FakeControl>(outer, IID_IUnknown,
                                                  reinterpret_cast<void**>(inner));
        });
        SetSettingsPresenter(&presenter);
        ASSERT_EQ(CreateComInstance<CKXQT7100Object>(nullptr, IID_IDispatch, dispatch.OutVoid()),
                  S_OK);
    }
    void TearDown() override {
        dispatch.Reset();
        SetControlCreator(std::move(previous));
        SetSettingsPresenter(nullptr);
        FakeControl::Link() = nullptr;
    }

    void Run(const Call& call, bool simulated) {
        SCOPED_TRACE("DISPID " + std::to_string(call.id));
        link.answers.clear();
        // The simulated transport answers nothing.
        for (const auto& [command, answer] : call.answers)
            if (!simulated)
                link.On(command, answer);
        if (call.id == 3 && !simulated)
            link.Queue("+1.00000000E+00       1.500101"
                       "2");
        link.transcript.clear();

        // Storage for the by-reference arguments.
        std::vector<SHORT> i2(8);
        std::vector<LONG> i4(8);
        std::vector<double> r8(8);
        std::vector<VARIANT_BOOL> b(8);
        std::vector<Variant> vars(8);
        std::vector<Variant> args;
        std::vector<std::function<std::string()>> outs;
        for (std::size_t i = 0; i < call.args.size(); ++i) {
            const std::string& a = call.args[i];
            std::string kind = a.substr(0, a.find(':')), value = a.substr(a.find(':') + 1);
            Variant v;
            if (kind == "I2") {
                v = Variant(static_cast<SHORT>(std::stoi(value)));
            } else if (kind == "I4") {
                v = Variant(static_cast<LONG>(std::stol(value)));
            } else if (kind == "R8") {
                v = Variant(std::stod(value));
            } else if (kind == "S") {
                v = Variant(value);
            } else if (kind == "B") {
                v = Variant(value == "1");
            } else if (kind == "&I2") {
                v.vt = VT_BYREF | VT_I2, v.piVal = &i2[i];
                outs.push_back([&i2, i] { return std::to_string(i2[i]); });
            } else if (kind == "&I4") {
                v.vt = VT_BYREF | VT_I4, v.plVal = &i4[i];
                outs.push_back([&i4, i] { return std::to_string(i4[i]); });
            } else if (kind == "&R8") {
                v.vt = VT_BYREF | VT_R8, v.pdblVal = &r8[i];
                outs.push_back([&r8, i] { return Format("%g", r8[i]); });
            } else if (kind == "&B") {
                v.vt = VT_BYREF | VT_BOOL, v.pboolVal = &b[i];
                outs.push_back([&b, i] { return b[i] ? "TRUE" : "FALSE"; });
            } else if (kind == "&V") {
                v.vt = VT_BYREF | VT_VARIANT, v.pvarVal = &vars[i];
                outs.push_back([&vars, i] { return Text(vars[i]); });
            }
            args.push_back(std::move(v));
        }
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params;
        params.rgvarg = reversed.data();
        params.cArgs = static_cast<UINT>(reversed.size());
        Variant result;
        EXCEPINFO info;
        UINT argError = 0;
        ASSERT_EQ(dispatch->Invoke(call.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                   &result, &info, &argError),
                  S_OK);

        EXPECT_EQ(link.Sent(), simulated && call.simSent ? *call.simSent : call.sent);
        EXPECT_EQ(Text(result), simulated && call.simResult ? *call.simResult : call.result);
        const Strings& expected = simulated && call.simOuts ? *call.simOuts : call.outs;
        ASSERT_EQ(outs.size(), expected.size());
        for (std::size_t i = 0; i < outs.size(); ++i) {
            if (expected[i] != "?") {
                EXPECT_EQ(outs[i](), expected[i]) << "output " << i;
            }
        }
    }

    ScriptedLink link;
    Presenter presenter;
    ControlCreator previous;
    ComPtr<IDispatch> dispatch;
};

const Strings kStateQueries = {"MEM:NST?", "MEM:STAT:NAME? 1", "MEM:STAT:VAL? 1",
                               "MEM:STAT:NAME? 2", "MEM:STAT:VAL? 2"};
const Answers kStates = {{"MEM:NST?", "+3"},
                         {"MEM:STAT:NAME? 1", "\"FIRST\""},
                         {"MEM:STAT:VAL? 1", "1"},
                         {"MEM:STAT:NAME? 2", "\"TWO\""},
                         {"MEM:STAT:VAL? 2", "0"}};
const Strings kSevenClock = {"&I2", "&I2", "&I2", "&I2", "&I2", "&I2", "&I2"};

// Every method in DISPID order, some twice; the calls run in this order on one
// object, so state set by one call (monitor channel, stored states) is seen by
// later ones.
const std::vector<Call>& Calls() {
    static const std::vector<Call> calls = {
        {1, {}, {}, {}, "\"KXQT7100\""},
        {2, {}, kStates, kStateQueries, "TRUE", {}, Strings{"MEM:NST?"}},
        {3, {"&V"}, {}, {}, "1", {"[0 101 2 1.5 1]"}, Strings{}, "0", Strings{""}},
        {4, {"I2:101"}, {}, {"ROUT:MON (@101)"}, "TRUE"},
        {5, {"B:1"}, {}, {"ROUT:MON:STAT ON"}, "TRUE"},
        {6, {"I2:301", "I2:170"}, {}, {"SOUR:DIG:DATA 170,(@301)"}, "TRUE"},
        {7, {"I2:201"}, {}, {"ROUT:CLOS (@201)"}, "TRUE"},
        {8, {"I2:201"}, {}, {"ROUT:OPEN (@201)"}, "TRUE"},
        {9,
         {"I2:201"},
         {{"ROUT:OPEN? (@201)", "1"}},
         {"ROUT:OPEN? (@201)"},
         "TRUE",
         {},
         {},
         "FALSE"},
        {10,
         {"I2:201"},
         {{"ROUT:OPEN? (@201)", "1"}},
         {"ROUT:OPEN? (@201)"},
         "FALSE",
         {},
         {},
         "TRUE"},
        {11,
         {"&R8", "&I2"},
         {{"ROUT:MON:DATA?", "-9.90000000E+37"}},
         {"ROUT:MON:DATA?"},
         "TRUE",
         {"9.9e+37", "0"},
         Strings{},
         {},
         Strings{"?", "0"}},
        {12, {"I2:304", "R8:2.5"}, {}, {"SOUR:VOLT 2.500000,(@304)"}, "TRUE"},
        {13,
         {"I2:304", "&R8"},
         {{"SOUR:VOLT? (@304)", "+2.50000000E+00"}},
         {"SOUR:VOLT? (@304)"},
         "TRUE",
         {"2.5"},
         Strings{},
         {},
         Strings{"?"}},
        {14,
         kSevenClock,
         {{"SYST:TIME:SCAN?", "14,5,9.250"}},
         {"SYST:TIME:SCAN?"},
         "TRUE",
         {"?", "?", "?", "14", "5", "9", "250"},
         Strings{},
         {},
         Strings{"?", "?", "?", "?", "?", "?", "0"}},
        {15, {"&R8"}, {}, {}, "TRUE", {"0"}},
        {16,
         kSevenClock,
         {{"SYST:DATE?", "2026,12,10"}, {"SYST:TIME?", "13,45,30.5"}},
         {"SYST:DATE?", "SYST:TIME?"},
         "TRUE",
         {"2026", "12", "10", "13", "45", "30", "500"},
         Strings{},
         {},
         Strings{"?", "?", "?", "?", "?", "?", "0"}},
        {17,
         {"I2:100", "&B"},
         {{"SYST:CTYP? 100", "ORVANTA,QT7108,0,1.0"}},
         {"SYST:CTYP? 100"},
         "\"KXQT7108\"",
         {"TRUE"},
         {},
         "\"(None)\""},
        {18, {"I2:2026", "I2:12", "I2:10"}, {}, {"SYST:DATE 2026,12,10"}, "TRUE"},
        {19, {"I2:14", "I2:5", "I2:9", "I2:250"}, {}, {"SYST:TIME 14,5,9.250"}, "TRUE"},
        {20,
         {"&I2", "&B"},
         {{"SYST:ERR?", "-113,\"Undefined header\""}},
         {"SYST:ERR?"},
         "\"Undefined header\"",
         {"-113", "TRUE"},
         {},
         "\"\"",
         Strings{"0", "FALSE"}},
        {21, {"S:ext"}, {}, {"TRIG:SOUR EXT"}, "TRUE"},
        {22, {"S:HELLO"}, {}, {"DISP:TEXT \"HELLO\""}, "TRUE"},
        {23, {"B:0"}, {}, {"DISP OFF"}, "TRUE"},
        {24, {}, {}, {}, "TRUE"},
        {25, {"I4:5"}, {}, {"TRIG:COUN 5"}, "TRUE"},
        {26, {"R8:2.5"}, {}, {"TRIG:TIMER 2.500000"}, "TRUE"},
        {21, {"S:SOFT"}, {}, {}, "FALSE"},
        {27,
         {"&V", "&I4"},
         {},
         {},
         "TRUE",
         {"\"Invalid trigger source specified\n.Allowable values BUS,IMM,EXT,orTIM.\"", "1004"}},
        {27, {"&V", "&I4"}, {}, {}, "FALSE", {"\"No Error\"", "0"}},
        {28, {}, {}, {}, "\"KXQT7100.dll\""},
        {29, {}, {}, {}, "\"0.1.960828\""},
        {30, {}, {}, {"INIT"}, "TRUE"},
        {31, {}, {}, {"ABORT"}, "TRUE"},
        {32, {}, {}, {"*CLS", "*ESE 1", "*SRE 48", "ROUT:SCAN (@)"}, "TRUE"},
        {33, {}, kStates, kStateQueries, "TRUE", {}, Strings{"MEM:NST?"}},
        {34,
         {},
         {{"ROUT:SCAN?", "#210(@101,102)"}},
         {"ROUT:SCAN?"},
         "\"(@101,102)\"",
         {},
         {},
         "\"\""},
        {35,
         {"I2:2"},
         {{"OUTP:ALAR2:SOUR?", "#16(@101)"}},
         {"OUTP:ALAR2:SOUR?"},
         "\"(@101)\"",
         {},
         {},
         "\"\""},
        {36, {"I2:101", "S:0.5"}, {}, {"ROUT:CHAN:DEL 0.5,(@101)"}, "TRUE"},
        {37, {"I2:101", "B:1"}, {}, {"ROUT:CHAN:DEL:AUTO 1,(@101)"}, "TRUE"},
        {38,
         {"&I4"},
         {{"DATA:POIN?", "+42"}},
         {"DATA:POIN?"},
         "TRUE",
         {"42"},
         {},
         {},
         Strings{"0"}},
        {39,
         {"&I2"},
         {{"ROUT:MON?", "#13105"}},
         {"ROUT:MON?"},
         "TRUE",
         {"105"},
         Strings{},
         {},
         Strings{"101"}},
        {40, {}, {{"TRIG:SOUR?", "EXT"}}, {"TRIG:SOUR?"}, "\"EXT\"", {}, {}, "\"\""},
        {41,
         {"&I4"},
         {{"TRIG:COUN?", "+5.00000000E+00"}},
         {"TRIG:COUN?"},
         "TRUE",
         {"5"},
         {},
         {},
         Strings{"0"}},
        {42,
         {"&R8"},
         {{"TRIG:TIMER?", "+2.50000000E+00"}},
         {"TRIG:TIMER?"},
         "TRUE",
         {"2.5"},
         {},
         {},
         Strings{"0"}},
        {43,
         {"B:1", "B:1", "B:1", "B:1", "B:0"},
         {},
         {"FORM:READ:ALAR 1", "FORM:READ:CHAN 1", "FORM:READ:TIME 1", "FORM:READ:TIME:TYPE REL",
          "FORM:READ:UNIT 0"},
         "TRUE"},
        {44, {}, {{"ROUT:MON:STAT?", "0"}}, {"ROUT:MON:STAT?"}, "FALSE", {}, Strings{}, "TRUE"},
        {45, {}, {{"*ESR?", "+36"}}, {"*ESR?"}, "TRUE", {}, {}, "FALSE"},
        {46, {}, {{"*ESR?", "+36"}}, {"*ESR?"}, "FALSE"},
        {47, {"I2:2"}, {}, {"*SAV 2"}, "TRUE", {}, Strings{}, "FALSE"},
        {47, {"I2:6"}, {}, {}, "FALSE"},
        {48, {"I2:0"}, {}, {"*RCL 0"}, "TRUE"},
        {49, {"I2:1", "S:FIRST"}, {}, {"MEM:STAT:NAME 1,FIRST"}, "TRUE", {}, Strings{}, "FALSE"},
        {50, {"I2:0"}, {}, {"OUTP:ALAR:CLE:ALL"}, "TRUE"},
        {50, {"I2:3"}, {}, {"OUTP:ALAR3:CLE"}, "TRUE"},
        {51, {"I2:200"}, {}, {"SYST:CPON 200"}, "TRUE"},
        {51, {"I2:0"}, {}, {"SYST:CPON All"}, "TRUE"},
        {52, {}, {}, {"OUTP:ALAR:SLOPE POS"}, "TRUE"},
        {53, {}, {}, {"OUTP:ALAR:SLOPE NEG"}, "TRUE"},
        {54, {}, {}, {"OUTP:ALAR:MODE TRAC"}, "TRUE"},
        {55, {}, {}, {"OUTP:ALAR:MODE LATC"}, "TRUE"},
        {56, {}, {{"OUTP:ALAR:MODE?", "TRAC"}}, {"OUTP:ALAR:MODE?"}, "TRUE", {}, {}, "FALSE"},
        {57, {}, {{"OUTP:ALAR:SLOPE?", "NEG"}}, {"OUTP:ALAR:SLOPE?"}, "TRUE", {}, {}, "FALSE"},
        {58,
         {},
         {{"ROUT:SCAN?", "#210(@101,104)"}},
         {"*CLS", "*ESE 1", "*SRE 48", "ROUT:SCAN?"},
         "TRUE"},
        {59,
         {"I2:303", "&R8", "B:1"},
         {{"SENS:TOT:DATA? (@303);", "+1.20000000E+01"}},
         {"SENS:TOT:DATA? (@303);", "SENS:TOT:CLEAR:IMM (@303)"},
         "TRUE",
         {"12"},
         {},
         {},
         Strings{"0"}},
        {60, {"I4:500"}, {}, {"R? 231"}, "TRUE", {}, Strings{}},
        {61,
         {"I2:301", "S:1X0X0001"},
         {},
         {"CALC:COMP:DATA 129,(@301)", "CALC:COMP:MASK 175,(@301)"},
         "TRUE"},
        {62,
         {"I2:301"},
         {{"CALC:COMP:DATA? (@301)", "129"}, {"CALC:COMP:MASK? (@301)", "175"}},
         {"CALC:COMP:DATA? (@301)", "CALC:COMP:MASK? (@301)"},
         "\"1X0X0001\"",
         {},
         {},
         "\"XXXXXXXX\""},
        {63, {}, {}, {"*RST"}, "TRUE"},
        {64, {}, {}, {"SYST:PRESET"}, "TRUE"},
        {65, {}, {{"STAT:ALAR:COND?", "+16"}}, {"STAT:ALAR:COND?"}, "TRUE", {}, {}, "FALSE"},
        {66,
         {"&R8", "&I4", "&I2", "&I2", "&I2", "&I2", "&B"},
         {{"SYST:ALAR?", "+1.23450000E+01,VDC,2026,12,10,13,45,30.250,101,2,1"}},
         {"SYST:ALAR?"},
         "\"VDC\"",
         {"12.345", "?", "250", "101", "2", "1", "TRUE"},
         {},
         "\"\"",
         Strings{"0", "0", "0", "0", "0", "0", "FALSE"}},
        {67,
         {"I2:302"},
         {{"SOUR:DIG:STAT? (@302)", "1"}},
         {"SOUR:DIG:STAT? (@302)"},
         "TRUE",
         {},
         {},
         "FALSE"},
        {68,
         {"I2:302", "&I2"},
         {{"SOUR:DIG:DATA? (@302)", "85"}},
         {"SOUR:DIG:DATA? (@302)"},
         "TRUE",
         {"85"},
         Strings{},
         {},
         Strings{"?"}},
        {69,
         {"I2:301", "&I2"},
         {{"SENS:DIG:DATA? (@301)", "+1.70000000E+02"}},
         {"SENS:DIG:DATA? (@301)"},
         "TRUE",
         {"170"},
         Strings{},
         {},
         Strings{"?"}},
        {70,
         {},
         {{"STAT:OPER:COND?", "+256"}},
         {"STAT:OPER:COND?"},
         "TRUE",
         {},
         Strings{},
         "FALSE"},
        {71, {}, {{"INST:DMM?", "0"}}, {"INST:DMM?"}, "FALSE", {}, Strings{}, "TRUE"},
        {72, {}, {{"INST:DMM:INST?", "1"}}, {"INST:DMM:INST?"}, "TRUE", {}, Strings{}},
        {73,
         {"&B"},
         {{"STAT:OPER:COND?", "+16"}},
         {"STAT:OPER:COND?"},
         "TRUE",
         {"TRUE"},
         Strings{},
         {},
         Strings{"FALSE"}},
    };
    return calls;
}

TEST_F(DispatchTable, EveryMethodOnTheScriptedInstrument) {
    Create(4);
    std::set<DISPID> seen;
    for (const Call& call : Calls()) {
        Run(call, false);
        seen.insert(call.id);
    }
    EXPECT_EQ(seen.size(), 73u);
    EXPECT_EQ(presenter.shown, 2);
}

TEST_F(DispatchTable, EveryMethodOnTheSimulatedInterface) {
    Create(0);
    ComPtr<IInstDriverData> data;
    ASSERT_EQ(dispatch.As(data), S_OK);
    CChannelConfig c = Channel(0, 101, 0);
    ASSERT_TRUE(data->DownloadChannelConfig(&c));
    for (const Call& call : Calls())
        Run(call, true);
}

TEST_F(DispatchTable, ANullReferenceArgumentIsRefusedWithEPointer) {
    Create(4);
    int refused = 0;
    for (const auto& member : CKXQT7100Object::Table().Members()) {
        const std::size_t n = member.params.size();
        for (std::size_t nulled = 0; nulled < n; ++nulled) {
            if (!(member.params[nulled] & VT_BYREF))
                continue;
            SCOPED_TRACE("DISPID " + std::to_string(member.id) + " argument " +
                         std::to_string(nulled));
            std::vector<std::uint64_t> storage(n);
            std::vector<Variant> values(n);
            std::vector<VARIANT> reversed(n);
            for (std::size_t i = 0; i < n; ++i) {
                VARIANT& v = reversed[n - 1 - i];
                if (member.params[i] & VT_BYREF) {
                    v.vt = member.params[i];
                    v.byref = i == nulled ? nullptr : &storage[i];
                } else if (member.params[i] == VT_BSTR) {
                    values[i] = Variant(std::string("x"));
                    v = values[i];
                } else {
                    v.vt = member.params[i];
                    v.llVal = 0;
                }
            }
            DISPPARAMS params;
            params.rgvarg = reversed.data();
            params.cArgs = static_cast<UINT>(n);
            Variant result;
            EXCEPINFO info;
            UINT argError = 99;
            EXPECT_EQ(dispatch->Invoke(member.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                       &params, &result, &info, &argError),
                      E_POINTER);
            EXPECT_EQ(argError, n - 1 - nulled);
            EXPECT_TRUE(link.Sent().empty());
            ++refused;
        }
    }
    EXPECT_GE(refused, 30);
}

TEST_F(DispatchTable, NamesAndDispidsMatchTheInterface) {
    Create(4);
    const auto& members = CKXQT7100Object::Table().Members();
    ASSERT_EQ(members.size(), 73u);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i].id, static_cast<DISPID>(i + 1));
    std::u16string name = u"isinstrumentscanning";
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 73);
}

} // namespace
} // namespace tvane::driver::test
