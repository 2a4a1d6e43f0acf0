#!/usr/bin/env bash
# The printer window in the real program on a virtual X display: started with
# port 8's console kind Printer ("ConsoleType8=4") and a boot ROM that prints
# one job on port 8 through the parallel board. The window " DEV8 - LPT" opens
# off line (its green lamp unlit); a click on the switch lights the lamp; after
# "Power On Reset" the page shows the job's green text. Both colours are read
# back from the X server. Closing the main window ends the program with status
# 0 and leaves the printer's options in section [LPT8].
# Usage: PrinterOnX.sh <korva> <rom.s19> <font.s19> <x_close_window> <x_window_pixels>
set -u
korva=$1 rom=$2 font=$3 xclose=$4 xpixels=$5
work=$(mktemp -d /tmp/korva-printer.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

make_program
printf '[Devices]\nConsoleType8=4\n' >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"
start_program "$prog"
await_main
await 10 window '^ DEV8 - LPT$' || fail "no printer window captioned ' DEV8 - LPT'"
lpt=$(window '^ DEV8 - LPT$')
# Without a window manager both windows open at 0,0: move the printer clear.
xdotool windowmove --sync "$lpt" 300 300
pixels() { "$xpixels" "$lpt" 0 0 640 400 "$1"; }
sleep 0.5
[ "$(pixels 00FF00)" -eq 0 ] || fail "the on-line lamp is lit before the switch"
# The switch slides along the status frame's line, near the top right corner
# below the menu bar; off line it sits at the line's lower end.
xdotool mousemove --window "$lpt" 552 58 click 1
lamp_lit() { [ "$(pixels 00FF00)" -ge 20 ]; }
await 10 lamp_lit || fail "the switch did not light the on-line lamp"
# "Power On Reset": the ROM prints its job.
xdotool mousemove --window "$main" 56 66 click 1
green_text() { [ "$(pixels 008F00)" -ge 100 ]; }
await 20 green_text || fail "the page does not show the job's green text"
close_and_await_exit "$main"
ini="$XDG_CONFIG_HOME/Korvan/Korvan.ini"
for want in '^\[LPT8\]' '^SendACK=True$' '^ConsoleType8=4$'; do
  grep -q "$want" "$ini" || { cat "$ini"; fail "settings file lacks $want"; }
done
echo "1 passed, 0 failed"
