#!/usr/bin/env bash
# The real program on a virtual X display: after "Power On Reset" and "Stop",
# Disks > "Open HD00" mounts a bootable winchester image chosen in the file
# dialog, Boot > "BO" boots it (the boot-string dialog answered with OK), and
# the loaded program's output shows: white text rows on the screen window (read
# back from the X server) and 69 on the front panel.
# Usage: BootFromMenuEndToEnd.sh <korva> <rom.s19> <font.s19> <boot_white.s19> <objcopy> <x_close_window> <x_window_pixels>
set -u
korva=$1 rom=$2 font=$3 ipl=$4 objcopy=$5 xclose=$6 xpixels=$7
work=$(mktemp -d /tmp/korva-boot-e2e.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

now_shows() { tail -1 "$work/status.log" | grep -q -- "$1"; }
# Opens the menu n places right of "File" (0 File, 1 Boot, 2 Disks): moving
# along the menu bar with the keyboard opens each menu with its first item active.
open_menu() {
  xdotool mousemove --window "$1" 20 8 click 1
  sleep 1
  for ((k = 0; k < $2; k++)); do xdotool key Right; sleep 0.5; done
}

# A raw winchester of disk type 0: the volume ID sector with the magic names
# the loader at LSN 2, one sector, loaded at 0x2000.
image="$work/boot.raw"
"$objcopy" -I srec -O binary "$ipl" "$work/ipl.bin" || fail "objcopy"
truncate -s 5013504 "$image"
put() { printf "$2" | dd of="$image" bs=1 seek="$1" conv=notrunc status=none; }
put 23 '\002'
put 25 '\001'
put 32 '\040'
put 248 'MOTOROLA'
dd if="$work/ipl.bin" of="$image" bs=1 seek=512 conv=notrunc status=none

make_program
printf '[General]\nScreenOpened=True\n' >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"
start_program "$prog"
await_main
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"
await 10 window '^Screen/Keyboard$' || fail "no screen window"
screen=$(window '^Screen/Keyboard$')
# Without a window manager both windows open at 0,0: the screen window moves
# clear of the main window, so that the X server holds the pixels of both.
xdotool windowmove --sync "$screen" 0 260
# Text rows 2-7 (24 pixels each) of the 800-pixel-wide screen, which the ROM leaves dark.
white_rows() { [ "$("$xpixels" "$screen" 0 48 800 144)" -ge 100000 ]; }
xdotool mousemove --window "$main" 56 66 click 1   # "Power On Reset"
await 20 status_has "FP=42 RUN=Stop" || fail "the ROM did not run"
xdotool mousemove --window "$main" 56 38 click 1   # "Stop"
await 10 now_shows "RUN=Run" || fail "the processor did not stop"
white_rows && fail "rows 2-7 are white before the boot"

open_menu "$main" 2   # Disks: "Open HD00"
xdotool key Return
await 20 window '^Open ' || fail "no file dialog"
dialog=$(window '^Open ')
xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool type --delay 20 "$image"
xdotool key Return
# The image has no configuration area: use it anyway, then the mount's report.
answer() {  # $1: window name, $2: key
  await 20 window "$1" || fail "no box $1"
  xdotool windowfocus --sync "$(window "$1")"
  sleep 0.3
  xdotool key "$2"
}
answer '^Configuration Error$' y
answer '^Raw File will Open Read/Write$' Return

open_menu "$main" 1   # Boot: "BO"
xdotool key Return
answer '^Boot$' Return   # the boot-string dialog: OK
await 20 now_shows "FP=69" || fail "the booted program did not show 69"
await 10 white_rows || fail "the screen window does not show the booted program's rows"

close_and_await_exit "$main"
echo "1 passed, 0 failed"
