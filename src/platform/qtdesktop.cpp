#include "platform/qtdesktop.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h must come first.
#include <htmlhelp.h>
#pragma comment(lib, "htmlhelp.lib")
#endif

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

// The path goes to the viewer as one argument, never through a shell: spaces, quotes and
// "$(...)" in it are just characters of a file name. Elsewhere the program's own help window
// shows the file, and this is never called.
void QtDesktop::openHelp(const QString& path) {
#ifdef Q_OS_WIN
    HtmlHelpW(nullptr, reinterpret_cast<LPCWSTR>(path.utf16()), HH_DISPLAY_TOPIC, 0);
#else
    Q_UNUSED(path);
#endif
}
