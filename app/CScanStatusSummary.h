#pragma once
#include <string>
#include <vector>

class CFXScan;

// What the Start Scanning - Scan Status dialog lists before a run: how it
// starts and stops, the time between scans, the post-scan choices, the
// communication interface and whether the setup must be downloaded first.
class CScanStatusSummary {
public:
    // "%02d:%02d:%02d.%03d (HH:MM:SS.sss)" of an interval in seconds.
    static std::string FormatInterval(double seconds);
    // The list box's rows, in order.
    static std::vector<std::string> Rows(const CFXScan& scan, const std::string& interfaceName,
                                         bool setupInInstrument);
};
