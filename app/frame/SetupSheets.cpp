#include "app/frame/SetupSheets.h"

#include <QColorDialog>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CTextButton.h"
#include "database/DatabaseMeasurementLookup.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "setup/ISetupGridOperations.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/CMonitorPropSheet.h"
#include "setup/view/CScanSettings.h"
#include "setup/view/CSetupPropSheet.h"
#include "setup/view/ColorSwatch.h"
#include "shared/view/MfxFontQt.h"

namespace {

// The program's dialog font over a sheet and the pages it builds later.
void UseDialogFont(QWidget* sheet) {
    if (const QFont* font = DialogFont())
        sheet->setFont(*font);
}

} // namespace

// --- The document for the sheets -----------------------------------------------

std::vector<ISheetDocument::Channel>
DocumentSheetSource::GetChannels(std::uint32_t kindMask) const {
    CChannelArray infos;
    struct Guard {
        CChannelArray& array;
        ~Guard() { array.DeleteAll(); }
    } guard{infos};
    m_doc.FillChannelInfoArray(&infos, kindMask, false);
    std::vector<Channel> channels;
    for (std::size_t i = 0; i < infos.GetSize(); ++i)
        if (const CChannelInfo* info = infos.GetAt(i))
            channels.push_back({static_cast<long>(info->Number), info->Name,
                                static_cast<std::uint32_t>(info->Kind)});
    return channels;
}

long DocumentSheetSource::GetMonitorChannel() const {
    return m_doc.GetMonitorChannel();
}

int DocumentSheetSource::GetGridRow(long channel) const {
    return m_doc.GetGridRow(static_cast<std::int32_t>(channel));
}

bool DocumentSheetSource::CanChangeFunction(int gridRow, const std::string& function) {
    // Without the grid's operations the document applies the sheet's copy
    // through its own checks after OK.
    return m_grid == nullptr || m_grid->CanChangeFunction(gridRow, function);
}

double DocumentSheetSource::GetFunctionDefaultValue(const std::string& function) const {
    double value = 0.0;
    CLoggerDoc::GetFunctionDefaultValue(function, value);
    return value;
}

bool DocumentSheetSource::IsScanning() const {
    return m_doc.IsScanning() != 0;
}

std::string DocumentSheetSource::GetDateTimeFormat() const {
    return m_doc.GetDateTimeFormat();
}

bool QtColorPicker::PickColor(std::uint32_t& colour) {
    const QColor chosen = QColorDialog::getColor(sheetui::ToQColor(colour), m_parent);
    if (!chosen.isValid())
        return false;
    colour = sheetui::ToColorRef(chosen);
    return true;
}

// --- The scan settings ---------------------------------------------------------

bool ProgramSetupEditor::EditScanSettings(CFXScan& scan) {
    CScanSettings sheet(m_parent);
    UseDialogFont(&sheet);
    sheet.Page().SetScan(&scan, &m_source);
    return sheet.exec() == QDialog::Accepted;
}

// --- The sheets ----------------------------------------------------------------

class SetupSheets::Picker final : public IColorPicker {
public:
    explicit Picker(IColorPicker*& current) : m_current(current) {}
    bool PickColor(std::uint32_t& colour) override { return m_current->PickColor(colour); }

private:
    IColorPicker*& m_current;
};

SetupSheets::SetupSheets(CLoggerDoc& doc, tvane::OdbcDatabase* database, CMainFrame* frame)
    : m_doc(doc), m_frame(frame), m_source(std::make_unique<DocumentSheetSource>(doc)),
      m_lookup(std::make_unique<DatabaseMeasurementLookup>(database)),
      m_qtPicker(std::make_unique<QtColorPicker>(frame)), m_picker(m_qtPicker.get()) {
    m_pickerProxy = std::make_unique<Picker>(m_picker);
    m_editor = std::make_unique<ProgramSetupEditor>(*m_source, frame);
    m_channelSheet = std::make_unique<ChannelDetailsSheet>(
        DetailsServices{m_source.get(), m_lookup.get()}, frame);
    m_optionsSheet = std::make_unique<SetupOptionsSheet>(m_pickerProxy.get(), frame);
}

SetupSheets::~SetupSheets() = default;

ISetupEditor& SetupSheets::Editor() {
    return *m_editor;
}

IChannelDetailsSheet& SetupSheets::ChannelSheet() {
    return *m_channelSheet;
}

ISetupOptionsSheet& SetupSheets::OptionsSheet() {
    return *m_optionsSheet;
}

void SetupSheets::EditMonitorChannel() {
    CMonitorPropSheet sheet(sheettext::kMonitorCaption, m_source.get(), m_pickerProxy.get(),
                            m_frame);
    UseDialogFont(&sheet);
    CTextButton* display = m_frame != nullptr ? m_frame->MonitorDisplay() : nullptr;
    sheet.SetMonitorChannel(m_doc.GetMonitorChannel());
    sheet.SetRefreshRate(m_doc.GetMonitorInterval() / 1000);
    if (display != nullptr) {
        sheet.SetColor0(display->Background());
        sheet.SetColor1(display->FontColor());
        sheet.SetFormat(display->Mode());
    }
    if (sheet.exec() != QDialog::Accepted)
        return;
    m_doc.SetMonitorInterval(sheet.GetRefreshRate() * 1000);
    m_doc.ConfigureMonitorChannel(static_cast<std::int32_t>(sheet.GetMonitorChannel()));
    if (display != nullptr) {
        display->SetBackground(sheet.GetColor0());
        display->SetColor(sheet.GetColor1());
        display->SetMode(sheet.GetFormat());
        display->update();
    }
}
