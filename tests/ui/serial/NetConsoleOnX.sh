#!/usr/bin/env bash
# The NET console and the main window's listener in the real program on a
# virtual X display: the settings give port 0 a NET console ("ConsoleType0=6")
# and the boot ROM echoes what port 0 receives. After "Power On Reset" the
# window "DEV0 - NET" is made a Child (Server > Start Child) and the main
# listener is started (Devices > Main Server > Start/Restart), both with the
# pointer and keys. A client (bash's /dev/tcp) gets the greeting and its
# "hi" CR LF back as "hi" CR; after it leaves a second client is served the
# same way. The program then ends cleanly from its close box.
# Usage: NetConsoleOnX.sh <korva> <rom.s19> <font.s19> <x_close_window>
set -u
korva=$1 rom=$2 font=$3 xclose=$4
work=$(mktemp -d /tmp/korva-net.XXXXXX)
. "$(dirname "$0")/../XSession.sh"

# A port of 42000-42999 that nothing listens on now.
port=""
for ((i = 0; i < 50; i++)); do
  p=$((42000 + RANDOM % 1000))
  if ! (exec 7<>/dev/tcp/127.0.0.1/$p) 2>/dev/null; then port=$p; break; fi
done
[ -n "$port" ] || fail "no free port"

make_program
printf '[Devices]\nConsoleType0=6\nMainListenPort=%s\n[NET0]\nTop=300\nLeft=0\nWidth=500\nHeight=250\n' "$port" \
  >"$XDG_CONFIG_HOME/Korvan/Korvan.ini"
start_program "$prog"
await_main
await 10 window '^DEV0 - NET' || fail "no NET window"
net=$(window '^DEV0 - NET')
xdotool windowmove --sync "$net" 0 300
await 10 status_has "RUN=Run" || fail "the processor is not stopped after start-up"
xdotool mousemove --window "$main" 56 66 click 1
await 20 status_has "RUN=Stop" || fail "the processor does not run"

# Server > Start Child: the first item of the NET window's first menu.
xdotool mousemove --window "$net" 25 10 click 1
sleep 0.5
xdotool key Down Return
await 10 window '^DEV0 - NET - Server is stopped$' || fail "the NET window did not start as a Child"
# Devices > Main Server > Start/Restart: the fifth item, its submenu's first.
xdotool mousemove --window "$main" 156 8 click 1
sleep 0.5
xdotool key Down Down Down Down Down Right Return

greeting=$'Welcome to Korva Emulator Telnet as Console Device 0\r\n'
# One client: connects, sends "hi" CR LF, reads for a second, leaves.
talk() {
  exec 5<>"/dev/tcp/127.0.0.1/$port" || return 1
  printf 'hi\r\n' >&5
  timeout 1 cat <&5 >"$work/got"
  exec 5>&-
  [ "$(cat "$work/got")" = "${greeting}hi"$'\r' ]
}
await 10 talk || { od -c "$work/got" | head; fail "the client did not get the greeting and its echo"; }
await 10 window '^DEV0 - NET - Connection Closed$' || fail "the NET window did not see the client leave"
[ -n "${KORVA_SHOT:-}" ] && command -v import >/dev/null && import -window root "$KORVA_SHOT"
talk || { od -c "$work/got" | head; fail "a second client was not served"; }

close_and_await_exit "$main"
grep -q '^ConsoleType0=6$' "$XDG_CONFIG_HOME/Korvan/Korvan.ini" || fail "the NET kind was not kept"
echo "1 passed, 0 failed"
