// Holds the instance lock from a separate process so tst_instancelock can see what another
// running copy, killed or shut down, does to the lock.
#include "platform/instancelock.h"

#include <csignal>
#include <cstdio>
#include <memory>

#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopRequested = 0;

void onTerminate(int) {
    stopRequested = 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lockholder DIRECTORY|--default\n", stderr);
        return 2;
    }

    // SIGTERM returns from main so the lock goes through the destructor, unlike SIGKILL. Block
    // it until sigsuspend() so a signal arriving right after "held" is not missed.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigaction(SIGTERM, &action, nullptr);

    const QString where = QString::fromLocal8Bit(argv[1]);
    auto lock = where == QStringLiteral("--default") ? std::make_unique<InstanceLock>()
                                                     : std::make_unique<InstanceLock>(where);
    if (!lock->tryAcquire()) {
        std::fputs("refused\n", stdout);
        std::fflush(stdout);
        return 1;
    }
    std::fputs(lock->isHeld() ? "held\n" : "unusable\n", stdout);
    if (!lock->lockFileUsable())
        std::fprintf(stderr, "%s\n", qPrintable(lock->problem()));
    std::fflush(stdout);
    // A holder whose test died is not left behind for good.
    alarm(120);
    while (!stopRequested)
        sigsuspend(&waitMask);
    return 0;
}
