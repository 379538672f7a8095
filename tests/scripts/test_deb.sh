#!/usr/bin/env bash
# CPack builds a Debian package that holds the same files as an installation
# under /usr, declares the Qt libraries it needs and passes lintian.
set -euo pipefail
source "$(dirname "$0")/packaging-lib.sh"

cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$scratch" >/dev/null ||
  fail "cpack failed"
debs=("$scratch"/tagwerk_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tagwerk_*.deb, got: ${debs[*]}"
deb=${debs[0]}

actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | LC_ALL=C sort)
diff -u <(expected_files) <(echo "$actual") || fail "package files differ (- expected, + packaged)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tagwerk ] || fail "Package is '$(field Package)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[[ $(field Description) == *ID3v1* ]] || fail "Description is '$(field Description)'"
depends=", $(field Depends),"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
  [[ $depends =~ ,\ "$library"[\ ,] ]] || fail "Depends lacks $library: $depends"
done
# Lintian finds neither errors nor warnings; its notes (German words its
# spelling check does not know, for one) are fine.
report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $report"
echo "PASS"
