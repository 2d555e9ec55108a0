#include "shell/displaycheck.h"
#include "shell/program.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    const DisplayCheck display = checkDisplay(argc, argv);
    if (display.state != DisplayState::Usable) {
        if (display.state == DisplayState::NotSet) {
            std::fputs(
                "Mervel: нет графического дисплея (DISPLAY не задан).\n"
                "Mervel needs a graphical display, and none is set (DISPLAY is empty).\n",
                stderr);
        } else {
            std::fprintf(stderr,
                         "Mervel: нет графического дисплея (X-сервер %s недоступен).\n"
                         "Mervel needs a graphical display, and the X server %s cannot be "
                         "reached.\n",
                         display.display.c_str(), display.display.c_str());
        }
        std::fprintf(stderr, "To run it without one, use a virtual X server:  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    return runProgram();
}
