#include "graphics/displays/strip/CLegendGrid.h"

#include <algorithm>
#include <cstdio>

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/grid/CGridParam.h"
#include "platform/grid/GridCore.h"
#include "scan/ValueFormat.h"

IMPLEMENT_SERIAL(CLegendGrid, tvane::CObject, 0)

using tvane::GridCore;
using tvane::GridRange;
using tvane::GridStyle;

namespace {

const char* const kHeaders[CLegendGrid::kColumns + 1] = {
    "", "", "Channel Name", "Units/Div", "Reference", "Marker: 1", "Marker: 2", ""};
constexpr int kWidths[CLegendGrid::kColumns + 1] = {0, 25, 100, 100, 100, 50, 50, 0};
const std::string kOn = "On";
const std::string kOff = "Off";

bool IsOn(const std::string& text) {
    return text.size() == 2 && (text[0] == 'O' || text[0] == 'o') &&
           (text[1] == 'N' || text[1] == 'n');
}

std::string Formatted(double value, const std::string& unit, int digits) {
    std::string text;
    FormatValue(value, unit, text, digits);
    return text;
}

} // namespace

CLegendGrid::CLegendGrid() = default;
CLegendGrid::~CLegendGrid() = default;

CLegendGrid::Cell& CLegendGrid::At(int row, int col) {
    return m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
}

const CLegendGrid::Cell* CLegendGrid::Find(int row, int col) const {
    if (row < 1 || row > m_rows || col < 0 || col > kColumns)
        return nullptr;
    return &m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
}

std::string CLegendGrid::Text(int row, int col) const {
    const Cell* cell = Find(row, col);
    return cell ? cell->text : std::string();
}

std::int32_t CLegendGrid::TextColour(int row, int col) const {
    const Cell* cell = Find(row, col);
    return cell ? cell->colour : kWhite;
}

const std::optional<OverlayRange>& CLegendGrid::Range(int slot) const {
    static const std::optional<OverlayRange> none;
    if (slot < 0 || slot >= static_cast<int>(m_ranges.size()))
        return none;
    return m_ranges[static_cast<std::size_t>(slot)];
}

void CLegendGrid::Attach(GridCore& core) {
    m_core = &core;
    Format();
}

void CLegendGrid::Format() {
    m_cells.resize(static_cast<std::size_t>(m_rows));
    m_ranges.resize(static_cast<std::size_t>(m_rows));
    if (!m_core)
        return;
    GridCore& core = *m_core;
    core.SetColCount(kColumns);
    core.SetRowCountSource([this] { return m_rows; });
    core.SetCellTextSource([this](int row, int col, std::string& text) {
        const Cell* cell = Find(row, col);
        if (!cell)
            return false;
        text = col == kNumberCol ? std::to_string(row) : cell->text;
        return true;
    });
    for (int col = 0; col <= kColumns; ++col) {
        core.SetColWidth(col, kWidths[col]);
        core.SetHeaderText(col, kHeaders[col]);
    }
    core.HideCols(0, 0);
    core.ColHeaderStyle().interior = kSilver;
    core.RowHeaderStyle().interior = kSilver;
    core.SetDefaultRowHeight(kRowPixels);
    core.SetRowHeight(0, m_rows, kRowPixels);
    core.SetLockReadOnly(false);
    core.SetStyleHook([this](int row, int col, GridStyle& style) {
        const Cell* cell = Find(row, col);
        if (!cell)
            return;
        if (col == kNumberCol) {
            style.interior = kSilver;
            style.textColor = 0;
            style.control = tvane::gridcontrol::kStatic;
            return;
        }
        style.interior = static_cast<std::uint32_t>(m_background);
        style.textColor = static_cast<std::uint32_t>(cell->colour);
        const bool hasRange = Range(row - 1).has_value();
        if (col == kChannelCol)
            style.control = kChannelListId;
        else if (col == kUnitsCol && hasRange)
            style.control = kUnitsEditId;
        else if (col == kReferenceCol && hasRange)
            style.control = kReferenceEditId;
        else
            style.control = tvane::gridcontrol::kStatic;
    });
}

bool CLegendGrid::Create(int rows) {
    m_rows = std::clamp(rows, 0, legend::kMaxRows);
    m_ranges.assign(static_cast<std::size_t>(m_rows), std::nullopt);
    m_cells.assign(static_cast<std::size_t>(m_rows), {});
    Format();
    ClearRow(-1);
    if (!RequestChannels())
        return false;
    m_rowHeight = kRowPixels;
    m_headerHeight = kRowPixels;
    Changed();
    return true;
}

bool CLegendGrid::Recreate() {
    Format();
    if (!RequestChannels())
        return false;
    if (m_core) {
        m_core->SetRowHeight(0, 0, m_headerHeight);
        m_core->SetRowHeight(1, m_rows, m_rowHeight);
    }
    Changed();
    return true;
}

