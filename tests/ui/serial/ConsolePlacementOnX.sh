#!/usr/bin/env bash
# Console windows and "I/O Devices" under a window manager (openbox), with no
# place stored and the main window in the screen's top-left corner: each opens
# with the main window's title bar in sight.
#  1. A first start whose stored console kinds open a TTY (port 0), a CRT (1),
#     a NET (2) and a printer (8) window.
#  2. A first start without kinds: Devices > "Generic Devices ..." opens
#     "I/O Devices", the same four kinds are ticked in it by the keyboard and
#     applied with OK.
# Usage: ConsolePlacementOnX.sh <korva> <rom.s19> <font.s19> <x_close_window>
set -u
korva=$1 rom=$2 font=$3 xclose=$4
work=$(mktemp -d /tmp/korva-consoles.XXXXXX)
. "$(dirname "$0")/../XSession.sh"
start_window_manager

make_program
ini="$XDG_CONFIG_HOME/Korvan/Korvan.ini"
consoles=('^DEV0 - TTY$' '^ DEV1 - CRT' '^DEV2 - NET - ' '^ DEV8 - LPT$')

# The main window's title bar: "x y width height", the frame above the inside.
title_bar_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$4} /Absolute upper-left Y/ {ay=$4}
    /Relative upper-left X/ {rx=$4} /Relative upper-left Y/ {ry=$4} /Width:/ {w=$2}
    END {print ax-rx, ay-ry, w+2*rx, ry}'
}
# The window whose name matches $1 shows, framed, and its frame leaves the
# title bar $2 ("x y width height") uncovered.
clear_of_title_bar() {
  local w x y cw ch tx ty tw th
  await 30 window "$1" || fail "no window matching \"$1\""
  w=$(window "$1")
  await 10 framed "$w" || fail "\"$1\" is not framed"
  read -r x y cw ch <<<"$(frame_rect "$w")"
  read -r tx ty tw th <<<"$2"
  if ((x < tx + tw && tx < x + cw && y < ty + th && ty < y + ch)); then
    fail "\"$1\" at $x,$y (${cw}x$ch) covers the main window's title bar ($2)"
  fi
}
start_framed() {
  start_program "$prog"
  await_main
  await 10 framed "$main" || fail "the main window is not framed"
  bar=$(title_bar_of "$main")
}

# ---- 1. Opened at start-up ----
printf '[Devices]\nConsoleType0=1\nConsoleType1=2\nConsoleType2=6\nConsoleType8=4\n' >"$ini"
start_framed
for c in "${consoles[@]}"; do clear_of_title_bar "$c" "$bar"; done
close_and_await_exit "$main"

# ---- 2. Opened from "I/O Devices" ----
rm -f "$ini"
start_framed
xdotool mousemove --window "$main" 156 8 click 1  # Devices
await_menu
xdotool mousemove --window "$menu" 30 10 click 1  # its first item, "Generic Devices ..."
clear_of_title_bar '^I/O Devices$' "$bar"
dialog=$(window '^I/O Devices$')
await 10 focused "$dialog" || fail "\"I/O Devices\" has not the focus"
# The focus starts on port 0's CRT box; Tab goes through the enabled boxes row
# by row (CRT, TTY and NET of ports 0-3, then the printer box of port 8).
xdotool key Tab space Tab Tab space Tab Tab Tab Tab Tab space Tab Tab Tab Tab space Return
for c in "${consoles[@]}"; do clear_of_title_bar "$c" "$bar"; done
close_and_await_exit "$main"
echo "1 passed, 0 failed"
