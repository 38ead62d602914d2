#!/bin/bash
# Refreshes the README's pictures in docs/images/: runs the screenshot tests
# that show the program in each of its skins (build/screenshots/skins/),
# converts every capture there to PNG, and writes small copies of a few of
# them to docs/images/ (PNG, 256 colours, a few tens of KB each).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/test.sh -R 'app_test_skin_screens_serial|gallery_test_gallery_serial' >/dev/null || {
  echo "readme-images: the screenshot tests failed; run make test T=screens" >&2
  exit 1
}
mkdir -p docs/images
for f in build/screenshots/skins/*.bmp; do
  [ -e "$f" ] || continue
  convert "$f" -alpha off "${f%.bmp}.png" && rm -f "$f"
done
small() {  # small <capture> <name> <scale>
  [ -e "build/screenshots/skins/$1.png" ] || return 0
  convert "build/screenshots/skins/$1.png" -resize "$3" -strip -dither None -colors 256 \
    "PNG8:docs/images/$2.png"
  echo "readme-images: docs/images/$2.png $(stat -c %s "docs/images/$2.png") bytes"
}
for skin in ravelbook paper dusk; do
  small "${skin}_main" "ledger_${skin}" 75%
done
small paper_entry_editor entry_editor_paper 75%
small dusk_gallery_buttons gallery_dusk 60%
