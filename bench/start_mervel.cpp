// Mervel's own start-up, up to the first painted frame.
#include "firstpaint.h"
#include "shell/program.h"
#include "window/ruriruz.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[]) {
    const long long start = bench::launchedAt();
    if (!bench::startKnown(start)) {
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<bench::FirstPaint> watch;
    return runProgram([&watch, start](Ruriruz& window) {
        watch = std::make_unique<bench::FirstPaint>(window, start);
    });
}
