#pragma once

// The measurement both start-up benchmarks share: the time from the program's exec (as
// bench_launch recorded it) until the window's first frame is painted, the processor time spent
// by then (less at the mercy of other work on a busy machine), and the peak memory then.

#include <sys/resource.h>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bench {

inline long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The clock reading bench_launch took just before exec, or -1 when not started through it.
inline long long launchedAt() {
    const char* value = std::getenv("MERVEL_BENCH_T0");
    return value ? std::atoll(value) : -1;
}

// User and system time of all the process's threads so far, in nanoseconds.
inline long long processorNs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval& t) {
        return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_usec * 1000LL;
    };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// The peak resident set size so far, in KiB: VmHWM of /proc/self/status.
inline long peakResidentKb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) {
        return -1;
    }
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::atol(line + 6);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

// Waits for the window's first paint event. That event opens a painting pass which goes on to
// paint every child and flush the frame to the screen; a call queued from it runs once the pass
// is over, and there the figures are taken, printed, and the program ends.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget& window, long long start) : window_(window), start_(start) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && watched == &window_ && event->type() == QEvent::Paint) {
            seen_ = true;
            QMetaObject::invokeMethod(
                this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report() {
        const long long elapsed = monotonicNs() - start_;
        std::printf("startup_ns %lld cpu_ns %lld peak_rss_kb %ld\n", elapsed, processorNs(),
                    peakResidentKb());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    QWidget& window_;
    long long start_;
    bool seen_ = false;
};

// For main(): the start reading, or a word on how to get one.
inline bool startKnown(long long start) {
    if (start < 0) {
        std::fputs("Start this benchmark through bench_launch, which records when it starts.\n",
                   stderr);
        return false;
    }
    return true;
}

}  // namespace bench
