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
export WINEPREFIX=$build_dir/wineprefix
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"

source scripts/xvfb.sh
# shellcheck disable=SC2317  # called by the trap
cleanup() {
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
echo "Tests run on Xvfb display $DISPLAY (PID $XVFB_PID), Wine prefix $WINEPREFIX."

# Wine's first process starts its background services, which keep its output
# open: started here with output to /dev/null, they hold no pipe of ctest's.
# The server stays up until cleanup, so they are never started again under
# ctest. The overrides skip the offer to download Mono and Gecko.
wineserver -p >/dev/null 2>&1 </dev/null || true  # one may be up already, from an earlier run
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot >/dev/null 2>&1 </dev/null
# Likewise the desktop process, which the first program with a window starts.
wine "$build_dir/tests/hold_desktop.exe" >/dev/null 2>&1 </dev/null &

status=0
(cd "$build_dir" && ctest --output-on-failure -j 2 --timeout 300 "$@") || status=$?
echo "Tests took $((SECONDS - started)) s in all (set-up and build included); ctest status $status."
exit "$status"
