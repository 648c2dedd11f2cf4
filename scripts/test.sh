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

# The end-to-end tests that cannot run here (tests/e2e/run_test.py) say why in this file.
export E2E_SKIP_LOG=$build_dir/Testing/e2e-skipped.txt
mkdir -p "$(dirname "$E2E_SKIP_LOG")"
rm -f "$E2E_SKIP_LOG"

# A Wine prefix of the tests' own, so the wineserver is ours to stop at the end
# and no other Wine program's windows are seen.
status=0
python3 scripts/wine_session.py --prefix "$build_dir/wineprefix" --hold-desktop "$build_dir/tests/hold_desktop.exe" \
  -- ctest --test-dir "$build_dir" --output-on-failure -j 2 --timeout 300 "$@" || status=$?

if [ -s "$E2E_SKIP_LOG" ]; then
  echo "$(cut -d: -f1 "$E2E_SKIP_LOG" | sort -u | wc -l) end-to-end tests skipped, not run:"
  sed 's/^/  /' "$E2E_SKIP_LOG"
fi
echo "Tests took $((SECONDS - started)) s in all (set-up and build included); ctest status $status."
exit "$status"
