#pragma once
#include <cstdint>

class CReadOutFrame;

// The rules of the readout's Advanced page: which number formats its
// channel allows, the acquisition mode, and whether the update rate applies.
// Changes go to the readout at once (Cancel keeps them).
class ReadoutPageModel {
public:
    struct Controls {
        bool decimalEnabled = true;
        bool hexEnabled = true;
        std::int32_t format = 0; // 0 Decimal, 1 Hex
        std::int32_t mode = 1;   // 0 Immediate, 1 Scan
        bool rateEnabled = true;
    };

    explicit ReadoutPageModel(CReadOutFrame& frame) : m_frame(frame) {}

    int HelpId() const;
    std::int32_t UpdateRate() const;
    // The controls for the readout as it is now: a measuring channel or one
    // bit shows only Decimal (and the readout takes it at once); a port or a
    // totalizer both; without a channel neither; other kinds leave the format
    // buttons as they were.
    void Update(Controls& controls) const;
    void SetFormat(std::int32_t format);
    // A new mode drops the channel and takes the first one offered under it.
    void SetMode(std::int32_t mode);
    void SetUpdateRate(std::int32_t rate);

private:
    CReadOutFrame& m_frame;
};
