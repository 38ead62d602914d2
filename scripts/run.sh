#!/bin/bash
# Starts Ravelbook under Wine. On a desktop it opens on the user's display and
# returns when the program ends. Without a display it starts a private Xvfb,
# runs the program, saves build/screenshots/main.png and ends it.
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
EXE="$RAVELBOOK_ROOT/build/ravelbook.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine_prefix_setup
  exec wine "$EXE"
fi

wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

mkdir -p build/screenshots
wine "$EXE" </dev/null >/dev/null 2>&1 &
# Wait for the main window to appear (its X window takes the caption as name).
geometry=""
for i in $(seq 1 150); do
  line="$(xwininfo -root -tree 2>/dev/null | grep -m1 '"Ravelbook V1.0"' || true)"
  if [ -n "$line" ]; then
    geometry="$(echo "$line" | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' | tail -n1)"
    break
  fi
  sleep 0.1
done
sleep 2   # let the window finish painting
if [ -n "$geometry" ]; then
  # xwininfo's tree gives WxH+X+Y relative to the parent (the root here).
  import -display "$DISPLAY" -window root -crop "$geometry" +repage build/screenshots/main.png
  echo "run: saved build/screenshots/main.png ($geometry)"
else
  import -display "$DISPLAY" -window root build/screenshots/main.png
  echo "run: main window not found; saved the whole screen to build/screenshots/main.png" >&2
  exit 1
fi
