#!/bin/bash
# Refreshes the README's pictures in docs/images/ from the real programs,
# started as a user starts them: ravelbook.exe copied into a folder of its
# own beside a small sample ledger (data.mdb made by mkledgerdb --sample)
# and its skins, started once with each skin it ships (/skin NAME); and the
# skin gallery started with the dusk skin. Each window is read from the
# (private) display once it has settled, and a small PNG copy of it (256
# colours) goes to docs/images/. The full pictures stay in
# build/screenshots/readme/.
set -euo pipefail
source "$(dirname "$0")/wine/env.sh"
cd "$RAVELBOOK_ROOT"
wine_choose_tree

RUN="$RAVELBOOK_ROOT/build/readme_run"
OUT="$RAVELBOOK_ROOT/build/screenshots/readme"
rm -rf "$RUN"
mkdir -p "$RUN/skins" "$OUT" docs/images
cp "$RAVELBOOK_TREE/ravelbook.exe" "$RAVELBOOK_TREE/skingallery.exe" "$RUN/"
cp "$RAVELBOOK_TREE"/skins/*.skn "$RUN/skins/"
build/host/bin/mkledgerdb --sample "$RUN/data.mdb" >/dev/null

wine_lock
xvfb_start
trap 'wineserver_stop; xvfb_stop' EXIT
wine_prefix_setup
wineserver_start

# The place of the X window named $1, once it has settled: WxH+X+Y.
window_geometry() {
  local info x y w h
  info="$(xwininfo -name "$1" 2>/dev/null)" || return 1
  x="$(echo "$info" | awk -F: '/Absolute upper-left X/ {gsub(/ /,"",$2); print $2}')"
  y="$(echo "$info" | awk -F: '/Absolute upper-left Y/ {gsub(/ /,"",$2); print $2}')"
  w="$(echo "$info" | awk -F: '/Width/ {gsub(/ /,"",$2); print $2}')"
  h="$(echo "$info" | awk -F: '/Height/ {gsub(/ /,"",$2); print $2}')"
  echo "${w}x${h}+${x}+${y}"
}

# shoot <window name> <picture> <program> <arguments...>: starts the
# program, waits for its window, saves it, and ends that program.
shoot() {
  local name="$1" picture="$2" program="$3"
  shift 3
  (cd "$RUN" && exec wine "$program" "$@" </dev/null >/dev/null 2>&1) &
  local pid=$! geometry=""
  for i in $(seq 1 300); do
    if window_geometry "$name" >/dev/null; then
      sleep 3
      geometry="$(window_geometry "$name" || true)"
      break
    fi
    sleep 0.1
  done
  if [ -z "$geometry" ]; then
    echo "readme-images: the window \"$name\" of $program did not appear" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  import -display "$DISPLAY" -window root -crop "$geometry" +repage "$OUT/$picture.png"
  kill "$pid" 2>/dev/null || true
  # The next program starts with a server of its own.
  wineserver_stop
  wineserver_start
  echo "readme-images: $OUT/$picture.png ($geometry)"
}

small() {  # small <picture> <name> <scale>
  convert "$OUT/$1.png" -resize "$3" -strip -dither None -colors 256 "PNG8:docs/images/$2.png"
  echo "readme-images: docs/images/$2.png $(stat -c %s "docs/images/$2.png") bytes"
}

for skin in ravelbook paper dusk; do
  shoot "Ravelbook V1.0" "ledger_$skin" ravelbook.exe /skin "$skin"
  small "ledger_$skin" "ledger_$skin" 75%
done
shoot "Ravelbook skin gallery" gallery_dusk skingallery.exe --skin 'skins\dusk.skn'
small gallery_dusk gallery_dusk 75%
