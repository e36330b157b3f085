#include <gtest/gtest.h>

#include "graphics/displays/indicator/IndicatorBlocks.h"
#include "graphics/displays/indicator/ReadButton.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "scan/CChannelInfo.h"

namespace {

CChannelInfo Port(std::int32_t number, const std::string& name) {
    CChannelInfo c;
    c.Number = number;
    c.Name = name;
    c.Label = "<" + std::to_string(number) + ">";
    c.Kind = 0x400;
    return c;
}

CChannelInfo Bit(std::int32_t number, int bit, const std::string& name) {
    CChannelInfo c = Port(number, name);
    c.Kind = 4;
    c.BitMask = 1u << bit;
    return c;
}

IndicatorBlocks Lamps() {
    IndicatorBlocks blocks([] { return std::make_unique<CDataLight>(); }, 4);
    blocks.SetSlotCount(10);
    return blocks;
}

TEST(IndicatorBlocks, APortGetsEightElementsFromBitSevenDown) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(3, Port(301, "Door"), true);
    const CIndicatorArray* block = blocks.Blocks().GetAt(3);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->GetSize(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const CIndicator* e = block->GetAt(i);
        EXPECT_EQ(e->GetLabel(), std::to_string(7 - i));
        EXPECT_EQ(e->GetBitMask(), 1u << (7 - i));
        EXPECT_EQ(e->GetKind(), 4u);
        EXPECT_EQ(e->GetChannel(), 301);
        EXPECT_NE(dynamic_cast<const CDataLight*>(e), nullptr);
    }
    EXPECT_EQ(block->m_caption, "Door");
    EXPECT_EQ(block->m_shortCaption, "<301>");
    EXPECT_EQ(block->m_channel, 301);
    EXPECT_EQ(block->m_value, 0u);
    EXPECT_EQ(blocks.ElementCount(), 8);
    EXPECT_EQ(blocks.BlockCount(), 1);
    EXPECT_EQ(blocks.CurrentBlock(), 3);
}

TEST(IndicatorBlocks, ABitIsNamedOnItsElementAndNumberedOnItsBlock) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(0, Bit(302, 3, "Bit 3 of the pump"), false);
    const CIndicatorArray* block = blocks.Blocks().GetAt(0);
    ASSERT_EQ(block->GetSize(), 1u);
    EXPECT_EQ(block->GetAt(0)->GetLabel(), "Bit 3 of ");
    EXPECT_EQ(block->GetAt(0)->GetBitMask(), 8u);
    EXPECT_EQ(block->GetAt(0)->GetKind(), 4u);
    EXPECT_EQ(block->m_caption, "<302>");
    // A whole port in the bit display: no element label, named block.
    blocks.ReplaceBlock(1, Port(303, ""), false);
    EXPECT_EQ(blocks.Blocks().GetAt(1)->GetAt(0)->GetLabel(), "");
    EXPECT_EQ(blocks.Blocks().GetAt(1)->m_caption, "<303>");
    EXPECT_EQ(blocks.ElementCount(), 2);
}

TEST(IndicatorBlocks, RemovingTheCurrentBlockMakesTheLastOneCurrent) {
    IndicatorBlocks blocks = Lamps();
    for (std::size_t slot : {0u, 2u, 5u})
        blocks.AddBlock(slot, Port(301 + static_cast<int>(slot), "P"), true);
    blocks.AddBlock(2, Port(399, "Other"), true); // occupied: unchanged
    EXPECT_EQ(blocks.Blocks().GetAt(2)->m_channel, 303);
    EXPECT_EQ(blocks.CurrentBlock(), 0);
    blocks.MoveCurrent(true);
    blocks.RemoveBlock(2);
    EXPECT_EQ(blocks.CurrentBlock(), 0);
    EXPECT_EQ(blocks.CurrentElement(), 1);
    blocks.RemoveBlock(0);
    EXPECT_EQ(blocks.CurrentBlock(), 5);
    EXPECT_EQ(blocks.CurrentElement(), 0);
    EXPECT_EQ(blocks.BlockCount(), 1);
    EXPECT_EQ(blocks.ElementCount(), 8);
    blocks.RemoveBlock(7); // empty slot
    EXPECT_EQ(blocks.BlockCount(), 1);
}

