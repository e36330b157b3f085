#pragma once
#include <cstdint>

#include "platform/archive/CObject.h"

// One operand of a computed channel: another channel's newest reading, a
// constant, or nothing.
class CCompChnlArg : public tvane::CObject {
    DECLARE_SERIAL(CCompChnlArg)
public:
    static constexpr std::int32_t kNone = -1;
    static constexpr std::int32_t kConstant = 0;

    CCompChnlArg() = default;
    CCompChnlArg(const CCompChnlArg& other) : tvane::CObject() { *this = other; }
    // Copies the three fields; the object keeps its own run-time class.
    CCompChnlArg& operator=(const CCompChnlArg& other);
    ~CCompChnlArg() override = default;

    void Serialize(tvane::CArchive& ar) override;

    bool IsNone() const { return Channel == kNone; }
    bool IsConstant() const { return Channel == kConstant; }
    // An operand that reads a channel (channel numbers start above 100).
    bool IsChannel() const { return Channel >= 100; }

    std::int32_t Channel = kNone;
    // Scan number of the reading last taken; -1 none yet, 1 for a constant.
    std::int32_t ScanNumber = -1;
    // The constant, or the value of the reading last taken.
    double Value = -1.0;
};

// A computed channel: its own channel number (its setup row), up to two
// operands, the operation and the parameters of the strain equations.
class CCompChnl : public tvane::CObject {
    DECLARE_SERIAL(CCompChnl)
public:
    // Operation codes; the groups are shown as "Basic Math", "Power Equations"
    // and "Strain Equations".
    enum Operation : std::int32_t {
        kSum = 0,
        kDifference = 1,
        kProduct = 2,
        kRatio = 3,
        kSquareRoot = 4,
        kSquare = 5,
        kPowerRatio = 10,          // 10 log10(a² / b²)
        kPowerIntoResistance = 11, // 10 log10(a² / b / 1 mW)
        kPowerInto1000Ohms = 12,   // 10 log10(a² / 1000 / 1 mW)
        kFullBridgeBending = 20,
        kHalfBridgeBending = 21,
        kQuarterBridge = 22,
    };

    CCompChnl() = default;
    CCompChnl(const CCompChnl&) = delete;
    CCompChnl& operator=(const CCompChnl&) = delete;
    ~CCompChnl() override = default;

    // Takes the definition of another channel: both operands, the operation and
    // the strain parameters; group, channel number and result stay.
    void Copy(const CCompChnl& other);

    void Serialize(tvane::CArchive& ar) override;

    // Ready for evaluation: both operands have a reading (or need none), and two
    // channel operands' readings come from the same scan.
    bool IsReady() const;
    // Every value needs fresh readings.
    void ClearScanNumbers() {
        Arg1.ScanNumber = -1;
        Arg2.ScanNumber = -1;
    }

    std::int32_t Group = 0; // kept for the setup editor
    std::int32_t Channel = -1;
    CCompChnlArg Arg1;
    CCompChnlArg Arg2;
    std::int32_t Operation = -1;
    double Result = -1.0;
    double GaugeFactor = 2.0;
    double RefExcitation = 5.0; // excitation of the unstrained bridge
    double RefOutput = 0.0;     // output of the unstrained bridge
};
