#!/bin/bash
# Runs every benchmark of the cross build under Wine, one after another.
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
wine_choose_tree benchmarks
wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start
for exe in "$RAVELBOOK_TREE"/bench/bench_*.exe; do
  [ -e "$exe" ] || continue
  echo "== $(basename "$exe" .exe)"
  wine "$exe"
done
