# Sourced: xvfb_start starts Xvfb on a free display and sets XVFB_DISPLAY and XVFB_PID;
# xvfb_stop ends it. Used by services.sh and by end-to-end tests run on their own.
xvfb_start() {
  command -v Xvfb >/dev/null || { echo "xvfb: Xvfb is not installed" >&2; return 1; }
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      XVFB_DISPLAY=":$n"
      local i
      for i in $(seq 1 100); do
        if DISPLAY="$XVFB_DISPLAY" xdpyinfo >/dev/null 2>&1; then
          return 0
        fi
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
          break # lost the race for this display; try the next
        fi
        sleep 0.05
      done
      kill "$XVFB_PID" 2>/dev/null
      wait "$XVFB_PID" 2>/dev/null
    fi
  done
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
