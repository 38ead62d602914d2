#!/bin/bash
# Builds TARGET... (default: everything) for 64-bit Windows in build64/, for
# machines that can run 64-bit Wine natively but 32-bit programs only
# emulated. Uses the host tools and SQLite sources of build/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
mkdir -p build64
# Configured once; ninja configures again by itself when a CMakeLists changes.
if [ ! -f build64/build.ninja ]; then
  flock build64/.build-lock cmake -S . -B build64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 -DSQLITE_DIR="$PWD/build/sqlite" -DHOST_TOOLS_DIR="$PWD/build/host/bin" >/dev/null
fi
if [ $# -eq 0 ]; then set -- all; fi
flock build64/.build-lock cmake --build build64 --target "$@"
