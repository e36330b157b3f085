#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/CObject.h"
#include "platform/chart/ChartGeometry.h"
#include "shared/CMfxFont.h"

// One cell of a text display: three text parts shown joined (a caption, a
// separator and a value), its colour and alignment.
class CLabel : public tvane::CObject {
    DECLARE_SERIAL(CLabel)
public:
    static constexpr std::size_t kPartLength = 79;
    // Format flags.
    static constexpr std::uint32_t kTop = 0x01;
    static constexpr std::uint32_t kLeft = 0x08;
    static constexpr std::uint32_t kRight = 0x10;

    void SetPart(int part, const std::string& text);
    const std::string& Part(int part) const { return m_parts[static_cast<std::size_t>(part)]; }
    std::string Text() const { return m_parts[0] + m_parts[1] + m_parts[2]; }
    std::int32_t GetColour() const { return m_colour; }
    void SetColour(std::int32_t colour) { m_colour = colour; }
    std::uint32_t GetFormat() const { return m_format; }
    void SetFormat(std::uint32_t format) { m_format = format; }
    // Where the label was drawn last (empty before the first drawing).
    tvane::chart::ChartRect cell;

    void Serialize(tvane::CArchive& ar) override;

private:
    std::array<std::string, 3> m_parts;
    std::int32_t m_colour = 0xFFFFFF;
    std::uint32_t m_format = 0;
};

// A fixed table of labels in a window, as the strip chart shows its start
// time, time per division and end time under the plot. The window draws the
// labels into the cells this model lays out and repaints the cells it names.
class CTextDisplay : public tvane::CObject {
    DECLARE_SERIAL(CTextDisplay)
public:
    CTextDisplay() : CTextDisplay(1, 1) {}
    CTextDisplay(int rows, int columns);

    // Makes the labels of every row (a new display's window creation).
    void CreateLabels();
    void SetLabelPrefix(int row, int column, const std::string& text);
    void SetLabelSeparator(int row, int column, const std::string& text);
    void SetLabelValue(int row, int column, const std::string& text);
    void SetLabelFormat(int row, int column, std::uint32_t format);
    void SetLabelColor(int row, int column, std::int32_t colour);
    void SetMargins(double top, double left, double bottom, double right);
    // The label, or null for a row without labels or a cell outside the table.
    CLabel* Label(int row, int column) const;
    int Rows() const { return static_cast<int>(m_rows.size()); }
    int Columns() const { return m_columns; }

    std::int32_t GetBackground() const { return m_background; }
    void SetBackground(std::int32_t colour) { m_background = colour; }
    CMfxFont& GetFont() { return m_font; }
    const CMfxFont& GetFont() const { return m_font; }

    // The drawing area inside the margins, and the cells of the table in it.
    tvane::chart::ChartRect ApplyMargins(const tvane::chart::ChartRect& rect) const;
    tvane::chart::ChartRect CellRect(const tvane::chart::ChartRect& area, int row,
                                     int column) const;
    // Called with the cell to repaint after a label changed (its last place).
    void SetRepaint(std::function<void(const tvane::chart::ChartRect&)> repaint) {
        m_repaint = std::move(repaint);
    }

    void Serialize(tvane::CArchive& ar) override;

private:
    template <class F> void Change(int row, int column, F&& change);

    std::vector<std::vector<std::unique_ptr<CLabel>>> m_rows;
    std::int32_t m_columns;
    std::array<double, 4> m_margins = {0.0, 0.0, 0.0, 0.0}; // top, left, bottom, right
    std::int32_t m_background = 0;
    CMfxFont m_font;
    std::function<void(const tvane::chart::ChartRect&)> m_repaint;
};
