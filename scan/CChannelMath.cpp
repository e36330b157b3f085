#include "scan/CChannelMath.h"

#include <cmath>

#include "scan/CCompChnl.h"
#include "scan/records/ReadingRecord.h"

IMPLEMENT_SERIAL(CChannelMath, tvane::CObject, 0)

namespace {

// The power equations take the logarithm of a; 0 stands for a tiny level.
double NonZero(double a) {
    return a == 0.0 ? 1e-10 : a;
}

} // namespace

bool CChannelMath::Evaluate(CCompChnl& channel) const {
    const double a = channel.Arg1.Value;
    const double b = channel.Arg2.Value;
    channel.Result = kOverloadValue;
    if (a == kOverloadValue || b == kOverloadValue)
        return true;

    double result = kOverloadValue;
    bool known = true;
    switch (channel.Operation) {
    case CCompChnl::kSum:
        result = a + b;
        break;
    case CCompChnl::kDifference:
        result = a - b;
        break;
    case CCompChnl::kProduct:
        result = a * b;
        break;
    case CCompChnl::kRatio:
        if (b != 0.0)
            result = a / b;
        break;
    case CCompChnl::kSquareRoot:
        if (a >= 0.0)
            result = std::sqrt(a);
        break;
    case CCompChnl::kSquare:
        result = a * a;
        break;
    case CCompChnl::kPowerRatio:
        if (b != 0.0)
            result = 10.0 * std::log10(NonZero(a) * NonZero(a) / (b * b));
        break;
    case CCompChnl::kPowerIntoResistance:
        if (b != 0.0)
            result = 10.0 * std::log10(NonZero(a) * NonZero(a) / b / 0.001);
        break;
    case CCompChnl::kPowerInto1000Ohms:
        result = 10.0 * std::log10(NonZero(a) * NonZero(a) / 1000.0 / 0.001);
        break;
    case CCompChnl::kFullBridgeBending:
    case CCompChnl::kHalfBridgeBending:
    case CCompChnl::kQuarterBridge: {
        // a is the bridge output, b its excitation.
        result = 1.0;
        const double gf = channel.GaugeFactor;
        if (b == 0.0 || channel.RefExcitation == 0.0 || gf == 0.0)
            break;
        const double vr = a / b - channel.RefOutput / channel.RefExcitation;
        if (channel.Operation == CCompChnl::kFullBridgeBending)
            result = -vr / gf;
        else if (channel.Operation == CCompChnl::kHalfBridgeBending)
            result = -2.0 * vr / gf;
        else
            result = -4.0 * vr / (gf * (1.0 + 2.0 * vr));
        break;
    }
    default:
        result = a + b;
        known = false;
        break;
    }
    // A negative load resistance under the logarithm, a bridge denominator of 0
    // or an overflow: no number to show, so it is an overload like the others.
    channel.Result = std::isfinite(result) ? result : kOverloadValue;
    return known;
}

void CChannelMath::Serialize(tvane::CArchive&) {}
