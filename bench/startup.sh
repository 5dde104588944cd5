#!/usr/bin/env bash
# Start-up of the desktop program as a whole process under Xvfb: from starting `zorvane` to its
# input form mapped and painted, beside `xmessage` started the same way (the floor of a mapped X
# window), and the peak memory of each once idle. The goal is within twice xmessage's time.
#   bench/startup.sh [RUNS]      (builds the normal configuration first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
./scripts/build.sh normal >/dev/null
mkdir -p build/bench
cc -O2 -o build/bench/mapwatch bench/mapwatch.c -lX11
source scripts/xvfb.sh
xvfb_start
trap xvfb_stop EXIT
export DISPLAY="$XVFB_DISPLAY" ZORVANE_DISPLAY=x11
read -r sw sh < <(xdotool getdisplaygeometry)

# Painted: the input form's button-face ground beside its picture frame and the frame's white
# edge (the window shows nothing of the form before its first present, and all of it after).
zorvane=(build/bench/mapwatch Zorvane 300 10 c0c0c0 224 22 ffffff -- env LANG=ru_RU.UTF-8 build/src/app/zorvane)
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
  printf '%-9s median %7.1f ms over %d runs   peak RSS %6d kB\n' "$name" "$median" "$runs" "$max"
  echo "$median" >"build/bench/startup-$name.ms"
  echo "$max" >"build/bench/startup-$name.rss_kb"
}
echo "start-up to a mapped, painted window (Xvfb ${sw}x${sh}, $(nproc) cores)"
measure xmessage "${xmessage[@]}"
measure zorvane "${zorvane[@]}"
awk -v z="$(cat build/bench/startup-zorvane.ms)" -v x="$(cat build/bench/startup-xmessage.ms)" \
  'BEGIN { printf "zorvane / xmessage = %.2f (goal: at most 2)\n", z / x }'
