#include "shared/view/MfxFontQt.h"

#include <memory>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QWidget>

#include "platform/widgets/FontFamily.h"

namespace {

constexpr std::uint8_t kFixedPitch = 1; // TMPF_FIXED_PITCH clear means fixed

bool IsGenericSans(std::string_view face) {
    return face == "MS Sans Serif" || face == "MS Shell Dlg" || face == "System";
}

std::unique_ptr<QFont>& DialogFontSlot() {
    static std::unique_ptr<QFont> font;
    return font;
}

} // namespace

QtFontDevice::QtFontDevice() : m_dpiY(96) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_dpiY = qRound(screen->logicalDotsPerInchY());
}

QtFontDevice::QtFontDevice(const QPaintDevice& device) : m_dpiY(device.logicalDpiY()) {}

QString ResolveFamily(std::string_view face) {
    return tvane::ResolveFontFamily(face);
}

std::optional<LOGFONT> QtFontDevice::FindFace(std::string_view face) const {
    if (IsGenericSans(face)) {
        LOGFONT lf = StockVariableFont();
        lf.SetFaceName(face);
        return lf;
    }
    const QString family = ResolveFamily(face);
    for (const QString& installed : QFontDatabase::families()) {
        if (installed.compare(family, Qt::CaseInsensitive) == 0) {
            LOGFONT lf;
            lf.lfWeight = 400;
            lf.lfPitchAndFamily = QFontDatabase::isFixedPitch(installed) ? 0x31 : 0x22;
            // Reported under the name asked for, as the metric twin stands in for it.
            lf.SetFaceName(face);
            return lf;
        }
    }
    return std::nullopt;
}

LOGFONT QtFontDevice::StockVariableFont() const {
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    lf.lfPitchAndFamily = 0x22;
    lf.SetFaceName("MS Sans Serif");
    return lf;
}

QFont ToQFont(const LOGFONT& lf) {
    const std::string face = lf.FaceName();
    QFont font(ResolveFamily(face));
    font.setStyleHint((lf.lfPitchAndFamily & 0x03) == kFixedPitch ? QFont::Monospace
                                                                  : QFont::SansSerif);
    if (lf.lfHeight != 0)
        font.setPixelSize(std::abs(lf.lfHeight));
    if (lf.lfWeight > 0)
        font.setWeight(QFont::Weight(std::clamp(int(lf.lfWeight), 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

LOGFONT FromQFont(const QFont& font, int dpiY) {
    LOGFONT lf;
    if (font.pixelSize() > 0)
        lf.lfHeight = -font.pixelSize();
    else
        lf.lfHeight = -qRound(font.pointSizeF() * dpiY / 72.0);
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.lfPitchAndFamily = font.fixedPitch() ? 0x31 : 0x22;
    const QString family = font.family();
    lf.SetFaceName(family == QLatin1String("Liberation Sans") ? std::string("Arial")
                                                              : family.toStdString());
    return lf;
}

QFont CreateFontByPoints(const IFontDevice* device, std::string_view face, std::int16_t points,
                         unsigned flags) {
    const QtFontDevice screen;
    return ToQFont(LogFontByPoints(device ? *device : screen, face, points, flags));
}

QFont CreateFontByHeight(const IFontDevice* device, std::string_view face, double height,
                         unsigned flags) {
    const QtFontDevice screen;
    return ToQFont(LogFontByHeight(device ? *device : screen, face, height, flags));
}

std::uint16_t GetAverageCharWidth(const QFont& font) {
    const QFontMetrics metrics(font);
    if (QFontInfo(font).fixedPitch())
        return std::uint16_t(metrics.averageCharWidth());
    const int width = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return std::uint16_t(width / 52);
}

bool CreateDialogFont(const IFontDevice* device) {
    auto& slot = DialogFontSlot();
    if (slot)
        return false;
    // Every face here draws double-byte text.
    slot = std::make_unique<QFont>(
        CreateFontByPoints(device, DialogFontFace(true), kDialogFontPoints, 0));
    return true;
}

void ApplyDialogFont(QWidget* parent) {
    const QFont* font = DialogFont();
    if (!parent || !font)
        return;
    for (QWidget* child : parent->findChildren<QWidget*>())
        child->setFont(*font);
}

void DeleteDialogFont() {
    DialogFontSlot().reset();
}

const QFont* DialogFont() {
    return DialogFontSlot().get();
}
