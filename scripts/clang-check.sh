#!/usr/bin/env bash
# Compiles every C++ source with clang for the same Windows target (syntax only),
# so that nothing only GCC accepts creeps in. Warnings count as errors.
set -euo pipefail
cd "$(dirname "$0")/.."

gcc_dir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | head -n 1)
cxx_dir="$gcc_dir/include/c++"
flags=(--target=x86_64-w64-windows-gnu -std=c++17 -fsyntax-only -Wall -Wextra -Werror
       -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601
       -isystem "$cxx_dir" -isystem "$cxx_dir/x86_64-w64-mingw32" -isystem "$cxx_dir/backward"
       -isystem /usr/src/googletest/googletest/include -I .)

# The system's and the test framework's headers, which nearly every source
# includes, are read once into a precompiled header rather than once a source.
# (It is included ahead of each source; the GCC build still finds a source
# that lacks an include of its own.)
common=$(mktemp -d)
trap 'rm -rf "$common"' EXIT
printf '#include <%s>\n' windows.h commctrl.h string vector functional gtest/gtest.h > "$common/common.h"
clang++ "${flags[@]/-fsyntax-only/}" -x c++-header "$common/common.h" -o "$common/common.h.pch"

mapfile -t sources < <(git ls-files '*.cpp' 2>/dev/null || find . -name '*.cpp' -not -path './build*')
failed=0
for source in "${sources[@]}"; do
  clang++ "${flags[@]}" -include-pch "$common/common.h.pch" "$source" ||
    { echo "clang: $source does not compile cleanly"; failed=1; }
done
echo "clang syntax check: ${#sources[@]} sources, $([ $failed = 0 ] && echo clean || echo FAILED)"
exit $failed
