#pragma once
#include <functional>
#include <string>

#include <QDialog>

#include "app/ExportDialogModels.h"

class ISaveSetupDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;

// "Save Scan Data": the name the finished run is kept under, its properties,
// and where its readings are exported. OK keeps the run (Accepted); "&Delete",
// Escape and the close box end it with Rejected.
class CSaveScanDataDialog final : public QDialog {
public:
    // exportSettings runs the Export Data step without exporting and answers the
    // request's (possibly new) file name.
    CSaveScanDataDialog(SaveScanDataModel& model, ISaveSetupDialog* properties,
                        SaveScanDataModel::RowReader reader,
                        std::function<std::string()> exportSettings, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* ExportEdit() const { return m_export; }
    QGroupBox* ExportGroup() const { return m_exportGroup; }
    QPushButton* PropertiesButton() const { return m_properties; }
    QPushButton* ExportSettingsButton() const { return m_exportSettings; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* DeleteButton() const { return m_delete; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowProperties();

    SaveScanDataModel& m_model;
    ISaveSetupDialog* m_propertiesDialog;
    SaveScanDataModel::RowReader m_reader;
    std::function<std::string()> m_runExportSettings;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_export = nullptr;
    QGroupBox* m_exportGroup = nullptr;
    QPushButton* m_properties = nullptr;
    QPushButton* m_exportSettings = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_delete = nullptr;
};
