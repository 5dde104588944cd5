# Sourced: xvfb_start starts Xvfb on a free display and sets XVFB_DISPLAY and XVFB_PID;
# xvfb_stop ends it. Used by services.sh and by end-to-end tests run on their own. The screen is
# XVFB_SCREEN (WIDTHxHEIGHTxDEPTH), 1280x1024x24 unless set.
#
# Scripts started at the same moment see the same free number and start a server each on it; one
# server takes the display's lock file and the other exits. The loser must not take the winner's
# server for its own (it answers the poll just the same, and the first to finish kills it under
# the other): the server is ours only when the lock file holds our server's process id.
# -noreset: by default the server resets when its last client leaves, and a client connecting
# in that moment is turned away — a program that ends and is started again (the soak does that)
# then fails to open the display about one time in twenty.
xvfb_start() {
  command -v Xvfb >/dev/null || { echo "xvfb: Xvfb is not installed" >&2; return 1; }
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
      XVFB_PID=$!
      XVFB_DISPLAY=":$n"
      # Ready in about a quarter of a second; much longer on a machine busy with builds.
      local began=$SECONDS
      while [ $((SECONDS - began)) -lt 30 ] && kill -0 "$XVFB_PID" 2>/dev/null; do
        if DISPLAY="$XVFB_DISPLAY" xdpyinfo >/dev/null 2>&1; then
          if [ "$(tr -dc 0-9 <"/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
            return 0
          fi
          break # another script's server: ours lost the race for this display
        fi
        sleep 0.05
      done
      kill "$XVFB_PID" 2>/dev/null
      wait "$XVFB_PID" 2>/dev/null
    fi
  done
  XVFB_PID=""
  XVFB_DISPLAY=""
  echo "xvfb: no display could be started" >&2
  return 1
}

xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}
