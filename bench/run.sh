#!/usr/bin/env bash
# The monitor's benchmark: bench/run.sh [results file, default out/bench-results.md] [bench.py options]
#
# Builds the monitor (Release) and the benchmark programs in build-bench/, then
# runs them under Wine (a prefix of its own in build-bench/wineprefix) on an
# Xvfb display it starts: bursts sent back to back and loss-free paced receive
# rates of the monitor with display on and off against a bare Winsock loop,
# display lag and UI responsiveness during a burst, and the cost of a million
# rows. Prints the results table and writes it to the results file (every
# figure also beside it, as .json). An option such as --handoff-only runs one
# part alone: the hand-off to the UI (CPU per record against the bare loop and
# the receive models, how soon a record is shown) is measured only so, since
# its rounds do not fit in the whole run's time. Needs UDP 514 free; waits
# while another program holds it.
#
# Pinned: Xvfb, the wineserver and every Wine program on CPU 0, the sender on
# CPU 1, so that rates hold from one run to the next and CPU 0's busy time is
# the receiver's.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
output="${1:-$root/out/bench-results.md}"
shift $(($# > 0 ? 1 : 0))
started=$SECONDS
started_at=$(date +%s)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBUILD_BENCH=ON >/dev/null
cmake --build "$build" --target KelvSysLog bare_receiver receive_models monitor_probe rows_bench
echo "[bench] built in $((SECONDS - started)) s" >&2

# Every Wine program the benchmark starts writes into a file, never a pipe of ours.
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$root/tests/e2e:$root/scripts" \
  taskset -c 0 python3 "$root/scripts/wine_session.py" --prefix "$build/wineprefix" -- python3 "$root/bench/bench.py" \
    --monitor "$build/KelvSysLog.exe" \
    --probe "$build/monitor_probe.exe" \
    --bare-receiver "$build/bench/bare_receiver.exe" \
    --receive-models "$build/bench/receive_models.exe" \
    --rows-bench "$build/bench/rows_bench.exe" \
    --output "$output" \
    --started-at "$started_at" \
    --pinned "$@"
echo "[bench] finished in $((SECONDS - started)) s; results in $output" >&2
