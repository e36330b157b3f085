#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "scan/CChannelMath.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/CLeastSquares.h"
#include "scan/ComputedChannels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr double OVLD = kOverloadValue;

// Fields of the packed reading record are compared as copies.
template <class T> T Copy(T value) {
    return value;
}

CCompChnl& Define(CCompChnl& c, int op, double a, double b) {
    c.Operation = op;
    c.Arg1.Value = a;
    c.Arg2.Value = b;
    return c;
}

TEST(ChannelMath, EveryOperationAndItsOverloadRules) {
    struct Case {
        int op;
        double a, b;
        double expected;
        bool known = true;
    };
    const double l = std::log10(2.0);
    const Case cases[] = {
        {CCompChnl::kSum, 3, 4, 7},
        {CCompChnl::kDifference, 3, 4, -1},
        {CCompChnl::kProduct, 3, 4, 12},
        {CCompChnl::kRatio, 3, 4, 0.75},
        {CCompChnl::kRatio, 3, 0, OVLD},
        {CCompChnl::kRatio, 1e300, 1e-300, OVLD}, // overflows to infinity
        {CCompChnl::kSquareRoot, 16, 0, 4},
        {CCompChnl::kSquareRoot, -1, 0, OVLD},
        {CCompChnl::kSquare, -3, 0, 9},
        {CCompChnl::kPowerRatio, 2, 1, 20 * l},
        {CCompChnl::kPowerRatio, 2, 0, OVLD},
        {CCompChnl::kPowerRatio, 0, 1, -200}, // a of 0 counts as 1e-10
        {CCompChnl::kPowerIntoResistance, 1, 50, 10 * std::log10(1 / 50.0 / 0.001)},
        {CCompChnl::kPowerIntoResistance, 1, 0, OVLD},
        {CCompChnl::kPowerIntoResistance, 1, -50, OVLD}, // log of a negative power
        {CCompChnl::kPowerInto1000Ohms, 1, 99, 0},
        {CCompChnl::kPowerInto1000Ohms, 0, 0, -200},
        {CCompChnl::kFullBridgeBending, 0.002, 5, -0.0004 / 2},
        {CCompChnl::kHalfBridgeBending, 0.002, 5, -2 * 0.0004 / 2},
        {CCompChnl::kQuarterBridge, 0.002, 5, -4 * 0.0004 / (2 * (1 + 2 * 0.0004))},
        {CCompChnl::kQuarterBridge, -2.5, 5, OVLD},     // bridge denominator of 0
        {CCompChnl::kFullBridgeBending, 0.002, 0, 1.0}, // no excitation
        {7, 3, 4, 7, false},
        {-1, 3, 4, 7, false},
    };
    CChannelMath math;
    for (const Case& c : cases) {
        CCompChnl ch;
        EXPECT_EQ(math.Evaluate(Define(ch, c.op, c.a, c.b)), c.known) << c.op;
        if (c.expected == OVLD)
            EXPECT_EQ(ch.Result, OVLD) << c.op << " " << c.a << " " << c.b;
        else
            EXPECT_NEAR(ch.Result, c.expected, 1e-12) << c.op << " " << c.a << " " << c.b;
        if (c.known) {
            // An overloaded operand overloads every operation, strain included.
            EXPECT_TRUE(math.Evaluate(Define(ch, c.op, OVLD, c.b)));
            EXPECT_EQ(ch.Result, OVLD) << c.op;
            EXPECT_TRUE(math.Evaluate(Define(ch, c.op, c.a, OVLD)));
            EXPECT_EQ(ch.Result, OVLD) << c.op;
        }
    }
}

TEST(ChannelMath, StrainUsesTheReferenceBridgeAndGaugeFactor) {
    CChannelMath math;
    CCompChnl ch;
    ch.GaugeFactor = 2.1;
    ch.RefExcitation = 5.0;
    ch.RefOutput = 0.001;
    math.Evaluate(Define(ch, CCompChnl::kFullBridgeBending, 0.003, 5.0));
    EXPECT_NEAR(ch.Result, -(0.003 / 5.0 - 0.001 / 5.0) / 2.1, 1e-15);
    for (double* zero : {&ch.RefExcitation, &ch.GaugeFactor}) {
        const double keep = *zero;
        *zero = 0.0;
        math.Evaluate(ch);
        EXPECT_EQ(ch.Result, 1.0);
        *zero = keep;
    }
}

