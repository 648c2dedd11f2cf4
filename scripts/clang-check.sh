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

mapfile -t sources < <(git ls-files '*.cpp' 2>/dev/null || find . -name '*.cpp' -not -path './build*')
failed=0
for source in "${sources[@]}"; do
  clang++ "${flags[@]}" "$source" || { echo "clang: $source does not compile cleanly"; failed=1; }
done
echo "clang syntax check: ${#sources[@]} sources, $([ $failed = 0 ] && echo clean || echo FAILED)"
exit $failed
