#!/usr/bin/env bash
# Long runs of the real program that the test suite leaves out:
#   scripts/soak.sh datagrams [count, default 1000000] [rate per second, default 500]
#       numbered datagrams into the program with the list, auto-scroll and the
#       capture file on: every one shown and captured once, in order; memory
#       back after Clear; still answering; exit code 0 (tests/e2e/soak.py).
#       The rate must stay below what the program takes without loss on the
#       machine (bench/run.sh): on the shared 2-core build machine it lost
#       datagrams at 1,000/s with the list on. Where other work shares the
#       machine, raise the priority (as root: nice -n -10 scripts/soak.sh ...),
#       or that work's bursts starve the program and its socket overflows.
#   scripts/soak.sh restarts [count, default 50]
#       that many starts and orderly closes with datagrams each time
#       (tests/e2e/test_restart_loop.py, which the suite runs with 10)
# Builds into build-soak/ (or BUILD_DIR), runs under Wine with a prefix of its
# own on an Xvfb display it starts. As root it runs in a network of its own,
# so that nothing else on the machine takes UDP 514 or sends into it for the
# hour a soak lasts; otherwise it needs the host's UDP 514 and waits for it.
set -euo pipefail
if [ -z "${SOAK_OWN_NETWORK:-}" ] && [ "$(id -u)" = 0 ] && unshare --net true 2>/dev/null; then
  exec env SOAK_OWN_NETWORK=1 unshare --net -- bash -c 'ip link set lo up && exec bash "$0" "$@"' "$0" "$@"
fi
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build-soak}

mode=${1:-}
case "$mode" in
  datagrams) command=(python3 tests/e2e/soak.py "${2:-1000000}" --rate "${3:-500}") ;;
  restarts) command=(env RESTARTS="${2:-50}" python3 tests/e2e/run_test.py tests/e2e/test_restart_loop.py) ;;
  *) echo "usage: scripts/soak.sh datagrams [count] [rate] | restarts [count]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
bash scripts/build.sh "$build_dir" --target KelvSysLog monitor_probe

export MONITOR_EXE=$build_dir/KelvSysLog.exe
export MONITOR_PROBE=$build_dir/monitor_probe.exe
export PYTHONDONTWRITEBYTECODE=1
# In a network of its own the X server listens on an abstract socket only:
# those belong to the namespace, while a socket file under /tmp/.X11-unix
# could replace that of a server of the same number on the host.
session_options=()
if [ -n "${SOAK_OWN_NETWORK:-}" ]; then
  session_options=(--abstract-display)
fi
python3 scripts/wine_session.py --prefix "$build_dir/wineprefix" "${session_options[@]}" -- "${command[@]}"