// A document stand-in: rows, newest readings and the readings added.
struct Host : IComputedChannelHost {
    const CFXSetup* FindSetupRow(std::int32_t channel) const override {
        auto it = rows.find(channel);
        return it == rows.end() ? nullptr : &it->second;
    }
    const ReadingRecord* LatestReading(std::int32_t channel) const override {
        auto it = latest.find(channel);
        return it == latest.end() ? nullptr : &it->second;
    }
    void AddComputedReading(const ReadingRecord& r) override {
        added.push_back(r);
        latest[r.Channel] = r;
    }
    void Read(std::int16_t channel, std::int32_t scan, double value, double time) {
        ReadingRecord r;
        r.Channel = channel;
        r.ScanNumber = scan;
        r.Value = value;
        r.Time = time;
        latest[channel] = r;
    }
    CFXSetup& Row(std::int32_t channel) {
        CFXSetup& row = rows[channel];
        row.Name = "Computed";
        row.Channel = static_cast<std::uint32_t>(channel);
        row.ChannelMode = 1;
        row.Alarms = "Off";
        return row;
    }
    std::map<std::int32_t, CFXSetup> rows;
    std::map<std::int32_t, ReadingRecord> latest;
    std::vector<ReadingRecord> added;
};

std::unique_ptr<CCompChnl> Computed(int channel, int op, int arg1, int arg2, double b = 0) {
    auto c = std::make_unique<CCompChnl>();
    c->Channel = channel;
    c->Operation = op;
    c->Arg1.Channel = arg1;
    c->Arg2.Channel = arg2;
    c->Arg2.Value = b;
    return c;
}

TEST(ComputedChannels, OperandsMustBeReadyAndFromTheSameScan) {
    Host host;
    CChannelMath math;
    CCompChnlArray channels;
    channels.SetAt(0, Computed(901, CCompChnl::kSum, 101, 102)); // two channels
    channels.SetAt(1, Computed(902, CCompChnl::kProduct, 101, CCompChnlArg::kConstant, 10));
    channels.SetAt(2, Computed(903, CCompChnl::kSquare, 102, CCompChnlArg::kNone));
    channels.SetAt(3, Computed(904, CCompChnl::kSum, 101, 102)); // row switched off
    for (int ch : {901, 902, 903, 904})
        host.Row(ch);
    host.rows[904].ChannelMode = 0;

    host.Read(101, 1, 2.0, 1000);
    EXPECT_EQ(EvaluateComputedChannels(channels, math, host), 1) << "only 902: 102 unread";
    ASSERT_EQ(host.added.size(), 1u);
    EXPECT_EQ(Copy(host.added[0].Channel), 902);
    EXPECT_EQ(Copy(host.added[0].Value), 20.0);

    host.Read(102, 2, 3.0, 2500); // a later scan than 101's reading
    host.added.clear();
    EXPECT_EQ(EvaluateComputedChannels(channels, math, host), 2) << "902 and 903, not 901";
    EXPECT_EQ(Copy(host.added[0].Channel), 902);
    EXPECT_EQ(Copy(host.added[1].Channel), 903);
    EXPECT_EQ(Copy(host.added[1].Value), 9.0);

    host.Read(101, 2, 4.0, 2400);
    host.added.clear();
    EXPECT_EQ(EvaluateComputedChannels(channels, math, host), 3);
    EXPECT_EQ(Copy(host.added[0].Channel), 901);
    EXPECT_EQ(Copy(host.added[0].Value), 7.0);
    EXPECT_EQ(Copy(host.added[0].ScanNumber), 2);
    EXPECT_EQ(Copy(host.added[0].Time), 2500.0) << "the later time of the two";
    for (int i = 0; i < channels.GetSize(); ++i) {
        EXPECT_EQ(channels.GetAt(i)->Arg1.ScanNumber, -1);
        EXPECT_EQ(channels.GetAt(i)->Arg2.ScanNumber, -1);
    }
}

TEST(ComputedChannels, ReadingIsScaledThenTestedAgainstTheLimits) {
    CFXSetup row;
    row.Scaling = 1;
    row.Gain = "2.0";
    row.Offset = "1.0";
    CCompChnl ch;
    ch.Channel = 905;
    ch.Result = 4.0;
    struct Case {
        const char* test;
        const char* low;
        const char* high;
        std::uint8_t state;
    };
    const Case cases[] = {
        {"Off", "100", "-100", 0},  {"Low Only", "9", "0", 1},    {"Low Only", "8.9", "0", 0},
        {"High Only", "0", "9", 2}, {"High Only", "0", "9.1", 0}, {"High/Low", "9", "9", 1},
        {"High/Low", "0", "9", 2},  {"Equal", "9", "9", 0},       {"Not Equal", "0", "1", 0},
    };
    for (const Case& c : cases) {
        row.Alarms = c.test;
        row.AlarmLo = c.low;
        row.AlarmHi = c.high;
        ReadingRecord r;
        BuildComputedReading(nullptr, nullptr, r, ch, &row);
        EXPECT_EQ(Copy(r.Value), 9.0);
        EXPECT_EQ(Copy(r.AlarmState), c.state) << c.test << " " << c.low << " " << c.high;
        EXPECT_EQ(Copy(r.Channel), 905);
        EXPECT_EQ(Copy(r.ScanNumber), 0);
    }
}