TEST(IndicatorBlocks, AValueSetsTheElementsOfItsBits) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(0, Port(301, "P"), true);
    CIndicatorArray& block = *blocks.Blocks().GetAt(0);
    std::vector<CIndicator*> changed;
    IndicatorBlocks::ApplyValue(block, 0x81, IndicatorBlocks::AllBitsSet, &changed);
    std::vector<int> states;
    for (std::size_t i = 0; i < 8; ++i)
        states.push_back(block.GetAt(i)->GetState());
    EXPECT_EQ(states, (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(changed.size(), 2u);
    changed.clear();
    IndicatorBlocks::ApplyValue(block, 0x81, IndicatorBlocks::AllBitsSet, &changed);
    EXPECT_TRUE(changed.empty());
}

TEST(IndicatorBlocks, OneRequestPerBlockInSlotOrder) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(4, Port(304, "B"), true);
    blocks.ReplaceBlock(1, Port(301, "A"), true);
    blocks.Blocks().GetAt(4)->m_value = 0xFFFFFFFF;
    const std::vector<CReadingInfo> requests = blocks.Requests(CReadingInfo::kRequestRead);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].m_channel, 301);
    EXPECT_EQ(requests[1].m_channel, 304);
    EXPECT_EQ(requests[1].m_value, 4294967295.0);
    EXPECT_EQ(requests[0].m_request, CReadingInfo::kRequestRead);
}

TEST(IndicatorBlocks, HitTestAndMovesRoundTheRow) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(2, Port(302, "A"), true);
    blocks.ReplaceBlock(6, Port(306, "B"), false);
    int x = 0;
    for (std::size_t b : {2u, 6u})
        for (std::size_t e = 0; e < blocks.Blocks().GetAt(b)->GetSize(); ++e, x += 10)
            blocks.Blocks().GetIndicator(b, e)->SetRect({x + 10, 0, x, 10}); // not normalised
    EXPECT_EQ(blocks.HitTest({85, 5}), blocks.Blocks().GetIndicator(6, 0));
    EXPECT_EQ(blocks.CurrentBlock(), 6);
    EXPECT_EQ(blocks.HitTest({500, 5}), nullptr);
    EXPECT_EQ(blocks.CurrentBlock(), 6);
    blocks.MoveCurrent(true); // past the last slot to the first block
    EXPECT_EQ(blocks.CurrentBlock(), 2);
    EXPECT_EQ(blocks.CurrentElement(), 0);
    blocks.MoveCurrent(false); // back round to the last element of the last block
    EXPECT_EQ(blocks.CurrentBlock(), 6);
    EXPECT_EQ(blocks.CurrentElement(), 0);
    blocks.MoveCurrent(false);
    EXPECT_EQ(blocks.CurrentBlock(), 2);
    EXPECT_EQ(blocks.CurrentElement(), 7);
    EXPECT_EQ(blocks.GetCurrent(), blocks.Blocks().GetIndicator(2, 7));
}

std::vector<std::uint8_t> Store(IndicatorBlocks& blocks) {
    tvane::MemoryStream stream;
    tvane::CArchive ar(stream, tvane::CArchive::store);
    blocks.Serialize(ar);
    return stream.TakeBytes();
}

void Load(IndicatorBlocks& blocks, const std::vector<std::uint8_t>& bytes) {
    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    blocks.Serialize(ar);
}

