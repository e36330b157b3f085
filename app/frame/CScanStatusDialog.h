#pragma once
#include <QDialog>
#include <functional>

class CFXScan;
class QCheckBox;
class QListWidget;
class QPushButton;
class QStyledItemDelegate;

// Start Scanning - Scan Status: what the run will do, with Start, Cancel and
// the way to the scan settings. The rows come from CScanStatusSummary.
class CScanStatusDialog final : public QDialog {
public:
    CScanStatusDialog(CFXScan& scan, std::string interfaceName, bool setupInInstrument,
                      QWidget* parent = nullptr);

    // Opens the scan settings ("&Settings..." and a double click in the list);
    // the summary is filled again afterwards.
    void SetSettingsCommand(std::function<void()> command) { m_settings = std::move(command); }
    // After Start: 0 when "&Don't show this dialog on subsequent runs." was ticked.
    int ShowAgain() const { return m_showAgain; }

    void FillSummary();
    QListWidget* List() const { return m_list; }
    QCheckBox* DontShow() const { return m_dontShow; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* SettingsButton() const { return m_settingsButton; }

private:
    void OnSettings();
    void FitList();

    CFXScan& m_scan;
    std::string m_interface;
    bool m_setupInInstrument;
    std::function<void()> m_settings;
    int m_showAgain = 1;
    QListWidget* m_list = nullptr;
    QStyledItemDelegate* m_delegate = nullptr;
    QCheckBox* m_dontShow = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_settingsButton = nullptr;
};
