#pragma once
#include <QImage>
#include <QString>

#include "graphics/CGraphView.h"

// The MIME type of a display's archive: the program's own clipboard format.
inline const QString kGraphicMimeType =
    QStringLiteral("application/x-qt-windows-mime;value=\"Tallyvane Graphic\"");

// A display's picture without its title band, as the clipboard carries it.
QImage RenderDisplayPicture(CGraphFrame& frame);
QByteArray RenderDisplaySvg(CGraphFrame& frame);

// The system clipboard: one entry with the display's archive under the
// program's own type, the text of its readings and its picture (PNG and SVG).
class QtGraphClipboard final : public IGraphClipboard {
public:
    bool PutDisplay(const std::vector<std::uint8_t>& archive, const std::string& text,
                    CGraphFrame* pictureOf) override;
    bool HasDisplay() const override;
    std::optional<std::vector<std::uint8_t>> GetDisplay() const override;
    static QtGraphClipboard& Instance();
};
