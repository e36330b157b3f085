#pragma once
#include <QDialog>
#include <QString>

class QLineEdit;

namespace tvane::driver {

// "Rename State": one field with the state's name. OK refuses a name the
// instrument would not take, says why in a message box and stays open.
class CRenameStateDialog final : public QDialog {
public:
    explicit CRenameStateDialog(const QString& name, QWidget* parent = nullptr);

    QString Name() const;
    QLineEdit* NameEdit() const { return m_name; }

    void accept() override;

private:
    QLineEdit* m_name = nullptr;
};

} // namespace tvane::driver
