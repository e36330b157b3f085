#pragma once
#include "platform/archive/CObject.h"

class CCompChnl;

// The two-operand arithmetic of computed channels.
class CChannelMath : public tvane::CObject {
    DECLARE_SERIAL(CChannelMath)
public:
    CChannelMath() = default;
    ~CChannelMath() override = default;

    // Writes the channel's result from its operands' values. An overloaded
    // operand, an operand the operation cannot take, or arithmetic that gives
    // no finite number yields the overload value 9.9e37. False only for an
    // unknown operation, whose result is then the sum.
    bool Evaluate(CCompChnl& channel) const;

    // Nothing to store; kept for the document file's layout.
    void Serialize(tvane::CArchive& ar) override;
};
