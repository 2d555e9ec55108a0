// The cost of a keystroke that converts, against a keystroke into a bare QLineEdit, on Qt's
// offscreen platform. Both windows live in this one process and take turns, block by block; each
// block types "5" and Backspace into a box holding "1", over and over. In Mervel's box 0 of the
// lengths panel each of those keys passes the key filter, converts and writes box 1.
//
// Prints: key_ratio MEDIAN Q1 Q3 PAIRS, the ratios of the pairs' block times.
#include "platform/qtdesktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

qint64 timeBlock(QWidget& window, QLineEdit& box, int iterations) {
    window.activateWindow();
    box.setFocus();
    box.setText(QStringLiteral("1"));  // also drops the undo history the last block built up
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < iterations; ++i) {
        QTest::keyClick(&box, '5');
        QTest::keyClick(&box, Qt::Key_Backspace);
    }
    const qint64 elapsed = timer.nsecsElapsed();
    QCoreApplication::processEvents();  // the repaints the block asked for, off the clock
    return elapsed;
}

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 21;
    const int iterations = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (pairs < 1 || iterations < 1) {
        std::fputs("usage: bench_keys [PAIRS [ITERATIONS]]\n", stderr);
        return 2;
    }

    QtDesktop desktop;  // the real one, as the program has it
    Ruriruz window(desktop);
    if (!window.Form_Load()) {
        return 1;
    }
    window.show();
    QMainWindow floor;
    auto* plain = new QLineEdit;
    floor.setCentralWidget(plain);
    floor.show();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowExposed(&floor)) {
        std::fputs("bench_keys: the windows were never exposed\n", stderr);
        return 1;
    }

    // Every timed key must convert: typed keys reach box 0, and box 1 follows each of them.
    TextBox& box = *window.controls().Text1[0];
    const TextBox& other = *window.controls().Text1[1];
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, '1');
    QTest::keyClick(&box, '5');
    const bool followsDigit = other.text() == u"15";
    QTest::keyClick(&box, Qt::Key_Backspace);
    if (!followsDigit || other.text() != u"1") {
        std::fprintf(stderr,
                     "bench_keys: box 1 does not follow the keys (box 0 \"%s\", box 1 \"%s\")\n",
                     qPrintable(box.text()), qPrintable(other.text()));
        return 1;
    }

    timeBlock(window, box, iterations / 4);  // warm-up, both ways
    timeBlock(floor, *plain, iterations / 4);
    std::vector<double> ratios;
    for (int p = 0; p < pairs; ++p) {
        qint64 mervel = 0;
        qint64 bare = 0;
        if (p % 2 == 0) {
            mervel = timeBlock(window, box, iterations);
            bare = timeBlock(floor, *plain, iterations);
        } else {
            bare = timeBlock(floor, *plain, iterations);
            mervel = timeBlock(window, box, iterations);
        }
        ratios.push_back(static_cast<double>(mervel) / static_cast<double>(bare));
    }
    if (box.text() != u"1" || other.text() != u"1") {
        std::fputs("bench_keys: a timed key did not convert cleanly\n", stderr);
        return 1;
    }
    std::printf("key_ratio %.2f %.2f %.2f %d\n", quantile(ratios, 0.5), quantile(ratios, 0.25),
                quantile(ratios, 0.75), pairs);
    return 0;
}
