#pragma once
// The QApplication a benchmark of widgets needs, made on first use, on the offscreen platform
// unless QT_QPA_PLATFORM names another.
#include <QApplication>

namespace zov::bench {

inline QApplication& OffscreenApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing the application down among the exit-time destructors, after
    // widgets have been shown, crashes inside the platform plugin.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace zov::bench
