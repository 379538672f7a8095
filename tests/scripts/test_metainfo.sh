#!/usr/bin/env bash
# The software-centre metadata the build writes is valid AppStream, German,
# points at the menu entry and a screenshot, and offers the MP3 media types.
set -euo pipefail
source "$(dirname "$0")/packaging-lib.sh"

metainfo=$build_dir/packaging/$app_id.metainfo.xml
[ -f "$metainfo" ] || fail "$metainfo was not written by the build"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

grep -q '@[A-Z_]*@' "$metainfo" && fail "unreplaced placeholder in $metainfo"
checks=(
  "<id>$app_id</id>"
  "<launchable type=\"desktop-id\">tagwerk.desktop</launchable>"
  "<image>https://[^<]*/main-window.png</image>"
  "<summary>ID3v1-Tags von MP3-Dateien bearbeiten</summary>"
  "Künstler"
  "<mediatype>audio/mpeg</mediatype>"
  "<mediatype>audio/x-mp3</mediatype>"
)
for pattern in "${checks[@]}"; do
  grep -q "$pattern" "$metainfo" || fail "$metainfo lacks $pattern"
done
echo "PASS"
