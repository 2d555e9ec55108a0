#include "shell/displaycheck.h"
#include "shell/program.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    DisplayCheck display = checkDisplay(argc, argv);
    if (!display.usable()) {
        std::fputs(displayProblem(display).c_str(), stderr);
        std::fprintf(stderr, "To run it without one, use a virtual X server:  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    display.xConnection.reset();  // Qt holds its own now
    return runProgram();
}
