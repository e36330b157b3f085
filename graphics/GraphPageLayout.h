#pragma once
#include <cstdint>
#include <functional>
#include <vector>

class CGraphView;

namespace tvane {
class CArchive;
}

// The page layout at the end of the setup file: the graphics page count, a
// title for each page and the selected page; then, behind a mark, each
// graphics page's own part. A file written before the pages were stored ends
// after the selected page.
namespace pagelayout {

// The main window's tab row holds the setup page and at most five graphics
// pages: a file that lists more was not written by the program.
inline constexpr std::uint32_t kMaxGraphicsPages = 5;

void WriteHeader(tvane::CArchive& ar, std::uint32_t pages, std::uint32_t selected);
// The page count; a count above kMaxGraphicsPages is refused with the
// archive's error before a title is read.
std::uint32_t ReadHeader(tvane::CArchive& ar, std::uint32_t& selected);

void WritePages(tvane::CArchive& ar, const std::vector<CGraphView*>& pages);
// Reads the pages' parts into pages that make gives, one per page, in order;
// false when the file has none. A mark of another kind is refused.
bool ReadPages(tvane::CArchive& ar, std::uint32_t count, const std::function<CGraphView&()>& make);

} // namespace pagelayout
