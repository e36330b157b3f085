#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "graphics/CGraphView.h"
#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/indicator/GaugeWnd.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/support/QtTestSupport.h"

namespace {

using gaugetest::Channel;

// A page widget whose displays get the program's frame windows and gauge windows.
class GaugePageWindow : public graphicstest::FakeViewWindow {
public:
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame, const GRect& r,
                                                         int id) override {
        auto w = std::make_unique<CGraphFrameWnd>(frame, &page, r, id);
        w->show();
        return w;
    }
    QWidget page;
};

class GaugeWindowTest : public ::testing::Test {
protected:
    GaugeWindowTest() {
        window.client = {0, 0, 640, 300};
        window.page.resize(640, 300);
        window.page.setStyleSheet("background: #c0c0c0");
        window.page.show();
        doc.channels = {Channel(101, 1, "Oven", 1, "C"),   Channel(102, 1, "Door", 1, "VDC"),
                        Channel(103, 1, "Flow", 1, "VDC"), Channel(104, 1, "", 1, "VDC"),
                        Channel(301, 0x400, "Port A"),     Channel(302, 4, "Bit 3", 8)};
    }
    ~GaugeWindowTest() override {
        view.DeleteAllFrames();
        tvane::MessageBus::DeliverPosted();
    }
    template <class Frame> Frame* Add(unsigned command, const GRect& rect) {
        EXPECT_TRUE(view.CreateDisplay(command));
        auto* frame = dynamic_cast<Frame*>(view.GetSelected());
        frame->GetWindow()->MoveWindow(rect, true);
        frame->LayoutRegions();
        return frame;
    }
    GaugeWnd* Gauge(const IGaugeWindowClient* client) {
        for (GaugeWnd* w : window.page.findChildren<GaugeWnd*>())
            if (&w->Client() == client)
                return w;
        return nullptr;
    }
    // A pixel of a display's gauge window, in the page's picture.
    QColor PixelOf(const QImage& shot, GaugeWnd* gauge, GPoint p) {
        const QPoint at = gauge->mapTo(&window.page, QPoint(p.x, p.y));
        return shot.pixelColor(at);
    }

    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    GaugePageWindow window;
    gaugetest::ReadingsDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(GaugeWindowTest, OneOfEachOnAPage) {
    auto* readout = Add<CReadOutFrame>(701, {10, 10, 210, 90});
    auto* immediate = Add<CReadOutFrame>(701, {10, 100, 210, 180});
    immediate->SetAcquisitionMode(CReadout::kImmediate);
    auto* alarms = Add<CLEDFrame>(32818, {220, 10, 630, 130});
    for (int slot = 1; slot < 4; ++slot)
        alarms->SetChannelAt(slot, &doc.channels[static_cast<std::size_t>(slot)]);
    auto* lights = Add<CDataLEDFrame>(32885, {220, 140, 630, 290});
    lights->SetByteDisplay(true);
    tvane::MessageBus::DeliverPosted();
    doc.actions.clear();
    for (std::int32_t channel = 101; channel <= 104; ++channel)
        doc.Add(channel, 20.5 + channel - 101, static_cast<std::uint8_t>((channel - 101) % 3));
    view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    CReadingInfo answer;
    answer.m_channel = 301;
    answer.m_value = 0x81;
    view.OnUpdate(nullptr, HINT_ACTION_RESULT, &answer);
    view.DeselectAll();
    QCoreApplication::processEvents();
    const QImage shot = window.page.grab().toImage();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot, "gauge_displays.png"));

    // Each lamp's middle shows its state's colour.
    const CIndicatorArray& lamps = alarms->GetLEDWnd()->GetLights();
    const QColor alarmColors[] = {QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 0, 0),
                                  QColor(0, 255, 0)};
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const GRect box = lamps.GetAt(slot)->GetRect();
        EXPECT_EQ(PixelOf(shot, Gauge(alarms->GetLEDWnd()),
                          {(box.left + box.right) / 2, (box.top + box.bottom) / 2}),
                  alarmColors[slot])
            << slot;
    }
    const CIndicatorArray* port = lights->GetLEDWnd()->Blocks().Blocks().GetAt(0);
    for (std::size_t bit = 0; bit < 8; ++bit) {
        const GRect box = port->GetAt(bit)->GetRect();
        const bool on = bit == 0 || bit == 7;
        EXPECT_EQ(PixelOf(shot, Gauge(lights->GetLEDWnd()),
                          {(box.left + box.right) / 2, (box.top + box.bottom) / 2}),
                  on ? QColor(255, 0, 0) : QColor(64, 0, 0))
            << bit;
    }
    // A lamp's edge is dark on its lower right and light on its upper left.
    const GRect first = lamps.GetAt(0)->GetRect();
    const int mid = (first.top + first.bottom) / 2;
    EXPECT_EQ(PixelOf(shot, Gauge(alarms->GetLEDWnd()), {first.right - 1, mid}).lightness(), 0);
    EXPECT_EQ(PixelOf(shot, Gauge(alarms->GetLEDWnd()), {first.left, mid - 2}),
              QColor(255, 255, 255));
    // The readout's text in its alarm colour (no alarm: green) somewhere in its window.
    GaugeWnd* text = Gauge(readout->GetReadout());
    bool green = false;
    for (int x = 0; x < text->width() && !green; ++x)
        for (int y = 0; y < text->height() && !green; ++y)
            green = PixelOf(shot, text, {x, y}) == QColor(0, 255, 0);
    EXPECT_TRUE(green);
}

