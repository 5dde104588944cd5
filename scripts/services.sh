# Sourced by the test and run scripts: starts (and stops) the services tests need.
# Later pieces add Xvfb and cupsd here.
start_services() { return 0; }
stop_services() { return 0; }
