// The readout, the alarm light panel and the data light display through the
// main window on the simulated instrument: made from the Graphics menu, fed by
// a scan, edited in their sheets, printed, copied and pasted, dragged onto
// another page, saved with the setup and opened again.
#include <algorithm>
#include <filesystem>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "graphics/CGraphView.h"
#include "graphics/IGraphDocument.h"
#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/indicator/GaugeWnd.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/displays/readout/ReadoutText.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/core/Services.h"
#include "platform/sheet/PropertyPage.h"
#include "platform/ui/Help.h"
#include "platform/ui/MessageBus.h"
#include "platform/ui/Prompter.h"
#include "scan/CChannelArray.h"
#include "scan/CFXSetup.h"
#include "scan/CommSettings.h"
#include "scan/records/ReadingRecord.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kReadoutCommand = 701;
constexpr unsigned kAlarmLightCommand = 32818;
constexpr unsigned kDataLightCommand = 32885;
constexpr std::int32_t kPort = 301;
constexpr std::int32_t kSecondPort = 302;

// The archives of a page's displays, sorted (the page's order follows its
// windows' stacking).
std::vector<std::vector<std::uint8_t>> GaugePageArchives(CGraphView& view) {
    std::vector<std::vector<std::uint8_t>> archives;
    for (CGraphFrame* f : *view.GetFrameList())
        archives.push_back(CGraphView::StoreFrame(*f));
    std::sort(archives.begin(), archives.end());
    return archives;
}

// The main window with "Bench run" scanned once a second: channel 101 is in
// high alarm at any reading (its limit is below the range), 102 and 103 never;
// 301 and 302, the ports of a QT7107, read their eight digital inputs.
class GaugeDisplaysRun : public WholeProgramTest {
protected:
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        program.MakeSetup(Doc(), 3, 2);
        if (HasFatalFailure())
            return;
        CFXSetup* row = Doc().GetSetupRow(0);
        row->Alarms = "High Only";
        row->AlarmHi = "-20";
        CChannelConfig config;
        ASSERT_TRUE(row->FillChannelConfig(config));
        ASSERT_TRUE(program.Binding().DownloadChannelConfig(&config));
        for (std::int32_t channel : {kPort, kSecondPort}) {
            CFXSetup* port = Doc().GetSetupRow(3 + channel - kPort);
            ASSERT_NE(port, nullptr);
            port->Name = "KXQT7107";
            port->Channel = static_cast<std::uint32_t>(channel);
            port->ChannelMode = 1;
            port->Function = "Digital Read 8bit";
            port->ChannelName = channel == kPort ? "Doors" : "Valves";
            port->Range.clear();
            port->Units.clear();
            port->Alarms = "Off";
            CChannelConfig portConfig;
            ASSERT_TRUE(port->FillChannelConfig(portConfig));
            ASSERT_TRUE(program.Binding().DownloadChannelConfig(&portConfig));
        }
        program.ScanEverySecond(Doc());
        if (HasFatalFailure())
            return;
        page = wiring->Graphics()->Page(0);
        ASSERT_NE(page, nullptr);
        frame.Pages()->setCurrentWidget(page);
    }
    // A display from its Graphics menu entry, moved to rect.
    template <class Frame> Frame* Make(unsigned command, const GRect& rect) {
        for (QAction* a : wiring->Graphics()->Menu()->actions())
            if (a->data().toUInt() == command)
                a->trigger();
        auto* made = dynamic_cast<Frame*>(page->Model().GetSelected());
        if (made) {
            made->GetWindow()->MoveWindow(rect, true);
            made->LayoutRegions();
        }
        return made;
    }
    GaugeWnd* GaugeOf(const IGaugeWindowClient* client) const {
        for (GaugeWnd* w : page->findChildren<GaugeWnd*>())
            if (&w->Client() == client)
                return w;
        return nullptr;
    }
    void StartRun() {
        frame.UpdateToolbars();
        WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
            dialog.DontShow()->setChecked(true);
            dialog.StartButton()->click();
        });
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(Doc().IsScanning(), 1);
    }
    void StopRun() {
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_EQ(Doc().IsScanning(), 0);
    }
    // The newest reading of a channel the document filed in the last poll.
    ReadingRecord Newest(std::int32_t channel) {
        std::vector<ReadingRecord*> list;
        Doc().GetChannelReadings(channel, list);
        return list.empty() ? ReadingRecord{} : *list.back();
    }

    CGraphViewWnd* page = nullptr;
};

