#include "shell/commands.h"

#include "platform/desktop.h"
#include "shell/frmabout.h"
#include "window/ruriruz.h"

#include <QAction>
#include <QDir>

Commands::Commands(Ruriruz& window, Desktop& desktop) : QObject(&window), desktop_(desktop) {
    connect(window.Exit, &QAction::triggered, this, &Commands::Exit_Click);
    connect(window.Help_me, &QAction::triggered, this, &Commands::Help_me_Click);
    connect(window.About, &QAction::triggered, this, &Commands::About_Click);
}

// The About box has no owner, so nothing else would take it down with the program.
Commands::~Commands() {
    delete about_;
}

// Nothing to save: the program ends at once, with every window it has open.
void Commands::Exit_Click() {
    delete about_;
    desktop_.endProgram();
}

// The help file lives beside the executable. The viewer runs on its own: the window stays usable.
void Commands::Help_me_Click() {
    const QString path = QDir::toNativeSeparators(
        QDir(desktop_.executableDirectory()).filePath(QStringLiteral("Helpfiles/Mervel.chm")));
    if (desktop_.fileExists(path)) {
        desktop_.openHelp(path);
        return;
    }
    desktop_.message(QStringLiteral("Файл ") + path + QStringLiteral(" не найден"));
}

// One About box at most: a second command brings the open one to the front.
void Commands::About_Click() {
    // A box that was just closed is hidden and on its way out; it does not count as loaded.
    if (!about_ || !about_->isVisible()) {
        about_ = new frmAbout;
        about_->Form_Load();
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}
