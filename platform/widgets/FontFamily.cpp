#include "platform/widgets/FontFamily.h"

namespace tvane {

QString ResolveFontFamily(std::string_view face) {
    if (face == "Arial" || face == "Helvetica")
        return QStringLiteral("Liberation Sans");
    if (face == "Times New Roman")
        return QStringLiteral("Liberation Serif");
    if (face == "Courier New")
        return QStringLiteral("Liberation Mono");
    if (face == "MS Sans Serif" || face == "MS Shell Dlg" || face == "System")
        return QStringLiteral("Sans Serif");
    return QString::fromUtf8(face.data(), qsizetype(face.size()));
}

} // namespace tvane
