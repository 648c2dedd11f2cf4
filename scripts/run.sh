#!/usr/bin/env bash
# Sets up, builds the monitor and runs it under Wine: on $DISPLAY when there is
# one, otherwise in a Wine-drawn desktop on an Xvfb of its own. The program
# runs from out/run/, so its INI file (written at exit) stays there between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build}
run_dir=$repo/out/run

bash scripts/setup.sh
bash scripts/build.sh "$build_dir" --target KelvSysLog

mkdir -p "$run_dir"
cp "$build_dir/KelvSysLog.exe" "$run_dir/"

echo "Starting the monitor from $run_dir (close its window to stop)."
echo "To send it a message: logger --udp --server 127.0.0.1 --port 514 --rfc3164 \"hello\""
cd "$run_dir"
# On an X server of our own there is no window manager, and Wine would wait 2 s
# for one whenever a window or dialog closes; inside a Wine-drawn desktop it
# does not, and the window gets its title bar and frame.
program=(wine ./KelvSysLog.exe)
if [ -z "${DISPLAY:-}" ]; then
  program=(wine explorer /desktop=KelvSysLog,1280x1024 ./KelvSysLog.exe)
fi
status=0
python3 "$repo/scripts/wine_session.py" --display-if-none -- "${program[@]}" || status=$?
echo "The monitor ended with exit code $status."
exit "$status"
