#!/usr/bin/env bash
# Window placement under a window manager (openbox) on a virtual X display:
#  1. a first start (no stored place) shows the main window's whole title bar;
#  2. ten restarts, each closed by the main window's close box, leave the main
#     and the screen window where they were (the frames, read with xwininfo);
#  3. a stored place above the screen's top edge is brought down until the
#     title bar shows;
#  4. "Create New Disk" opens centred on the main window the first time, and
#     where it was left the next time; closed before the window manager has
#     framed it, it keeps the place it was given;
#  5. the debugger window, closed by its close box, opens again where it was.
# Each step waits for what it needs to see, never for a time: the program
# keeps a window's place also when the frame reaches it late.
# Usage: PlacementOnX.sh <korva> <rom.s19> <font.s19> <x_close_window>
set -u
korva=$1 rom=$2 font=$3 xclose=$4
work=$(mktemp -d /tmp/korva-place.XXXXXX)
. "$(dirname "$0")/../XSession.sh"
start_window_manager

make_program
ini="$XDG_CONFIG_HOME/Korvan/Korvan.ini"

# Starts the program, waits for the main window (and the screen window when
# asked) to be framed, prints their frames, closes the main window.
run_once() {  # $1: 1 to wait for the screen window too
  local main screen="" out
  start_program "$prog"
  await_main
  await 10 framed "$main" || fail "the main window is not framed"
  out=$(frame_of "$main")
  if [ "$1" = 1 ]; then
    await 30 window '^Screen/Keyboard$' || fail "no screen window"
    screen=$(window '^Screen/Keyboard$')
    await 10 framed "$screen" || fail "the screen window is not framed"
    out="$out $(frame_of "$screen")"
  fi
  close_and_await_exit "$main"
  echo "$out"
}

# ---- 1. First start ----
first=$(run_once 0)
[ "${first#*,}" -ge 0 ] || fail "first start: the main window's title bar is above the screen ($first)"

# ---- 2. Ten restarts ----
cat >"$ini" <<'INI'
[General]
ScreenOpened=True
[Main]
Left=200
Top=150
[KeyBoardDisplay]
Left=60
Top=90
INI
want="200,150 60,90"
for n in 1 2 3 4 5 6 7 8 9 10; do
  got=$(run_once 1)
  [ "$got" = "$want" ] || fail "start $n: frames at $got, expected $want"
done

# ---- 3. A stored place above the screen ----
printf '[Main]\nLeft=300\nTop=-25\n' >"$ini"
got=$(run_once 0)
[ "$got" = "300,0" ] || fail "a place above the screen: frame at $got, expected 300,0"

