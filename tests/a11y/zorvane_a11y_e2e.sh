#!/usr/bin/env bash
# zorvane_a11y_e2e.sh ZORVANE ZORVANE-CLI BUILD-DIR — the real program read and driven through
# AT-SPI as a screen reader would (zorvane_a11y_check.py, pyatspi): on an Xvfb of its own, under
# a private session bus with the accessibility bus launcher and accessibility turned on.
# Skipped (77) without dbus-run-session, the launcher, Xvfb, xdotool or Debian's python3-pyatspi.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/a11y_session.sh"

if [ "${1:-}" = "--in-session" ]; then
  shift
  zorvane="$1" cli="$2" out="$3"
  a11y_session_up
  # A screen reader is on before the program starts: its question is answered "on".
  a11y_enable
  # At device scale 2, where what is said in screen pixels differs from the logical.
  ZORVANE_SCALE=2 LC_ALL="$E2E_LANG" "$zorvane" >"$out/stdout.txt" 2>"$out/stderr.txt" &
  pid=$!
  /usr/bin/python3 "$here/zorvane_a11y_check.py" "$pid" "$cli"
  check "read and driven through AT-SPI" $?
  wait_exit
  [ "$status" = 0 ]
  check "ends with status 0 after \"Выход\" through AT-SPI (was ${status:-running})" $?
  [ -s "$out/stderr.txt" ] && cat "$out/stderr.txt" >&2
  e2e_done a11y_zorvane
  exit
fi

zorvane="$1" cli="$2" build="$3"
a11y_skip_without dbus-run-session gdbus Xvfb xdpyinfo xdotool
E2E_VARIANT=bare
out="$build/e2e/a11y_zorvane"
rm -rf "$out"
mkdir -p "$out"
trap e2e_cleanup EXIT
a11y_run_session "$out" "$zorvane" "$cli" "$out"
session=$?
e2e_done a11y_zorvane
[ "$failures" -eq 0 ] && [ "$session" -eq 0 ]
