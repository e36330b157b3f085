#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"

namespace tvane {
namespace {

constexpr int kDigits = 600;

// Takes digits only; anything else is refused when the cell is left.
class DigitsControl final : public GridCellControl {
public:
    using GridCellControl::GridCellControl;
    bool OnValidate() override {
        if (GetControlText().find_first_not_of("0123456789") == std::string::npos)
            return true;
        Grid().SetWarningText("Digits only");
        return false;
    }
    void SetActive(bool active) override {
        GridCellControl::SetActive(active);
        activations.push_back(active);
    }
    std::vector<bool> activations;
};

// Two data columns backed by a map the owner keeps; column 2 edits digits.
class GridEditProtocolTest : public ::testing::Test {
protected:
    GridEditProtocolTest() {
        grid.SetColCount(2);
        grid.SetRowCountSource([] { return 3; });
        grid.SetCellTextSource([this](int row, int col, std::string& text) {
            text = cells[{row, col}];
            return true;
        });
        grid.SetStoreHook([this](int row, int col, const std::string& value) {
            stores.push_back(value);
            if (value == "666")
                return false;
            cells[{row, col}] = value;
            return true;
        });
        GridStyle digits;
        digits.control = kDigits;
        grid.SetColStyle(2, digits);
        control = static_cast<DigitsControl*>(
            grid.RegisterControl(kDigits, std::make_unique<DigitsControl>(grid)));
        cells[{1, 2}] = "10";
        cells[{2, 2}] = "20";
    }

    GridCore grid;
    std::map<std::pair<int, int>, std::string> cells;
    std::vector<std::string> stores;
    DigitsControl* control;
};

TEST_F(GridEditProtocolTest, TheCurrentCellsControlIsLoadedFromTheCell) {
    EXPECT_EQ(grid.GetControl(1, 1), nullptr); // a static cell
    EXPECT_EQ(grid.GetControl(1, 2), control);
    grid.SetCurrentCell(1, 2);
    EXPECT_EQ(grid.GetCurrentCellControl(), control);
    EXPECT_EQ(control->GetControlText(), "10");
    EXPECT_FALSE(control->IsModified());
    EXPECT_TRUE(grid.IsCellEditable(1, 2));
    grid.SetReadOnly(true);
    EXPECT_FALSE(grid.IsCellEditable(1, 2));
}

TEST_F(GridEditProtocolTest, LeavingACellStoresItsEditOrStaysWithTheWarning) {
    grid.SetCurrentCell(1, 2);
    control->SetActive(true);
    control->SetCurrentText("1x");
    EXPECT_FALSE(grid.MoveCurrentCell(2, 2));
    EXPECT_EQ(grid.GetWarningText(), "Digits only");
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(control->IsModified()); // the edit stays for the user to mend
    EXPECT_TRUE(stores.empty());

    control->SetCurrentText("12");
    EXPECT_TRUE(grid.MoveCurrentCell(2, 2));
    EXPECT_EQ(stores, std::vector<std::string>{"12"});
    EXPECT_EQ((cells[{1, 2}]), "12");
    EXPECT_EQ(control->GetControlText(), "20"); // loaded from the new cell
    EXPECT_EQ(control->activations.back(), false);

    // An edit the owner refuses stays too; an unchanged cell writes nothing.
    control->SetCurrentText("666");
    EXPECT_FALSE(grid.StoreCurrentCell());
    EXPECT_FALSE(grid.GetWarningText().empty());
    control->Discard();
    EXPECT_EQ(control->GetControlText(), "20");
    EXPECT_TRUE(grid.MoveCurrentCell(3, 2));
    EXPECT_EQ(stores, (std::vector<std::string>{"12", "666"}));
}

TEST_F(GridEditProtocolTest, AForcedMoveDropsTheEdit) {
    grid.SetCurrentCell(2, 2);
    control->SetCurrentText("2x");
    grid.SetCurrentCell(1, 1);
    EXPECT_TRUE(stores.empty());
    EXPECT_EQ((cells[{2, 2}]), "20");
    EXPECT_FALSE(control->IsModified());
    EXPECT_TRUE(grid.StoreCurrentCell()); // a static cell has nothing to store
}

} // namespace
} // namespace tvane
