#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include <QFont>

#include "shared/CMfxFont.h"

class QPaintDevice;
class QWidget;

// Font creation over Qt's installed faces. Windows faces are matched to the
// metric-compatible faces installed here ("Arial" draws as Liberation Sans).
class QtFontDevice final : public IFontDevice {
public:
    // The screen's vertical resolution.
    QtFontDevice();
    explicit QtFontDevice(int dpiY) : m_dpiY(dpiY) {}
    explicit QtFontDevice(const QPaintDevice& device);

    int LogPixelsY() const override { return m_dpiY; }
    std::optional<LOGFONT> FindFace(std::string_view face) const override;
    LOGFONT StockVariableFont() const override;

private:
    int m_dpiY;
};

// The installed family a stored face name draws with.
QString ResolveFamily(std::string_view face);
// The drawing font for a description; heights are in pixels.
QFont ToQFont(const LOGFONT& lf);
// The description of a drawing font, sized at dpiY when it is set in points.
LOGFONT FromQFont(const QFont& font, int dpiY);

// Creates a font from a face name (may be empty) and a size; device null means
// the screen. Flags are the FontStyle bits.
QFont CreateFontByPoints(const IFontDevice* device, std::string_view face, std::int16_t points,
                         unsigned flags);
QFont CreateFontByHeight(const IFontDevice* device, std::string_view face, double height,
                         unsigned flags);
// Average width of the font's characters: the font's own figure for a fixed
// pitch font, otherwise the width of "a".."z" "A".."Z" divided by 52.
std::uint16_t GetAverageCharWidth(const QFont& font);

// The one font all dialogs share. Returns whether a font was created.
bool CreateDialogFont(const IFontDevice* device = nullptr);
// Sets the dialog font on every child of parent.
void ApplyDialogFont(QWidget* parent);
void DeleteDialogFont();
// The dialog font, if created.
const QFont* DialogFont();