bool CLegendGrid::RequestChannels() {
    m_choices.clear();
    if (!m_parent || !m_parent->OnChannelRequest(m_choices))
        return false;
    return true;
}

std::vector<std::string> CLegendGrid::ChoiceTexts() const {
    std::vector<std::string> texts{"<None>"};
    for (const OverlayChannel& c : m_choices)
        texts.push_back(c.label + " " + c.name);
    return texts;
}

void CLegendGrid::ClearRow(int slot) {
    for (int row = 1; row <= m_rows; ++row) {
        if (slot != -1 && row != slot + 1)
            continue;
        At(row, kChannelCol) = {"<None>", kWhite};
        for (int col = kUnitsCol; col <= kFillerCol; ++col)
            At(row, col) = {std::string(), kWhite};
    }
}

void CLegendGrid::SwitchMarkerOff(int row, int col) {
    Cell& cell = At(row, col);
    if (!IsOn(cell.text))
        return;
    cell.text = kOff;
    if (m_parent)
        m_parent->OnToggleVMarkerState(col == kMarker1Col ? 1 : 2, row - 1, false);
}

bool CLegendGrid::SetChannelAt(int slot) {
    const int row = slot + 1;
    if (row < 1 || row > m_rows)
        return false;
    SwitchMarkerOff(row, kMarker1Col);
    SwitchMarkerOff(row, kMarker2Col);
    m_ranges[static_cast<std::size_t>(slot)] = OverlayRange{};
    const OverlayRange& range = *m_ranges[static_cast<std::size_t>(slot)];
    At(row, kUnitsCol).text = Formatted(range.scale, "-", 4);
    At(row, kMarker1Col).text.clear();
    At(row, kMarker2Col).text.clear();
    At(row, kReferenceCol).text = Formatted(range.reference, range.channel.units, 12);
    Changed();
    return true;
}

bool CLegendGrid::UpdateChannelRow(int slot, const OverlayChannel& channel, std::int32_t colour) {
    const int row = slot + 1;
    if (row < 1 || row > m_rows)
        return false;
    auto& range = m_ranges[static_cast<std::size_t>(slot)];
    if (!range)
        range.emplace();
    range->channel = channel;
    At(row, kUnitsCol).text = Formatted(range->scale, channel.units, 5);
    At(row, kReferenceCol).text = Formatted(range->reference, channel.units, 8);
    At(row, kChannelCol).text = channel.label + " " + channel.name;
    for (int col = kChannelCol; col <= kFillerCol; ++col)
        At(row, col).colour = colour;
    if (At(row, kMarker1Col).text.empty())
        At(row, kMarker1Col).text = kOff;
    if (At(row, kMarker2Col).text.empty())
        At(row, kMarker2Col).text = kOff;
    Changed();
    return true;
}

bool CLegendGrid::UpdateRangeInfo(int slot, const OverlayRange& range) {
    const int row = slot + 1;
    if (row < 1 || row > m_rows)
        return false;
    auto& current = m_ranges[static_cast<std::size_t>(slot)];
    if (!current)
        current.emplace();
    const bool unitsChanged = current->channel.units != range.channel.units;
    if (current->scale != range.scale || unitsChanged)
        At(row, kUnitsCol).text = Formatted(range.scale, range.channel.units, 5);
    if (current->reference != range.reference || unitsChanged)
        At(row, kReferenceCol).text = Formatted(range.reference, range.channel.units, 8);
    *current = range;
    Changed();
    return true;
}

bool CLegendGrid::RemoveChannelAt(int slot) {
    const int row = slot + 1;
    if (row < 1 || row > m_rows)
        return false;
    SwitchMarkerOff(row, kMarker1Col);
    SwitchMarkerOff(row, kMarker2Col);
    m_ranges[static_cast<std::size_t>(slot)].reset();
    ClearRow(slot);
    Changed();
    return true;
}

void CLegendGrid::ClickCell(int row, int col) {
    if (row < 1 || row > m_rows || (col != kMarker1Col && col != kMarker2Col) || !Range(row - 1))
        return;
    const int marker = col == kMarker1Col ? 1 : 2;
    Cell& cell = At(row, col);
    if (IsOn(cell.text)) {
        SwitchMarkerOff(row, col);
        Changed();
        return;
    }
    // One row per marker column is on.
    for (int other = 1; other <= m_rows; ++other) {
        if (other != row)
            SwitchMarkerOff(other, col);
    }
    cell.text = kOn;
    if (m_parent)
        m_parent->OnToggleVMarkerState(marker, row - 1, true);
    Changed();
}

