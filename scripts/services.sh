# Sourced by the test and run scripts: starts (and stops) the services tests need.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wm.sh"
source "$(dirname "${BASH_SOURCE[0]}")/cups.sh"

# Xvfb for the end-to-end tests: they read ZORVANE_E2E_DISPLAY (DISPLAY stays as it was, so the
# other tests keep their headless display). A print service with a PDF queue when the machine
# can run one (cups.sh); without it the printing tests skip.
start_services() {
  xvfb_start || return 1
  export ZORVANE_E2E_DISPLAY="$XVFB_DISPLAY"
  cups_start || true
}
stop_services() {
  cups_stop
  xvfb_stop
}
