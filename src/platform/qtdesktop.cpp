#include "platform/qtdesktop.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

QtDesktop::QtDesktop() : bell_(QStringLiteral("canberra"), [] { QApplication::beep(); }) {}

// Where Qt's beep would go unheard (Wayland, XWayland) the desktop's bell sound plays instead.
void QtDesktop::beep() {
    if (EventSound::qtBeepUnheard())
        bell_.play();
    else
        QApplication::beep();
}

void QtDesktop::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDesktop::previousInstance() {
    if (!lock_.tryAcquire())
        return true;
    // The program still starts, but the user should know why two copies may now run.
    if (!lock_.lockFileUsable())
        std::fprintf(stderr, "Mervel: проверка второй копии отключена: %s\n",
                     qPrintable(lock_.problem()));
    return false;
}

void QtDesktop::endProgram() {
    QCoreApplication::quit();
}

// QLocale::system() follows LC_ALL, LC_NUMERIC and LANG, in that order.
QLocale QtDesktop::numberLocale() const {
    return QLocale::system();
}

QString QtDesktop::executableDirectory() const {
    return QCoreApplication::applicationDirPath();
}

bool QtDesktop::fileExists(const QString& path) const {
    return QFileInfo(path).isFile();
}
