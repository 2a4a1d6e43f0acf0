#!/usr/bin/env bash
# The real program on a virtual X display with port 1 of kind CRT and, beside
# it, "Default1.fky" a link to /dev/zero and "Default1.kbd" a FIFO. Neither is
# opened: each gives its loader's box at once, and once both are answered the
# main window and the CRT window show within 15 s of the start, the program
# stays under 300 MB and ends normally.
# Usage: CrtBadDefaultsOnX.sh <korva> <rom.s19> <font.s19> <x_close_window>
set -u
korva=$1 rom=$2 font=$3 xclose=$4
work=$(mktemp -d /tmp/korva-crt-bad.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

make_program
ln -s /dev/zero "$prog/Default1.fky"
mkfifo "$prog/Default1.kbd"
printf '[General]\nScreenOpened=False\n[Devices]\nConsoleType1=2\n' >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"

started=$SECONDS
start_program "$prog"
# The boxes come one after the other; each is answered with Return.
for box in 1 2; do
  await 10 window '^Error$' || fail "no box for refused default file $box"
  w=$(window '^Error$')
  xdotool windowfocus --sync "$w" key Return
  await 5 bash -c "[ \"\$(xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -1)\" != $w ]" ||
    fail "box $box stayed"
done
await_main
await 10 window '^ DEV1 - CRT$' || fail "no CRT window for port 1"
[ $((SECONDS - started)) -le 15 ] || fail "the windows took $((SECONDS - started)) s"
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$kpid/status")
[ "$rss" -lt 307200 ] || fail "the program holds $rss kB"
[ -L "$prog/Default1.fky" ] && [ -p "$prog/Default1.kbd" ] || fail "a default file was changed"
echo "windows shown $((SECONDS - started)) s after the start; $rss kB resident"
close_and_await_exit "$main"
echo "1 passed, 0 failed"