void CLegendGrid::ChoiceEnded(int row, int index) {
    if (row < 1 || row > m_rows || !m_parent)
        return;
    if (index <= 0 || index > static_cast<int>(m_choices.size()) ||
        m_choices[static_cast<std::size_t>(index - 1)].number == OverlayChannel::kNone) {
        m_parent->OnRemoveChannel(row - 1);
        return;
    }
    m_parent->OnSetChannel(row - 1, m_choices[static_cast<std::size_t>(index - 1)]);
}

bool CLegendGrid::Tab(bool shift, bool inside, int& row, int& col) {
    row = std::max(row, 1);
    if (col == 0)
        col = 2;
    if (!inside) {
        col = shift ? kReferenceCol : kChannelCol;
        return true;
    }
    if (!shift) {
        if (col >= kReferenceCol) {
            if (m_parent)
                m_parent->OnLegendTabOut();
            return false;
        }
        ++col;
        return true;
    }
    if (col < kUnitsCol) {
        if (m_parent)
            m_parent->OnLegendTabOut();
        return false;
    }
    --col;
    return true;
}

void CLegendGrid::SendWorking(int slot) {
    if (m_parent)
        m_parent->OnLegendRangeChange(slot, m_working);
}

void CLegendGrid::Step() {
    if (m_spinCol == kUnitsCol)
        overlay::StepUnitsPerDivision(m_working, m_spinUp);
    else if (m_spinCol == kReferenceCol)
        overlay::StepReference(m_working, m_spinUp);
    else
        return;
    SendWorking(m_spinRow - 1);
}

void CLegendGrid::SpinPress(int row, int col, bool up) {
    if (!Range(row - 1) || (col != kUnitsCol && col != kReferenceCol))
        return;
    m_spinRow = row;
    m_spinCol = col;
    m_spinUp = up;
    m_held = true;
    m_repeat.Release();
    m_working = *Range(row - 1);
    Step();
}

int CLegendGrid::SpinTick() {
    if (!m_held)
        return 0;
    const int next = m_repeat.Tick();
    // The frame's answer may have changed the row's range meanwhile.
    if (Range(m_spinRow - 1))
        m_working = *Range(m_spinRow - 1);
    Step();
    return next;
}

void CLegendGrid::SpinRelease() {
    if (!m_held)
        return;
    m_held = false;
    m_repeat.Release();
    SendWorking(m_spinRow - 1);
}

std::string CLegendGrid::EditText(int row, int col) const {
    const std::string text = Text(row, col);
    if (col != kReferenceCol || !Range(row - 1))
        return text;
    return legend::NormaliseReferenceText(text, Range(row - 1)->channel.units);
}

bool CLegendGrid::StoreReference(int row, const std::string& text, std::string& warning) {
    const auto& range = Range(row - 1);
    if (!range)
        return true;
    double value = 0.0;
    if (!legend::ParseReference(text, range->channel.units, value)) {
        char buffer[120];
        std::snprintf(buffer, sizeof buffer, "Please enter digit within range %2.3f - %2.3f", -1e15,
                      1e15);
        warning = buffer;
        return false;
    }
    m_working = *range;
    m_working.reference = value;
    SendWorking(row - 1);
    return true;
}

void CLegendGrid::SetBackground(std::int32_t colour) {
    m_background = colour;
    Changed();
}

void CLegendGrid::SetRowColour(int slot, std::int32_t colour) {
    const int row = slot + 1;
    if (row < 1 || row > m_rows)
        return;
    for (int col = kChannelCol; col <= kMarker2Col; ++col)
        At(row, col).colour = colour;
    Changed();
}

void CLegendGrid::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_rows << m_background << m_headerHeight << m_rowHeight;
        // The cells, as the grid shows them.
        for (const auto& row : m_cells)
            for (const Cell& cell : row)
                ar << cell.text << cell.colour;
        ar.WriteCount(static_cast<std::uint32_t>(m_ranges.size()));
        for (auto& range : m_ranges) {
            ar << static_cast<std::uint32_t>(range ? 1 : 0);
            if (range)
                SerializeOverlayRange(ar, *range);
        }
        return;
    }
    ar >> m_rows >> m_background >> m_headerHeight >> m_rowHeight;
    // The rows size the legend; heights place it in the frame.
    if (m_rows < 1 || m_rows > legend::kMaxRows || m_rowHeight < 1 || m_rowHeight > 200 ||
        m_headerHeight < 0 || m_headerHeight > 200)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "legend rows or heights out of range");
    m_cells.assign(static_cast<std::size_t>(m_rows), {});
    for (auto& row : m_cells)
        for (Cell& cell : row)
            ar >> cell.text >> cell.colour;
    const std::uint32_t count = ar.ReadCount();
    if (count != static_cast<std::uint32_t>(m_rows))
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "legend ranges do not match its rows");
    m_ranges.assign(count, std::nullopt);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t present = 0;
        ar >> present;
        if (!present)
            continue;
        OverlayRange range;
        SerializeOverlayRange(ar, range);
        m_ranges[i] = range;
    }
}
