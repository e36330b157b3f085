#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/displays/indicator/CIndicatorArray.h"
#include "tests/graphics/displays/indicator/ArchiveBytes.h"

namespace {

using displaytest::LoadObject;
using displaytest::StoreObject;

TEST(IndicatorElements, ConstructorsGiveEachKindItsDefaults) {
    struct Case {
        std::unique_ptr<CIndicator> element;
        std::uint32_t color;
        const char* label;
    };
    Case cases[] = {
        {std::make_unique<CIndicator>(), 0xFFFFFF, ""},
        {std::make_unique<CLight>(), 0x00FF00, "No Label"},
        {std::make_unique<CDataLight>(), 0xC0C0C0, "No Label"},
        {std::make_unique<CSwitch>(), 0x808080, "No Label"},
        {std::make_unique<CPushButton>(), 0x00FF00, "No Label"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(c.element->GetState(), 0);
        EXPECT_EQ(c.element->GetColor(), c.color);
        EXPECT_EQ(c.element->GetLabel(), c.label);
        EXPECT_EQ(c.element->GetChannel(), 0);
        EXPECT_EQ(c.element->GetKind(), 0u);
        EXPECT_TRUE(c.element->GetRect().IsEmpty());
    }
    const CLight lamp(2, 0x0000FF, 105, "Oven");
    EXPECT_EQ(lamp.GetState(), 2);
    EXPECT_EQ(lamp.GetColor(), 0x0000FFu);
    EXPECT_EQ(lamp.GetChannel(), 105);
    EXPECT_EQ(lamp.GetLabel(), "Oven");
    EXPECT_EQ(lamp.m_values[0], 0.0);
}

TEST(IndicatorElements, TogglesOfSwitchesAndButtons) {
    // state before -> after, for a switch and for a push button
    const int cases[][3] = {{0, 1, 1}, {1, 0, 0}, {2, 0, 1}, {-1, 0, 1}};
    for (const auto& c : cases) {
        CSwitch sw;
        CPushButton button;
        sw.SetState(c[0]);
        button.SetState(c[0]);
        sw.Toggle();
        button.Toggle();
        EXPECT_EQ(sw.GetState(), c[1]) << c[0];
        EXPECT_EQ(button.GetState(), c[2]) << c[0];
    }
}

TEST(IndicatorElements, LabelsAreCutToTheirFixedField) {
    CDataLight lamp;
    lamp.SetLabel(std::string(100, 'x'));
    EXPECT_EQ(lamp.GetLabel().size(), 79u);
    // Not inside a character.
    std::string accents;
    for (int i = 0; i < 50; ++i)
        accents += "\xC3\xA9";
    lamp.SetLabel(accents);
    EXPECT_EQ(lamp.GetLabel().size(), 78u);
    // A longer label in a file is cut as it is read.
    CIndicator wide(0, 0, 0, "");
    std::vector<std::uint8_t> bytes = StoreObject(&wide);
    // Class tag: FFFF, schema, name length, name; then state and colour.
    const std::size_t labelAt = 2 + 2 + 2 + std::strlen("CIndicator") + 4 + 4;
    ASSERT_EQ(bytes[labelAt], 0);
    bytes[labelAt] = 90;
    bytes.insert(bytes.begin() + static_cast<long>(labelAt) + 1, 90, 'y');
    EXPECT_EQ(LoadObject<CIndicator>(bytes)->GetLabel(), std::string(79, 'y'));
}

TEST(IndicatorElements, StoredFieldsInTheirOrder) {
    CPushButton button;
    button.SetState(1);
    button.SetColor(0x112233);
    button.SetLabel("Go");
    button.SetChannel(301);
    button.SetRect({1, 2, 3, 4});
    button.SetBitMask(0x80);
    button.SetKind(8);
    button.m_rect2 = {5, 6, 7, 8};
    const std::vector<std::uint8_t> bytes = StoreObject(&button);
    const std::size_t at = 2 + 2 + 2 + std::strlen("CPushButton");
    const std::vector<std::uint8_t> fields(bytes.begin() + static_cast<long>(at), bytes.end());
    const std::vector<std::uint8_t> expected{
        1,    0,    0,    0,                                     // state
        0x33, 0x22, 0x11, 0,                                     // colour
        2,    'G',  'o',                                         // label
        0x2D, 1,    0,    0,                                     // channel 301
        1,    0,    0,    0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, // rectangle
        0x80, 0,    0,    0,                                     // bit mask
        8,    0,    0,    0,                                     // kind
        5,    0,    0,    0, 6, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0, // the button's own rectangle
    };
    EXPECT_EQ(fields, expected);
}

TEST(IndicatorArrays, ConstructorsAndElementAccess) {
    const CIndicatorArray plain;
    EXPECT_EQ(plain.m_value, 255u);
    EXPECT_EQ(plain.m_channel, -1);
    EXPECT_EQ(plain.m_caption, "");
    const CIndicatorArray block(0x400, "Port");
    EXPECT_EQ(block.m_value, 0u);
    EXPECT_EQ(block.m_channel, -1);
    EXPECT_EQ(block.m_kind, 0x400u);
    EXPECT_EQ(block.m_caption, "Port");
    EXPECT_EQ(block.m_shortCaption, "Port");

    CIndicatorBlockArray blocks;
    blocks.SetSize(3);
    auto b = std::make_unique<CIndicatorArray>();
    b->SetAtGrow(1, std::make_unique<CSwitch>());
    blocks.SetAtGrow(2, std::move(b));
    EXPECT_EQ(blocks.GetIndicator(0, 0), nullptr); // empty block slot
    EXPECT_EQ(blocks.GetIndicator(2, 0), nullptr); // empty element slot
    EXPECT_NE(blocks.GetIndicator(2, 1), nullptr);
    EXPECT_EQ(blocks.GetIndicator(2, 2), nullptr); // the block's size
    EXPECT_EQ(blocks.GetIndicator(7, 0), nullptr);
    EXPECT_NE(blocks.GetAt(2)->GetAs<CSwitch>(1), nullptr);
    EXPECT_EQ(blocks.GetAt(2)->GetAs<CLight>(1), nullptr);
}

// Counts how many of its kind are alive.
class CountedLight : public CDataLight {
public:
    CountedLight() { ++s_alive; }
    ~CountedLight() override { --s_alive; }
    static inline int s_alive = 0;
};

TEST(IndicatorArrays, DeleteAllDeletesEveryElementOnce) {
    {
        CIndicatorBlockArray blocks;
        for (std::size_t b : {0u, 2u, 3u}) {
            auto block = std::make_unique<CIndicatorArray>();
            for (std::size_t e = 0; e < 8; e += 1 + b)
                block->SetAtGrow(e, std::make_unique<CountedLight>());
            blocks.SetAtGrow(b, std::move(block));
        }
        EXPECT_EQ(CountedLight::s_alive, 8 + 3 + 2);
        blocks.DeleteAll();
        EXPECT_EQ(CountedLight::s_alive, 0);
        EXPECT_EQ(blocks.GetSize(), 0u);
        blocks.SetAtGrow(1, std::make_unique<CIndicatorArray>());
        blocks.GetAt(1)->SetAtGrow(0, std::make_unique<CountedLight>());
    }
    // An array deletes what it still holds when it goes.
    EXPECT_EQ(CountedLight::s_alive, 0);
}

TEST(IndicatorArrays, BlocksWithEmptySlotsComeBackByteForByte) {
    CIndicatorBlockArray blocks;
    blocks.SetSize(5);
    auto port = std::make_unique<CIndicatorArray>(0x400, "Port A");
    port->m_shortCaption = "<301>";
    port->m_channel = 301;
    port->m_value = 0x81;
    for (std::size_t e = 0; e < 8; ++e) {
        auto lamp = std::make_unique<CDataLight>();
        lamp->SetLabel(std::to_string(7 - e));
        lamp->SetRect({10 * static_cast<int>(e), 5, 10 * static_cast<int>(e) + 8, 13});
        lamp->SetBitMask(1u << (7 - e));
        port->SetAtGrow(e, std::move(lamp));
    }
    port->DeleteAt(3);
    blocks.SetAtGrow(1, std::move(port));
    auto mixed = std::make_unique<CIndicatorArray>();
    mixed->SetAtGrow(0, std::make_unique<CLight>(1, 0xFF0000, 7, "Low"));
    mixed->SetAtGrow(1, std::make_unique<CSwitch>());
    mixed->SetAtGrow(2, std::make_unique<CPushButton>());
    blocks.SetAtGrow(3, std::move(mixed));

    const std::vector<std::uint8_t> bytes = StoreObject(&blocks);
    const std::unique_ptr<CIndicatorBlockArray> loaded = LoadObject<CIndicatorBlockArray>(bytes);
    ASSERT_EQ(loaded->GetSize(), 5u);
    for (std::size_t b : {0u, 2u, 4u})
        EXPECT_EQ(loaded->GetAt(b), nullptr) << b;
    EXPECT_EQ(loaded->GetIndicator(1, 3), nullptr);
    EXPECT_EQ(loaded->GetIndicator(1, 7)->GetRect(), (GRect{70, 5, 78, 13}));
    EXPECT_EQ(loaded->GetAt(1)->m_value, 0x81u);
    EXPECT_NE(loaded->GetAt(3)->GetAs<CLight>(0), nullptr);
    EXPECT_NE(loaded->GetAt(3)->GetAs<CPushButton>(2), nullptr);
    EXPECT_EQ(StoreObject(loaded.get()), bytes);
}

} // namespace
