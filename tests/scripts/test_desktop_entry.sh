#!/usr/bin/env bash
# The menu entry is valid, German, starts the installed program with the
# installed icon, and offers it for MP3 files (with the files chosen).
set -euo pipefail
source "$(dirname "$0")/packaging-lib.sh"

entry=$source_dir/packaging/tagwerk.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"

value() { sed -n "s/^$1=//p" "$entry"; }
checks=(
  # key        expected value (extended regular expression)
  "Name        ^Tagwerk$"
  "Comment     ^ID3v1-Tags von MP3-Dateien bearbeiten$"
  "Exec        ^tagwerk %F$"
  "MimeType    ^audio/mpeg;audio/mp3;audio/x-mp3;audio/x-mpeg;audio/x-mpg;$"
  "Icon        ^tagwerk$"
  "Categories  (^|;)AudioVideo;(.*;)?Audio;"
  "Terminal    ^false$"
)
for check in "${checks[@]}"; do
  read -r key pattern <<<"$check"
  value "$key" | grep -Eq "$pattern" || fail "$key is '$(value "$key")', expected /$pattern/"
done
echo "PASS"
