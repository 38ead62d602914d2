#!/bin/bash
# Starts Ravelbook under Wine. On a desktop it opens on the user's display and
# returns when the program ends. Without a display it starts a private Xvfb,
# runs the program, saves build/screenshots/main.png (build/screenshots/dpi<N>/
# at another scale than 96, see DPI= in the README) and ends it.
#
# run.sh --screenshots (make screenshots) then also saves captures of the
# other windows (entry editor, delete confirmation, category editor, a
# message box), skinned and plain, next to it, and of the main window and
# the entry editor in each skin of build/skins/ in skins/: the screenshot
# tests make them, so this builds those tests too.
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
screenshots=""
if [ "${1:-}" = --screenshots ]; then screenshots=1; fi
if [ -n "$screenshots" ]; then wine_choose_tree screenshot_tests; else wine_choose_tree ravelbook; fi
EXE="$RAVELBOOK_ROOT/$RAVELBOOK_TREE/ravelbook.exe"

if [ -z "$screenshots" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting $RAVELBOOK_TREE/ravelbook.exe on $DISPLAY"
  wine_prefix_setup
  exec wine "$EXE"
fi

wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

shots="$(ravelbook_screenshot_dir)"
shots="${shots#"$RAVELBOOK_ROOT"/}"
mkdir -p "$shots"
echo "run: starting $RAVELBOOK_TREE/ravelbook.exe on a private display ($DISPLAY, $RAVELBOOK_DPI DPI)"
wine "$EXE" </dev/null >/dev/null 2>&1 &
# Wait for the main window to appear (its X window takes the caption as name),
# give it time to take its place and paint, then read where it is.
window_geometry() {
  local info x y w h
  info="$(xwininfo -name "Ravelbook V1.0" 2>/dev/null)" || return 1
  x="$(echo "$info" | awk -F: '/Absolute upper-left X/ {gsub(/ /,"",$2); print $2}')"
  y="$(echo "$info" | awk -F: '/Absolute upper-left Y/ {gsub(/ /,"",$2); print $2}')"
  w="$(echo "$info" | awk -F: '/Width/ {gsub(/ /,"",$2); print $2}')"
  h="$(echo "$info" | awk -F: '/Height/ {gsub(/ /,"",$2); print $2}')"
  echo "${w}x${h}+${x}+${y}"
}
geometry=""
for i in $(seq 1 150); do
  if window_geometry >/dev/null; then
    sleep 2
    geometry="$(window_geometry || true)"
    break
  fi
  sleep 0.1
done
if [ -n "$geometry" ]; then
  import -display "$DISPLAY" -window root -crop "$geometry" +repage "$shots/main.png"
  echo "run: saved $shots/main.png ($geometry)"
  wineserver_stop
  if [ -z "$screenshots" ]; then
    echo "run: the program ran and was ended (no display to show it on; make screenshots saves the other windows too)"
    exit 0
  fi
  # The other windows open only on the user's request; the screenshot tests
  # open each of them, skinned and plain, over a small sample ledger and save
  # a capture of it.
  wineserver_start
  for t in app_test_entry_editor_screens_serial app_test_skinned_ledger_serial gallery_test_gallery_serial \
           app_test_skin_screens_serial app_test_skinned_ledger_controls_serial \
           app_test_tools_tab_screens_serial; do
    if [ -x "$RAVELBOOK_TREE/tests/$t.exe" ]; then
      (cd "$RAVELBOOK_TREE/tests" && wine "$t.exe" </dev/null >/dev/null 2>&1) || echo "run: $t failed" >&2
    fi
  done
  for f in "$shots"/*.bmp "$shots"/skins/*.bmp; do
    [ -e "$f" ] || continue
    convert "$f" -alpha off "${f%.bmp}.png" && rm -f "$f"
  done
  echo "run: saved $(ls "$shots"/*.png "$shots"/skins/*.png 2>/dev/null | wc -l) screenshots in $shots/"
else
  import -display "$DISPLAY" -window root "$shots/main.png"
  echo "run: main window not found; saved the whole screen to $shots/main.png" >&2
  exit 1
fi
