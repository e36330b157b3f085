#include "app/LastScanChannel.h"

#include <algorithm>
#include <vector>

#include "database/CDataset.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/records/ReadingRecord.h"

namespace {

constexpr std::uint32_t kNoCells = 0xFFFFFFFFu;
constexpr std::int16_t kChunk = 256;

// The readings of one scan lie together at the end of the file; they are read
// backwards in chunks until a reading of an earlier scan turns up.
std::int32_t FromReadings(CDataset& dataset) {
    const std::int32_t count = dataset.GetReadingCount();
    std::vector<ReadingRecord> chunk(kChunk);
    std::int32_t highest = 0;
    bool haveScan = false;
    std::int32_t lastScan = 0;
    for (std::int32_t end = count; end > 0;) {
        const std::int32_t first = std::max(0, end - kChunk);
        const auto wanted = static_cast<std::int16_t>(end - first);
        const std::int16_t read = dataset.ReadReadings(chunk.data(), wanted, first);
        if (read != wanted)
            break;
        for (std::int32_t i = read - 1; i >= 0; --i) {
            const ReadingRecord& r = chunk[static_cast<std::size_t>(i)];
            if (!haveScan) {
                lastScan = r.ScanNumber;
                haveScan = true;
            } else if (r.ScanNumber != lastScan) {
                return highest;
            }
            highest = std::max<std::int32_t>(highest, r.Channel);
        }
        end = first;
    }
    return highest;
}

} // namespace

std::int32_t LastScanMaxChannel(CDataset* dataset, const CFXSetupArray* setup) {
    if (dataset != nullptr && dataset->IsOpen() && dataset->GetReadingCount() > 0)
        if (const std::int32_t channel = FromReadings(*dataset); channel > 0)
            return channel;
    std::int32_t highest = 0;
    for (std::int32_t i = 0; setup != nullptr && i < setup->GetSize(); ++i) {
        const CFXSetup* row = setup->GetSetup(i);
        // The rows a download puts into the instrument's scan list.
        if (row == nullptr || row->ChannelMode == 0 || !row->IsScanCapable() || row->IsComputed() ||
            row->CellFlags == kNoCells)
            continue;
        highest = std::max(highest, static_cast<std::int32_t>(row->Channel));
    }
    return highest;
}