TEST_F(GaugeDisplaysRun, AScanFeedsTheReadoutAndLightsTheAlarmOfTheChannelOverItsLimit) {
    auto* readout = Make<CReadOutFrame>(kReadoutCommand, {10, 10, 230, 90});
    auto* alarms = Make<CLEDFrame>(kAlarmLightCommand, {240, 10, 700, 140});
    auto* lights = Make<CDataLEDFrame>(kDataLightCommand, {240, 150, 700, 300});
    ASSERT_TRUE(readout && alarms && lights);
    // The data lights show the port's byte as the scan reads it.
    lights->SetAcquisitionMode(1);
    lights->SetByteDisplay(true);
    ASSERT_NE(lights->GetChannelArray()->GetAt(0), nullptr);
    EXPECT_EQ(lights->GetChannelArray()->GetAt(0)->Number, kPort);
    // The readout and the first lamp take the first channel; 102 and 103 join
    // the panel.
    ASSERT_NE(readout->GetFirstChannel(), nullptr);
    EXPECT_EQ(readout->GetFirstChannel()->Number, 101);
    CChannelArray channels;
    alarms->GetDocument()->FillChannelInfoArray(channels, 0xFFFFFFFFu, false);
    ASSERT_GE(channels.GetSize(), 3u);
    alarms->SetChannelAt(1, channels.GetAt(1));
    alarms->SetChannelAt(2, channels.GetAt(2));
    const CIndicatorArray& lamps = alarms->GetLEDWnd()->GetLights();
    ASSERT_GE(lamps.GetSize(), 3u);
    EXPECT_EQ(lamps.GetAt(0)->GetState(), 0) << "no reading yet";

    StartRun();
    if (HasFatalFailure())
        return;
    GaugeWnd* readoutWindow = GaugeOf(readout->GetReadout());
    ASSERT_NE(readoutWindow, nullptr);
    for (int poll = 0; poll < 3; ++poll) {
        const int paints = readoutWindow->PaintCount();
        Poll();
        // The poll only marks the windows; they paint later.
        EXPECT_EQ(readoutWindow->PaintCount(), paints);
        const ReadingRecord newest = Newest(101);
        ASSERT_EQ(newest.Channel, 101);
        EXPECT_DOUBLE_EQ(readout->GetReadout()->GetValue(), newest.Value) << poll;
        EXPECT_EQ(readout->GetReadout()->GetAlarmState(), 2);
    }
    // 101 is over its limit: its lamp shows the high alarm, the others none.
    EXPECT_EQ(lamps.GetAt(0)->GetState(), 2);
    EXPECT_EQ(lamps.GetAt(1)->GetState(), 0);
    EXPECT_EQ(lamps.GetAt(2)->GetState(), 0);
    // The lamps of the set bits of the port's newest byte are on, the others off.
    const auto byte = static_cast<std::uint32_t>(Newest(kPort).Value);
    const CIndicatorArray* portLamps = lights->GetLEDWnd()->Blocks().Blocks().GetAt(0);
    ASSERT_NE(portLamps, nullptr);
    ASSERT_EQ(portLamps->GetSize(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const CIndicator* lamp = portLamps->GetAt(i);
        EXPECT_EQ(lamp->GetState(), (byte & lamp->GetBitMask()) ? 1 : 0) << lamp->GetLabel();
    }
    page->Model().DeselectAll();
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(*page, "gauge_displays_run.png"));
    StopRun();

    // The page prints, and each display draws itself into a printed picture.
    const auto pdf = ArtifactPath("gauge_displays_run.pdf");
    ASSERT_TRUE(
        wiring->Graphics()->PrintCurrentPageToPdf(QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    QImage printed(700, 310, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        for (CGraphFrame* display : std::initializer_list<CGraphFrame*>{readout, alarms, lights})
            EXPECT_TRUE(display->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(SaveArtifact(printed, "gauge_displays_run_print.png"));
}

TEST_F(GaugeDisplaysRun, EachSheetShowsItsPagesWithTheirHelp) {
    struct Case {
        unsigned command;
        std::vector<unsigned> help;
    };
    const Case cases[] = {{kReadoutCommand, {11102, 11202, 11302}},
                          {kAlarmLightCommand, {11107, 11207, 11307}},
                          {kDataLightCommand, {11111, 11211, 11311}}};
    for (const Case& c : cases) {
        page->Model().DeleteAllFrames();
        Make<CGraphFrame>(c.command, {10, 10, 400, 200});
        ASSERT_NE(page->Model().GetSelected(), nullptr);
        RecordingHelp help;
        ScopedService<IHelp> helpGuard(SetHelp, &help);
        int shown = 0;
        WhenShown<CGraphSheet>(
            [](CGraphSheet& sheet) {
                ASSERT_EQ(sheet.PageCount(), 3);
                for (int i = 0; i < 3; ++i) {
                    EXPECT_TRUE(sheet.SetActivePage(i));
                    sheet.HelpButton()->click();
                }
                sheet.reject();
            },
            &shown);
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
        EXPECT_EQ(shown, 1) << c.command;
        EXPECT_EQ(help.shown, c.help) << c.command;
    }
}

TEST_F(GaugeDisplaysRun, TwoOfEachAreCopiedDraggedSavedAndOpenedByteForByte) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    std::vector<CGraphFrame*> made;
    int row = 0;
    for (unsigned command : {kReadoutCommand, kAlarmLightCommand, kDataLightCommand}) {
        for (int twin = 0; twin < 2; ++twin, ++row) {
            auto* display = Make<CGraphFrame>(command, {10 + 300 * twin, 10 + 120 * row / 2,
                                                        290 + 300 * twin, 120 + 120 * row / 2});
            ASSERT_NE(display, nullptr);
            made.push_back(display);
        }
    }
    // Each twin a little different from the first.
    made[1]->SetUpdateRate(5);
    made[3]->SetUpdateRate(3);
    dynamic_cast<CDataLEDFrame&>(*made[5]).SetByteDisplay(true);

    // Copy puts each display's archive on the clipboard; the pasted one
    // stores the same bytes.
    const CGraphFrame* first = made[0];
    page->Model().SelectFrame(made[0]);
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditCopy));
    const QByteArray copied = QApplication::clipboard()->mimeData()->data(kGraphicMimeType);
    EXPECT_EQ(std::vector<std::uint8_t>(copied.begin(), copied.end()),
              CGraphView::StoreFrame(*first));
    QTimer::singleShot(20, [this] {
        QTest::mouseMove(page, QPoint(700, 500));
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(700, 500));
    });
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditPaste));
    ASSERT_EQ(page->Model().GetFrameCount(), 7);
    CGraphFrame* pasted = page->Model().GetSelected();
    ASSERT_NE(pasted, first);
    pasted->GetWindow()->MoveWindow(first->GetFrameRect(), true);
    EXPECT_EQ(CGraphView::StoreFrame(*pasted), CGraphView::StoreFrame(*first));
    page->Model().DeleteSelected(false);
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(*page, "gauge_displays_twins.png"));

    // Dragged with Ctrl by its title onto a new page's tab: a copy arrives there.
    const auto before = GaugePageArchives(page->Model());
    ASSERT_EQ(before.size(), 6u);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.OnCmdMsg(cmd::kNewGraphicsPage);
    CGraphViewWnd* second = wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    frame.Pages()->setCurrentWidget(page);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTabBar* tabs = frame.Pages()->tabBar();
    const QPoint tab = tabs->mapTo(&frame, tabs->tabRect(frame.Pages()->indexOf(second)).center());
    QWindow* w = frame.windowHandle();
    int dragged = 0;
    for (CGraphFrame* display : std::vector<CGraphFrame*>(page->Model().GetFrameList()->begin(),
                                                          page->Model().GetFrameList()->end())) {
        frame.Pages()->setCurrentWidget(page);
        QApplication::processEvents();
        auto* window = dynamic_cast<CGraphFrameWnd*>(display->GetWindow());
        ASSERT_NE(window, nullptr);
        window->raise();
        const QPoint title =
            window->Client()->mapTo(&frame, QPoint(20, display->GetTitleHeight() / 2));
        QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
        QTest::mouseMove(w, tab);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, tab);
        ++dragged;
        ASSERT_EQ(second->Model().GetFrameCount(), dragged);
    }
    EXPECT_EQ(GaugePageArchives(second->Model()), before);
    // Saved with the setup and read back: every display of both pages stores
    // what it stored.
    const std::string file = (program.home.Data() / "gauges.tvs").string();
    Doc().WriteDocumentFile(file);
    page->Model().DeleteAllFrames();
    second->Model().DeleteAllFrames();
    Doc().ReadDocumentFile(file);
    for (int index : {0, 1}) {
        CGraphViewWnd* reloaded = wiring->Graphics()->Page(index);
        ASSERT_NE(reloaded, nullptr) << index;
        EXPECT_EQ(GaugePageArchives(reloaded->Model()), before) << index;
        frame.Pages()->setCurrentWidget(reloaded);
        QApplication::processEvents();
    }
    ASSERT_TRUE(SaveArtifact(frame, "gauge_displays_reloaded.png"));
    EXPECT_TRUE(prompter.asked.empty());
}

