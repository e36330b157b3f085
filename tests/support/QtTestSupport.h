#pragma once
// What the tests with windows share: one application object and the pictures
// they leave under the build's artifacts/ folder for a person to look at.
#include <filesystem>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "platform/core/Format.h"

namespace tvane::test {

// The one application object of a test program, on the offscreen platform;
// made on first use, before any widget of a test.
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "tvane_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* made = new QApplication(argc, argv);
        tvane::KeepCNumberFormat(); // as the programs do
        return made;
    }();
    return *app;
}

// The application exists before the members of a fixture that derives from it.
struct WithTestApp {
    WithTestApp() { TestApp(); }
};

// artifacts/<name> in the build folder, the folder made when missing.
inline std::filesystem::path ArtifactPath(const std::string& name) {
    const auto dir = std::filesystem::path(TVANE_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(dir);
    return dir / name;
}

// Saves an image, or the widget's picture, as artifacts/<name> (the format from
// the name's extension); false when it could not be written.
inline bool SaveArtifact(const QImage& image, const std::string& name) {
    return !image.isNull() && image.save(QString::fromStdString(ArtifactPath(name).string()));
}
inline bool SaveArtifact(QWidget& widget, const std::string& name) {
    return SaveArtifact(widget.grab().toImage(), name);
}

} // namespace tvane::test
