#pragma once
#include <QApplication>

// One application object for every test of the executable (offscreen).
inline QApplication& GridTestApp() {
    static int argc = 1;
    static char name[] = "tvane_gridview_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The application exists before any widget of a test.
struct WithGridTestApp {
    WithGridTestApp() { GridTestApp(); }
};
