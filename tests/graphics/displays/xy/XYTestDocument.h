#pragma once
#include <map>
#include <vector>

#include "scan/records/ReadingRecord.h"
#include "tests/graphics/GraphFakes.h"

namespace xytest {

// A document whose current batch holds readings by channel.
class BatchDocument : public graphicstest::FakeGraphDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        out.clear();
        auto it = batch.find(channel);
        if (it != batch.end())
            for (const ReadingRecord& r : it->second)
                out.push_back(const_cast<ReadingRecord*>(&r));
        return static_cast<std::int16_t>(out.size());
    }
    // Adds a reading of a scan to the batch.
    ReadingRecord& Add(int channel, int scan, double value) {
        ReadingRecord r;
        r.ScanNumber = scan;
        r.Channel = static_cast<std::int16_t>(channel);
        r.Value = value;
        return batch[channel].emplace_back(r);
    }
    std::map<int, std::vector<ReadingRecord>> batch;
};

} // namespace xytest
