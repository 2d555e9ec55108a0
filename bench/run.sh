#!/usr/bin/env bash
# Measures Mervel against a bare Qt window built by the same project, side by side in one run, and
# prints each figure as a ratio (median of alternating pairs, with the quartiles):
#   start-up  exec to the first painted frame, on a virtual X server; beside it the processor
#             time spent by then, which other work on a busy machine disturbs less
#   keystroke a key into box 0 of the lengths panel, which converts into box 1, against a key
#             into a bare QLineEdit (offscreen platform)
#   memory    peak resident set size at the first painted frame
# Usage: bench/run.sh [BUILD_DIR] [PAIRS]: PAIRS defaults to 41; without BUILD_DIR, scripts/build
# builds build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${2:-41}
"$root/scripts/deps"
if [ -n "${1:-}" ]; then
    build=$(mkdir -p "$1" && cd "$1" && pwd)
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVEL_WERROR=ON \
        >/dev/null
    cmake --build "$build" --target bench_launch bench_start_mervel bench_start_floor bench_keys
else
    build=$root/build
    "$root/scripts/build"
fi
bin=$build/bench

# A virtual X server and the instance lock of the start-up runs in a session of the run's own.
source "$root/scripts/session.sh"
session_start 1024x768x24
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON  # measured as a user without a screen reader starts it

# median, first and third quartile of the numbers on stdin
quartiles() {
    sort -g | awk '{ v[NR] = $1 }
        function q(p,  at, i) { at = 1 + p * (NR - 1); i = int(at); return v[i] + (v[i + 1 < NR ? i + 1 : NR] - v[i]) * (at - i) }
        END { printf "%.2f %.2f %.2f\n", q(0.5), q(0.25), q(0.75) }'
}

# Start-up and memory: each run prints "startup_ns N cpu_ns C peak_rss_kb K".
start() { QT_QPA_PLATFORM=xcb "$bin/bench_launch" "$bin/$1"; }
start bench_start_mervel >/dev/null  # warm-up: caches, fontconfig
start bench_start_floor >/dev/null
: >"$work/time" && : >"$work/cpu" && : >"$work/memory"
for ((i = 0; i < pairs; i++)); do
    if ((i % 2 == 0)); then
        m=$(start bench_start_mervel)
        f=$(start bench_start_floor)
    else
        f=$(start bench_start_floor)
        m=$(start bench_start_mervel)
    fi
    read -r _ mt _ mc _ mm <<<"$m"
    read -r _ ft _ fc _ fm <<<"$f"
    awk -v a="$mt" -v b="$ft" 'BEGIN { print a / b }' >>"$work/time"
    awk -v a="$mc" -v b="$fc" 'BEGIN { print a / b }' >>"$work/cpu"
    awk -v a="$mm" -v b="$fm" 'BEGIN { print a / b }' >>"$work/memory"
done
read -r startMed startQ1 startQ3 < <(quartiles <"$work/time")
read -r cpuMed cpuQ1 cpuQ3 < <(quartiles <"$work/cpu")
read -r memMed memQ1 memQ3 < <(quartiles <"$work/memory")

# The offscreen platform warns that it cannot pass size hints on; nothing else is dropped.
keys=$(QT_QPA_PLATFORM=offscreen "$bin/bench_keys" "$pairs" 2000 2> >(grep -v propagateSizeHints >&2))
read -r _ keyMed keyQ1 keyQ3 _ <<<"$keys"

verdict() { awk -v r="$1" -v g="$2" 'BEGIN { print (r <= g ? "met" : "missed") }'; }
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo
echo "Mervel against a bare Qt window; median of $pairs alternating pairs (quartiles)"
echo "machine: $(nproc) cores, ${cpu:-unknown CPU}"
printf '%-12s %7s  %-13s %-8s %s\n' figure ratio quartiles goal verdict
printf '%-12s %6sx  %-13s %-8s %s\n' start-up "$startMed" "$startQ1-$startQ3" "1.25x" \
    "$(verdict "$startMed" 1.25)"
printf '%-12s %6sx  %-13s %-8s %s\n' "  processor" "$cpuMed" "$cpuQ1-$cpuQ3" "" ""
printf '%-12s %6sx  %-13s %-8s %s\n' keystroke "$keyMed" "$keyQ1-$keyQ3" "2x" \
    "$(verdict "$keyMed" 2)"
printf '%-12s %6sx  %-13s %-8s %s\n' "peak memory" "$memMed" "$memQ1-$memQ3" "1.2x" \
    "$(verdict "$memMed" 1.2)"
