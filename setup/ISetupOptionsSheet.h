#pragma once
#include <array>
#include <string>

#include "platform/grid/GridStyle.h"

// The setup options sheet as the setup view runs it: Appearance (tab name,
// colour, zoom) and Columns (a check box for each of columns 0 to 15; the
// comment column is always shown).
class ISetupOptionsSheet {
public:
    struct Options {
        std::string tabName;
        tvane::ColorRef tabColour = tvane::Rgb(192, 192, 192);
        int zoom = 100;
        std::array<bool, 16> visible{};
    };
    static constexpr int kAppearancePage = 0;
    static constexpr int kColumnsPage = 1;

    virtual ~ISetupOptionsSheet() = default;
    // Runs the sheet from a start page on the options; false for Cancel.
    virtual bool Run(int startPage, Options& options) = 0;
};
