#!/usr/bin/env bash
# The running program as a screen reader finds it over AT-SPI, on an X
# server of its own with a window manager and a session bus of its own.
set -euo pipefail
build_dir=${1:?build folder expected as first argument}
script_dir=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
matchbox-window-manager -use_titlebar no 2>/dev/null &

mkdir -m 700 "$work/run"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work/run \
  XDG_STATE_HOME=$work/state
# pyatspi is Debian's, for Debian's Python.
dbus-run-session -- /usr/bin/python3 "$script_dir/screen_reader.py" "$build_dir/app/tagwerk" "$work"