# ---- 4. The new-disk dialog ----
# The frame's centre of a managed window.
centre_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$4} /Absolute upper-left Y/ {ay=$4}
    /Relative upper-left X/ {rx=$4} /Relative upper-left Y/ {ry=$4} /Width/ {w=$2} /Height/ {h=$2}
    END {print int(ax + (w + rx) / 2 - rx) "," int(ay + (h + ry) / 2 - ry)}'
}
# Opens Disks > "Create IMD Image ..." (the last item), prints the dialog's
# frame and centre and the main window's centre, and cancels the dialog.
new_disk() {
  local main dialog
  start_program "$prog"
  await_main
  await 10 framed "$main" || fail "the main window is not framed"
  xdotool mousemove --window "$main" 110 8 click 1
  await_menu
  xdotool key Up Return
  await 10 window '^Create New Disk$' || fail "no new-disk dialog"
  dialog=$(window '^Create New Disk$')
  await 10 framed "$dialog" || fail "the dialog is not framed"
  echo "$(frame_of "$dialog") $(centre_of "$dialog") $(centre_of "$main")"
  await 10 focused "$dialog" || fail "the dialog has not the focus"
  xdotool key Escape
  await 10 bash -c "! xdotool search --onlyvisible --name '^Create New Disk$'" || fail "the dialog did not close"
  close_and_await_exit "$main"
}
# Low enough on the screen for the taller dialog to centre on it.
printf '[Main]\nLeft=200\nTop=250\n' >"$ini"
read -r frame1 centre main_centre <<<"$(new_disk)"
dx=$(( ${centre%,*} - ${main_centre%,*} )) dy=$(( ${centre#*,} - ${main_centre#*,} ))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "the dialog's centre $centre is not the main window's $main_centre"
read -r frame2 _ <<<"$(new_disk)"
[ "$frame2" = "$frame1" ] || fail "the dialog reopened at $frame2, not where it was ($frame1)"
# With the window manager stopped, the dialog is never framed: closed so, it
# keeps the place it was given, not its inside's.
printf '[Main]\nLeft=200\nTop=250\n' >"$ini"
start_program "$prog"
await_main
await 10 framed "$main" || fail "the main window is not framed"
xdotool mousemove --window "$main" 110 8 click 1
await_menu
kill -STOP $wmpid
xdotool key Up Return
unframed() { local w; w=$(xdotool search --name '^Create New Disk$' 2>/dev/null | head -1); [ -n "$w" ] && echo "$w"; }
await 10 unframed || fail "no new-disk dialog while the window manager is stopped"
"$xclose" "$(unframed)" || fail "the close message could not be sent"
await 10 bash -c "! xdotool search --name '^Create New Disk$'" || fail "the unframed dialog did not close"
kill -CONT $wmpid
close_and_await_exit "$main"
placed=$(sed -n '/^\[NewDisk\]/,/^\[/p' "$ini" | grep -E '^(Left|Top)=' | sort | tr '\n' ' ')
[ "$placed" = "Left=${frame1%,*} Top=${frame1#*,} " ] || fail "closed unframed, the dialog's place became: $placed, not $frame1"

# ---- 5. The debugger window ----
# Tools > "Show Debugger" three times, its close box between: the frame stays at
# the stored place; closed maximized (a double click on its title bar), the
# window keeps the place it has when restored.
maximized() {
  local s
  s=$(xprop -id "$1" _NET_WM_STATE)
  [[ $s == *_NET_WM_STATE_MAXIMIZED_VERT* && $s == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}
printf '[Main]\nLeft=200\nTop=250\n[Debugger]\nLeft=300\nTop=200\nWidth=600\nHeight=400\n' >"$ini"
start_program "$prog"
await_main
await 10 framed "$main" || fail "the main window is not framed"
for n in 1 2 3; do
  xdotool mousemove --window "$main" 208 8 click 1  # Tools
  await_menu
  xdotool mousemove --window "$menu" 30 10 click 1  # its one item
  await 20 window '^Debugger - ' || fail "no debugger window at opening $n"
  dbg=$(window '^Debugger - ')
  await 10 framed "$dbg" || fail "the debugger window is not framed"
  got=$(frame_of "$dbg")
  [ "$got" = "300,200" ] || fail "debugger opening $n: frame at $got, expected 300,200"
  if [ "$n" = 3 ]; then
    xdotool mousemove 500 208 click --repeat 2 --delay 80 1
    # The window manager's note of the state reaches the program before the
    # close message does.
    await 10 maximized "$dbg" || fail "the debugger is not maximized"
  fi
  "$xclose" "$dbg" || fail "the close message could not be sent"
  await 10 bash -c "! xdotool search --onlyvisible --name '^Debugger - '" || fail "the debugger did not close"
done
close_and_await_exit "$main"
placed=$(sed -n '/^\[Debugger\]/,/^\[/p' "$ini" | grep -E '^(Left|Top|WindowState)=' | sort | tr '\n' ' ')
[ "$placed" = "Left=300 Top=200 WindowState=2 " ] || fail "closed maximized, the debugger's place became: $placed"
echo "1 passed, 0 failed"
