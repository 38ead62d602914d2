#!/bin/bash
# Starts the skin gallery (build/skingallery.exe) under Wine. On a desktop it
# opens on the user's display and returns when it is closed; arguments are
# passed on (skingallery.exe --skin FILE loads a skin file). Without a
# display it starts a private Xvfb, opens the gallery, saves
# build/screenshots/gallery.png (dpi<N>/ in it at another scale) and ends it.
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
wine_choose_tree skingallery
EXE="$RAVELBOOK_ROOT/$RAVELBOOK_TREE/skingallery.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine_prefix_setup
  exec wine "$EXE" "$@"
fi

wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

shots="$(ravelbook_screenshot_dir)"
shots="${shots#"$RAVELBOOK_ROOT"/}"
mkdir -p "$shots"
wine "$EXE" "$@" </dev/null >/dev/null 2>&1 &
geometry=""
for i in $(seq 1 150); do
  if info="$(xwininfo -name "Ravelbook skin gallery" 2>/dev/null)"; then
    sleep 2
    info="$(xwininfo -name "Ravelbook skin gallery" 2>/dev/null || true)"
    x="$(echo "$info" | awk -F: '/Absolute upper-left X/ {gsub(/ /,"",$2); print $2}')"
    y="$(echo "$info" | awk -F: '/Absolute upper-left Y/ {gsub(/ /,"",$2); print $2}')"
    w="$(echo "$info" | awk -F: '/Width/ {gsub(/ /,"",$2); print $2}')"
    h="$(echo "$info" | awk -F: '/Height/ {gsub(/ /,"",$2); print $2}')"
    geometry="${w}x${h}+${x}+${y}"
    break
  fi
  sleep 0.1
done
if [ -n "$geometry" ]; then
  import -display "$DISPLAY" -window root -crop "$geometry" +repage "$shots/gallery.png"
  echo "gallery: saved $shots/gallery.png ($geometry)"
else
  import -display "$DISPLAY" -window root "$shots/gallery.png"
  echo "gallery: the gallery window was not found; saved the whole screen" >&2
  exit 1
fi
