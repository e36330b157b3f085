#include "comm/sheet/CommDialogFont.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace tvane::comm {

namespace {

// "MS Sans Serif", or "Arial" on a system that draws double-byte text, as every
// system here does; "Liberation Sans" is installed as Arial's metric twin.
constexpr const char* kFace = "Arial";
constexpr const char* kInstalledTwin = "Liberation Sans";
constexpr int kPoints = 8;

QString Installed(const QString& face) {
    for (const QString& family : QFontDatabase::families())
        if (family.compare(face, Qt::CaseInsensitive) == 0)
            return family;
    return {};
}

} // namespace

QFont PointFont(const QString& face, int points, int style) {
    QString family = Installed(face);
    QFont font =
        family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(family);
    font.setPointSize(points);
    font.setWeight((style & kFontBold) ? QFont::Bold : QFont::Normal);
    font.setItalic((style & kFontItalic) != 0);
    font.setUnderline((style & kFontUnderline) != 0);
    font.setStrikeOut((style & kFontStrikeOut) != 0);
    return font;
}

const QFont& CommDialogFont() {
    // Kept for the life of the process: every dialog of the control shares it.
    static const QFont* font = [] {
        const QString face = Installed(QLatin1String(kFace)).isEmpty()
                                 ? QString::fromLatin1(kInstalledTwin)
                                 : QString::fromLatin1(kFace);
        auto* f = new QFont(PointFont(face, kPoints, 0));
        f->setStyleHint(QFont::SansSerif);
        return f;
    }();
    return *font;
}

void ApplyDialogFont(QWidget* dialog) {
    if (!dialog)
        return;
    const QFont& font = CommDialogFont();
    for (QWidget* child : dialog->findChildren<QWidget*>())
        child->setFont(font);
}

void CentreDialog(QWidget* dialog) {
    if (!dialog)
        return;
    dialog->adjustSize();
    QRect area;
    if (QWidget* parent = dialog->parentWidget())
        area = parent->window()->geometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        dialog->move(area.center() - dialog->rect().center());
}

void LayOutFormDialog(QDialog* dialog, QLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ApplyDialogFont(dialog);
    CentreDialog(dialog);
}

} // namespace tvane::comm
