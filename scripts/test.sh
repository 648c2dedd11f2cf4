#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs every test (unit tests and
# end-to-end tests) under Wine on a private Xvfb. Exits with ctest's status.
# Options go on to ctest, e.g. scripts/test.sh -R e2e
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build}
started=$SECONDS

bash scripts/setup.sh
bash scripts/build.sh "$build_dir"

# A Wine prefix of the tests' own, so the wineserver is ours to stop at the end
# and no other Wine program's windows are seen.
source scripts/wine-session.sh
start_wine_session "$build_dir/wineprefix"
echo "Tests run on Xvfb display $DISPLAY (PID $XVFB_PID), Wine prefix $WINEPREFIX."
# A program that crashes ends at once, its backtrace in its output, instead of
# waiting on a crash dialog nobody sees while the wineserver keeps its sockets.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
# The desktop process, which the first program with a window starts, keeps its
# starter's output open too: started here, it holds no pipe of ctest's.
wine "$build_dir/tests/hold_desktop.exe" >/dev/null 2>&1 </dev/null &

status=0
(cd "$build_dir" && ctest --output-on-failure -j 2 --timeout 300 "$@") || status=$?
echo "Tests took $((SECONDS - started)) s in all (set-up and build included); ctest status $status."
exit "$status"
