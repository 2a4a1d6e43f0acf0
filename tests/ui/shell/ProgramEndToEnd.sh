#!/usr/bin/env bash
# The real program on a virtual X display, as a user meets it:
#  1. started from a program folder holding a boot ROM of our own (ROMS/ROM.S19)
#     and a font, with the screen window opened by the settings: "Power On
#     Reset" is clicked, the front-panel label shows the digits the ROM writes,
#     the screen window shows the white row the ROM draws (read back from the X
#     server), a key typed into it reaches the guest, which shows its code on
#     the front panel, the throughput label counts, and closing the main
#     window (its close box) ends the process with status 0 and leaves the
#     settings file with the clock section, "General" and the window's placement;
#  2. started without a ROM: the "NO ROM" box shows, and once it is answered the
#     main window opens and the program keeps running; File > Exit ends it.
# Usage: ProgramEndToEnd.sh <korva> <rom.s19> <font.s19> <x_close_window> <x_window_pixels>
set -u
korva=$1 rom=$2 font=$3 xclose=$4 xpixels=$5
work=$(mktemp -d /tmp/korva-e2e.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

# File > Exit: open the menu by its title, then the last item.
exit_by_menu() {
  local w=$1
  xdotool mousemove --window "$w" 20 8 click 1
  sleep 0.5
  xdotool key Up Return
}

# ---- 1. With a ROM ----
make_program
printf '[General]\nScreenOpened=True\n' >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"
start_program "$prog"
await_main
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"
# "Power On Reset" is the second button of the left column, below the menu bar.
xdotool mousemove --window "$main" 56 66 click 1
await 20 status_has "FP=42 RUN=Stop" || fail "the front panel does not show 42"
await 10 window '^Screen/Keyboard$' || fail "no screen window"
screen=$(window '^Screen/Keyboard$')
# Without a window manager both windows open at 0,0: move the screen window
# clear of the main window, so the X server holds its pixels.
xdotool windowmove --sync "$screen" 0 260
# The first text row of the screen is solid white: 800 x 24 pixels.
white_row() { [ "$("$xpixels" "$screen" 0 0 800 60)" -ge 15000 ]; }
await 10 white_row || fail "the screen window does not show the ROM's white row"
# A key typed into the screen window: the ROM shows the keyboard's code for A (25 = 0x19).
xdotool windowfocus --sync "$screen"
xdotool key a
await 10 status_has "FP=19" || fail "the typed key did not reach the guest"
await 10 grep -Eq "IPS=[0-9.]+ (K|M)IPS" "$work/status.log" || fail "no throughput shown"
close_and_await_exit "$main"
ini="$XDG_CONFIG_HOME/Korvan/Korvan.ini"
[ -f "$ini" ] || fail "no settings file"
for want in '^\[MC1468HC18\]' '^\[General\]' '^ThrottleCPU=10$' '^\[Main\]' '^Top=' '^Left=' '^WindowState=0$'; do
  grep -q "$want" "$ini" || { cat "$ini"; fail "settings file lacks $want"; }
done

# ---- 2. Without a ROM (a first run: the settings of run 1 name its ROM) ----
export XDG_CONFIG_HOME="$work/cfg2"
prog2="$work/prog2"
mkdir -p "$prog2/FONTS"
cp "$korva" "$prog2/korva"
cp "$font" "$prog2/FONTS/CHARRAM.S19"
start_program "$prog2"
await 30 window '^NO ROM$' || fail "no NO ROM box"
box=$(window '^NO ROM$')
xdotool windowfocus --sync "$box"
xdotool key Return
await 30 window '^Korvan$' || fail "no main window after the NO ROM box"
await 10 status_has "RUN=Run" || fail "the main window does not run"
sleep 1
kill -0 "$kpid" 2>/dev/null || fail "the program ended after the NO ROM box"
exit_by_menu "$(window '^Korvan$')"
await_exit
echo "1 passed, 0 failed"
