#!/usr/bin/env bash
# build.sh [normal|asan|fuzz] — configures and builds one build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-normal}"
jobs="${ZORVANE_JOBS:-$(nproc)}"
case "$kind" in
  normal) dir=build;      args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   dir=build-asan; args=(-DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON) ;;
  fuzz)   dir=build-fuzz; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_FUZZ=ON -DZORVANE_TESTS=OFF
                                -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: build.sh [normal|asan|fuzz]" >&2; exit 2 ;;
esac
# Our own builds (and CI) treat warnings as errors; a plain cmake configure does not.
args+=(-DZORVANE_WERROR=ON)
# A compiler cache, when the machine has one, makes rebuilds in several checkouts cheap.
if command -v ccache >/dev/null 2>&1; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
elif ! grep -q '^ZORVANE_WERROR:BOOL=ON$' "$dir/CMakeCache.txt" 2>/dev/null; then
  cmake "$dir" -DZORVANE_WERROR=ON >/dev/null # a folder configured before the option existed
fi
cmake --build "$dir" -j "$jobs"