// The same setup on an instrument on the bus, whose transcript shows what the
// driver sends: a QT7101 in slot 1 and a QT7107 in slot 3.
class GaugeDisplaysOnTheBus : public GaugeDisplaysRun {
protected:
    void SetUp() override {
        GaugeDisplaysRun::SetUp();
        if (HasFatalFailure())
            return;
        bus->On("*IDN?", "ORVANTA,QT7100,0,1.2");
        bus->On("SYST:CTYP? 100", "ORVANTA,QT7101,0,1.0");
        bus->On("SYST:CTYP? 200", "0");
        bus->On("SYST:CTYP? 300", "ORVANTA,QT7107,0,1.0");
        bus->On("INST:DMM:INST?", "1");
        bus->On("INST:DMM?", "1");
        bus->On("*ESR?", "+0");
        bus->On("SYST:ERR?", "+0,\"No error\"");
        CommSettings settings;
        settings.InterfaceName = "WENX";
        settings.ControllerName = "GPIB0";
        settings.Address = 9;
        program.Binding().Close();
        ASSERT_TRUE(program.Binding().Connect(&settings, 1));
        Doc().SetSetupInInstrument(true);
        bus->transcript.clear();
        bus->sent.clear();
    }
    int Sent(const std::string& command) const {
        return static_cast<int>(std::count(bus->sent.begin(), bus->sent.end(), command));
    }

