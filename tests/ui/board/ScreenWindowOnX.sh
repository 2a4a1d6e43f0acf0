#!/usr/bin/env bash
# Runs ScreenWindowOnX on a virtual X display of its own with Qt's xcb platform.
# Usage: ScreenWindowOnX.sh <ScreenWindowOnX program>
set -u
work=$(mktemp -d /tmp/korva-screen-x.XXXXXX)
. "$(dirname "$0")/../XSession.sh"
ASAN_OPTIONS=detect_leaks=0 "$1" || fail "the X server does not show the compositor's picture"
