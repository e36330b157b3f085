#pragma once
#include <functional>

#include <QDialog>

#include "app/IEventEditDialog.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The Add Event dialog; with the caption "Edit Event" it edits an event of the
// log. The type and the date/time are shown only: what is read back is the
// channel, the channel text, the type text and the description.
class CEventEditDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxDescription = 255;
    static constexpr int kMaxType = 20;

    CEventEditDialog(CLoggerDoc& document, CEventEditFields& fields, QWidget* parent = nullptr);

    QLineEdit* EntryType() const { return m_type; }
    QComboBox* Channel() const { return m_channel; }
    QLineEdit* DateTime() const { return m_time; }
    QPlainTextEdit* Description() const { return m_description; }

    void accept() override;

private:
    CLoggerDoc& m_doc;
    CEventEditFields& m_fields;
    QLineEdit* m_type;
    QComboBox* m_channel;
    QLineEdit* m_time;
    QPlainTextEdit* m_description;
};

// Runs the dialog modally for the document and the event log's Edit. Tests
// replace the modal run with one that works the dialog and closes it.
class EventEditDialogRunner final : public IEventEditDialog {
public:
    using Exec = std::function<int(CEventEditDialog&)>;
    explicit EventEditDialogRunner(QWidget* parent = nullptr, Exec exec = {})
        : m_parent(parent), m_exec(std::move(exec)) {}
    bool Run(CLoggerDoc& document, CEventEditFields& fields) override;
    void SetExec(Exec exec) { m_exec = std::move(exec); }

private:
    QWidget* m_parent;
    Exec m_exec;
};
