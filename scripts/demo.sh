#!/usr/bin/env bash
# make demo: a program folder that runs the project's own screen test ROM, for
# a first look without a ROM of one's own. The ROM (tests/guest/testrom_screen.s)
# is assembled into ROMS/ROM.S19, the test font copied to FONTS/CHARRAM.S19,
# the program copied beside them; its settings stay in the folder and open the
# screen window.
# Usage: demo.sh <build folder with korva> <demo folder>
set -euo pipefail
build=$1 demo=$2
for tool in m68k-linux-gnu-as m68k-linux-gnu-ld m68k-linux-gnu-objcopy; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (make deps installs it)"; exit 1; }
done
mkdir -p "$demo/ROMS" "$demo/FONTS" "$demo/config/Korvan"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
m68k-linux-gnu-as -mcpu=68010 -I tests/guest -o "$tmp/rom.o" tests/guest/testrom_screen.s
m68k-linux-gnu-ld -Ttext=0 -e 0 -o "$tmp/rom.elf" "$tmp/rom.o"
m68k-linux-gnu-objcopy -O srec "$tmp/rom.elf" "$demo/ROMS/ROM.S19"
cp tests/data/shell/CHARRAM.S19 "$demo/FONTS/CHARRAM.S19"
cp "$build/korva" "$demo/korva"
# The screen window opens with the program, also when the last run closed it.
ini="$demo/config/Korvan/Korvan.ini"
if [ ! -f "$ini" ]; then
  printf '[General]\nScreenOpened=True\n' >"$ini"
elif grep -q '^ScreenOpened=' "$ini"; then
  sed -i 's/^ScreenOpened=.*/ScreenOpened=True/' "$ini"
elif grep -q '^\[General\]' "$ini"; then
  sed -i 's/^\[General\]/[General]\nScreenOpened=True/' "$ini"
else
  printf '[General]\nScreenOpened=True\n' >>"$ini"
fi
echo "Demo folder $demo: press \"Power On Reset\" to run the test ROM."
cd "$demo"
XDG_CONFIG_HOME="$PWD/config" exec ./korva
