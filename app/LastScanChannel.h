#pragma once
#include <cstdint>

class CDataset;
class CFXSetupArray;

// The channel whose reading completes a scan: the highest channel among the
// readings of the dataset's last scan; while the dataset holds no readings, the
// highest measured channel the setup scans. 0 when neither names one.
std::int32_t LastScanMaxChannel(CDataset* dataset, const CFXSetupArray* setup);
