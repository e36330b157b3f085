#include "platform/grid/CGridParam.h"

#include <algorithm>

#include "platform/archive/CArchive.h"

namespace tvane {

IMPLEMENT_SERIAL(CGridParam, CObject, 1)

namespace {

std::int32_t ReadNonNegative(CArchive& ar, const char* what) {
    std::int32_t value = 0;
    ar >> value;
    if (value < 0)
        throw CArchiveException(CArchiveException::generic,
                                std::string("negative ") + what + " in the grid layout");
    return value;
}

void WriteSet(CArchive& ar, const std::set<int>& items) {
    ar.WriteCount(static_cast<std::uint32_t>(items.size()));
    for (int item : items)
        ar << static_cast<std::int32_t>(item);
}

std::set<int> ReadSet(CArchive& ar, const char* what) {
    std::set<int> items;
    const std::uint32_t count = ar.ReadCount();
    for (std::uint32_t i = 0; i < count; ++i)
        items.insert(ReadNonNegative(ar, what));
    return items;
}

} // namespace

void CGridParam::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<std::int32_t>(zoom) << static_cast<std::int32_t>(frozenCols);
        ar.WriteCount(static_cast<std::uint32_t>(colWidths.size()));
        for (const auto& [col, width] : colWidths)
            ar << static_cast<std::int32_t>(col) << static_cast<std::int32_t>(width);
        WriteSet(ar, hiddenCols);
        WriteSet(ar, hiddenRows);
        return;
    }
    std::int32_t loadedZoom = 0;
    ar >> loadedZoom;
    const int loadedFrozen = ReadNonNegative(ar, "frozen column count");
    std::map<int, int> widths;
    const std::uint32_t count = ar.ReadCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        const int col = ReadNonNegative(ar, "column");
        widths[col] = ReadNonNegative(ar, "column width");
    }
    std::set<int> cols = ReadSet(ar, "hidden column");
    std::set<int> rows = ReadSet(ar, "hidden row");
    zoom = std::clamp<int>(loadedZoom, kMinZoom, kMaxZoom);
    frozenCols = loadedFrozen;
    colWidths = std::move(widths);
    hiddenCols = std::move(cols);
    hiddenRows = std::move(rows);
}

} // namespace tvane