TEST_F(GaugeWindowTest, TheReadButtonReadsOnceOnRelease) {
    auto* lights = Add<CDataLEDFrame>(32885, {10, 10, 400, 150});
    lights->SetByteDisplay(true);
    const CChannelInfo bit = doc.channels[5];
    QCoreApplication::processEvents();
    GaugeWnd* gauge = Gauge(lights->GetLEDWnd());
    ASSERT_NE(gauge, nullptr);
    gauge->grab(); // drawn once: the button is where it was drawn
    tvane::MessageBus::DeliverPosted();
    doc.actions.clear();
    const GRect b = lights->GetLEDWnd()->GetReadButton().GetRect();
    const QPoint inside((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    QTest::mousePress(gauge, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(gauge->IsCaptured());
    QTest::mouseRelease(gauge, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(gauge->IsCaptured());
    tvane::MessageBus::DeliverPosted();
    ASSERT_EQ(doc.actions.size(), 1u);
    EXPECT_EQ(doc.actions[0].m_request, CReadingInfo::kRequestRead);
    EXPECT_EQ(doc.actions[0].m_channel, 301);
    // The press reached the frame too: the display is selected.
    QCoreApplication::processEvents();
    tvane::MessageBus::DeliverPosted();
    EXPECT_EQ(view.GetSelected(), lights);
}

TEST_F(GaugeWindowTest, RepaintsComeAtMostEveryFortyMilliseconds) {
    auto* readout = Add<CReadOutFrame>(701, {10, 10, 210, 90});
    GaugeWnd* gauge = Gauge(readout->GetReadout());
    QCoreApplication::processEvents();
    gauge->repaint(); // the last paint was just now
    const int paints = gauge->PaintCount();
    doc.Add(101, 1.0);
    view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    // Nothing is painted inside the update; the repaint waits for its turn.
    EXPECT_EQ(gauge->PaintCount(), paints);
    EXPECT_TRUE(gauge->RepaintScheduled());
    doc.batch.clear();
    doc.Add(101, 2.0);
    view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    QCoreApplication::processEvents();
    EXPECT_EQ(gauge->PaintCount(), paints);
    EXPECT_TRUE(gauge->RepaintScheduled());
}

} // namespace
