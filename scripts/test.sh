#!/bin/bash
# Runs every test executable of the cross build under Wine through ctest, on
# a private Xvfb display. Extra arguments go to ctest (e.g. -R name).
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"

TEST_TREE=build
if wine_emulated32; then
  # 32-bit programs would run emulated here (see docs/platform.md): test the
  # 64-bit build of the same sources under the native 64-bit Wine.
  echo "test: this machine runs 32-bit programs only emulated; testing the 64-bit build in build64/"
  bash scripts/build64.sh
  wine_use_win64
  TEST_TREE=build64
fi

wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

cd "$TEST_TREE"
set +e
# One test at a time: most tests show real windows, and two at once can take
# the focus or the foreground from each other.
ctest --output-on-failure "$@"
rc=$?
set -e
exit $rc
