#!/bin/bash
# Runs every test executable of the cross build under Wine through ctest, on
# a private Xvfb display. Extra arguments go to ctest (e.g. -R name).
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
wine_lock

xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

cd build
set +e
ctest --output-on-failure -j2 --timeout 120 "$@"
rc=$?
set -e
exit $rc
