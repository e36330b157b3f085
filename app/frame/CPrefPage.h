#pragma once
#include <QDialog>

class CAppPreferences;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The Preferences sheet: one list line per item ("name<TAB>Yes/No"), a No/Yes
// choice for the selected item and its description. Edits change the items in
// memory; the caller saves them on OK and reloads them on Cancel.
class CPrefPage final : public QDialog {
public:
    explicit CPrefPage(CAppPreferences& preferences, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    QComboBox* Choice() const { return m_choice; }
    QLabel* Description() const { return m_description; }
    QPushButton* RestoreButton() const { return m_restore; }

    // Refuses to close while an item fails its bounds ("Invalid Entry: %s").
    void accept() override;

private:
    void ShowItem(int row);
    void SetValue(int row, const std::string& value);
    void RebuildLine(int row);

    CAppPreferences& m_preferences;
    QListWidget* m_list = nullptr;
    QComboBox* m_choice = nullptr;
    QLabel* m_description = nullptr;
    QPushButton* m_restore = nullptr;
};

// Runs the sheet modally: OK saves every item, Cancel reloads them all from the
// profile. True on OK.
bool EditPreferences(CAppPreferences& preferences, QWidget* parent);
