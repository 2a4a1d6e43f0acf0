#!/usr/bin/env bash
# Runs ScreenWindowOnX on a virtual X display of its own (Xvfb, from
# scripts/install-deps.sh) with Qt's xcb platform.
# Usage: ScreenWindowOnX.sh <ScreenWindowOnX program>
set -u
prog=$1
for tool in Xvfb xwd; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make deps installs it)"; exit 1; }
done
work=$(mktemp -d /tmp/korva-screen-x.XXXXXX)
xpid=""
cleanup() {
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb picks a free display number itself and tells it through a pipe.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xpid=$!
read -r -t 15 disp <&3 || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
mkdir -m 700 -p "$work/run"
DISPLAY=":$disp" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/cfg" \
  ASAN_OPTIONS=detect_leaks=0 "$prog"
