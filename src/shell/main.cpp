#include "shell/program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt aborts with a message about plugins; say plainly what is missing.
bool displayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs(
            "Mervel: нет графического дисплея (DISPLAY не задан).\n"
            "Mervel needs a graphical display, and none is set (DISPLAY is empty).\n"
            "To run it without one, use a virtual X server:  xvfb-run -a ",
            stderr);
        std::fputs(argv[0], stderr);
        std::fputs("\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    return runProgram();
}
