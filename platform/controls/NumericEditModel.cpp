#include "platform/controls/NumericEditModel.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"

namespace tvane {

namespace {

constexpr const char* kEnterNumber = "Please enter a number.";
constexpr const char* kEnterInteger = "Please enter an integer.";
constexpr const char* kEnterBetween = "Please enter a number between %g to %g";
constexpr const char* kUnknownPattern = "XXXXXXXX";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

} // namespace

NumericEditModel::NumericEditModel() : m_text(kUnknownPattern) {}

void NumericEditModel::Setup(int mode, const std::string& text) {
    m_text = text;
    m_mode = mode;
    m_position = 0;
}

void NumericEditModel::SetPosition(int position) {
    m_position = position < 0 ? 0 : position >= kPatternLength ? kPatternLength - 1 : position;
}

NumericEditModel::CharResult NumericEditModel::Char(char32_t c) {
    switch (m_mode) {
    case kPattern:
    case kBinaryPattern: {
        if (c == U'x')
            c = U'X';
        const bool allowed = c == U'0' || c == U'1' || (m_mode == kPattern && c == U'X');
        if (!allowed)
            return CharResult::Dropped;
        if (m_text.size() < kPatternLength)
            m_text.resize(kPatternLength, m_mode == kPattern ? 'X' : '0');
        m_text[static_cast<std::size_t>(m_position)] = static_cast<char>(c);
        if (m_position < kPatternLength - 1)
            ++m_position;
        return CharResult::Overwritten;
    }
    case kReal:
        return (c >= U'0' && c <= U'9') || c == U'.' || c == U'+' || c == U'-' || c == U'e' ||
                       c == U'E' || c == U'\b'
                   ? CharResult::ToBox
                   : CharResult::Dropped;
    case kDigits:
        return (c >= U'0' && c <= U'9') || c == U'\b' ? CharResult::ToBox : CharResult::Dropped;
    default:
        return CharResult::ToBox;
    }
}

bool NumericEditModel::KeyLeft() {
    if (!IsPatternMode())
        return true;
    m_position = m_position == 0 ? kPatternLength - 1 : m_position - 1;
    return true;
}

bool NumericEditModel::KeyRight() {
    if (!IsPatternMode())
        return true;
    m_position = m_position == kPatternLength - 1 ? 0 : m_position + 1;
    return true;
}

bool NumericEditModel::ParseReal(const std::string& text, double& value) {
    const char* start = SkipBlanks(text.c_str());
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(start, &end);
    if (end == start || errno == ERANGE)
        return false;
    if (parsed == 0.0 && *start != '0')
        return false;
    if (*SkipBlanks(end) != '\0')
        return false;
    value = parsed;
    return true;
}

bool NumericEditModel::ParseWhole(const std::string& text, const char* format, long& value) {
    const char* start = SkipBlanks(text.c_str());
    const std::size_t length = std::strlen(format);
    const bool isSigned = length > 0 && format[length - 1] == 'd';
    char* end = nullptr;
    errno = 0;
    long long parsed = 0;
    if (isSigned) {
        parsed = std::strtoll(start, &end, 10);
        if (parsed < INT32_MIN || parsed > INT32_MAX)
            return false;
    } else {
        // A sign would wrap round in the unsigned reading.
        if (*start == '-')
            return false;
        const unsigned long long u = std::strtoull(start, &end, 10);
        if (u > UINT32_MAX)
            return false;
        parsed = static_cast<long long>(u);
    }
    if (end == start || errno == ERANGE)
        return false;
    if (parsed == 0 && *start != '0')
        return false;
    if (*SkipBlanks(end) != '\0')
        return false;
    value = static_cast<long>(parsed);
    return true;
}

bool NumericEditModel::Validate(const std::string& boxText) {
    double number = 0;
    switch (m_mode) {
    case kReal:
    case kDigits:
        if (!ParseReal(boxText, number)) {
            ShowMessage(kEnterNumber, MsgButtons::Ok, MsgIcon::Warning);
            return false;
        }
        break;
    case kWhole: {
        long whole = 0;
        if (!ParseWhole(boxText, "%ld", whole)) {
            ShowMessage(kEnterInteger, MsgButtons::Ok, MsgIcon::Warning);
            return false;
        }
        number = std::atof(boxText.c_str());
        break;
    }
    default:
        return true;
    }
    if (!InRange(number, m_min, m_max)) {
        ShowMessage(Format(kEnterBetween, m_min, m_max), MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    m_value = number;
    m_text = boxText;
    return true;
}

} // namespace tvane
