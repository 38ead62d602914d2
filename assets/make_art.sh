#!/bin/bash
# Draws the main window's banner (766 x 105 JPEG) and the program icon
# (16, 32 and 48 pixels) into the folder given as $1. Deterministic: the same
# fonts give the same pictures. Needs ImageMagick and the DejaVu and WenQuanYi
# fonts, which the set-up script installs.
set -euo pipefail
OUT="$1"
mkdir -p "$OUT"
SANS=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
SANS_BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
CJK=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# ---- banner ----------------------------------------------------------------
# A quiet sage-to-mist gradient, a ledger book with a coin on the left, the
# name and a Chinese line on the right of it, and a few faint ruled lines
# like a ledger page on the far right.
convert -size 105x766 gradient:'#e9f1ec'-'#d5e3e6' -rotate -90 "$TMP/bg.png"
convert "$TMP/bg.png" \
  -stroke '#c9d8d6' -strokewidth 1 \
  -draw "line 520,24 750,24" -draw "line 520,42 750,42" -draw "line 520,60 750,60" \
  -draw "line 520,78 750,78" -draw "line 548,14 548,92" \
  "$TMP/bg2.png"
convert "$TMP/bg2.png" \
  -fill '#b9cfc8' -draw "roundrectangle 28,22 108,86 6,6" \
  -fill '#ffffff' -stroke '#7a9a90' -strokewidth 2 \
  -draw "roundrectangle 24,18 66,82 4,4" -draw "roundrectangle 66,18 108,82 4,4" \
  -stroke '#b8cbc4' -strokewidth 1 \
  -draw "line 31,32 59,32" -draw "line 31,42 59,42" -draw "line 31,52 59,52" -draw "line 31,62 59,62" \
  -draw "line 73,32 101,32" -draw "line 73,42 101,42" -draw "line 73,52 93,52" \
  -stroke '#5f8a7e' -strokewidth 2 -draw "line 66,18 66,82" \
  -stroke '#b8892e' -strokewidth 2 -fill '#f3cf6b' -draw "circle 104,74 104,60" \
  -stroke '#b8892e' -strokewidth 2 -fill none -draw "circle 104,74 104,66" \
  -stroke none -strokewidth 0 -fill '#3d5e56' -font "$SANS_BOLD" -pointsize 34 -draw "text 132,56 'Ravelbook'" \
  -fill '#5b7a72' -font "$CJK" -pointsize 17 -draw "text 134,84 '家庭收支账本  ·  清清楚楚过日子'" \
  -fill '#7d958f' -font "$SANS" -pointsize 11 -draw "text 636,96 'www.example.com'" \
  -stroke '#9fb8b1' -strokewidth 1 -fill none -draw "line 0,104 766,104" \
  -quality 92 -sampling-factor 1x1 -strip "$OUT/banner.jpg"

# ---- icon --------------------------------------------------------------------
# An open green ledger with a gold coin, drawn large and scaled down.
convert -size 192x192 xc:none \
  -fill '#2f6f60' -draw "roundrectangle 14,30 178,166 18,18" \
  -fill '#ffffff' -draw "roundrectangle 26,38 94,154 8,8" -draw "roundrectangle 98,38 166,154 8,8" \
  -stroke '#9fbdb4' -strokewidth 8 \
  -draw "line 40,66 82,66" -draw "line 40,92 82,92" -draw "line 40,118 82,118" \
  -draw "line 110,66 152,66" -draw "line 110,92 140,92" \
  -stroke '#9b6f1a' -strokewidth 8 -fill '#f2c94c' -draw "circle 140,130 140,98" \
  -stroke none -fill '#9b6f1a' -font "$SANS_BOLD" -pointsize 44 -draw "text 126,146 '¥'" \
  "$TMP/icon192.png"
for s in 16 32 48; do
  convert "$TMP/icon192.png" -filter Lanczos -resize ${s}x${s} "$TMP/icon$s.png"
done
convert "$TMP/icon16.png" "$TMP/icon32.png" "$TMP/icon48.png" "$OUT/ravelbook.ico"
