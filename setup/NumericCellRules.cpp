#include "setup/NumericCellRules.h"

#include "platform/controls/NumericEditModel.h"
#include "platform/core/Format.h"
#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Prompter.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupTexts.h"

namespace setupgrid {

namespace {

enum class CharClass { Digit, Exponent, Point, Sign, Other };

CharClass Classify(char c) {
    if (c >= '0' && c <= '9')
        return CharClass::Digit;
    if (c == 'e' || c == 'E')
        return CharClass::Exponent;
    if (c == '.')
        return CharClass::Point;
    if (c == '+' || c == '-')
        return CharClass::Sign;
    return CharClass::Other;
}

bool NumberTextAllowed(const std::string& text) {
    bool point = false, exponent = false;
    CharClass previous = CharClass::Other;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const CharClass c = Classify(text[i]);
        switch (c) {
        case CharClass::Other:
            return false;
        case CharClass::Point:
            if (point)
                return false;
            point = true;
            break;
        case CharClass::Exponent:
            if (exponent || i == 0)
                return false;
            exponent = true;
            break;
        default:
            break;
        }
        if (i > 0) {
            // Pairs that cannot follow one another; so a sign stands first or
            // right after the exponent letter.
            const bool bad = (previous == CharClass::Sign &&
                              (c == CharClass::Sign || c == CharClass::Exponent)) ||
                             (previous == CharClass::Exponent &&
                              (c == CharClass::Exponent || c == CharClass::Point)) ||
                             (previous == CharClass::Point &&
                              (c == CharClass::Exponent || c == CharClass::Sign)) ||
                             (previous == CharClass::Digit && c == CharClass::Sign);
            if (bad)
                return false;
        }
        previous = c;
    }
    return true;
}

bool CountTextAllowed(const std::string& text) {
    bool exponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const CharClass c = Classify(text[i]);
        if (c == CharClass::Exponent) {
            if (exponent || i == 0)
                return false;
            exponent = true;
        } else if (c != CharClass::Digit) {
            return false;
        }
    }
    return true;
}

bool Refuse(tvane::GridCellControl& control, std::string warning) {
    control.Grid().SetWarningText(std::move(warning));
    return false;
}

} // namespace

NumericCellMode NumericModeFor(int col, const std::string& function) {
    if (col == kColHigh && function == setuptext::kDigitalRead)
        return {NumericMode::BitPattern, kBitPatternLength};
    if (col == kColHigh &&
        (function == setuptext::kTotalize || function == setuptext::kTotalizeReset))
        return {NumericMode::Count, 20};
    return {NumericMode::Number, 20};
}

bool NumericTextAllowed(NumericMode mode, const std::string& text) {
    switch (mode) {
    case NumericMode::Number:
        return NumberTextAllowed(text);
    case NumericMode::BitPattern:
        return text.find_first_not_of("01Xx") == std::string::npos;
    case NumericMode::Count:
        return CountTextAllowed(text);
    }
    return true;
}

BitPatternTyping BitPatternKey(char c, int selStart, int selEnd, int maxLength) {
    if (c == 'x')
        c = 'X';
    if (selEnd - selStart > 1 || selStart >= maxLength)
        return {c, selStart, selStart, true};
    if (selEnd == selStart)
        return {c, selStart, selStart + 1, false};
    return {c, selStart, selEnd, false};
}

void BitPatternFocus(int& selStart, int& selEnd, int maxLength) {
    if (selEnd - selStart > 1 || selStart >= maxLength)
        selEnd = selStart;
}

bool ValidateNumericCell(tvane::GridCellControl& control, NumericMode mode, bool interactive) {
    if (!control.IsActive() || !control.IsModified())
        return true;
    const std::string& text = control.GetControlText();
    double value = 0;
    switch (mode) {
    case NumericMode::Number:
        // The whole text must be a number: "-", "." or "1e" are not.
        if (!tvane::NumericEditModel::ParseReal(text, value) || value < kNumberMin ||
            value > kNumberMax)
            return Refuse(control, tvane::Format(setuptext::kNumberRange, kNumberMin, kNumberMax));
        break;
    case NumericMode::BitPattern:
        if (text.size() != kBitPatternLength)
            return Refuse(control, setuptext::kBitPattern);
        return true;
    case NumericMode::Count:
        if (!tvane::NumericEditModel::ParseReal(text, value) || value < kCountMin ||
            value > kCountMax)
            return Refuse(control, tvane::Format(setuptext::kCountRange, kCountMin, kCountMax));
        return true;
    }

    const int col = control.Col();
    if (col != kColHigh && col != kColLow)
        return true;
    tvane::GridCore& grid = control.Grid();
    const int row = control.Row();
    const int otherCol = col == kColHigh ? kColLow : kColHigh;
    double other = 0;
    // A limit the row does not use (empty) is no bound for the other.
    if (!tvane::NumericEditModel::ParseReal(grid.GetCellText(row, otherCol), other))
        return true;
    const bool crosses = col == kColHigh ? value < other : value > other;
    if (crosses) {
        grid.SetValueRange(tvane::GridRange::Cells(row, otherCol, row, otherCol),
                           tvane::Format("%g", value));
        return true;
    }
    if (value == other && interactive) {
        return tvane::ShowMessage(setuptext::kEqualLimits, tvane::MsgButtons::OkCancel,
                                  tvane::MsgIcon::Warning) == tvane::MsgAnswer::Ok;
    }
    return true;
}

} // namespace setupgrid
