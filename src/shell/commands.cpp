#include "shell/commands.h"

#include "platform/desktop.h"
#include "window/ruriruz.h"

#include <QAction>

Commands::Commands(Ruriruz& window, Desktop& desktop) : QObject(&window), desktop_(desktop) {
    connect(window.Exit, &QAction::triggered, this, &Commands::Exit_Click);
}

// Nothing to save: the program ends at once, with every window it has open.
void Commands::Exit_Click() {
    desktop_.endProgram();
}
