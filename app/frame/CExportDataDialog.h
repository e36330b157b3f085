#pragma once
#include <cstdint>
#include <string>

#include <QDialog>

#include "app/ExportDialogModels.h"
#include "app/IExportServices.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// "Export Data": destination, kind of data and format of the document's export
// request, with a summary of the other options. The rules live in
// ExportDataModel; the caller fills the model's inputs before the window is built.
class CExportDataDialog final : public QDialog {
public:
    // timeBase: seconds of the local clock at reading time 0, for the options' time fields.
    CExportDataDialog(ExportDataModel& model, std::int64_t timeBase, std::string dataDir,
                      QWidget* parent = nullptr);

    QRadioButton* DiskRadio() const { return m_disk; }
    QRadioButton* ClipboardRadio() const { return m_clipboard; }
    QLineEdit* FileEdit() const { return m_file; }
    QPushButton* BrowseButton() const { return m_browse; }
    QComboBox* KindList() const { return m_kind; }
    QComboBox* FormatList() const { return m_format; }
    QListWidget* SummaryList() const { return m_summary; }
    QPushButton* OptionsButton() const { return m_options; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void ShowMembers();
    void FillSummary();
    void OpenOptions();
    bool Browse(std::string& name);

    ExportDataModel& m_model;
    std::int64_t m_timeBase;
    std::string m_dataDir;
    QRadioButton* m_disk = nullptr;
    QRadioButton* m_clipboard = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_kind = nullptr;
    QComboBox* m_format = nullptr;
    QListWidget* m_summary = nullptr;
    QPushButton* m_options = nullptr;
    QPushButton* m_ok = nullptr;
};

// "Export Data Options": time span, channels, optional fields and layout.
class CExportOptionsDialog final : public QDialog {
public:
    CExportOptionsDialog(ExportOptionsModel& model, std::int64_t timeBase,
                         QWidget* parent = nullptr);

    QDateTimeEdit* StartEdit() const { return m_start; }
    QDateTimeEdit* EndEdit() const { return m_end; }
    QPushButton* SetToStartButton() const { return m_toStart; }
    QPushButton* SetToEndButton() const { return m_toEnd; }
    QListWidget* ChannelList() const { return m_channels; }
    QCheckBox* AlarmedOnlyBox() const { return m_alarmedOnly; }
    QCheckBox* TimeStampBox() const { return m_timeStamp; }
    QCheckBox* SecondsBox() const { return m_seconds; }
    QCheckBox* AlarmFlagBox() const { return m_alarmFlag; }
    QCheckBox* UnitsBox() const { return m_units; }
    QPushButton* DefaultsButton() const { return m_defaults; }
    QRadioButton* RowsRadio() const { return m_rows; }
    QRadioButton* ColumnsRadio() const { return m_columns; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void Fill(bool defaults);
    void ShowLayout();
    void UpdateRanges();

    ExportOptionsModel& m_model;
    std::int64_t m_timeBase;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QPushButton* m_toStart = nullptr;
    QPushButton* m_toEnd = nullptr;
    QListWidget* m_channels = nullptr;
    QCheckBox* m_alarmedOnly = nullptr;
    QCheckBox* m_timeStamp = nullptr;
    QCheckBox* m_seconds = nullptr;
    QCheckBox* m_alarmFlag = nullptr;
    QCheckBox* m_units = nullptr;
    QPushButton* m_defaults = nullptr;
    QWidget* m_layoutGroup = nullptr;
    QRadioButton* m_rows = nullptr;
    QRadioButton* m_columns = nullptr;
    QLabel* m_picture = nullptr;
    QPushButton* m_ok = nullptr;
};

// The Export Data dialog as the document opens it, over the main window.
class QtExportDataDialog final : public IExportDataDialog {
public:
    explicit QtExportDataDialog(QWidget* parent) : m_parent(parent) {}
    bool Run(CLoggerDoc& document, CReadingQuery& query) override;

private:
    QWidget* m_parent;
};
