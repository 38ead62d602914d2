#!/bin/bash
# Runs every test executable of the cross build under Wine through ctest, on
# a private Xvfb display. Extra arguments go to ctest (e.g. -R name).
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"

wine_choose_tree all
wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

cd "$RAVELBOOK_TREE"
set +e
# One test at a time: most tests show real windows, and two at once can take
# the focus or the foreground from each other.
# Where 32-bit code is emulated, the smoke run of the 32-bit program (label
# emulated32) runs only when asked for by name (make smoke32, make test T=smoke).
extra=()
if wine_emulated32 && [ $# -eq 0 ]; then extra=(-LE emulated32); fi
ctest --output-on-failure "${extra[@]}" "$@"
rc=$?
set -e
exit $rc
