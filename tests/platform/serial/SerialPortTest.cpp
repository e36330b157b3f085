#include "platform/serial/SerialPort.h"
#include "platform/profile/Profile.h"
#include "platform/serial/ScriptedSerialDevice.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tvane {
namespace {

TEST(SerialPortPath, ComNamesMapToConfiguredOrDefaultDevices) {
    test::TempHome home;
    WritePrivateProfileString("Ports", "COM2", std::string("/dev/pts/77"), "serial.ini");
    const struct {
        const char* name;
        const char* path;
    } cases[] = {{"COM1", "/dev/ttyS0"},
                 {"com3", "/dev/ttyS2"},
                 {"COM2", "/dev/pts/77"},
                 {"Com2", "/dev/pts/77"},
                 {"COM12", "/dev/ttyS11"},
                 {"/dev/ttyUSB0", "/dev/ttyUSB0"},
                 {"COM0", ""},
                 {"COM", ""},
                 {"COM1x", ""},
                 {"LPT1", ""},
                 {"", ""},
                 {"COM-1", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(SerialPort::DevicePath(c.name), c.path) << c.name;
}

class SerialPortTest : public test::TempHomeTest {
protected:
    ScriptedSerialDevice device;
    SerialPort port;

    void SetUp() override {
        WritePrivateProfileString("Ports", "COM1", device.PortPath(), "serial.ini");
        ASSERT_EQ(port.Open("COM1"), SerialError::None);
        EXPECT_EQ(port.Path(), device.PortPath());
    }

    termios LineSettings() const {
        termios t{};
        const int fd = ::open(device.PortPath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::tcgetattr(fd, &t), 0);
        ::close(fd);
        return t;
    }

    void Write(const std::string& text) {
        std::size_t written = 0;
        ASSERT_EQ(port.Write(text.data(), text.size(), written), SerialError::None);
        EXPECT_EQ(written, text.size());
    }
};

TEST_F(SerialPortTest, SettingsReachTheLine) {
    // A pseudo-terminal always keeps eight bits without parity checking, so the
    // character size and parity enable cannot be seen here; the rest can.
    const struct {
        SerialSettings settings;
        speed_t speed;
        tcflag_t cflag; // parity kind, stop bits, hardware flow
        tcflag_t iflag; // software flow
    } cases[] = {
        {{9600, 8, SerialParity::None, 1, false, false, false}, B9600, 0, 0},
        {{57600, 7, SerialParity::Even, 1, true, true, false}, B57600, 0, IXON | IXOFF},
        {{1200, 7, SerialParity::Odd, 2, false, true, false}, B1200, PARODD | CSTOPB, IXON},
        {{115200, 8, SerialParity::None, 1, true, false, true}, B115200, CRTSCTS, IXOFF},
        {{110, 5, SerialParity::Mark, 1, false, false, false}, B110, PARODD | CMSPAR, 0},
        {{300, 6, SerialParity::Space, 1, false, false, false}, B300, CMSPAR, 0},
    };
    const tcflag_t cmask = PARODD | CMSPAR | CSTOPB | CRTSCTS;
    for (const auto& c : cases) {
        ASSERT_EQ(port.Configure(c.settings), SerialError::None) << c.settings.baud;
        const termios t = LineSettings();
        EXPECT_EQ(::cfgetospeed(&t), c.speed) << c.settings.baud;
        EXPECT_EQ(t.c_cflag & cmask, c.cflag) << c.settings.baud;
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.iflag) << c.settings.baud;
        EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u) << "raw";
    }
    EXPECT_EQ(port.Configure({12345, 8, SerialParity::None, 1}), SerialError::BadSetting);
    EXPECT_EQ(port.Configure({9600, 9, SerialParity::None, 1}), SerialError::BadSetting);
    EXPECT_EQ(port.Configure({9600, 8, SerialParity::None, 3}), SerialError::BadSetting);
}

TEST_F(SerialPortTest, BytesGoBothWaysWithoutBlocking) {
    device.On("*IDN?", "ORVANTA,QT7100,0,1.2");
    Write("*IDN?\n");
    EXPECT_EQ(port.OutputPending(), 0u);
    EXPECT_EQ(port.InputCount(), 0u); // nothing has come back yet, and nothing waits
    EXPECT_FALSE(port.InputHasLineEnd());
    device.Pump();
    EXPECT_EQ(device.received, std::vector<std::string>{"*IDN?"});
    EXPECT_TRUE(port.InputHasLineEnd());
    EXPECT_EQ(port.InputCount(), 21u);
    char buffer[8];
    ASSERT_EQ(port.Read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(buffer, 8), "ORVANTA,");
    EXPECT_EQ(port.InputCount(), 13u);
    port.DiscardInput();
    EXPECT_EQ(port.InputCount(), 0u);

    // An answer in pieces gathers in the input queue.
    device.OnPieces("SYST:ERR?", {"+0,\"No ", "error\"\r\n"});
    Write("SYST:ERR?\n");
    device.Pump();
    EXPECT_FALSE(port.InputHasLineEnd());
    device.Pump();
    EXPECT_TRUE(port.InputHasLineEnd());
    char answer[64] = {};
    EXPECT_EQ(port.Read(answer, sizeof answer), 15u);
    EXPECT_STREQ(answer, "+0,\"No error\"\r\n");

    device.Send("stale\n");
    device.Pump();
    EXPECT_EQ(port.Flush(), SerialError::None);
    EXPECT_EQ(port.InputCount(), 0u);
    EXPECT_FALSE(port.TakeLineErrors().Any());
}

TEST_F(SerialPortTest, APortIsHeldByOneOpenerAndMissingPortsAreNamed) {
    SerialPort second;
    EXPECT_EQ(second.Open("COM1"), SerialError::PortBusy);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(port.Close(), SerialError::None);
    EXPECT_EQ(second.Open(device.PortPath()), SerialError::None);

    WritePrivateProfileString("Ports", "COM7", std::string("/nonexistent/tty7"), "serial.ini");
    SerialPort missing;
    EXPECT_EQ(missing.Open("COM7"), SerialError::NoSuchPort);
    EXPECT_EQ(missing.Open("LPT1"), SerialError::NoSuchPort);
    WritePrivateProfileString("Ports", "COM8", std::string("/dev/null"), "serial.ini");
    EXPECT_EQ(missing.Open("COM8"), SerialError::NoSuchPort); // not a terminal

    // A closed port refuses work and reports nothing waiting.
    std::size_t written = 1;
    EXPECT_EQ(missing.Write("x", 1, written), SerialError::NotOpen);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(missing.Configure({}), SerialError::NotOpen);
    EXPECT_EQ(missing.InputCount(), 0u);
    EXPECT_FALSE(missing.Cts());
    EXPECT_FALSE(missing.Dsr());
}

} // namespace
} // namespace tvane
