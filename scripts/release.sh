#!/usr/bin/env bash
# Builds the release archive out/KelvSysLog-<version>-win64.zip (the program,
# its user's README and the licence), checks what it holds and lists it.
# The build folder is build-release/ unless BUILD_DIR names another.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-$repo/build-release}
out_dir=$repo/out

bash scripts/setup.sh

# Without the tests: packing builds every target of the folder first.
configure=(-DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON -DBUILD_TESTING=OFF)
# The toolchain counts only when the folder is first configured.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  configure+=(-G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake)
fi
cmake -S . -B "$build_dir" "${configure[@]}"
cmake --build "$build_dir"

packages_dir=$build_dir/packages
rm -f "$packages_dir"/*.zip
cpack --config "$build_dir/CPackConfig.cmake" -G ZIP -B "$packages_dir"

archives=("$packages_dir"/*.zip)
if [ ${#archives[@]} -ne 1 ] || [ ! -f "${archives[0]}" ]; then
  echo "release: expected one archive in $packages_dir" >&2
  exit 1
fi
mkdir -p "$out_dir"
archive=$out_dir/$(basename "${archives[0]}")
cp "${archives[0]}" "$archive"
python3 scripts/check-release.py "$archive"
