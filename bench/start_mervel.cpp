// Mervel's start-up, as src/shell/main.cpp does it, up to the first painted frame.
#include "firstpaint.h"
#include "platform/qtdesktop.h"
#include "shell/commands.h"
#include "window/ruriruz.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    const long long start = bench::launchedAt();
    if (!bench::startKnown(start)) {
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(MERVEL_VERSION));

    QtDesktop desktop;
    Ruriruz window(desktop);
    bench::FirstPaint watch(window, start);
    if (!window.Form_Load()) {
        return 1;
    }
    Commands commands(window, desktop);
    window.show();
    return QApplication::exec();
}
