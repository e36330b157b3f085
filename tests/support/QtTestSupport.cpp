#include "tests/support/QtTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace tvane::test {

QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "tvane_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::filesystem::path ArtifactPath(const std::string& name) {
    const auto dir = std::filesystem::path(TVANE_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(dir);
    return dir / name;
}

bool SaveArtifact(QWidget& widget, const std::string& name) {
    const QPixmap shot = widget.grab();
    return !shot.isNull() && shot.save(QString::fromStdString(ArtifactPath(name).string()));
}

bool SaveArtifact(const QImage& image, const std::string& name) {
    return !image.isNull() && image.save(QString::fromStdString(ArtifactPath(name).string()));
}

} // namespace tvane::test
