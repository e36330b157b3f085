#include "driver/sheet/SheetDialogFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace tvane::driver {

namespace {

// "MS Sans Serif", or "Arial" on a system that draws double-byte text, as every
// system here does; "Arial" is installed as its metric twin.
constexpr const char* kFace = "Arial";
constexpr const char* kInstalledFace = "Liberation Sans";
constexpr int kPoints = 8;

QString InstalledFamily() {
    for (const QString& family : QFontDatabase::families())
        if (family.compare(QLatin1String(kInstalledFace), Qt::CaseInsensitive) == 0 ||
            family.compare(QLatin1String(kFace), Qt::CaseInsensitive) == 0)
            return family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

const QFont& SheetDialogFont() {
    // Kept for the life of the process: the pages of every showing share it.
    static const QFont* font = [] {
        auto* f = new QFont(InstalledFamily(), kPoints, QFont::Normal);
        f->setStyleHint(QFont::SansSerif);
        return f;
    }();
    return *font;
}

void SetDialogFont(QWidget* page) {
    if (!page)
        return;
    const QFont& font = SheetDialogFont();
    for (QWidget* child : page->findChildren<QWidget*>())
        child->setFont(font);
}

} // namespace tvane::driver
