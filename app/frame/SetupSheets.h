#pragma once
#include <memory>

#include "scan/ISetupEditor.h"
#include "setup/IColorPicker.h"
#include "setup/ISheetDocument.h"

class CLoggerDoc;
class CMainFrame;
class ChannelDetailsSheet;
class DatabaseMeasurementLookup;
class IChannelDetailsSheet;
class ISetupGridOperations;
class ISetupOptionsSheet;
class QWidget;
class SetupOptionsSheet;

namespace tvane {
class OdbcDatabase;
}

// The document as the setup editor's sheets read it: its accessors and
// channel lists, and the grid's function check once the grid is there.
class DocumentSheetSource final : public ISheetDocument {
public:
    explicit DocumentSheetSource(CLoggerDoc& doc) : m_doc(doc) {}
    // The grid's operations answer whether a row may take a function.
    void SetGridOperations(ISetupGridOperations* grid) { m_grid = grid; }

    std::vector<Channel> GetChannels(std::uint32_t kindMask) const override;
    long GetMonitorChannel() const override;
    int GetGridRow(long channel) const override;
    bool CanChangeFunction(int gridRow, const std::string& function) override;
    double GetFunctionDefaultValue(const std::string& function) const override;
    bool IsScanning() const override;
    std::string GetDateTimeFormat() const override;

private:
    CLoggerDoc& m_doc;
    ISetupGridOperations* m_grid = nullptr;
};

// The colour dialog, modal over a window.
class QtColorPicker final : public IColorPicker {
public:
    explicit QtColorPicker(QWidget* parent) : m_parent(parent) {}
    bool PickColor(std::uint32_t& colour) override;

private:
    QWidget* m_parent;
};

// The setup editor's side of the document in the program: the scan settings
// sheet; the grid's current cell and monitor highlight go to the grid's
// editor once there is one.
class ProgramSetupEditor final : public ISetupEditor {
public:
    ProgramSetupEditor(DocumentSheetSource& source, QWidget* parent)
        : m_source(source), m_parent(parent) {}
    void SetGridEditor(ISetupEditor* grid) { m_grid = grid; }

    bool EditScanSettings(CFXScan& scan) override;
    bool ValidateCurrentCell() override {
        return m_grid == nullptr || m_grid->ValidateCurrentCell();
    }
    void ShowMonitorChannel(std::int32_t channel, bool highlight) override {
        if (m_grid != nullptr)
            m_grid->ShowMonitorChannel(channel, highlight);
    }
    bool AskNewSetupName(std::string& name) override {
        return m_grid != nullptr && m_grid->AskNewSetupName(name);
    }

private:
    DocumentSheetSource& m_source;
    QWidget* m_parent;
    ISetupEditor* m_grid = nullptr;
};

// The editor's sheets the program builds around its document: the scan
// settings (through the document's Scan Settings command), the channel sheet
// and the options sheet (for the setup grid), the monitor channel sheet (the
// frame's Set Monitor Channel command).
class SetupSheets {
public:
    SetupSheets(CLoggerDoc& doc, tvane::OdbcDatabase* database, CMainFrame* frame);
    ~SetupSheets();

    ISetupEditor& Editor();
    IChannelDetailsSheet& ChannelSheet();
    ISetupOptionsSheet& OptionsSheet();
    DocumentSheetSource& Source() { return *m_source; }
    // Set Monitor Channel: the sheet over the document's monitor channel and
    // the frame's monitor display.
    void EditMonitorChannel();
    // The colour dialog of the sheets; tests put theirs in.
    void SetColorPicker(IColorPicker* picker) { m_picker = picker; }

private:
    CLoggerDoc& m_doc;
    CMainFrame* m_frame;
    std::unique_ptr<DocumentSheetSource> m_source;
    std::unique_ptr<DatabaseMeasurementLookup> m_lookup;
    std::unique_ptr<QtColorPicker> m_qtPicker;
    IColorPicker* m_picker;
    std::unique_ptr<ProgramSetupEditor> m_editor;
    std::unique_ptr<ChannelDetailsSheet> m_channelSheet;
    std::unique_ptr<SetupOptionsSheet> m_optionsSheet;
    // Forwards to whichever picker is installed now.
    class Picker;
    std::unique_ptr<Picker> m_pickerProxy;
};
