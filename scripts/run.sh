#!/usr/bin/env bash
# Sets up, builds the monitor and runs it under Wine: on $DISPLAY when there is
# one, otherwise on an Xvfb of its own. The program runs from out/run/, so its
# INI file (written at exit) stays there between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build}
run_dir=$repo/out/run

bash scripts/setup.sh
bash scripts/build.sh "$build_dir" --target KelvSysLog

mkdir -p "$run_dir"
cp "$build_dir/KelvSysLog.exe" "$run_dir/"

source scripts/xvfb.sh
if [ -z "${DISPLAY:-}" ]; then
  trap stop_xvfb EXIT
  start_xvfb
  echo "No DISPLAY: the monitor runs on a private Xvfb, display $DISPLAY (PID $XVFB_PID)."
  echo "To look at it: DISPLAY=$DISPLAY import -window root shot.png"
  echo "To send it a message: logger --udp --server 127.0.0.1 --port 514 --rfc3164 \"hello\""
fi

export WINEDEBUG=${WINEDEBUG:--all}
# Wine's first process starts its background services, which keep its output
# open; started here with output to /dev/null they hold nothing of ours. The
# overrides skip the offer to download Mono and Gecko when the prefix is new.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot >/dev/null 2>&1 </dev/null

echo "Starting the monitor from $run_dir (close its window to stop)."
cd "$run_dir"
status=0
wine ./KelvSysLog.exe || status=$?
echo "The monitor ended with exit code $status."
exit "$status"
