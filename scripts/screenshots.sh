#!/usr/bin/env bash
# Takes the README's pictures, docs/main-window.png, docs/options.png and
# docs/traffic.png: the real program under Wine in a Wine-drawn desktop on a
# private Xvfb, fed by logger and a burst from this host and driven with real
# input. It binds UDP 514 for about two minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build}

bash scripts/setup.sh
bash scripts/build.sh "$build_dir" --target KelvSysLog monitor_probe

# A Wine prefix of the pictures' own: its wineserver is ours to stop, and its
# default desktop can be the Wine-drawn one. It is made afresh each time: in
# one whose default desktop already is that one, the desktop's launcher ends
# at once and the program seems gone. The program waits for UDP 514 to be free.
rm -rf "$build_dir/screenshot-wineprefix"
MONITOR_EXE=$build_dir/KelvSysLog.exe MONITOR_PROBE=$build_dir/monitor_probe.exe PYTHONDONTWRITEBYTECODE=1 \
  PYTHONPATH="$repo/scripts" \
  python3 scripts/wine_session.py --prefix "$build_dir/screenshot-wineprefix" \
  -- python3 tests/e2e/take_screenshots.py "$repo/docs"
