#!/usr/bin/env bash
# zorvane_a11y_e2e.sh ZORVANE ZORVANE-CLI BUILD-DIR — the real program read and driven through
# AT-SPI as a screen reader would (zorvane_a11y_check.py, pyatspi): on an Xvfb of its own, under
# a private session bus with the accessibility bus launcher and accessibility turned on.
# Skipped (77) without dbus-run-session, the launcher, Xvfb, xdotool or Debian's python3-pyatspi.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
launcher=/usr/libexec/at-spi-bus-launcher

if [ "${1:-}" = "--in-session" ]; then
  shift
  zorvane="$1" cli="$2" out="$3"
  E2E_VARIANT=session
  trap e2e_cleanup EXIT
  bus_up() { gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null 2>&1; }
  wait_for bus_up
  check "the accessibility bus is up" $?
  pid_on() { # pid_on BUS-ARGUMENTS... NAME
    gdbus call "${@:1:$#-1}" -d org.freedesktop.DBus -o /org/freedesktop/DBus \
      -m org.freedesktop.DBus.GetConnectionUnixProcessID "${@: -1}" 2>/dev/null |
      sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
  }
  launcher_pid=$(pid_on --session org.a11y.Bus)
  a11y_bus=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress |
    sed "s/^('\(.*\)',)$/\1/")
  end_services() {
    local p registry
    registry=$(pid_on --address "$a11y_bus" org.a11y.atspi.Registry)
    for p in $registry $launcher_pid; do
      kill "$p" 2>/dev/null
      poll 5 eval "! kill -0 $p 2>/dev/null"
    done
  }
  trap 'e2e_cleanup; end_services' EXIT
  # A screen reader is on before the program starts: its question is answered "on".
  gdbus call --session -d org.a11y.Bus -o /org/a11y/bus \
    -m org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled "<true>" >/dev/null
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
for tool in dbus-run-session gdbus Xvfb xdpyinfo xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x "$launcher" ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: no python3-pyatspi"; exit 77; }
E2E_VARIANT=bare
out="$build/e2e/a11y_zorvane"
rm -rf "$out"
mkdir -p "$out"
trap e2e_cleanup EXIT
xvfb_start || exit 1
E2E_OWN_XVFB=1
export DISPLAY="$XVFB_DISPLAY"
mkdir -m 700 "$out/runtime"
XDG_RUNTIME_DIR="$out/runtime" GSETTINGS_BACKEND=memory dbus-run-session -- \
  bash "$0" --in-session "$zorvane" "$cli" "$out" 2> >(grep -v 'Failed to set fd limit' >&2)
session=$?
e2e_done a11y_zorvane
[ "$failures" -eq 0 ] && [ "$session" -eq 0 ]