TEST(LeastSquares, FitsALineAndRefusesWhatItCannotDo) {
    CLeastSquares fit;
    double slope = 0, intercept = 0, y = 0, x = 0;
    EXPECT_FALSE(fit.GetSlope(slope));
    fit.AddPoint(1, 5);
    EXPECT_FALSE(fit.Evaluate(1, y)) << "one point defines no line";
    fit.AddPoint(2, 7);
    fit.AddPoint(3, 9);
    ASSERT_TRUE(fit.GetSlope(slope));
    ASSERT_TRUE(fit.GetIntercept(intercept));
    EXPECT_DOUBLE_EQ(slope, 2.0);
    EXPECT_DOUBLE_EQ(intercept, 3.0);
    EXPECT_TRUE(fit.Evaluate(10, y));
    EXPECT_DOUBLE_EQ(y, 23.0);
    EXPECT_TRUE(fit.Invert(23, x));
    EXPECT_DOUBLE_EQ(x, 10.0);
    EXPECT_EQ(fit.GetCount(), 3);

    CLeastSquares flat;
    flat.AddPoint(1, 4);
    flat.AddPoint(2, 4);
    EXPECT_TRUE(flat.GetSlope(slope));
    EXPECT_EQ(slope, 0.0);
    x = -1;
    EXPECT_FALSE(flat.Invert(4, x)) << "slope 0 cannot be inverted";
    EXPECT_EQ(x, -1);
    fit.Reset();
    EXPECT_EQ(fit.GetCount(), 0);
    EXPECT_FALSE(fit.GetIntercept(intercept));
}

template <class Fn> std::vector<std::uint8_t> Stored(Fn&& fn) {
    tvane::MemoryStream stream;
    tvane::CArchive ar(stream, tvane::CArchive::store);
    fn(ar);
    return stream.TakeBytes();
}

template <class T> void Put(std::vector<std::uint8_t>& bytes, T value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof value);
}

TEST(ComputedChannels, SerialisedFormAndRoundTrip) {
    CCompChnl ch;
    ch.Group = 3;
    ch.Channel = 901;
    ch.Operation = CCompChnl::kRatio;
    ch.Result = 0.5;
    ch.Arg1.Channel = 101;
    ch.Arg2.Channel = 0;
    ch.Arg2.ScanNumber = 1;
    ch.Arg2.Value = 2.0;
    std::vector<std::uint8_t> expected;
    for (std::int32_t v : {3, 901, 3})
        Put(expected, v);
    for (double v : {0.5, 2.0, 5.0, 0.0})
        Put(expected, v);
    Put(expected, std::int32_t{101});
    Put(expected, std::int32_t{-1});
    Put(expected, -1.0);
    Put(expected, std::int32_t{0});
    Put(expected, std::int32_t{1});
    Put(expected, 2.0);
    EXPECT_EQ(Stored([&](tvane::CArchive& ar) { ch.Serialize(ar); }), expected);

    CCompChnlArray out;
    out.SetAt(1, Computed(902, CCompChnl::kSum, 101, 102));
    out.SetAt(2, Computed(903, CCompChnl::kQuarterBridge, 101, 102));
    const auto bytes = Stored([&](tvane::CArchive& ar) { out.Serialize(ar); });
    // Count 3, a null slot, the class tag "CCompChnl", then a class reference.
    ASSERT_GE(bytes.size(), 19u);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(std::string(bytes.begin() + 10, bytes.begin() + 19), "CCompChnl");

    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    CCompChnlArray in;
    in.Serialize(ar);
    ASSERT_EQ(in.GetSize(), 3);
    EXPECT_EQ(in.GetAt(0), nullptr);
    EXPECT_EQ(in.GetAt(2)->Operation, CCompChnl::kQuarterBridge);
    EXPECT_EQ(in.FindChannel(902), in.GetAt(1));
    EXPECT_TRUE(in.DeleteAt(1));
    EXPECT_FALSE(in.DeleteAt(1));
    in.Compact();
    EXPECT_EQ(in.GetSize(), 1);
    EXPECT_EQ(in.GetAt(0)->Channel, 903);
}

TEST(ComputedChannels, CopyTakesTheDefinitionOnly) {
    CCompChnl from;
    from.Group = 1;
    from.Channel = 901;
    from.Result = 3.0;
    from.Operation = CCompChnl::kHalfBridgeBending;
    from.GaugeFactor = 2.2;
    from.RefExcitation = 10;
    from.RefOutput = 0.1;
    from.Arg1.Channel = 101;
    from.Arg2.Value = 9;
    CCompChnl to;
    to.Channel = 950;
    to.Copy(from);
    EXPECT_EQ(to.Channel, 950);
    EXPECT_EQ(to.Group, 0);
    EXPECT_EQ(to.Result, -1.0);
    EXPECT_EQ(to.Operation, CCompChnl::kHalfBridgeBending);
    EXPECT_EQ(to.GaugeFactor, 2.2);
    EXPECT_EQ(to.RefExcitation, 10);
    EXPECT_EQ(to.RefOutput, 0.1);
    EXPECT_EQ(to.Arg1.Channel, 101);
    EXPECT_EQ(to.Arg2.Value, 9);
}

} // namespace
