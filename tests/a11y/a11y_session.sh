# Sourced by the AT-SPI end-to-end scripts (after e2e_lib.sh): the private session they run in.
#
#   a11y_skip_without TOOL...    exits 77 (skipped) when a tool, the accessibility bus launcher or
#                                Debian's python3-pyatspi is missing
#   a11y_run_session OUT ARGS... starts Xvfb of the test's own and runs `bash $0 --in-session
#                                ARGS...` under a private session bus, its runtime folder in
#                                OUT/runtime; returns the session's status
#   a11y_session_up              inside the session: waits for the accessibility bus and arranges
#                                that the launcher and the registry end with the session, before
#                                the X server goes (both hold a connection to it)
a11y_launcher=/usr/libexec/at-spi-bus-launcher

a11y_skip_without() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  [ -x "$a11y_launcher" ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: no python3-pyatspi"; exit 77; }
}

a11y_run_session() { # a11y_run_session OUT ARGS...
  local runtime="$1/runtime"
  shift
  xvfb_start || return 1
  E2E_OWN_XVFB=1
  export DISPLAY="$XVFB_DISPLAY"
  # The launcher keeps IsEnabled in GSettings: in memory, so the test never writes the user's;
  # its bus socket goes to the runtime folder, here one of the test's own.
  mkdir -m 700 "$runtime"
  XDG_RUNTIME_DIR="$runtime" GSETTINGS_BACKEND=memory dbus-run-session -- \
    bash "$0" --in-session "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
}

a11y_pid_on() { # a11y_pid_on BUS-ARGUMENTS... NAME
  gdbus call "${@:1:$#-1}" -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.GetConnectionUnixProcessID "${@: -1}" 2>/dev/null |
    sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}

a11y_session_up() {
  E2E_VARIANT=session
  trap e2e_cleanup EXIT
  # Asking for the bus's address starts the launcher (D-Bus activation) and the bus.
  bus_up() { gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null 2>&1; }
  wait_for bus_up
  check "the accessibility bus is up" $?
  a11y_launcher_pid=$(a11y_pid_on --session org.a11y.Bus)
  a11y_bus=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress |
    sed "s/^('\(.*\)',)$/\1/")
  trap 'e2e_cleanup; a11y_end_services' EXIT
}

a11y_end_services() {
  local p registry
  registry=$(a11y_pid_on --address "$a11y_bus" org.a11y.atspi.Registry)
  for p in $registry $a11y_launcher_pid; do
    kill "$p" 2>/dev/null
    poll 5 eval "! kill -0 $p 2>/dev/null"
  done
}

# Turns accessibility on, as a screen reader does.
a11y_enable() {
  gdbus call --session -d org.a11y.Bus -o /org/a11y/bus \
    -m org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled "<true>" >/dev/null
}
