#!/usr/bin/env bash
# Configures (Release, warnings as errors) and builds into the folder given.
# Usage: scripts/build.sh <build folder> [cmake --build options, e.g. --target KelvSysLog]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:?usage: scripts/build.sh <build folder> [cmake --build options]}
shift
configure=(-DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON)
# The toolchain counts only when the folder is first configured.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  configure+=(-G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake)
fi
cmake -S . -B "$build_dir" "${configure[@]}"
cmake --build "$build_dir" "$@"
