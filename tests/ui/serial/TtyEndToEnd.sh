#!/usr/bin/env bash
# The TTY console in the real program on a virtual X display: the settings give
# port 0 a TTY ("ConsoleType0=1"), the boot ROM greets on port 0 and echoes what
# it receives, showing each byte on the front panel. After "Power On Reset" the
# window "DEV0 - TTY" shows the greeting; "abc" typed into it reaches the guest
# (the front panel shows 63, the code of "c") and comes back as a second line,
# both read back from the X server.
# Usage: TtyEndToEnd.sh <korva> <rom.s19> <font.s19> <x_close_window> <x_window_pixels>
set -u
korva=$1 rom=$2 font=$3 xclose=$4 xpixels=$5
work=$(mktemp -d /tmp/korva-tty.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

make_program
printf '[Devices]\nConsoleType0=1\n[TTY0]\nTop=300\nLeft=0\nWidth=500\nHeight=200\n' >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"
start_program "$prog"
await_main
await 10 window '^DEV0 - TTY$' || fail "no TTY window"
tty=$(window '^DEV0 - TTY$')
# Without a window manager the windows open where they are put: keep the TTY
# window clear of the main window, so the X server holds its pixels.
xdotool windowmove --sync "$tty" 0 300
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"
xdotool mousemove --window "$main" 56 66 click 1
await 20 status_has "FP=42 RUN=Stop" || fail "the front panel does not show 42"

# Text lines of the view: runs of rows that hold dark pixels, below the menu bar.
text_lines() {
  local y n runs=0 inside=0 seen_white=0
  for ((y = 20; y < 120; y++)); do
    n=$("$xpixels" "$tty" 8 "$y" 300 1) || return 1
    if [ "$n" -ge 300 ]; then seen_white=1; inside=0
    elif [ "$seen_white" -eq 1 ] && [ "$inside" -eq 0 ]; then inside=1; runs=$((runs + 1)); fi
  done
  echo "$runs"
}
lines_at_least() { [ "$(text_lines)" -ge "$1" ]; }
await 10 lines_at_least 1 || fail "the TTY window does not show the greeting"
xdotool windowfocus --sync "$tty"
xdotool type --delay 30 abc
await 10 status_has "FP=63" || fail "the typed keys did not reach the guest"
await 10 lines_at_least 2 || fail "the TTY window does not show the echo on a second line"
echo "text lines shown: $(text_lines)"
# KORVA_SHOT=<file.png> keeps a picture of the screen for a person to look at.
[ -n "${KORVA_SHOT:-}" ] && command -v import >/dev/null && import -window root "$KORVA_SHOT"
close_and_await_exit "$main"
grep -q '^ConsoleType0=1$' "$XDG_CONFIG_HOME/Korvan/Korvan.ini" || fail "the TTY kind was not kept"
echo "1 passed, 0 failed"
