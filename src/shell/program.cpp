#include "shell/program.h"

#include "platform/qtdesktop.h"
#include "shell/commands.h"
#include "shell/version.h"
#include "window/ruriruz.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadQtTranslations() {
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int runProgram(const std::function<void(Ruriruz&)>& watch) {
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(MERVEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MERVEL_APP_ID));
    loadQtTranslations();
    QtDesktop desktop;
    Ruriruz window(desktop);
    if (watch) {
        watch(window);
    }
    if (!window.Form_Load()) {
        return 1;  // another copy runs; the user has been told
    }
    Commands commands(window, desktop);
    window.show();
    return QApplication::exec();
}
