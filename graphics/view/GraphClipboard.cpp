#include "graphics/view/GraphClipboard.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "graphics/CGraphFrame.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtText.h"

namespace {

// The picture is the client area less the title band.
GRect PictureRect(CGraphFrame& frame) {
    const GRect data = frame.GetDataRect();
    const GRect client = frame.HasWindow()
                             ? frame.GetWindow()->GetClientRect()
                             : GRect{0, 0, frame.m_rect.Width(), frame.m_rect.Height()};
    return {data.left, data.top, client.right, client.bottom};
}

void DrawPicture(CGraphFrame& frame, QPainter& painter, const GRect& r) {
    painter.translate(-r.left, -r.top);
    QtGraphDC dc(painter);
    frame.DrawFrame(dc, nullptr);
}

} // namespace

QImage RenderDisplayPicture(CGraphFrame& frame) {
    const GRect r = PictureRect(frame);
    QImage image(std::max(1, r.Width()), std::max(1, r.Height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPicture(frame, painter, r);
    return image;
}

QByteArray RenderDisplaySvg(CGraphFrame& frame) {
    const GRect r = PictureRect(frame);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(std::max(1, r.Width()), std::max(1, r.Height())));
    svg.setViewBox(QRect(0, 0, std::max(1, r.Width()), std::max(1, r.Height())));
    svg.setTitle(tvane::ToQString(frame.GetTitle()));
    QPainter painter(&svg);
    DrawPicture(frame, painter, r);
    painter.end();
    return bytes;
}

bool QtGraphClipboard::PutDisplay(const std::vector<std::uint8_t>& archive, const std::string& text,
                                  CGraphFrame* pictureOf) {
    if (!QApplication::instance())
        return false;
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard)
        return false;
    auto* data = new QMimeData;
    if (!archive.empty())
        data->setData(kGraphicMimeType, QByteArray(reinterpret_cast<const char*>(archive.data()),
                                                   static_cast<qsizetype>(archive.size())));
    if (!text.empty())
        data->setText(tvane::ToQString(text));
    if (pictureOf) {
        data->setImageData(RenderDisplayPicture(*pictureOf));
        data->setData(QStringLiteral("image/svg+xml"), RenderDisplaySvg(*pictureOf));
    }
    clipboard->setMimeData(data);
    return true;
}

bool QtGraphClipboard::HasDisplay() const {
    if (!QApplication::instance())
        return false;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(kGraphicMimeType);
}

std::optional<std::vector<std::uint8_t>> QtGraphClipboard::GetDisplay() const {
    if (!HasDisplay())
        return std::nullopt;
    const QByteArray bytes = QApplication::clipboard()->mimeData()->data(kGraphicMimeType);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

QtGraphClipboard& QtGraphClipboard::Instance() {
    static QtGraphClipboard clipboard;
    return clipboard;
}
