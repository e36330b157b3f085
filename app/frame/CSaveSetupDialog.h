#pragma once
#include <memory>

#include <QDialog>

#include "app/ISaveDialogs.h"
#include "app/SaveSetupModel.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Save Setup": the name, user and description of a setup or dataset. The rules
// live in SaveSetupModel; the caller sets the model's fields before the window
// is built and reads them back after OK.
class CSaveSetupDialog final : public QDialog {
public:
    // The model is filled by the caller; the window initialises it and shows it.
    CSaveSetupDialog(SaveSetupModel& model, QWidget* parent = nullptr);
    ~CSaveSetupDialog() override;

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* LastModifiedEdit() const { return m_lastModified; }
    QLineEdit* UserEdit() const { return m_user; }
    QPlainTextEdit* DescriptionEdit() const { return m_description; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    SaveSetupModel& m_model;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_lastModified = nullptr;
    QLineEdit* m_user = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QPushButton* m_ok = nullptr;
};

// The properties dialog as the save routine opens it, over the main window.
class QtSaveSetupDialog final : public ISaveSetupDialog {
public:
    QtSaveSetupDialog(SaveSetupModel::Lookups lookups, QWidget* parent)
        : m_lookups(std::move(lookups)), m_parent(parent) {}
    bool Run(SavePropertiesFields& fields) override;

private:
    SaveSetupModel::Lookups m_lookups;
    QWidget* m_parent;
};
