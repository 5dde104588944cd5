#!/usr/bin/env bash
# a11y_bus_e2e.sh PROBE BUILD-DIR — the accessibility module (src/platform/a11y) on a real
# AT-SPI bus, through zorvane-a11y-probe (a made-up form):
#  - without a session bus, and with NO_AT_BRIDGE=1, it starts nothing and never loads the bridge;
#  - under a private session bus with the accessibility bus launcher (on Xvfb of its own, which
#    the launcher names on the root window), it waits without the bridge while accessibility is
#    off, starts it when a screen reader turns it on (org.a11y.Status IsEnabled), and
#    a11y_probe_check.py then reads and drives it with pyatspi.
# Skipped (77) without dbus-run-session, the launcher, Xvfb or Debian's python3-pyatspi.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/a11y_session.sh"

if [ "${1:-}" = "--in-session" ]; then
  shift
  probe="$1" out="$2"
  a11y_session_up
  "$probe" >"$out/probe.txt" 2>"$out/probe-stderr.txt" &
  pid=$!
  wait_line "$out/probe.txt" "bridge watching"
  check "asks the bus" $?
  # The answer (off) comes back at once; the program stays off the bus and without the bridge.
  sleep 0.5
  ! grep -q libatk-bridge "/proc/$pid/maps"
  check "accessibility off: the bridge is not loaded" $?
  a11y_enable
  wait_line "$out/probe.txt" "bridge started"
  check "accessibility turned on: the bridge starts" $?
  /usr/bin/python3 "$here/a11y_probe_check.py" "$pid"
  check "read and driven through AT-SPI" $?
  wait_exit
  [ "$status" = 0 ]
  check "ends with status 0 after its exit button (was ${status:-running})" $?
  [ -s "$out/probe-stderr.txt" ] && cat "$out/probe-stderr.txt" >&2
  # Started while accessibility is on: the answer to its question starts the bridge.
  "$probe" >"$out/probe-on.txt" 2>&1 &
  pid=$!
  wait_line "$out/probe-on.txt" "bridge started"
  check "started with accessibility on: the bridge starts" $?
  kill "$pid"
  wait_exit
  [ "$status" = 0 ]
  check "ends on SIGTERM with status 0" $?
  e2e_done a11y_bus
  exit
fi

probe="$1" build="$2"
a11y_skip_without dbus-run-session gdbus Xvfb xdpyinfo
E2E_VARIANT=bare
out="$build/e2e/a11y_bus"
rm -rf "$out"
mkdir -p "$out"
trap e2e_cleanup EXIT

# No session bus to ask: the program asks nothing and loads neither the bridge nor libdbus.
env -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$out/no-runtime" "$probe" >"$out/nobus.txt" 2>&1 &
pid=$!
wait_line "$out/nobus.txt" "bridge no-bus"
check "no session bus: stays off" $?
! grep -qE 'libatk-bridge|libdbus' "/proc/$pid/maps"
check "no session bus: neither the bridge nor libdbus is loaded" $?
kill "$pid"
wait_exit
[ "$status" = 0 ]
check "no session bus: ends on SIGTERM with status 0" $?

# NO_AT_BRIDGE=1, every toolkit's switch: not even enabled.
NO_AT_BRIDGE=1 "$probe" >"$out/no-at-bridge.txt" 2>&1 &
pid=$!
wait_line "$out/no-at-bridge.txt" "ready"
check "NO_AT_BRIDGE=1: starts" $?
kill "$pid"
wait_exit
! grep -q '^bridge' "$out/no-at-bridge.txt"
check "NO_AT_BRIDGE=1: the bridge is never asked for" $?

a11y_run_session "$out" "$probe" "$out"
session=$?
e2e_done a11y_bus
[ "$failures" -eq 0 ] && [ "$session" -eq 0 ]
