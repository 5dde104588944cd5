# Sourced: wm_start DISPLAY starts the openbox window manager on that X display (for end-to-end
# tests that check behaviour under a window manager) and sets WM_PID; wm_stop ends it.
wm_start() {
  command -v openbox >/dev/null || { echo "wm: openbox is not installed" >&2; return 1; }
  local attempt i
  # A display that has only just come up can refuse the first connection: try again.
  for attempt in 1 2 3; do
    DISPLAY="$1" openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    for i in $(seq 1 100); do
      # The window manager has taken the screen once it names itself on the root window.
      if DISPLAY="$1" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
        wm_answers "$1"; then
        return 0
      fi
      kill -0 "$WM_PID" 2>/dev/null || break
      sleep 0.05
    done
    wm_stop
    sleep 0.2
  done
  echo "wm: openbox did not start" >&2
  return 1
}

# Whether the window manager's event loop answers: it names itself on the root before it takes
# requests, and a window mapped in between can stay unmapped. A change of the number of desktops
# (asked of the window manager, answered on the root) round-trips through that loop.
wm_answers() { # wm_answers DISPLAY
  local n i want
  n=$(DISPLAY="$1" xdotool get_num_desktops 2>/dev/null) || return 1
  for want in $((n + 1)) "$n"; do
    DISPLAY="$1" xdotool set_num_desktops "$want" 2>/dev/null || return 1
    for i in $(seq 1 100); do
      [ "$(DISPLAY="$1" xdotool get_num_desktops 2>/dev/null)" = "$want" ] && break
      sleep 0.02
    done
    [ "$(DISPLAY="$1" xdotool get_num_desktops 2>/dev/null)" = "$want" ] || return 1
  done
}

wm_stop() {
  if [ -n "${WM_PID:-}" ]; then
    kill "$WM_PID" 2>/dev/null
    wait "$WM_PID" 2>/dev/null
    WM_PID=""
  fi
}

# start_wm [NAME [DISPLAY]]: the same for the shared end-to-end display (DISPLAY, else
# $ZORVANE_E2E_DISPLAY, else $XVFB_DISPLAY); start_services calls it when ZORVANE_E2E_WM names a
# window manager, and stop_services calls stop_wm. Exports ZORVANE_E2E_WM_RUNNING=NAME meanwhile.
start_wm() {
  local name="${1:-${ZORVANE_E2E_WM:-openbox}}"
  local display="${2:-${ZORVANE_E2E_DISPLAY:-${XVFB_DISPLAY:-}}}"
  if [ "$name" != openbox ]; then
    echo "wm: $name is not supported (openbox is)" >&2
    return 1
  fi
  if [ -z "$display" ]; then
    echo "wm: no display to manage (start Xvfb first)" >&2
    return 1
  fi
  # A manager that died earlier leaves its check window named on the root: forget it, so that
  # readiness is this one's.
  DISPLAY="$display" xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null
  wm_start "$display" || return 1
  export ZORVANE_E2E_WM_RUNNING="$name"
}

stop_wm() {
  wm_stop
  unset ZORVANE_E2E_WM_RUNNING
}
