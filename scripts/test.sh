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
ctest --output-on-failure "$@"
rc=$?
set -e
exit $rc
