#include "shell/commands.h"

#include "help/helpwindow.h"
#include "platform/accesskeys.h"
#include "platform/desktop.h"
#include "shell/frmabout.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QScreen>
#include <utility>

Commands::Commands(Ruriruz& window, Desktop& desktop)
    : QObject(&window), window_(window), desktop_(desktop) {
    connect(window.controls().Exit, &QAction::triggered, this, &Commands::Exit_Click);
    connect(window.controls().Help_me, &QAction::triggered, this, &Commands::Help_me_Click);
    connect(window.controls().About, &QAction::triggered, this, &Commands::About_Click);
    window.controls().Help_me->installEventFilter(this);
}

// The About box and the help window have no owner, so nothing else would take them down with
// the program.
Commands::~Commands() {
    delete about_;
}

// F1 reaches the help command as the action's shortcut event; the menu item does not.
bool Commands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.controls().Help_me && event->type() == QEvent::Shortcut) {
        byKey_ = true;
    }
    return QObject::eventFilter(watched, event);
}

// Nothing to save: the program ends at once, with every window it has open.
void Commands::Exit_Click() {
    delete about_;
    help_.reset();
    desktop_.endProgram();
}

// The help file lives beside the executable. F1 asks about the category on screen, the menu
// item for the help as a whole. The help runs beside the converter: the window stays usable.
void Commands::Help_me_Click() {
    const bool byKey = std::exchange(byKey_, false);
    const QString path = QDir::toNativeSeparators(
        QDir(desktop_.executableDirectory()).filePath(QStringLiteral("Helpfiles/Mervel.chm")));
    if (!desktop_.fileExists(path)) {
        desktop_.message(QStringLiteral("Файл ") + path + QStringLiteral(" не найден"));
        return;
    }
    QString topic;
    if (const window::Category* category =
            window::categoryAt(window_.controls().TabStrip1->selectedIndex());
        byKey && category) {
        topic = QString::fromUtf8(category->caption);
    }
    showHelp(path, topic);
}

void Commands::showHelp(const QString& path, const QString& topic) {
    if (!help_) {
        if (!ChmArchive::readerAvailable()) {
            desktop_.message(QStringLiteral("Справку нельзя показать: нет библиотеки libchm1"));
            return;
        }
        help_ = HelpWindow::open(path);
        if (!help_) {
            desktop_.message(QStringLiteral("Файл ") + path +
                             QStringLiteral(" поврежден: его нельзя прочитать как справку"));
            return;
        }
        new AccessKeys(*help_);  // the window's access letters under every layout
        if (const QScreen* screen = window_.screen()) {
            help_->fitOn(*screen);
        }
    }
    if (topic.isEmpty()) {
        help_->showStart();
    } else {
        help_->showTopic(topic);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
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
