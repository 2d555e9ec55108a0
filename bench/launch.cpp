// Starts a program with the monotonic clock, read just before exec, in MERVEL_BENCH_T0: the
// program can then tell how long it took from its exec to whatever it measures. The clock is one
// for the whole machine, so the reading means the same in the new program.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: bench_launch PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char value[32];
    std::snprintf(value, sizeof value, "%lld",
                  static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    setenv("MERVEL_BENCH_T0", value, 1);
    execv(argv[1], argv + 1);
    std::perror(argv[1]);
    return 127;
}
