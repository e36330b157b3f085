#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "scan/records/ReadingRecord.h"
#include "tests/graphics/GraphFakes.h"

namespace displaytest {

// A document whose newest batch of readings the displays pull by channel, as
// the scan engine files them on every poll.
class ReadingsDocument : public graphicstest::FakeGraphDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        out.clear();
        auto it = batch.find(channel);
        if (it == batch.end())
            return 0;
        for (const ReadingRecord& r : it->second)
            out.push_back(const_cast<ReadingRecord*>(&r));
        return static_cast<std::int16_t>(out.size());
    }
    // The next poll: these values of one channel.
    void Poll(std::int32_t channel, const std::vector<double>& values) {
        batch.clear();
        for (double v : values) {
            ReadingRecord r;
            r.ScanNumber = ++scans;
            r.Channel = static_cast<std::int16_t>(channel);
            r.Time = 1000.0 * scans;
            r.Value = v;
            batch[channel].push_back(r);
        }
    }
    static CChannelInfo Channel(std::int32_t number, double low, double high) {
        CChannelInfo c;
        c.Number = number;
        c.Label = "<" + std::to_string(number) + ">";
        c.Name = "Ch" + std::to_string(number);
        c.Units = "VDC";
        c.RangeMin = low;
        c.RangeMax = high;
        return c;
    }

    std::map<int, std::vector<ReadingRecord>> batch;
    std::int32_t scans = 0;
};

} // namespace displaytest
