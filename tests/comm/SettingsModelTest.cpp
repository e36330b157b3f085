#include "comm/InterfaceSettingsModel.h"
#include "comm/SerialSettingsModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tvane::comm {
namespace {

using Codes = CSerialSettingsModel::Codes;
using Selection = CSerialSettingsModel::Selection;

TEST(SerialSettingsModelTest, CodesOpenOnTheirEntriesAndSaveBack) {
    const struct {
        Codes codes;
        Selection shown;
        Codes saved; // after OK without changes
    } cases[] = {
        {{0, 10, 0, 3, 7}, {0, 6, 0, 1}, {0, 10, 0, 3, 7}},
        {{3, 4, 2, 2, 10}, {3, 0, 1, 2}, {3, 4, 2, 2, 10}},
        {{1, 11, 1, 2, 0}, {1, 7, 2, 3}, {1, 11, 1, 2, 0}},
        // Unknown parity and handshake show "None"; saving stores None's codes.
        {{2, 7, 5, 2, 12}, {2, 3, 0, 0}, {2, 7, 0, 3, 4}},
        // 600 baud and COM5 are not in the lists: nothing selected, codes kept.
        {{4, 3, 0, 3, 4}, {-1, -1, 0, 0}, {4, 3, 0, 3, 4}},
    };
    for (const auto& c : cases) {
        const Selection s = CSerialSettingsModel::Select(c.codes);
        EXPECT_EQ(s.port, c.shown.port);
        EXPECT_EQ(s.speed, c.shown.speed);
        EXPECT_EQ(s.parity, c.shown.parity);
        EXPECT_EQ(s.flow, c.shown.flow);
        const Codes saved = CSerialSettingsModel::Save(s, c.codes);
        EXPECT_EQ(saved.portIndex, c.saved.portIndex);
        EXPECT_EQ(saved.baud, c.saved.baud);
        EXPECT_EQ(saved.parity, c.saved.parity);
        EXPECT_EQ(saved.length, c.saved.length) << c.codes.parity;
        EXPECT_EQ(saved.handshake, c.saved.handshake);
    }
}

TEST(SerialSettingsModelTest, ChosenEntriesGiveTheirCodes) {
    // 600 baud stored; the user picks 19200, "Even, 7 bits", "DTR/DSR" on COM 2.
    const Codes saved = CSerialSettingsModel::Save({1, 4, 1, 2}, {0, 3, 0, 3, 7});
    EXPECT_EQ(saved.portIndex, 1);
    EXPECT_EQ(saved.baud, 8);
    EXPECT_EQ(saved.parity, 2);
    EXPECT_EQ(saved.length, 2);
    EXPECT_EQ(saved.handshake, 10);
    EXPECT_EQ(CSerialSettingsModel::Save({0, 0, 2, 3}, {}).parity, 1);
    EXPECT_EQ(CSerialSettingsModel::Save({0, 0, 2, 3}, {}).handshake, 0);
    EXPECT_EQ(CSerialSettingsModel::SpeedItems().back(), "115200 baud");
}

CInterfaceSettingsModel::Settings Gateway() {
    CInterfaceSettingsModel::Settings s;
    s.lan = true;
    s.controllers = {{"lan", 0x20}, {"lan2", 0x7FFFFFFF}};
    s.ipAddress = "10.0.0.7";
    s.gatewayName = "gpib";
    return s;
}

TEST(InterfaceSettingsModelTest, LinesNameTheAddressesOfTheControllerShown) {
    CInterfaceSettingsModel lan(Gateway());
    EXPECT_EQ(lan.Title(), "LAN/GPIB Gateway Settings");
    std::vector<std::string> lines = lan.Lines();
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[5], "lan[10.0.0.7]gpib,5");
    EXPECT_EQ(lines[30], "lan[10.0.0.7]gpib,30");
    std::vector<bool> marks = lan.Marks();
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 1);
    EXPECT_TRUE(marks[5]);
    lan.SetIpAddress("host");
    lan.SetGatewayName("hpib");
    EXPECT_EQ(lan.Lines()[0], "lan[host]hpib,0");

    CInterfaceSettingsModel::Settings bus;
    bus.controllers = {{"gpib0", 0}};
    CInterfaceSettingsModel gpib(bus);
    EXPECT_EQ(gpib.Title(), "Interface Settings");
    EXPECT_EQ(gpib.Lines()[12], "gpib0,12");
}

TEST(InterfaceSettingsModelTest, MarksAreKeptPerControllerForTheFirstFourOnly) {
    CInterfaceSettingsModel::Settings s = Gateway();
    s.controllers.push_back({"c", 1});
    s.controllers.push_back({"d", 2});
    s.moreControllers = {"e"};
    CInterfaceSettingsModel model(s);
    EXPECT_EQ(model.Names(), (std::vector<std::string>{"lan", "lan2", "c", "d", "e"}));

    std::vector<bool> marks(32, false);
    marks[0] = marks[30] = true;
    marks[31] = true; // a line past the last address changes nothing
    model.Store(marks);
    model.Show(1);
    EXPECT_EQ(model.Marks(), std::vector<bool>(31, true));
    model.Store(std::vector<bool>(31, false));
    model.Show(4);
    EXPECT_EQ(model.Lines().front(), "e[10.0.0.7]gpib,0");
    EXPECT_EQ(model.Marks(), std::vector<bool>(31, false));
    model.Store(std::vector<bool>(31, true)); // not kept
    model.Show(9);                            // no such controller: stays
    EXPECT_EQ(model.Shown(), 4);

    EXPECT_EQ(model.Mask(0), 0x40000001u);
    EXPECT_EQ(model.Mask(1), 0u);
    EXPECT_EQ(model.Mask(4), 0u);
    ASSERT_EQ(model.Result().controllers.size(), 4u);
    EXPECT_EQ(model.Result().controllers[0].exclude, 0x40000001);
    EXPECT_EQ(model.Result().controllers[3].exclude, 2);
}

} // namespace
} // namespace tvane::comm
