#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/controls/CMfxTracker.h"

namespace tvane {
namespace {

// Records the band's drawings as "draw top@last-top" and "erase top".
class BandLog : public ITrackerBand {
public:
    void DrawBand(const TrackRect& band, const std::optional<TrackRect>& last) override {
        log.push_back("draw " + std::to_string(band.top) + "@" +
                      (last ? std::to_string(last->top) : std::string("-")));
    }
    void EraseBand(const TrackRect& band) override {
        log.push_back("erase " + std::to_string(band.top));
    }
    std::vector<std::string> log;
};

// The strip chart's divider: a horizontal line across 300 pixels at y 100,
// bar 4 high, hit tolerance 1.
CMfxTracker Divider() {
    CMfxTracker tracker;
    tracker.SetMinSize(4, 4);
    tracker.SetHitMargin(1);
    tracker.SetRect(CMfxTracker::kHorizontal, {0, 100, 300, 100});
    return tracker;
}

TEST(CMfxTracker, SetRectGivesTheBarItsThicknessAcrossItsMotion) {
    CMfxTracker tracker = Divider();
    EXPECT_EQ(tracker.GetRect(), (TrackRect{0, 100, 300, 104}));
    tracker.SetRect(CMfxTracker::kVertical, {50, 0, 50, 200});
    EXPECT_EQ(tracker.GetRect(), (TrackRect{50, 0, 54, 200}));

    struct Case {
        int orientation;
        TrackPoint point;
        bool hit;
    };
    // The margin widens the bar across its motion only.
    for (const Case& c : {Case{CMfxTracker::kHorizontal, {10, 99}, true},
                          Case{CMfxTracker::kHorizontal, {10, 104}, true},
                          Case{CMfxTracker::kHorizontal, {10, 98}, false},
                          Case{CMfxTracker::kHorizontal, {10, 105}, false},
                          Case{CMfxTracker::kHorizontal, {300, 101}, false},
                          Case{CMfxTracker::kVertical, {49, 10}, true},
                          Case{CMfxTracker::kVertical, {54, 10}, true},
                          Case{CMfxTracker::kVertical, {55, 10}, false},
                          Case{CMfxTracker::kVertical, {50, 200}, false}}) {
        CMfxTracker t = Divider();
        if (c.orientation == CMfxTracker::kVertical)
            t.SetRect(CMfxTracker::kVertical, {50, 0, 50, 200});
        EXPECT_EQ(t.HitTest(c.point), c.hit)
            << c.orientation << " " << c.point.x << "," << c.point.y;
    }
}

TEST(CMfxTracker, TheBarFollowsTheMouseAndTheBandIsDrawnAndTakenAway) {
    CMfxTracker tracker = Divider();
    BandLog band;
    ASSERT_TRUE(tracker.BeginTrack({20, 101}, false, &band));
    EXPECT_TRUE(tracker.IsTracking());
    tracker.OnMouseMove({20, 102}); // still on the bar: it stays
    tracker.OnMouseMove({25, 60});
    tracker.OnMouseMove({25, 40});
    EXPECT_TRUE(tracker.OnButtonUp({25, 40}));
    EXPECT_FALSE(tracker.IsTracking());
    EXPECT_EQ(tracker.GetRect(), (TrackRect{0, 40, 300, 44}));
    EXPECT_EQ(band.log,
              (std::vector<std::string>{"draw 100@-", "draw 60@100", "draw 40@60", "erase 40"}));
}

TEST(CMfxTracker, ATrackEndsAtADifferentPlaceOrNotAtAll) {
    struct Case {
        const char* name;
        bool captureElsewhere;
        TrackPoint start;
        std::vector<TrackPoint> moves;
        std::optional<TrackPoint> release; // none: the capture is lost
        bool started;
        bool result;
        int top;
    };
    const std::vector<Case> cases = {
        {"pressed and released without moving",
         false,
         {5, 100},
         {},
         TrackPoint{5, 50},
         true,
         false,
         100},
        {"moved away and back",
         false,
         {5, 100},
         {{5, 60}, {5, 100}},
         TrackPoint{5, 100},
         true,
         false,
         100},
        {"released off the bar", false, {5, 100}, {{5, 70}}, TrackPoint{5, 70}, true, true, 70},
        {"capture lost after a move", false, {5, 100}, {{5, 80}}, std::nullopt, true, true, 80},
        {"capture lost before any move", false, {5, 100}, {}, std::nullopt, true, false, 100},
        {"start off the bar", false, {5, 90}, {}, TrackPoint{5, 50}, false, false, 100},
        {"another window holds the mouse",
         true,
         {5, 100},
         {},
         TrackPoint{5, 50},
         false,
         false,
         100},
    };
    for (const Case& c : cases) {
        CMfxTracker tracker = Divider();
        const bool started = tracker.BeginTrack(c.start, c.captureElsewhere, nullptr);
        EXPECT_EQ(started, c.started) << c.name;
        for (TrackPoint p : c.moves)
            tracker.OnMouseMove(p);
        const bool result = c.release ? tracker.OnButtonUp(*c.release) : tracker.OnCaptureLost();
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(tracker.GetRect().top, c.top) << c.name;
        EXPECT_FALSE(tracker.IsTracking()) << c.name;
    }
}

TEST(CMfxTracker, TheBarStaysInsideTheClipRectangle) {
    CMfxTracker tracker = Divider();
    ASSERT_TRUE(tracker.BeginTrack({5, 100}, false, nullptr, TrackRect{0, 50, 300, 150}));
    tracker.OnMouseMove({5, -400});
    EXPECT_EQ(tracker.GetRect().top, 50);
    tracker.OnMouseMove({5, 900});
    EXPECT_EQ(tracker.GetRect().top, 149);
    EXPECT_TRUE(tracker.OnButtonUp({5, 900}));
    EXPECT_EQ(tracker.GetRect().top, 149);
}

} // namespace
} // namespace tvane
