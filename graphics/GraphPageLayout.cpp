#include "graphics/GraphPageLayout.h"

#include <string>

#include "graphics/CGraphView.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"

namespace pagelayout {

namespace {

// Marks the pages' parts after the page list.
constexpr std::uint32_t kPagesMark = 0x53474150; // "PAGS"

} // namespace

void WriteHeader(tvane::CArchive& ar, std::uint32_t pages, std::uint32_t selected) {
    ar << pages;
    for (std::uint32_t i = 0; i < pages; ++i)
        ar << std::string("Graphics ") + std::to_string(i + 1);
    ar << selected;
}

std::uint32_t ReadHeader(tvane::CArchive& ar, std::uint32_t& selected) {
    std::uint32_t count = 0;
    ar >> count;
    if (count > kMaxGraphicsPages)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "more graphics pages than the main window holds");
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string title;
        ar >> title;
    }
    ar >> selected;
    return count;
}

void WritePages(tvane::CArchive& ar, const std::vector<CGraphView*>& pages) {
    ar << kPagesMark;
    for (CGraphView* page : pages)
        page->Serialize(ar);
}

bool ReadPages(tvane::CArchive& ar, std::uint32_t count, const std::function<CGraphView&()>& make) {
    std::uint32_t mark = 0;
    const std::size_t got = ar.Read(&mark, sizeof mark);
    if (got == 0)
        return false;
    if (got != sizeof mark || mark != kPagesMark)
        throw tvane::CArchiveException(tvane::CArchiveException::badSchema, "graphics pages");
    for (std::uint32_t i = 0; i < count; ++i)
        make().Serialize(ar);
    return true;
}

} // namespace pagelayout
