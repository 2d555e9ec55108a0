#include "platform/qtdesktop.h"

#include <QApplication>
#include <QMessageBox>

void QtDesktop::beep() {
    QApplication::beep();
}

void QtDesktop::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDesktop::previousInstance() {
    return !lock_.tryAcquire();
}

void QtDesktop::endProgram() {
    QCoreApplication::quit();
}

// QLocale::system() follows LC_ALL, LC_NUMERIC and LANG, in that order.
QLocale QtDesktop::numberLocale() const {
    return QLocale::system();
}
