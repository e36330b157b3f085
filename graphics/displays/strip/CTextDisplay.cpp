#include "graphics/displays/strip/CTextDisplay.h"

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"

IMPLEMENT_SERIAL(CLabel, tvane::CObject, 0)
IMPLEMENT_SERIAL(CTextDisplay, tvane::CObject, 0)

using tvane::CArchive;
using tvane::chart::ChartRect;

namespace {

[[noreturn]] void RejectTable(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

// A text display is a small table; a larger one is a damaged document.
constexpr std::uint32_t kMaxCells = 64;

} // namespace

void CLabel::SetPart(int part, const std::string& text) {
    if (part >= 0 && part < 3)
        m_parts[static_cast<std::size_t>(part)] = text.substr(0, kPartLength);
}

void CLabel::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_colour << m_parts[0] << m_parts[1] << m_parts[2] << m_format;
        return;
    }
    ar >> m_colour;
    for (int i = 0; i < 3; ++i) {
        std::string text;
        ar >> text;
        SetPart(i, text);
    }
    ar >> m_format;
}

CTextDisplay::CTextDisplay(int rows, int columns) : m_columns(columns) {
    m_rows.resize(static_cast<std::size_t>(rows));
    m_font.SetColor(0xFFFF00);
}

void CTextDisplay::CreateLabels() {
    for (auto& row : m_rows) {
        row.clear();
        for (int c = 0; c < m_columns; ++c)
            row.push_back(std::make_unique<CLabel>());
    }
}

CLabel* CTextDisplay::Label(int row, int column) const {
    if (row < 0 || row >= Rows() || column < 0)
        return nullptr;
    const auto& labels = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= labels.size())
        return nullptr;
    return labels[static_cast<std::size_t>(column)].get();
}

template <class F> void CTextDisplay::Change(int row, int column, F&& change) {
    CLabel* label = Label(row, column);
    if (!label)
        return;
    change(*label);
    if (m_repaint && label->cell.Width() > 0)
        m_repaint(label->cell);
}

void CTextDisplay::SetLabelPrefix(int row, int column, const std::string& text) {
    Change(row, column, [&](CLabel& l) { l.SetPart(0, text); });
}

void CTextDisplay::SetLabelSeparator(int row, int column, const std::string& text) {
    Change(row, column, [&](CLabel& l) { l.SetPart(1, text); });
}

void CTextDisplay::SetLabelValue(int row, int column, const std::string& text) {
    Change(row, column, [&](CLabel& l) { l.SetPart(2, text); });
}

void CTextDisplay::SetLabelFormat(int row, int column, std::uint32_t format) {
    Change(row, column, [&](CLabel& l) { l.SetFormat(format); });
}

void CTextDisplay::SetLabelColor(int row, int column, std::int32_t colour) {
    Change(row, column, [&](CLabel& l) { l.SetColour(colour); });
}

void CTextDisplay::SetMargins(double top, double left, double bottom, double right) {
    m_margins = {top, left, bottom, right};
}

ChartRect CTextDisplay::ApplyMargins(const ChartRect& rect) const {
    ChartRect r = rect;
    r.top = static_cast<int>(r.top + rect.Height() * m_margins[0] + 0.5);
    r.left = static_cast<int>(r.left + rect.Width() * m_margins[1] + 0.5);
    r.bottom = static_cast<int>(r.bottom - (r.bottom - r.top) * m_margins[2] + 0.5);
    r.right = static_cast<int>(r.right - (r.right - r.left) * m_margins[3] + 0.5);
    return r;
}

ChartRect CTextDisplay::CellRect(const ChartRect& area, int row, int column) const {
    if (Rows() < 1 || m_columns < 1)
        return {};
    const int width = area.Width() / m_columns;
    const int height = area.Height() / Rows();
    const int left = area.left + column * width;
    const int top = area.top + row * height;
    return {left, top, left + width, top + height};
}

void CTextDisplay::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_background;
        ar.WriteObject(&m_font);
        ar << m_columns << m_margins[0] << m_margins[1] << m_margins[2] << m_margins[3];
        ar.WriteCount(static_cast<std::uint32_t>(m_rows.size()));
        for (const auto& row : m_rows) {
            ar.WriteCount(static_cast<std::uint32_t>(row.size()));
            for (const auto& label : row)
                ar.WriteObject(label.get());
        }
        return;
    }
    ar >> m_background;
    if (auto font = ar.ReadOwnedObject<CMfxFont>()) {
        CheckStoredFont(font->GetLogFont());
        m_font = *font;
    }
    ar >> m_columns >> m_margins[0] >> m_margins[1] >> m_margins[2] >> m_margins[3];
    // The columns divide the width.
    if (m_columns < 1 || static_cast<std::uint32_t>(m_columns) > kMaxCells)
        RejectTable("text display columns out of range");
    for (double m : m_margins) {
        if (!(m >= 0.0 && m < 1.0))
            RejectTable("text display margin out of range");
    }
    const std::uint32_t rows = ar.ReadCount();
    if (rows < 1 || rows * static_cast<std::uint32_t>(m_columns) > kMaxCells)
        RejectTable("text display rows out of range");
    m_rows.clear();
    m_rows.resize(rows);
    for (auto& row : m_rows) {
        const std::uint32_t labels = ar.ReadCount();
        if (labels > static_cast<std::uint32_t>(m_columns))
            RejectTable("text display row longer than its columns");
        for (std::uint32_t i = 0; i < labels; ++i) {
            auto label = ar.ReadOwnedObject<CLabel>();
            if (!label)
                RejectTable("missing text display label");
            row.push_back(std::move(label));
        }
    }
}
