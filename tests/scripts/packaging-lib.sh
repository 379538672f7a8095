# Shared by the packaging tests: what an installation of Tagwerk must hold.
# Sourced with the build folder as $1.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

build_dir=${1:?build folder expected as first argument}
source_dir=${TAGWERK_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
for program in app/tagwerk cli/tagwerk-cli; do
  [ -x "$build_dir/$program" ] || fail "$build_dir/$program is not built"
done

# The reverse-domain name the build was configured with.
app_id=$(sed -n 's/^TAGWERK_APP_ID:STRING=//p' "$build_dir/CMakeCache.txt")
[ -n "$app_id" ] || fail "TAGWERK_APP_ID missing from $build_dir/CMakeCache.txt"

icon_sizes=(16 22 24 32 48 64 128 256)

# Every file an installation holds, relative to the prefix, sorted.
expected_files() {
  {
    echo bin/tagwerk
    echo bin/tagwerk-cli
    echo share/man/man1/tagwerk.1.gz
    echo share/man/man1/tagwerk-cli.1.gz
    echo share/bash-completion/completions/tagwerk-cli
    echo share/doc/tagwerk/copyright
    echo share/doc/tagwerk/changelog.gz
    echo share/applications/tagwerk.desktop
    echo "share/metainfo/$app_id.metainfo.xml"
    for size in "${icon_sizes[@]}"; do
      echo "share/icons/hicolor/${size}x$size/apps/tagwerk.png"
    done
    echo share/icons/hicolor/scalable/apps/tagwerk.svg
  } | LC_ALL=C sort
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
