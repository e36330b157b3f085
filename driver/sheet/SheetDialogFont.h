#pragma once

class QFont;
class QWidget;

namespace tvane::driver {

// The font of the settings pages, created once per process: 8 points, normal
// weight, in the face the dialogs have always used, or the system's
// variable-width face when that one is not installed.
const QFont& SheetDialogFont();
// Sets the font on every child window of page.
void SetDialogFont(QWidget* page);

} // namespace tvane::driver