TEST(IndicatorBlocks, LoadedCountsAreChecked) {
    IndicatorBlocks blocks = Lamps();
    blocks.ReplaceBlock(0, Port(301, "A"), true);
    blocks.ReplaceBlock(2, Port(302, "B"), true);
    const std::vector<std::uint8_t> good = Store(blocks);
    {
        IndicatorBlocks loaded = Lamps();
        Load(loaded, good);
        loaded.CheckLoaded(10, 8, RUNTIME_CLASS(CDataLight), 2);
        EXPECT_EQ(Store(loaded), good);
    }
    struct Case {
        const char* what;
        std::size_t at;
        std::uint8_t value;
        std::size_t slots, perBlock;
        const tvane::CRuntimeClass* elementClass;
    };
    const std::size_t end = good.size();
    const Case cases[] = {
        {"intact but blocks of one", 0, 16, 10, 1, RUNTIME_CLASS(CDataLight)},
        {"intact but switches", 0, 16, 10, 8, RUNTIME_CLASS(CSwitch)},
        {"intact but more slots than channels", 0, 16, 9, 8, RUNTIME_CLASS(CDataLight)},
        {"element count", 0, 17, 10, 8, RUNTIME_CLASS(CDataLight)},
        {"block count", 2, 3, 10, 8, RUNTIME_CLASS(CDataLight)},
        {"current element", end - 4, 8, 10, 8, RUNTIME_CLASS(CDataLight)},
        {"current block", end - 2, 10, 10, 8, RUNTIME_CLASS(CDataLight)},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        bytes[c.at] = c.value;
        IndicatorBlocks loaded = Lamps();
        Load(loaded, bytes);
        EXPECT_THROW(loaded.CheckLoaded(c.slots, c.perBlock, c.elementClass, 2),
                     tvane::CArchiveException)
            << c.what;
    }
    // A lamp in a state that has no colour.
    blocks.Blocks().GetIndicator(2, 5)->SetState(5);
    IndicatorBlocks loaded = Lamps();
    Load(loaded, Store(blocks));
    EXPECT_THROW(loaded.CheckLoaded(10, 8, RUNTIME_CLASS(CDataLight), 2), tvane::CArchiveException);
}

TEST(ReadButton, ReadsOnceOnAReleaseAfterAPressInside) {
    enum Ev { Press, PressOutside, DragOut, DragIn, Release, Right };
    struct Case {
        const char* name;
        std::vector<Ev> events;
        int reads;
    };
    const Case cases[] = {
        {"press, release", {Press, Release}, 1},
        {"press, move inside, release", {Press, DragIn, Release}, 1},
        {"press, drag out, release", {Press, DragOut, Release}, 0},
        {"press, drag out, drag back, release", {Press, DragOut, DragIn, Release}, 0},
        {"press, right click, release", {Press, Right, Release}, 0},
        {"press outside, release", {PressOutside, Release}, 0},
        {"two clicks", {Press, Release, Press, Release}, 2},
        {"double press, release", {Press, Press, Release}, 1},
    };
    for (const Case& c : cases) {
        CPushButton button;
        button.SetRect({5, 5, 40, 20});
        ReadButtonTracker tracker(button);
        int reads = 0, captured = 0;
        for (Ev e : c.events) {
            ReadButtonTracker::Outcome out;
            switch (e) {
            case Press:
                out = tracker.Press({10, 10}, true);
                break;
            case PressOutside:
                out = tracker.Press({40, 10}, true);
                break; // right edge excluded
            case DragOut:
                out = tracker.Move(false);
                break;
            case DragIn:
                out = tracker.Move(true);
                break;
            case Release:
                out = tracker.Release();
                break;
            case Right:
                out = tracker.RightPress();
                break;
            }
            reads += out.read;
            captured += out.capture - out.release;
            EXPECT_EQ(out.repaint, out.capture || out.release) << c.name;
        }
        EXPECT_EQ(reads, c.reads) << c.name;
        EXPECT_EQ(captured, 0) << c.name;
        EXPECT_EQ(button.GetState(), 0) << c.name;
    }
    // A button that is not shown cannot be pressed.
    CPushButton hidden;
    hidden.SetRect({5, 5, 40, 20});
    ReadButtonTracker tracker(hidden);
    EXPECT_FALSE(tracker.Press({10, 10}, false).capture);
    EXPECT_FALSE(tracker.Release().read);
}

} // namespace
