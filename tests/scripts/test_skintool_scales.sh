#!/bin/bash
# skintool and the pictures a skin ships for other display scales: `check`
# names each one of the wrong size with the size it must have (a frame count
# that differs shows as a wrong size too) and passes them once they are
# right; `inspect` lists them after the image's size, and `--dpi` prints the
# model at that scale.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
skintool="${SKINTOOL:-$root/build/host/bin/skintool}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
expect_in() {  # expect_in WHAT NEEDLE HAYSTACK
  if [[ "$3" != *"$2"* ]]; then
    printf 'FAIL: %s\n  missing:  %s\n  in:       %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}
if [ ! -x "$skintool" ]; then
  echo "FAIL: no skintool at $skintool (make build makes it)"
  exit 1
fi

le16() { printf '%b' "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)))"; }
le32() { printf '%b' "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)))"; }
# bmp FILE WIDTH HEIGHT: a 24-bit BMP of one grey.
bmp() {
  local w=$2 h=$3 row=$((($2 * 3 + 3) / 4 * 4)) y x line=""
  for ((x = 0; x < w; x++)); do line+='\x80\x80\x80'; done
  for ((x = w * 3; x < row; x++)); do line+='\x00'; done
  {
    printf 'BM'; le32 $((54 + row * h)); le32 0; le32 54
    le32 40; le32 "$w"; le32 "$h"; le16 1; le16 24; le32 0; le32 $((row * h)); le32 2835; le32 2835; le32 0; le32 0
    for ((y = 0; y < h; y++)); do printf "$line"; done
  } >"$1"
}

skin="$work/skin"
mkdir -p "$skin"
bmp "$skin/close.bmp" 66 11        # six 11 x 11 frames
bmp "$skin/close144.bmp" 99 17     # wrong: six 17 x 17 frames are 102 x 17
bmp "$skin/close192.bmp" 132 22
bmp "$skin/top.bmp" 60 40          # two 20-high frames stacked
bmp "$skin/top192.bmp" 120 40      # wrong: one frame's worth; two stacked are 120 x 80
printf '[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTop.192=top192.bmp\r\n[ButtonClose]\r\nAction=0\r\nframe=6\r\nButtonImage=close.bmp\r\nButtonImage.144=close144.bmp\r\nButtonImage.192=close192.bmp\r\n' >"$skin/test.ini"

out="$("$skintool" check "$skin" 2>&1)"
expect "check with two wrong pictures fails" 1 "$?"
expect_in "the 144 button picture is named" "[ButtonClose] ButtonImage.144: the picture for 144 DPI is 99x17; it must be 102x17" "$out"
expect_in "the 192 top border is named" "[Personality] Top.192: the picture for 192 DPI is 120x40; it must be 120x80" "$out"
if [[ "$out" == *"ButtonImage.192"* ]]; then
  echo "FAIL: the right 192 button picture was reported: $out"
  failures=$((failures + 1))
fi

bmp "$skin/close144.bmp" 102 17
bmp "$skin/top192.bmp" 120 80
out="$("$skintool" check "$skin" 2>&1)"
expect "check with the pictures right passes ($out)" 0 "$?"

"$skintool" pack "$skin" "$work/test.skn" >/dev/null 2>&1
expect "pack" 0 "$?"
out="$("$skintool" inspect "$work/test.skn" 2>&1)"
expect_in "inspect lists the shipped pictures" "66x11 (at 144 102x17, at 192 132x22)" "$out"
expect_in "inspect lists the border's" "60x40 (at 192 120x80)" "$out"
out="$("$skintool" inspect "$work/test.skn" --dpi 144 2>&1)"
expect_in "inspect --dpi names the scale" "scale 144" "$out"
expect_in "the button at 144 is the shipped picture's size" "image 102x17 frames 6" "$out"
"$skintool" inspect "$work/test.skn" --dpi 5000 >/dev/null 2>&1
expect "a scale out of range is refused" 2 "$?"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "skintool scale checks: all passed"
