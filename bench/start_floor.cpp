// The floor for start-up: a bare Qt main window holding one label, up to the first painted frame.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    const long long start = bench::launchedAt();
    if (!bench::startKnown(start)) {
        return 2;
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setCentralWidget(new QLabel(QStringLiteral("Преобразование единиц измерения")));
    bench::FirstPaint watch(window, start);
    window.show();
    return QApplication::exec();
}