    std::shared_ptr<comm::ScriptedTransport::Script> bus =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator busTransport{4, [s = bus](std::int32_t type) {
                                                  return std::make_unique<comm::ScriptedTransport>(
                                                      s, type);
                                              }};
};

TEST_F(GaugeDisplaysOnTheBus, AnImmediateReadoutReadsItsPortOnItsButton) {
    auto* readout = Make<CReadOutFrame>(kReadoutCommand, {10, 10, 330, 90});
    ASSERT_NE(readout, nullptr);
    // Immediate mode from the Advanced page of its sheet: the port is the first
    // channel that can be read outside a scan.
    WhenShown<CGraphSheet>([](CGraphSheet& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(2));
        auto* immediate = sheet.Page(2)->findChild<QRadioButton*>("1100");
        ASSERT_NE(immediate, nullptr);
        immediate->click();
        sheet.OkButton()->click();
    });
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
    readout = dynamic_cast<CReadOutFrame*>(page->Model().GetSelected());
    ASSERT_NE(readout, nullptr);
    CReadout* window = readout->GetReadout();
    ASSERT_EQ(window->GetAcquisitionMode(), CReadout::kImmediate);
    ASSERT_EQ(window->GetChannel().Number, kPort);
    // Its first request asks the document for what it knows; the bus hears nothing.
    MessageBus::DeliverPosted();
    EXPECT_TRUE(bus->sent.empty());

    bus->On("SENS:DIG:DATA? (@301)", "+165");
    GaugeWnd* shown = GaugeOf(window);
    ASSERT_NE(shown, nullptr);
    shown->repaint();
    const GRect button = window->GetReadButton()->GetRect();
    const QPoint inside((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    // A press reads nothing; the release reads once.
    QTest::mousePress(shown, Qt::LeftButton, {}, inside);
    MessageBus::DeliverPosted();
    EXPECT_TRUE(bus->sent.empty());
    QTest::mouseRelease(shown, Qt::LeftButton, {}, inside);
    MessageBus::DeliverPosted();
    EXPECT_EQ(Sent("SENS:DIG:DATA? (@301)"), 1);
    const auto asked =
        std::find(bus->transcript.begin(), bus->transcript.end(), "> SENS:DIG:DATA? (@301)");
    ASSERT_NE(asked, bus->transcript.end());
    ASSERT_NE(asked + 1, bus->transcript.end());
    EXPECT_EQ(asked[1], "< +165");
    EXPECT_EQ(window->GetValue(), 165.0);
    EXPECT_EQ(window->GetText(), "165.0000 ");
    page->Model().DeselectAll();
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(*page, "readout_immediate_read.png"));
}

