#include "platform/storage/StorageNames.h"

#include "platform/storage/StorageError.h"

namespace tvane::storage_detail {

std::u16string NameFromUtf8(const std::string& name) {
    std::u16string out;
    std::size_t i = 0;
    auto bad = [&]() { throw StorageException(STG_E_INVALIDNAME, name, "not valid UTF-8"); };
    while (i < name.size()) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        char32_t cp = 0;
        int extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            bad();
        }
        if (i + extra >= name.size()) {
            bad();
        }
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(name[i + k]);
            if ((cc & 0xC0) != 0x80) {
                bad();
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            bad();
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string NameToUtf8(const std::u16string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t cp = name[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
            name[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate from a foreign file
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

void CheckElementName(const std::u16string& name, const std::string& shown) {
    if (name.empty() || name.size() > 31) {
        throw StorageException(STG_E_INVALIDNAME, shown, "a name has 1 to 31 characters");
    }
    for (char16_t c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c == u'!' || c == 0) {
            throw StorageException(STG_E_INVALIDNAME, shown, "reserved character in the name");
        }
    }
}

namespace {
// Simple upper-case mapping of the scripts that names commonly use.
char16_t Upper(char16_t c) {
    if (c < 0x80) {
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<char16_t>(c - 32);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return static_cast<char16_t>(c & ~1u);
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c % 2 == 0) ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) {
        return static_cast<char16_t>(c - 32);
    }
    if (c >= 0x430 && c <= 0x44F) {
        return static_cast<char16_t>(c - 32);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<char16_t>(c - 80);
    }
    return c;
}
} // namespace

int CompareNames(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t ua = Upper(a[i]);
        char16_t ub = Upper(b[i]);
        if (ua != ub) {
            return ua < ub ? -1 : 1;
        }
    }
    return 0;
}

} // namespace tvane::storage_detail
