#!/bin/bash
# Builds what one command needs, and nothing more, saying which step it is
# on and how much is left:
#
#   build.sh run       the program (with its converter mdbimport, its skins
#                      and an empty ledger beside it)
#   build.sh gallery   the skin gallery
#   build.sh bench     the benchmarks
#   build.sh screens   the program and the screenshot tests
#   build.sh all       everything: the programs, every test and benchmark
#
# Where 32-bit code runs natively that is the 32-bit tree build/. Where it
# runs only emulated, the programs run from the 64-bit tree build64/, so
# `run`, `gallery`, `bench` and `screens` build only there; `all` builds the
# whole 64-bit tree and, in build/, the 32-bit programs that ship (their
# tests run on the 64-bit build there; the smoke run runs the 32-bit program).
# Assumes scripts/setup.sh has run (the Makefile runs it first).
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
what="${1:-all}"
label="${RAVELBOOK_COMMAND:-build $what}"

case "$what" in
  run) targets=(ravelbook) ;;
  gallery) targets=(skingallery) ;;
  bench) targets=(benchmarks) ;;
  screens) targets=(screenshot_tests) ;;
  all) targets=(all) ;;
  *) echo "usage: build.sh run|gallery|bench|screens|all" >&2; exit 2 ;;
esac

# Each entry: TREE TOOLCHAIN TARGET...
plans=()
if wine_emulated32; then
  plans+=("build64 x86_64 ${targets[*]}")
  if [ "$what" = all ]; then plans+=("build i686 programs"); fi
else
  plans+=("build i686 ${targets[*]}")
fi
total=$((2 + ${#plans[@]}))
n=0
step() {
  n=$((n + 1))
  echo "== $label: step $n of $total: $*"
}

# ninja's progress line: how many of the files to build are done.
export NINJA_STATUS="   [%f of %t done, %r running] "

# How many commands a first build of TARGETS in TREE runs (a dry run cannot
# tell what a later one has left: it stops at the check of the CMake files,
# so then ninja's own progress line gives the count).
commands() {  # commands TREE TARGET...
  local tree="$1"
  shift
  ninja -C "$tree" -t commands "$@" 2>/dev/null | wc -l
}

mkdir -p build
step "the SQLite sources (once: about half a minute)"
bash scripts/sqlite.sh

step "the native tools (skin generator, skin tool, empty-ledger maker)"
if [ ! -f build/host/build.ninja ]; then
  flock build/.build-lock cmake -S tools -B build/host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
flock build/.build-lock cmake --build build/host >/dev/null

for plan in "${plans[@]}"; do
  read -r tree arch tree_targets <<<"$plan"
  # shellcheck disable=SC2206
  tree_targets=($tree_targets)
  bits=32
  [ "$arch" = x86_64 ] && bits=64
  mkdir -p "$tree"
  # Configured once; ninja configures again by itself when a CMakeLists changes.
  if [ ! -f "$tree/build.ninja" ]; then
    echo "   configuring $tree/ (once: about half a minute)"
    extra=()
    if [ "$arch" = x86_64 ]; then
      extra=(-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 -DSQLITE_DIR="$PWD/build/sqlite" -DHOST_TOOLS_DIR="$PWD/build/host/bin")
    fi
    flock "$tree/.build-lock" cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch-mingw.cmake" "${extra[@]}" >/dev/null
  fi
  if [ ! -f "$tree/.ninja_log" ]; then
    step "the $bits-bit ${tree_targets[*]} in $tree/: first build, $(commands "$tree" "${tree_targets[@]}") steps"
  else
    step "the $bits-bit ${tree_targets[*]} in $tree/: what changed"
  fi
  flock "$tree/.build-lock" cmake --build "$tree" --target "${tree_targets[@]}"
done
