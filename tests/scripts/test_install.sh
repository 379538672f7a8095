#!/usr/bin/env bash
# An installation into an empty prefix holds exactly the programs, their
# manual pages, the command line's bash completion, the copyright and
# changelog, the menu entry, its metadata and its icons, and each of them is
# valid.
set -euo pipefail
source "$(dirname "$0")/packaging-lib.sh"

prefix=$scratch/prefix
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
diff -u <(expected_files) <(echo "$actual") || fail "installed files differ (- expected, + installed)"

[ -x "$prefix/bin/tagwerk" ] || fail "bin/tagwerk is not executable"
"$prefix/bin/tagwerk-cli" --help | grep -q '^Aufruf: tagwerk-cli' || fail "tagwerk-cli --help"

# The completion offers commands, options and genre names as the installed
# program names them ("=" splits a word in bash, as in --genre=cla).
completed=$(bash -c 'source "$1"
  complete_line() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tagwerk_cli; echo "${COMPREPLY[*]}"; }
  complete_line "$2" fr; complete_line "$2" set --ti; complete_line "$2" set --genre = cla' _ \
  "$prefix/share/bash-completion/completions/tagwerk-cli" "$prefix/bin/tagwerk-cli")
[ "$completed" = $'from-names from-v2\n--title=\nClassic\\ Rock Classical' ] ||
  fail "bash completion gave: $completed"

# Each manual page renders without a warning, and its name line reads as
# "tagwerk-cli - ..." for the whatis database.
for program in tagwerk tagwerk-cli; do
  manual=$prefix/share/man/man1/$program.1.gz
  warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$program manual page warnings: $warnings"
  lexgrog "$manual" | grep -q ": \"$program - " || fail "manual page name line: $(lexgrog "$manual")"
done

for size in "${icon_sizes[@]}"; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/tagwerk.png
  file "$icon" | grep -q "PNG image data, $size x $size," ||
    fail "icon for ${size}x$size is $(file -b "$icon")"
done

desktop-file-validate "$prefix/share/applications/tagwerk.desktop" ||
  fail "desktop entry is invalid"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "AppStream metadata is invalid"
# The tree check ties them together: the metadata's launchable names the
# installed desktop entry, and the entry's icon is there.
appstreamcli validate-tree --no-net "$prefix" || fail "installed tree is inconsistent"
echo "PASS"
