#!/bin/bash
# The smoke run of the program that ships: build/ravelbook.exe, the 32-bit
# build, copied with its skin files into a fresh folder and worked from
# outside by smoke_driver (tests/smoke/smoke_driver.cpp) over a sample ledger.
#
#   scripts/smoke32.sh TREE
#
# TREE is the build whose smoke_driver.exe runs it: build/ where 32-bit code
# runs natively; where it runs only emulated, build64/, and then the driver
# is a 64-bit program in the 64-bit prefix, and the program starts under
# Wine's 32-bit half there (emulated, it takes a minute or more of processor
# time to start; the prefix's services stay native: see docs/platform.md).
# There the run gets as far as the skinned main window and then waits on
# its first read of the status bar: the program's memory cannot be read
# from outside across the emulation yet, so `make test` leaves it out.
# Runs inside the environment of scripts/test.sh (a display, the prefix and
# its server), as one of the tests: `make smoke32`, or `make test`.
set -euo pipefail
TREE="$(cd "${1:?usage: smoke32.sh TREE}" && pwd)"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# RAVELBOOK_SMOKE_BUILD runs another build of the program the same way.
SHIPPED="${RAVELBOOK_SMOKE_BUILD:-$ROOT/build}"
DRIVER="$TREE/tests/smoke_driver.exe"

for f in "$SHIPPED/ravelbook.exe" "$SHIPPED/skins/paper.skn" "$DRIVER"; do
  if [ ! -f "$f" ]; then
    echo "smoke32: $f is missing: build it first (make build)" >&2
    exit 1
  fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/ravelbook-smoke.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/skins"
cp "$SHIPPED/ravelbook.exe" "$work/"
cp "$SHIPPED"/skins/*.skn "$work/skins/"
# The program reads Access-format ledgers through mdbimport.exe beside it.
[ -f "$SHIPPED/mdbimport.exe" ] && cp "$SHIPPED/mdbimport.exe" "$work/"

# Z: is the root of the file system in every prefix.
folder="Z:$(printf '%s' "$work" | tr / '\\')"
start=$(date +%s)
set +e
wine "$DRIVER" "$folder" "${RAVELBOOK_SMOKE_START_LIMIT:-1800}" </dev/null >"$work/driver.log" 2>&1
rc=$?
set -e
cat "$work/driver.log"
echo "smoke32: $(( $(date +%s) - start )) s, exit code $rc"
exit $rc
