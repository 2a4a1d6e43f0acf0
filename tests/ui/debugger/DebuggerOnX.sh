#!/usr/bin/env bash
# The real program on a virtual X display, without a power-on reset: Tools >
# "Show Debugger" opens the debugger window, the command lines given are typed
# in its command box one after the other, and the window, read back from the X
# server, equals the reviewed picture. The section "Debugger" pins the font,
# the place and the size.
# Usage: DebuggerOnX.sh <korva> <rom.s19> <font.s19> <x_close_window> <x_window_shot> <expected.png> LINE...
# With KORVA_KEEP_SHOT=<file> the picture taken is copied there (to review a new one).
set -u
korva=$1 rom=$2 font=$3 xclose=$4 xshot=$5 expected=$6
shift 6
work=$(mktemp -d /tmp/korva-debugger-x.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

make_program
cat >"$XDG_CONFIG_HOME/Korvan/Korvan.ini" <<'INI'
[General]
ScreenOpened=False
[Debugger]
FontName=DejaVu Sans Mono
FontSize=10
FontBold=False
FontItalic=False
Left=300
Top=200
Width=720
Height=540
WindowState=0
INI
start_program "$prog"
await_main
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"

# Tools is the third menu from the right (Tools, Options, Help): from File leftwards
# along the bar with the keyboard (rightwards, Devices' submenus would take the key).
xdotool mousemove --window "$main" 20 8 click 1
sleep 1
for ((k = 0; k < 3; k++)); do xdotool key Left; sleep 0.5; done
xdotool key Return   # "Show Debugger"
await 20 window '^Debugger - ' || fail "no debugger window"
debugger=$(window '^Debugger - ')
xdotool windowfocus --sync "$debugger"
sleep 0.3
for line in "$@"; do
  xdotool type --delay 30 "$line"
  xdotool key Return
  sleep 1
done
# The main window takes the focus: the command box's caret does not blink in the picture.
xdotool windowfocus --sync "$main"
sleep 1
"$xshot" "$debugger" "$work/shot.png" || fail "no picture of the debugger window"
[ -n "${KORVA_KEEP_SHOT:-}" ] && cp "$work/shot.png" "$KORVA_KEEP_SHOT"
cmp -s "$work/shot.png" "$expected" || fail "the debugger window differs from $expected"

close_and_await_exit "$main"
grep -q '^\[Debugger\]' "$XDG_CONFIG_HOME/Korvan/Korvan.ini" || fail "no Debugger section after the end"
echo "1 passed, 0 failed"