TEST_F(GaugeDisplaysOnTheBus, ImmediateDataLightsReadEveryPortOnTheirButton) {
    auto* lights = Make<CDataLEDFrame>(kDataLightCommand, {10, 10, 470, 200});
    ASSERT_NE(lights, nullptr);
    ASSERT_EQ(lights->GetAcquisitionMode(), CDataLEDWnd::kImmediate);
    lights->SetByteDisplay(true);
    CChannelArray ports;
    lights->GetAvailableChannels(ports);
    const CChannelInfo* second = nullptr;
    for (std::size_t i = 0; i < ports.GetSize(); ++i)
        if (ports[i]->Number == kSecondPort && ports[i]->Kind == 0x400)
            second = ports[i];
    ASSERT_NE(second, nullptr);
    lights->SetChannelAt(1, second);
    ports.DeleteAll();
    MessageBus::DeliverPosted();
    EXPECT_TRUE(bus->sent.empty()) << "the document answers what it knows";

    bus->On("SENS:DIG:DATA? (@301)", "+165");
    bus->On("SENS:DIG:DATA? (@302)", "+15");
    CDataLEDWnd* window = lights->GetLEDWnd();
    GaugeWnd* shown = GaugeOf(window);
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    shown->repaint();
    const GRect button = window->GetReadButton().GetRect();
    const QPoint inside((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    QTest::mousePress(shown, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(shown, Qt::LeftButton, {}, inside);
    MessageBus::DeliverPosted();
    // One read of each port; each block's lamps show its own port's byte.
    EXPECT_EQ(Sent("SENS:DIG:DATA? (@301)"), 1);
    EXPECT_EQ(Sent("SENS:DIG:DATA? (@302)"), 1);
    const struct {
        std::size_t block;
        std::uint32_t byte;
    } expected[] = {{0, 165}, {1, 15}};
    for (const auto& e : expected) {
        const CIndicatorArray* lamps = window->Blocks().Blocks().GetAt(e.block);
        ASSERT_NE(lamps, nullptr);
        ASSERT_EQ(lamps->GetSize(), 8u);
        for (std::size_t i = 0; i < 8; ++i) {
            const CIndicator* lamp = lamps->GetAt(i);
            EXPECT_EQ(lamp->GetState(), (e.byte & lamp->GetBitMask()) ? 1 : 0)
                << e.block << " " << lamp->GetLabel();
        }
    }
    page->Model().DeselectAll();
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(*page, "data_lights_immediate_read.png"));
}

} // namespace
} // namespace tvane::test
