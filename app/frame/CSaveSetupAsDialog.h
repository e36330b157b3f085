#pragma once
#include <memory>

#include <QDialog>

#include "app/ISaveDialogs.h"
#include "app/SaveSetupAsModel.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Save Setup As": keep the old setup and its datasets under a new setup, or
// overwrite it and remove its datasets. The choices and the name check live in
// SaveSetupAsModel; this window shows them.
class CSaveSetupAsDialog final : public QDialog {
public:
    CSaveSetupAsDialog(SaveSetupAsFields& fields, SaveSetupAsModel::SetupLookup lookup,
                       QWidget* parent = nullptr);
    ~CSaveSetupAsDialog() override;

    QRadioButton* CreateNewButton() const { return m_createNew; }
    QRadioButton* OverwriteButton() const { return m_overwrite; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* UserEdit() const { return m_user; }
    QPlainTextEdit* DescriptionEdit() const { return m_description; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    // Shows the model's name, enabled states and focus.
    void ShowModel();

    std::unique_ptr<SaveSetupAsModel> m_model;
    QRadioButton* m_createNew = nullptr;
    QRadioButton* m_overwrite = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_lastModified = nullptr;
    QLineEdit* m_user = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_showing = false;
};

// The conflict dialog as the save routine opens it, over the main window.
class QtSaveSetupAsDialog final : public ISaveSetupAsDialog {
public:
    QtSaveSetupAsDialog(SaveSetupAsModel::SetupLookup lookup, QWidget* parent)
        : m_lookup(std::move(lookup)), m_parent(parent) {}
    bool Run(SaveSetupAsFields& fields) override;

private:
    SaveSetupAsModel::SetupLookup m_lookup;
    QWidget* m_parent;
};
