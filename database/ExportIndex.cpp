#include "database/ExportIndex.h"

#include <limits>

namespace export_index {

namespace {
constexpr char kCr = 13, kLf = 10, kCrMark = 30, kLfMark = 31;
}

std::string EncodeNote(const std::string& note) {
    std::string text = note;
    for (char& c : text) {
        if (c == kCr)
            c = kCrMark;
        else if (c == kLf)
            c = kLfMark;
    }
    return text;
}

std::string DecodeNote(const std::string& text) {
    std::string note = text;
    for (char& c : note) {
        if (c == kCrMark)
            c = kCr;
        else if (c == kLfMark)
            c = kLf;
    }
    return note;
}

std::string DatasetSection(const std::string& setupName, const std::string& datasetName) {
    return setupName + "-" + datasetName;
}

std::int64_t ParseLong(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    // Too many digits saturate rather than wrap.
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

} // namespace export_index
