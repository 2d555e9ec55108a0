#pragma once

#include <functional>

class Ruriruz;

// Runs the program inside the QApplication the caller made: the converter window with its load
// sequence, the menu commands, the event loop. `watch`, when given, sees the window before it
// loads (the start-up benchmark times its first paint). Returns the exit code.
int runProgram(const std::function<void(Ruriruz&)>& watch = {});

// Qt's own texts (the editors' context menus, dialog buttons) in Russian, whatever the user's
// locale, as every other text of the program. False when Qt's Russian translations are not
// installed; the texts stay English then.
bool loadQtTranslations();
