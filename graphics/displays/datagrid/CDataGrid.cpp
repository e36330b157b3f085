#include "graphics/displays/datagrid/CDataGrid.h"

#include <algorithm>

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/core/NameText.h"
#include "platform/grid/GridCore.h"

IMPLEMENT_SERIAL(CDataGrid, tvane::CObject, 0)

using tvane::GridCore;
using tvane::GridStyle;

namespace {

constexpr int kWidths[CDataGrid::kColumns + 1] = {25, 100, 95, 75};
const char* const kHeaders[CDataGrid::kColumns + 1] = {"", datagridtext::kChannel,
                                                       datagridtext::kReading, datagridtext::kTime};

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

std::string ChannelText(const CChannelInfo& channel) {
    return channel.Label + channel.Name;
}

} // namespace

CDataGrid::CDataGrid() {
    m_cells.resize(1);
    RestyleAll();
}

CDataGrid::~CDataGrid() {
    Detach();
}

CDataGrid::Row* CDataGrid::RowAt(int row) {
    if (row < 1 || row > m_rowCount)
        return nullptr;
    return &m_cells[static_cast<std::size_t>(row - 1)];
}

std::string CDataGrid::Text(int row, int col) const {
    const GridStyle* style = CellStyle(row, col);
    return style ? style->Value() : std::string();
}

