#!/bin/bash
# Makes the SQLite amalgamation (sqlite3.c, sqlite3.h) and the source of its
# command-line shell (shell.c, used by the benchmarks) in build/sqlite from
# Debian's sqlite3 source package. Done once; the result is never committed.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$ROOT/build/sqlite"
if [ -f "$OUT/sqlite3.c" ] && [ -f "$OUT/sqlite3.h" ] && [ -f "$OUT/shell.c" ]; then exit 0; fi

SRC="$ROOT/build/sqlite-src"
rm -rf "$SRC" && mkdir -p "$SRC" "$OUT"
cd "$SRC"
echo "sqlite: fetching Debian's sqlite3 source package"
if ! apt-get source --download-only sqlite3 >/dev/null 2>&1; then
  # No source list yet, or an old one: fetch the lists (a list that fails
  # is a warning, scripts/packages.sh) and try once more.
  SUDO=""
  if [ "$EUID" != 0 ]; then SUDO="sudo"; fi
  source "$ROOT/scripts/packages.sh"
  pkg_update
  if ! apt-get source --download-only sqlite3 >"$SRC/source.log" 2>&1; then
    echo "sqlite: could not fetch Debian's sqlite3 source package:" >&2
    grep -E '^E:' "$SRC/source.log" | head -n 3 | sed 's/^/sqlite:   /' >&2
    echo "sqlite: the package lists need deb-src entries (scripts/setup.sh adds them) and a reachable mirror; run the command again when it is" >&2
    exit 1
  fi
fi
tar xf sqlite3_*.orig.tar.*
srcdir="$(find . -maxdepth 1 -type d -name 'sqlite3-*' -o -maxdepth 1 -type d -name 'sqlite-*' | head -n1)"
mkdir bld && cd bld
echo "sqlite: generating the amalgamation"
"../$srcdir/configure" --disable-tcl >/dev/null
make sqlite3.c shell.c >/dev/null 2>&1
cp sqlite3.c sqlite3.h shell.c "$OUT/"
cd "$ROOT" && rm -rf "$SRC"
