#!/usr/bin/env bash
# The real program on a virtual X display with port 1 of kind CRT: its window
# opens with the program; after "Power On Reset" the boot ROM sends a coloured
# banner through serial card 0, channel B; keys typed into the window go to the
# guest, which sends them back. The window, read back from the X server, equals
# the reviewed picture. The section "CRT1" pins the font, the place and a
# coloured palette; closing the main window ends the program and leaves the
# section with the window's settings.
# Usage: CrtOnX.sh <korva> <rom.s19> <font.s19> <x_close_window> <x_window_shot> <expected.png>
# With KORVA_KEEP_SHOT=<file> the picture taken is copied there (to review a new one).
set -u
korva=$1 rom=$2 font=$3 xclose=$4 xshot=$5 expected=$6
work=$(mktemp -d /tmp/korva-crt-x.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

make_program
{
  printf '[General]\nScreenOpened=False\n[Devices]\nConsoleType1=2\n[CRT1]\n'
  printf 'FontName=DejaVu Sans Mono\nFontSize=10\nLeft=0\nTop=260\nWindowState=0\nCursorColor=65535\n'
  # Black, blue, green, cyan, red, magenta, yellow, white and their bright forms.
  i=0
  for rgb in 0,0,0 0,0,170 0,170,0 0,170,170 170,0,0 170,0,170 170,85,0 170,170,170 \
             85,85,85 85,85,255 85,255,85 85,255,255 255,85,85 255,85,255 255,255,85 255,255,255; do
    IFS=, read -r r g b <<<"$rgb"
    printf 'ScreenColors%02d=%d\n' "$i" $((r + 256 * g + 65536 * b))
    i=$((i + 1))
  done
} >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"

start_program "$prog"
await_main
await 10 window '^ DEV1 - CRT$' || fail "no CRT window for port 1"
crt=$(window '^ DEV1 - CRT$')
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"
# "Power On Reset" is the second button of the left column, below the menu bar.
xdotool mousemove --window "$main" 56 66 click 1
await 20 status_has "RUN=Stop" || fail "the processor did not start"
sleep 2
xdotool windowfocus --sync "$crt"
sleep 0.3
xdotool type --delay 60 "Hello, Korva"
xdotool key Return
xdotool type --delay 60 "echo"
sleep 1
# The echo may still be on its way on a loaded machine: a few more looks.
same=0
for ((k = 0; k < 20; k++)); do
  "$xshot" "$crt" "$work/shot.png" || fail "no picture of the CRT window"
  cmp -s "$work/shot.png" "$expected" && { same=1; break; }
  sleep 0.5
done
[ -n "${KORVA_KEEP_SHOT:-}" ] && cp "$work/shot.png" "$KORVA_KEEP_SHOT"
[ "$same" -eq 1 ] || fail "the CRT window differs from $expected"

close_and_await_exit "$main"
ini="$XDG_CONFIG_HOME/Korvan/Korvan.ini"
grep -q '^ConsoleType1=2' "$ini" || fail "the console kind of port 1 was not kept"
grep -q '^ScreenColors04=170' "$ini" || fail "the palette was not written back"
echo "1 passed, 0 failed"
