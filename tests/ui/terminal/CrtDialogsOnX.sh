#!/usr/bin/env bash
# Runs CrtDialogsOnX on a virtual X display of its own and compares each picture
# it takes with the reviewed one.
# Usage: CrtDialogsOnX.sh <CrtDialogsOnX program> <folder of the reviewed pictures>
# With KORVA_KEEP_SHOT=<folder> the pictures taken are copied there (to review new ones).
set -u
prog=$1 expected=$2
work=$(mktemp -d /tmp/korva-crt-dialogs-x.XXXXXX)
. "$(dirname "$0")/../XSession.sh"
mkdir -p "$work/shots"
ASAN_OPTIONS=detect_leaks=0 "$prog" "$work/shots" >"$work/program.log" 2>&1 || fail "the dialogs could not be shown"
[ -n "${KORVA_KEEP_SHOT:-}" ] && cp "$work"/shots/*.png "$KORVA_KEEP_SHOT"/
for name in keys_tab1 keys_tab2 keys_tab3 keys_tab4 abilities_definitions colors_ansi; do
  cmp -s "$work/shots/$name.png" "$expected/dialog_$name.png" || fail "$name differs from $expected/dialog_$name.png"
done
echo "6 passed, 0 failed"
