#pragma once
// What the tests with windows share: one application object and the pictures
// they leave under the build's artifacts/ folder for a person to look at.
#include <filesystem>
#include <string>

class QApplication;
class QImage;
class QWidget;

namespace tvane::test {

// The one application object of a test program, on the offscreen platform;
// made on first use, before any widget of a test.
QApplication& TestApp();

// The application exists before the members of a fixture that derives from it.
struct WithTestApp {
    WithTestApp() { TestApp(); }
};

// artifacts/<name> in the build folder, the folder made when missing.
std::filesystem::path ArtifactPath(const std::string& name);

// Saves the widget's picture, or an image, as artifacts/<name> (the format from
// the name's extension); false when it could not be written.
bool SaveArtifact(QWidget& widget, const std::string& name);
bool SaveArtifact(const QImage& image, const std::string& name);

} // namespace tvane::test
