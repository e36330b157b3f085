#include "graphics/pages/PageFields.h"

#include <QLineEdit>

#include "platform/ui/Prompter.h"

namespace pagefields {

bool ReadDouble(QLineEdit* edit, double& value) {
    bool ok = false;
    value = edit->text().trimmed().toDouble(&ok);
    if (!ok)
        Refuse(edit, "Please enter a number.");
    return ok;
}

bool ReadInteger(QLineEdit* edit, int& value) {
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    if (!ok)
        Refuse(edit, "Please enter an integer.");
    return ok;
}

void Refuse(QLineEdit* edit, const std::string& message) {
    tvane::ShowMessage(message, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
    edit->setFocus();
    edit->selectAll();
}

QString NumberText(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace pagefields
