# Sourced: start_wm [NAME [DISPLAY]] starts a window manager (NAME, else $ZORVANE_E2E_WM, else
# openbox) on DISPLAY (else $ZORVANE_E2E_DISPLAY, else $XVFB_DISPLAY), waits until it manages the
# screen, sets WM_PID and exports ZORVANE_E2E_WM_RUNNING=NAME; stop_wm ends it. For end-to-end
# tests that need what a window manager does (frames, placement, _NET_ACTIVE_WINDOW); without one
# the tests see a bare server, which stays the default.
start_wm() {
  local name="${1:-${ZORVANE_E2E_WM:-openbox}}"
  local display="${2:-${ZORVANE_E2E_DISPLAY:-${XVFB_DISPLAY:-}}}"
  if [ -z "$display" ]; then
    echo "wm: no display to manage (start Xvfb first)" >&2
    return 1
  fi
  if ! command -v "$name" >/dev/null; then
    echo "wm: $name is not installed" >&2
    return 1
  fi
  # A manager that died earlier leaves its check window named on the root: forget it, so that
  # readiness below is this one's.
  DISPLAY="$display" xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null
  case "$name" in
    openbox) DISPLAY="$display" openbox --sm-disable >/dev/null 2>&1 & ;;
    *) DISPLAY="$display" "$name" >/dev/null 2>&1 & ;;
  esac
  WM_PID=$!
  local i
  for i in $(seq 1 100); do
    # Ready when it has claimed the screen: an EWMH manager names its check window on the root.
    if DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      export ZORVANE_E2E_WM_RUNNING="$name"
      return 0
    fi
    kill -0 "$WM_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "wm: $name did not start on $display" >&2
  stop_wm
  return 1
}

stop_wm() {
  if [ -n "${WM_PID:-}" ]; then
    kill "$WM_PID" 2>/dev/null
    wait "$WM_PID" 2>/dev/null
    WM_PID=""
  fi
  unset ZORVANE_E2E_WM_RUNNING
}
