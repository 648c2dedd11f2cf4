#!/usr/bin/env bash
# Runs the datagram fuzz tests for longer than the suite does, under Wine on a
# private Xvfb, and prints the seed so a failure can be run again.
# Usage: scripts/fuzz.sh [seconds, default 300]
# Environment: FUZZ_SEED (default: taken from the clock), BUILD_DIR (default build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build-fuzz}
seconds=${1:-300}
seed=${FUZZ_SEED:-$(date +%s)}

bash scripts/setup.sh
bash scripts/build.sh "$build_dir" --target fuzz_tests

# A fifth of the time for the record maker alone, the rest for the whole receive path.
maker_seconds=$((seconds / 5))
path_seconds=$((seconds - maker_seconds))
echo "Fuzzing for about $seconds s with seed $seed (rerun with FUZZ_SEED=$seed $0 $seconds)."
status=0
for run in "RecordMakerFuzz.*:$maker_seconds" "ReceivePathFuzz.*:$path_seconds"; do
  FUZZ_SEED=$seed FUZZ_SECONDS=${run##*:} python3 scripts/wine_session.py --prefix "$build_dir/wineprefix" \
    -- wine "$build_dir/tests/fuzz_tests.exe" --gtest_filter="${run%:*}" </dev/null || status=$?
done
echo "Fuzz run with seed $seed ended with status $status."
exit "$status"