const GridStyle* CDataGrid::CellStyle(int row, int col) const {
    if (row < 0 || row > m_rowCount || col < 0 || col > kColumns)
        return nullptr;
    return &m_styles[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

int CDataGrid::ColWidth(int col) const {
    const auto& widths = GetParam().colWidths;
    const auto it = widths.find(col);
    return it != widths.end() ? it->second : (col >= 0 && col <= kColumns ? kWidths[col] : 0);
}

const tvane::CGridParam& CDataGrid::GetParam() const {
    return m_core ? m_core->GetParam() : m_param;
}

void CDataGrid::Restyle(int row) {
    auto& styles = m_styles[static_cast<std::size_t>(row)];
    for (int col = 0; col <= kColumns; ++col) {
        GridStyle& s = styles[static_cast<std::size_t>(col)];
        s = GridStyle{};
        s.textColor = m_textColor;
        s.readOnly = true;
        s.control = tvane::gridcontrol::kStatic;
        s.hAlign = tvane::GridHAlign::Left;
        s.vAlign = tvane::GridVAlign::Center;
        if (row == 0) {
            s.value = kHeaders[col];
            s.interior = kSilver;
            s.font = tvane::GridFont{"", 8, false};
            continue;
        }
        const Row& cells = m_cells[static_cast<std::size_t>(row - 1)];
        switch (col) {
        case kHeaderCol:
            s.interior = cells.header;
            s.value = std::string();
            break;
        case kChannelCol:
            s.interior = m_background;
            s.value = cells.channel;
            s.control = kChannelListId;
            s.readOnly = false;
            break;
        case kReadingCol:
            s.interior = m_background;
            s.value = cells.reading;
            break;
        default:
            s.interior = m_background;
            s.value = cells.time;
            break;
        }
    }
}

void CDataGrid::RestyleAll() {
    m_styles.resize(static_cast<std::size_t>(m_rowCount) + 1);
    for (int row = 0; row <= m_rowCount; ++row)
        Restyle(row);
}

void CDataGrid::Format() {
    m_cells.assign(static_cast<std::size_t>(m_rowCount), Row{});
    m_param = tvane::CGridParam{};
    for (int col = 0; col <= kColumns; ++col)
        m_param.colWidths[col] = kWidths[col];
    m_alarmColors = {kSilver, 0xFF0000, 0x0000FF};
    RestyleAll();
}

void CDataGrid::Attach(GridCore& core) {
    m_core = &core;
    ApplyToCore();
}

void CDataGrid::Detach() {
    if (!m_core)
        return;
    // The core may outlive the grid (its window goes later).
    m_core->SetResolvedStyles(nullptr);
    m_core->SetRowCountSource(nullptr);
    m_core->SetCellTextSource(nullptr);
    m_core = nullptr;
}

void CDataGrid::ApplyToCore() {
    if (!m_core)
        return;
    GridCore& core = *m_core;
    core.SetColCount(kColumns);
    core.SetHeaderRowCount(1);
    core.SetRowCountSource([this] { return m_rowCount; });
    core.SetCellTextSource([this](int row, int col, std::string& text) {
        const GridStyle* style = CellStyle(row, col);
        if (!style)
            return false;
        text = style->Value();
        return true;
    });
    core.SetResolvedStyles([this](int row, int col) { return CellStyle(row, col); });
    for (int col = 0; col <= kColumns; ++col)
        core.SetHeaderText(col, kHeaders[col]);
    core.ColHeaderStyle().interior = kSilver;
    core.ColHeaderStyle().textColor = m_textColor;
    core.ColHeaderStyle().font = tvane::GridFont{"", 8, false};
    core.SetParam(m_param);
    core.SetDefaultRowHeight(kRowPixels);
    core.SetRowHeight(0, m_rowCount, kRowPixels);
    core.SetLockReadOnly(true);
}

bool CDataGrid::Create(int rows) {
    m_rowCount = std::clamp(rows, 1, static_cast<int>(CGridDataArray::kMaxRows));
    Format();
    m_rows.DeleteAll();
    m_rows.SetSize(static_cast<std::size_t>(m_rowCount));
    ApplyToCore();
    const bool listed = RequestChannelList();
    Changed();
    return listed;
}

bool CDataGrid::Recreate() {
    ApplyToCore();
    const bool listed = RequestChannelList();
    Changed();
    return listed;
}

bool CDataGrid::RequestChannelList() {
    m_channels.clear();
    if (!m_parent)
        return false;
    std::vector<CChannelInfo> channels;
    if (!m_parent->OnChannelRequest(channels))
        return false;
    m_channels = std::move(channels);
    return true;
}

std::vector<std::string> CDataGrid::ChoiceTexts() const {
    std::vector<std::string> texts{datagridtext::kNone};
    for (const CChannelInfo& c : m_channels)
        texts.push_back(ChannelText(c));
    return texts;
}

bool CDataGrid::ShowChannel(int index, const CChannelInfo* channel) {
    Row* row = RowAt(index + 1);
    if (!row)
        return false;
    if (channel) {
        // Once a reading filled the record its text carries the unit: a
        // loaded or pasted row keeps what it stored.
        if (CGridData* record = m_rows.GetAt(static_cast<std::size_t>(index));
            record && !record->WasFilled())
            record->SetUnit(channel->Units);
        row->channel = ChannelText(*channel);
    } else {
        row->channel = datagridtext::kNone;
    }
    Restyle(index + 1);
    Changed();
    return true;
}

void CDataGrid::AssignRow(int index) {
    Row* row = RowAt(index + 1);
    if (!row)
        return;
    row->reading.clear();
    row->time.clear();
    row->header = kSilver;
    m_rows.Make(static_cast<std::size_t>(index));
    Restyle(index + 1);
    Changed();
}

bool CDataGrid::ClearRow(int index) {
    Row* row = RowAt(index + 1);
    if (!row)
        return true;
    m_rows.DeleteAt(static_cast<std::size_t>(index));
    row->reading.clear();
    row->time.clear();
    row->header = kSilver;
    Restyle(index + 1);
    Changed();
    return true;
}

bool CDataGrid::RefreshRows() {
    for (int i = 0; i < m_rowCount; ++i) {
        const CGridData* record = m_rows.GetAt(static_cast<std::size_t>(i));
        if (!record)
            continue;
        Row& row = m_cells[static_cast<std::size_t>(i)];
        if (!record->HasReading()) {
            row.header = kSilver;
            row.reading = datagridtext::kNoReading;
            row.time.clear();
        } else {
            row.reading = record->GetReading() + " " + record->GetUnit();
            row.time = record->GetTime();
            row.header = GetAlarmColor(record->GetAlarm());
        }
        Restyle(i + 1);
    }
    Changed();
    return true;
}

void CDataGrid::ChoiceEnded(int row, int index) {
    Row* cells = RowAt(row);
    if (!cells || !m_parent)
        return;
    const std::vector<std::string> texts = ChoiceTexts();
    if (index < 0 || index >= static_cast<int>(texts.size()))
        index = 0;
    // The entry the cell already shows sends nothing.
    if (texts[static_cast<std::size_t>(index)] == cells->channel)
        return;
    if (index == 0)
        m_parent->OnRemoveChannel(row - 1);
    else
        m_parent->OnSetChannel(row - 1, m_channels[static_cast<std::size_t>(index - 1)]);
}

int CDataGrid::GetFittingHeight(int height) const {
    return height > 0 ? height / kRowPixels * kRowPixels : 0;
}

bool CDataGrid::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    const char* name = nullptr;
    std::uint32_t color = 0;
    switch (item) {
    case kBackgroundItem:
        name = "Background";
        color = m_background;
        break;
    case kTextItem:
        name = "Text";
        color = m_textColor;
        break;
    case kNoAlarmItem:
        name = "No Alarm";
        color = m_alarmColors[0];
        break;
    case kHighItem:
        name = "High Alarm Limit";
        color = m_alarmColors[2];
        break;
    case kLowItem:
        name = "Low Alarm Limit";
        color = m_alarmColors[1];
        break;
    default:
        return false;
    }
    std::uint32_t served = 0;
    if (props.mask & GRAPHITEMPROPS::kName) {
        props.itemName = name;
        served |= GRAPHITEMPROPS::kName;
    }
    if (props.mask & GRAPHITEMPROPS::kColor) {
        props.color = color;
        served |= GRAPHITEMPROPS::kColor;
    }
    return (props.mask & ~served) == 0;
}

bool CDataGrid::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    if (item < kBackgroundItem || item > kLowItem)
        return false;
    if (props.mask & GRAPHITEMPROPS::kColor) {
        switch (item) {
        case kBackgroundItem:
            m_background = props.color;
            RestyleAll();
            break;
        case kTextItem:
            m_textColor = props.color;
            if (m_core)
                m_core->ColHeaderStyle().textColor = m_textColor;
            RestyleAll();
            break;
        // The row headers take the alarm colours at the next refresh.
        case kNoAlarmItem:
            m_alarmColors[0] = props.color;
            break;
        case kHighItem:
            m_alarmColors[2] = props.color;
            break;
        default:
            m_alarmColors[1] = props.color;
            break;
        }
        if (repaint)
            Changed();
    }
    return (props.mask & ~std::uint32_t{GRAPHITEMPROPS::kColor}) == 0;
}

