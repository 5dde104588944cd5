#!/usr/bin/env bash
# Start-up of the desktop program as a whole process under Xvfb: from starting `zorvane` to its
# input form mapped and painted, beside `xmessage` started the same way (the floor of a mapped X
# window), and the peak memory of each once idle. Measured as a desktop has it, with a print
# service that has a default queue (the test suite's private cupsd, scripts/cups.sh, unless
# CUPS_SERVER already names one), and again with the print service unreachable. The goal is
# within 1.3 times xmessage's time either way. Then once more on a screen at device scale 2
# (ZORVANE_SCALE=2: a window of four times the pixels; the same two pixels at twice their place),
# whose goal is within 1.5 times the time at scale 1.
#   bench/startup.sh [RUNS]      (builds the normal configuration first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
./scripts/build.sh normal >/dev/null
mkdir -p build/bench
cc -O2 -o build/bench/mapwatch bench/mapwatch.c -lX11
source scripts/xvfb.sh
source scripts/cups.sh
xvfb_start
own_cups=""
stop_all() {
  [ -n "$own_cups" ] && cups_stop
  xvfb_stop
}
trap stop_all EXIT
if [ -z "${CUPS_SERVER:-}" ]; then
  cups_start && own_cups=1 || echo "startup: measured without a print service" >&2
fi
service="${CUPS_SERVER:-127.0.0.1:1}"
unset LPDEST PRINTER
export DISPLAY="$XVFB_DISPLAY" ZORVANE_DISPLAY=x11
read -r sw sh < <(xdotool getdisplaygeometry)

# Painted: the input form's button-face ground beside its picture frame and the frame's white
# edge (the window shows nothing of the form before its first present, and all of it after).
zorvane=(build/bench/mapwatch Zorvane 300 10 c0c0c0 224 22 ffffff -- env LANG=ru_RU.UTF-8
         CUPS_SERVER="$service" build/src/app/zorvane)
unreachable=(build/bench/mapwatch Zorvane 300 10 c0c0c0 224 22 ffffff -- env LANG=ru_RU.UTF-8
             CUPS_SERVER=127.0.0.1:1 build/src/app/zorvane)
scale2=(build/bench/mapwatch Zorvane 600 20 c0c0c0 448 44 ffffff -- env LANG=ru_RU.UTF-8
        CUPS_SERVER="$service" ZORVANE_SCALE=2 build/src/app/zorvane)
xmessage=(build/bench/mapwatch xmessage -- env LANG=ru_RU.UTF-8 xmessage -center 'Zorvane')

measure() { # measure NAME COMMAND... → prints the median ms and the peak memory
  local name="$1" out ms=() rss=()
  shift
  "$@" >/dev/null 2>&1 # once to warm the caches
  for _ in $(seq 1 "$runs"); do
    out=$("$@" 2>/dev/null)
    ms+=("$(sed -n 's/^ms=\([0-9.]*\) .*/\1/p' <<<"$out")")
    rss+=("$(sed -n 's/.*rss_kb=\([0-9]*\)/\1/p' <<<"$out")")
  done
  local median max
  median=$(printf '%s\n' "${ms[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  max=$(printf '%s\n' "${rss[@]}" | sort -n | tail -1)
  printf '%-17s median %7.1f ms over %d runs   peak RSS %6d kB\n' "$name" "$median" "$runs" "$max"
  echo "$median" >"build/bench/startup-$name.ms"
  echo "$max" >"build/bench/startup-$name.rss_kb"
}
echo "start-up to a mapped, painted window (Xvfb ${sw}x${sh}, $(nproc) cores; print service $service)"
measure xmessage "${xmessage[@]}"
measure zorvane "${zorvane[@]}"
measure zorvane-noservice "${unreachable[@]}"
measure zorvane-scale2 "${scale2[@]}"
x="$(cat build/bench/startup-xmessage.ms)"
for name in zorvane zorvane-noservice; do
  awk -v z="$(cat "build/bench/startup-$name.ms")" -v x="$x" -v n="$name" \
    'BEGIN { printf "%s / xmessage = %.2f (goal: at most 1.3)\n", n, z / x }'
done
awk -v z="$(cat build/bench/startup-zorvane-scale2.ms)" -v o="$(cat build/bench/startup-zorvane.ms)" \
  'BEGIN { printf "zorvane-scale2 / zorvane = %.2f (goal: at most 1.5)\n", z / o }'
