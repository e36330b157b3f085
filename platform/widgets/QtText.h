#pragma once
#include <string>

#include <QString>

namespace tvane {

// Texts are UTF-8 in std::string everywhere but on the widgets.
inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace tvane
