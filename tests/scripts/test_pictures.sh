#!/usr/bin/env bash
# The pictures compiled into the program have the sizes the windows show them
# at: they are drawn pixel for pixel and never scaled.
set -euo pipefail
source "$(dirname "$0")/packaging-lib.sh"

pictures=(
  "logo.png         330 x 89"
  "logo-dimmed.png  330 x 89"
  "about-logo.png   154 x 115"
  "about-small.png  32 x 32"
  "tagwerk.png      256 x 256"
)
for entry in "${pictures[@]}"; do
  read -r name size <<<"$entry"
  picture=$source_dir/resources/pictures/$name
  file "$picture" | grep -q "PNG image data, $size," || fail "$name: $(file -b "$picture"), expected $size"
done
[ "$(LC_ALL=C ls "$source_dir/resources/pictures")" = "$(printf '%s\n' "${pictures[@]}" | awk '{ print $1 }' | LC_ALL=C sort)" ] ||
  fail "resources/pictures holds other pictures than the ones checked here"
echo "PASS"
