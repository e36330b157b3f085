#pragma once
#include <QApplication>

// One application object for every test of the executable (offscreen).
inline QApplication& WidgetsTestApp() {
    static int argc = 1;
    static char name[] = "tvane_widgets_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}
