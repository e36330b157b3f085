#pragma once

class QDialog;
class QFont;
class QLayout;
class QString;
class QWidget;

namespace tvane::comm {

// Style bits of PointFont.
enum PointFontStyle : int {
    kFontItalic = 1,
    kFontUnderline = 2,
    kFontStrikeOut = 4,
    kFontBold = 8,
};

// A font of face at the given point size; when the face is not installed, the
// system's general font with that size and style.
QFont PointFont(const QString& face, int points, int style);

// The font of the control's dialogs, created once per process: 8 points, in the
// face the dialogs have always used, or its installed twin.
const QFont& CommDialogFont();
// Sets the dialog font on every child window of dialog.
void ApplyDialogFont(QWidget* dialog);
// Centres dialog over its parent, or over the screen when it has none.
void CentreDialog(QWidget* dialog);
// Lays out a dialog of one form and OK and Cancel, in the dialog font, centred.
void LayOutFormDialog(QDialog* dialog, QLayout* form);

} // namespace tvane::comm
