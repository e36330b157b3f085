#pragma once
#include <string>

#include <QString>

class QLineEdit;

// A display page's edits read back as the class library's data exchange does:
// a text that is no number shows the standard message, and the edit gets the
// focus with its text selected.
namespace pagefields {

bool ReadDouble(QLineEdit* edit, double& value);
bool ReadInteger(QLineEdit* edit, int& value);
// A check's message, then the focus to the edit with its text selected.
void Refuse(QLineEdit* edit, const std::string& message);
// A value as the edits show it.
QString NumberText(double value);

} // namespace pagefields
