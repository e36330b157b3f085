#include "comm/SerialSettingsModel.h"

#include <array>
#include <cstddef>

namespace tvane::comm {

namespace {

// The first entry of the speed list is baud code 4 (1200 baud).
constexpr int32_t kFirstBaudCode = 4;
// Parity entries: "None, 8 bits", "Even, 7 bits", "Odd, 7 bits".
constexpr std::array<int32_t, 3> kParityCodes{0, 2, 1};
constexpr int32_t kLength8 = 3;
constexpr int32_t kLength7 = 2;
// Flow entries: "None", "XON/XOFF", "DTR/DSR", "RTS/CTS".
constexpr std::array<int32_t, 4> kHandshakeCodes{4, 7, 10, 0};

template <std::size_t N> int IndexOf(const std::array<int32_t, N>& codes, int32_t code) {
    for (std::size_t i = 0; i < N; ++i)
        if (codes[i] == code)
            return static_cast<int>(i);
    return 0;
}

bool InRange(int index, const std::vector<std::string>& items) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

} // namespace

const std::vector<std::string>& CSerialSettingsModel::PortItems() {
    static const std::vector<std::string> items{"COM 1", "COM 2", "COM 3", "COM 4"};
    return items;
}

const std::vector<std::string>& CSerialSettingsModel::SpeedItems() {
    static const std::vector<std::string> items{"1200 baud",  "2400 baud",  "4800 baud",
                                                "9600 baud",  "19200 baud", "38400 baud",
                                                "57600 baud", "115200 baud"};
    return items;
}

const std::vector<std::string>& CSerialSettingsModel::ParityItems() {
    static const std::vector<std::string> items{"None, 8 bits", "Even, 7 bits", "Odd, 7 bits"};
    return items;
}

const std::vector<std::string>& CSerialSettingsModel::FlowItems() {
    static const std::vector<std::string> items{"None", "XON/XOFF", "DTR/DSR", "RTS/CTS"};
    return items;
}

CSerialSettingsModel::Selection CSerialSettingsModel::Select(const Codes& codes) {
    Selection s;
    s.port = InRange(codes.portIndex, PortItems()) ? codes.portIndex : -1;
    const int speed = codes.baud - kFirstBaudCode;
    s.speed = InRange(speed, SpeedItems()) ? speed : -1;
    s.parity = IndexOf(kParityCodes, codes.parity);
    s.flow = IndexOf(kHandshakeCodes, codes.handshake);
    return s;
}

CSerialSettingsModel::Codes CSerialSettingsModel::Save(const Selection& selection,
                                                       const Codes& previous) {
    Codes codes = previous;
    if (InRange(selection.port, PortItems()))
        codes.portIndex = selection.port;
    if (InRange(selection.speed, SpeedItems()))
        codes.baud = selection.speed + kFirstBaudCode;
    if (InRange(selection.parity, ParityItems())) {
        codes.parity = kParityCodes[static_cast<std::size_t>(selection.parity)];
        codes.length = codes.parity == 0 ? kLength8 : kLength7;
    }
    if (InRange(selection.flow, FlowItems()))
        codes.handshake = kHandshakeCodes[static_cast<std::size_t>(selection.flow)];
    return codes;
}

} // namespace tvane::comm
