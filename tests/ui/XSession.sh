# Shared by the end-to-end scripts: a virtual X display of its own for a test
# that runs the real program. The caller sets `work` (a temporary folder) and
# sources this file; it leaves DISPLAY and the Qt environment set, the X server
# and the program ($kpid) ended at exit, and these helpers:
#   fail TEXT        the test's failure, with the windows and the logs
#   await SECONDS CMD...   until CMD succeeds
#   status_has TEXT  the program's status log (KORVA_STATUS_LOG) holds TEXT
#   window NAME      the first visible window whose name matches NAME
#   make_program     a program folder $prog holding the program ($korva), the
#                    boot ROM ($rom) and the font ($font); the settings folder
#   start_window_manager   openbox on the display ($wmpid), for tests of
#                    where windows open; ended at exit
#   start_program DIR    the program of folder DIR in the background ($kpid),
#                    with a status log of its own
#   await_main       until the main window shows; $main is the window
#   await_exit       until the program ends, which must be with status 0
#   close_and_await_exit WINDOW   WINDOW's close box ($xclose), then await_exit
# and, for a window manager's frames (a test that runs one):
#   framed WINDOW    the window manager has framed WINDOW (it lies below a title bar)
#   frame_of WINDOW  the frame's top-left corner "x,y"
#   frame_rect WINDOW    the frame "x y width height" (borders as wide as the left one)
#   focused WINDOW   WINDOW has the keyboard focus
#   menu_shown       the ids of the program's open menus, if one is open
#   await_menu [OLD] until a menu other than OLD is open; $menu is its id
xpid="" kpid="" wmpid=""
cleanup() {
  [ -n "$kpid" ] && kill "$kpid" 2>/dev/null
  # A window manager a test paused is woken first, or it would not end.
  [ -n "$wmpid" ] && { kill -CONT "$wmpid"; kill "$wmpid"; } 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do echo "window: $(xdotool getwindowname "$w")"; done
  for f in "$work"/*.log; do [ -f "$f" ] && { echo "--- $f"; tail -20 "$f"; }; done
  exit 1
}

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is missing (make deps installs it)"
done

# Xvfb picks a free display number itself and tells it through a pipe. Two
# servers started at once by tests running side by side may pick the same
# number, and the second then gives up: it is started again, a few times.
disp=""
for try in 1 2 3 4 5; do
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xpid=$!
  if read -r -t 15 disp <&3 && kill -0 "$xpid" 2>/dev/null; then break; fi
  kill "$xpid" 2>/dev/null; xpid="" disp=""
  sleep 0.$((RANDOM % 9 + 1))
done
exec 3<&-
[ -n "$disp" ] || fail "Xvfb did not start"
export DISPLAY=":$disp"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/cfg" QT_QPA_PLATFORM=xcb
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

await() {
  local limit=$(( $1 * 10 )); shift
  for ((i = 0; i < limit; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
status_has() { grep -q -- "$1" "$work/status.log"; }
start_window_manager() {
  command -v openbox >/dev/null || fail "openbox is missing (make deps installs it)"
  command -v xwininfo >/dev/null || fail "xwininfo is missing (make deps installs it)"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wmpid=$!
}
window() {
  local w
  w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  [ -n "$w" ] && echo "$w"
}

make_program() {
  prog="$work/prog"
  mkdir -p "$prog/ROMS" "$prog/FONTS" "$XDG_CONFIG_HOME/Korvan"
  cp "$korva" "$prog/korva"
  cp "$rom" "$prog/ROMS/ROM.S19"
  cp "$font" "$prog/FONTS/CHARRAM.S19"
}
start_program() {
  rm -f "$work/status.log"
  KORVA_STATUS_LOG="$work/status.log" ASAN_OPTIONS=detect_leaks=0 "$1/korva" >"$work/program.log" 2>&1 &
  kpid=$!
}
await_main() {
  await 30 window '^Korvan$' || fail "no main window"
  main=$(window '^Korvan$')
}
await_exit() {
  await 30 bash -c "! kill -0 $kpid" || fail "the program did not end"
  wait "$kpid"
  local code=$?
  kpid=""
  [ "$code" -eq 0 ] || fail "exit status $code"
}
close_and_await_exit() {
  "$xclose" "$1" || fail "the close message could not be sent"
  await_exit
}

framed() { [ "$(xwininfo -id "$1" | awk '/Relative upper-left Y/ {print $4}')" -gt 0 ]; }
# The inside's absolute position less its offset in the frame.
frame_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$4} /Absolute upper-left Y/ {ay=$4}
    /Relative upper-left X/ {rx=$4} /Relative upper-left Y/ {ry=$4} END {print ax-rx "," ay-ry}'
}
frame_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$4} /Absolute upper-left Y/ {ay=$4}
    /Relative upper-left X/ {rx=$4} /Relative upper-left Y/ {ry=$4} /Width:/ {w=$2} /Height:/ {h=$2}
    END {print ax-rx, ay-ry, w+2*rx, h+ry+rx}'
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# A menu is a shown window of the program's class that the window manager
# leaves alone (override-redirect): its type hint may say "normal".
menu_shown() {
  local w found=1
  for w in $(xdotool search --onlyvisible --classname '^korva$' 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && { echo "$w"; found=0; }
  done
  return $found
}
menu_other_than() { menu_shown | grep -vx -- "$1"; }
await_menu() {
  await 10 menu_other_than "${1:-none}" || fail "no menu opened"
  menu=$(menu_other_than "${1:-none}" | head -1)
}
