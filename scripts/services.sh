# Sourced by the test and run scripts: starts (and stops) the services tests need.
# Later pieces add Xvfb and cupsd here.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wm.sh"

# Xvfb for the end-to-end tests: they read ZORVANE_E2E_DISPLAY (DISPLAY stays as it was, so the
# other tests keep their headless display).
start_services() {
  xvfb_start || return 1
  export ZORVANE_E2E_DISPLAY="$XVFB_DISPLAY"
}
stop_services() {
  xvfb_stop
}