void CDataGrid::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteObject(&m_rows);
        ar << m_rowCount;
        // The grid's own object: the archive knows objects by their address.
        if (m_core)
            m_param = m_core->GetParam();
        ar.WriteObject(&m_param);
        ar.WriteCount(static_cast<std::uint32_t>(m_cells.size()));
        for (const Row& row : m_cells)
            ar << row.channel << row.reading << row.time << row.header;
        ar << m_background << m_textColor;
        ar.WriteCount(static_cast<std::uint32_t>(m_alarmColors.size()));
        for (std::uint32_t color : m_alarmColors)
            ar << color;
        return;
    }
    std::unique_ptr<CGridDataArray> rows = ar.ReadOwnedObject<CGridDataArray>();
    std::int32_t rowCount = 0;
    ar >> rowCount;
    if (rowCount < 1 || rowCount > static_cast<std::int32_t>(CGridDataArray::kMaxRows))
        Reject("data grid row count out of range");
    if (!rows || rows->GetSize() != static_cast<std::size_t>(rowCount))
        Reject("data grid rows do not match its row count");
    std::unique_ptr<tvane::CGridParam> param = ar.ReadOwnedObject<tvane::CGridParam>();
    if (!param)
        Reject("data grid without its layout");
    const std::uint32_t cells = ar.ReadCount();
    if (cells != static_cast<std::uint32_t>(rowCount))
        Reject("data grid cells do not match its row count");
    std::vector<Row> loaded(cells);
    for (Row& row : loaded) {
        ar >> row.channel >> row.reading >> row.time >> row.header;
        for (std::string* text : {&row.channel, &row.reading, &row.time})
            if (text->size() > CGridData::kMaxText)
                *text = tvane::CutUtf8(*text, CGridData::kMaxText);
    }
    std::uint32_t background = 0, textColor = 0;
    ar >> background >> textColor;
    if (ar.ReadCount() != 3)
        Reject("data grid alarm colours are not three");
    std::array<std::uint32_t, 3> alarms{};
    for (std::uint32_t& color : alarms)
        ar >> color;
    // Only a whole part is taken.
    m_rows = std::move(*rows);
    m_rows.SetSize(static_cast<std::size_t>(rowCount));
    m_rowCount = rowCount;
    m_param = *param;
    m_cells = std::move(loaded);
    m_background = background;
    m_textColor = textColor;
    m_alarmColors = alarms;
    RestyleAll();
    ApplyToCore();
}
