#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "tests/graphics/displays/indicator/ArchiveBytes.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"

namespace {

using gaugetest::Channel;

std::vector<std::uint8_t> StorePage(CGraphView& view) {
    tvane::MemoryStream stream;
    tvane::CArchive ar(stream, tvane::CArchive::store);
    view.Serialize(ar);
    return stream.TakeBytes();
}

void LoadPage(CGraphView& view, const std::vector<std::uint8_t>& bytes) {
    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    view.Serialize(ar);
}

// The archives of a page's displays, sorted.
std::vector<std::vector<std::uint8_t>> FrameArchives(const CGraphView& view) {
    std::vector<std::vector<std::uint8_t>> archives;
    for (CGraphFrame* frame : *view.GetFrameList())
        archives.push_back(displaytest::StoreObject(frame));
    std::sort(archives.begin(), archives.end());
    return archives;
}

TEST(GaugePageArchive, TwoOfEachGaugeSurviveSaveAndOpenAndCopyAndPaste) {
    gaugetest::GaugePage page;
    page.doc.channels = {Channel(301, 0x400, "Port"), Channel(302, 4, "Bit 3", 8),
                         Channel(101, 1, "Oven", 1, "C")};
    for (unsigned command : {701u, 32818u, 32885u, 701u, 32818u, 32885u})
        ASSERT_TRUE(page.view.CreateDisplay(command)) << command;
    const auto frames = page.view.GetFrameList();
    // Each one a little different from its twin.
    auto* readout = dynamic_cast<CReadOutFrame*>(*frames->begin());
    readout->SetAcquisitionMode(CReadout::kImmediate);
    readout->SetNumberFormat(1);
    auto* lights = dynamic_cast<CDataLEDFrame*>(*std::next(frames->begin(), 2));
    lights->SetByteDisplay(true);
    auto* alarms = dynamic_cast<CLEDFrame*>(*std::next(frames->begin(), 4));
    const CChannelInfo oven = Channel(101, 1, "Oven");
    alarms->SetChannelAt(6, &oven);

    const std::vector<std::uint8_t> saved = StorePage(page.view);
    gaugetest::GaugePage opened;
    LoadPage(opened.view, saved);
    ASSERT_TRUE(opened.view.OnInitialUpdate(true));
    EXPECT_EQ(opened.view.GetFrameCount(), 6);
    // Each display stores what it was stored from (the page's order follows
    // its windows' stacking, which these fake windows do not keep).
    EXPECT_EQ(FrameArchives(opened.view), FrameArchives(page.view));
    // After loading, the Immediate displays ask for their channels' states.
    opened.Deliver();
    std::vector<std::int32_t> asked;
    for (const CReadingInfo& r : opened.doc.actions)
        asked.push_back(r.m_channel);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::int32_t>{301, 301, 302}));

    // Copy and paste each one: the pasted display stores the same bytes.
    for (CGraphFrame* frame : std::vector<CGraphFrame*>(frames->begin(), frames->end())) {
        page.view.SelectFrame(frame);
        ASSERT_TRUE(page.view.OnEditCopy());
        const std::vector<std::uint8_t> copied = *page.clipboard.archive;
        ASSERT_TRUE(page.view.Paste(false));
        ASSERT_TRUE(page.view.OnEditCopy());
        EXPECT_EQ(*page.clipboard.archive, copied) << frame->GetTitle();
    }
}

TEST(GaugePageArchive, BadReadoutValuesRejectTheArchive) {
    gaugetest::GaugePage page;
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C")};
    auto* frame = page.Add<CReadOutFrame>(701);
    const auto good = displaytest::StoreObject(frame);
    EXPECT_EQ(displaytest::StoreObject(displaytest::LoadObject<CReadOutFrame>(good).get()), good);
    frame->GetReadout()->SetAcquisitionMode(4);
    EXPECT_THROW(displaytest::LoadObject<CReadOutFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
    frame->GetReadout()->SetAcquisitionMode(CReadout::kScan);
    frame->SetNumberFormat(2);
    EXPECT_THROW(displaytest::LoadObject<CReadOutFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
}

TEST(GaugePageArchive, HelpIdsPerPage) {
    CReadOutFrame readout;
    CLEDFrame alarms;
    CDataLEDFrame lights;
    struct Case {
        CGraphFrame* frame;
        int base;
    };
    for (const Case& c : {Case{&readout, 11002}, Case{&alarms, 11007}, Case{&lights, 11011}}) {
        for (int page = 0; page <= 3; ++page)
            EXPECT_EQ(c.frame->GetHelpId(page), c.base + 100 * page);
        EXPECT_EQ(c.frame->GetHelpId(4), c.base);
        EXPECT_EQ(c.frame->GetHelpId(-1), c.base);
    }
}

} // namespace
