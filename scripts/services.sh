# Sourced by the test and run scripts: starts (and stops) the services tests need.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wm.sh"
source "$(dirname "${BASH_SOURCE[0]}")/cups.sh"

# Xvfb for the end-to-end tests: they read ZORVANE_E2E_DISPLAY (DISPLAY stays as it was, so the
# other tests keep their headless display). A print service with a PDF queue when the machine
# can run one (cups.sh); without it the printing tests skip. With ZORVANE_E2E_WM=openbox the
# display also gets that window manager (wm.sh); without it the display stays bare. A test can
# instead run one on a display of its own with wm_start.
start_services() {
  xvfb_start || return 1
  export ZORVANE_E2E_DISPLAY="$XVFB_DISPLAY"
  if [ -n "${ZORVANE_E2E_WM:-}" ]; then
    start_wm "$ZORVANE_E2E_WM" || return 1
  fi
  cups_start || true
}
stop_services() {
  stop_wm
  cups_stop
  xvfb_stop
}
