#include <gtest/gtest.h>

#include "app/CUploadDialogModel.h"
#include "app/ISaveDialogs.h"
#include "tests/app/InstrumentFixture.h"

namespace tvane::test {
namespace {

using UploadDialogTest = InstrumentDocTest;

TEST_F(UploadDialogTest, WhatTheInstrumentHoldsDecidesTheChoices) {
    struct Case {
        bool scanning;
        std::int32_t readings;
        bool includeData, includeEnabled, continueSelected, scanChoices;
    };
    const Case cases[] = {
        {true, 0, true, false, true, true},
        {false, 12, true, true, false, false},
        {false, 0, false, false, false, false},
    };
    for (const auto& c : cases) {
        instrument.scanning = c.scanning;
        instrument.readings = c.readings;
        CUploadDialogModel dialog;
        dialog.Init(*doc, false, false, {});
        EXPECT_EQ(dialog.scanningText, c.scanning ? "Yes" : "No");
        EXPECT_EQ(dialog.readingsText, std::to_string(c.readings));
        EXPECT_EQ(dialog.includeData, c.includeData);
        EXPECT_EQ(dialog.includeDataEnabled, c.includeEnabled);
        EXPECT_EQ(dialog.continueSelected, c.continueSelected);
        EXPECT_EQ(dialog.continueEnabled, c.scanChoices);
        EXPECT_TRUE(dialog.newSetupSelected);
        EXPECT_EQ(dialog.slotTexts[0], "KXQT7101");
    }
}

TEST_F(UploadDialogTest, ChoicesWhileOpenAndOk) {
    instrument.scanning = true;
    CUploadDialogModel dialog;
    dialog.Init(*doc, true, true, "Setup A");
    EXPECT_FALSE(dialog.newSetupEnabled);
    EXPECT_EQ(dialog.name, "Setup A");
    EXPECT_TRUE(dialog.currentSetupEnabled);
    dialog.OnStopScanning();
    EXPECT_TRUE(dialog.includeDataEnabled);
    dialog.OnContinueScanning();
    EXPECT_FALSE(dialog.includeDataEnabled);
    EXPECT_TRUE(dialog.includeData);

    dialog.OnNewSetup();
    EXPECT_TRUE(dialog.name.empty());
    EXPECT_FALSE(dialog.OnOk());
    EXPECT_EQ(prompter.Texts().back(), "Please enter a setup name");
    dialog.SetName(std::string(40, 'x'));
    EXPECT_EQ(dialog.name.size(), 35u);
    dialog.OnCurrentSetup();
    EXPECT_EQ(dialog.name, "Setup A");
    dialog.OnNewSetup();
    EXPECT_EQ(dialog.name, std::string(35, 'x'));
    ASSERT_TRUE(dialog.OnOk());
    EXPECT_TRUE(dialog.newSetup);
    EXPECT_TRUE(dialog.continueScanning);
}

// A new setup's name is cut between characters and holds no control character.
TEST_F(UploadDialogTest, ANewSetupsNameIsCutWholeAndRefusedWithALineBreak) {
    CUploadDialogModel dialog;
    dialog.Init(*doc, false, false, {});
    std::string accents;
    for (int i = 0; i < 20; ++i)
        accents += "\xC3\xA9";
    dialog.SetName(accents);
    EXPECT_EQ(dialog.name, accents.substr(0, 34));
    for (const std::string& name :
         {std::string("Line\n[Log]"), std::string("Tab\there"), std::string("Nul\0cut", 7)}) {
        dialog.SetName(name);
        EXPECT_FALSE(dialog.OnOk()) << name;
        EXPECT_EQ(prompter.Texts().back(), kNameHasControlCharacter);
    }
    dialog.SetName("Plant A");
    EXPECT_TRUE(dialog.OnOk());
}

} // namespace
} // namespace tvane::test
