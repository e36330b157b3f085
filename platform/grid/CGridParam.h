#pragma once
#include <cstdint>
#include <map>
#include <set>

#include "platform/archive/CObject.h"

namespace tvane {

// The part of a grid's layout that its owner keeps in a file: column widths,
// hidden columns and rows, the zoom and the number of frozen columns. The grid
// core holds one; an owner stores it with its document and hands a loaded one
// back to the grid, which then looks as it was saved.
//
// Archive format (schema 1), after the object's class tag:
//   int32  zoom in percent (kMinZoom to kMaxZoom; out-of-range values load
//          clamped)
//   int32  frozen columns after the row header column (0 or more)
//   count  column widths, then per entry: int32 column, int32 width in pixels
//   count  hidden columns, then per entry: int32 column
//   count  hidden rows, then per entry: int32 row
// Counts use the archive's count form. Negative columns, rows, widths or
// frozen counts are refused with a CArchiveException (generic) and leave the
// object unchanged.
class CGridParam final : public CObject {
    DECLARE_SERIAL(CGridParam)
public:
    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoom = 400;

    void Serialize(CArchive& ar) override;

    int zoom = 100;
    int frozenCols = 0;
    std::map<int, int> colWidths;
    std::set<int> hiddenCols;
    std::set<int> hiddenRows;

    bool operator==(const CGridParam& other) const {
        return zoom == other.zoom && frozenCols == other.frozenCols &&
               colWidths == other.colWidths && hiddenCols == other.hiddenCols &&
               hiddenRows == other.hiddenRows;
    }
};

} // namespace tvane
