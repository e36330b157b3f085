#pragma once
#include <QDialog>

class CUploadDialogModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The Upload dialog: the instrument's modules, readings and scanning state, and
// the user's choices, all kept in the model; the window mirrors it.
class CUploadDlg final : public QDialog {
public:
    explicit CUploadDlg(CUploadDialogModel& model, QWidget* parent = nullptr);

    QRadioButton* NewSetupButton() const { return m_newSetup; }
    QRadioButton* CurrentSetupButton() const { return m_currentSetup; }
    QLineEdit* NameEdit() const { return m_name; }
    QRadioButton* StopButton() const { return m_stop; }
    QRadioButton* ContinueButton() const { return m_continue; }
    QCheckBox* IncludeDataBox() const { return m_includeData; }
    QLabel* ScanningLabel() const { return m_scanningText; }
    QLabel* ReadingsLabel() const { return m_readingsText; }
    QLabel* SlotLabel(int index) const { return m_slots[index]; }

    // OK: the choice goes to the model first.
    void accept() override;

private:
    void Mirror();

    CUploadDialogModel& m_model;
    QRadioButton* m_newSetup;
    QRadioButton* m_currentSetup;
    QLineEdit* m_name;
    QRadioButton* m_stop;
    QRadioButton* m_continue;
    QCheckBox* m_includeData;
    QLabel* m_scanningText;
    QLabel* m_readingsText;
    QLabel* m_slots[3];
    bool m_mirroring = false;
};
