#!/usr/bin/env bash
# What accessibility costs a run, on the module's probe (tests/a11y/zorvane-a11y-probe, a made-up
# form on platform/a11y): the first wait, where the module decides; the libraries, threads and
# memory it leaves; and, when a screen reader listens, how soon the program is on the bus. Cases:
# NO_AT_BRIDGE=1; no session bus; a session bus where accessibility is off; on; and forced on
# (ZORVANE_ACCESSIBILITY=1, no asking). Under Xvfb of its own and a private session bus with the
# accessibility bus launcher.
# Then the real program: start-up to its input form mapped and painted (bench/mapwatch.c, as
# bench/startup.sh measures it) and its peak memory, without a session bus and with
# accessibility off and on.
#   bench/a11y_startup.sh [RUNS]      (builds the normal configuration first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
if [ "${A11Y_BENCH_IN_SESSION:-}" != 1 ]; then
  ./scripts/build.sh normal >/dev/null
  mkdir -p build/bench
  cc -O2 -o build/bench/mapwatch bench/mapwatch.c -lX11
  source scripts/xvfb.sh
  xvfb_start
  trap xvfb_stop EXIT
  runtime=$(mktemp -d)
  trap 'xvfb_stop; rm -rf "$runtime"' EXIT
  chmod 700 "$runtime"
  DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$runtime" GSETTINGS_BACKEND=memory \
    A11Y_BENCH_IN_SESSION=1 dbus-run-session -- bash "$0" "$runs" 2> >(grep -v 'fd limit' >&2)
  exit
fi

probe=build/tests/a11y/zorvane-a11y-probe
out=$(mktemp)
trap 'rm -f "$out"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }

# One run: waits for the state line (and `settle` seconds more), then reads the process.
run_once() { # run_once STATE SETTLE ENV...
  local state="$1" settle="$2" pid i
  shift 2
  env "$@" "$probe" --timing >"$out" 2>/dev/null &
  pid=$!
  for i in $(seq 1 400); do
    grep -qx "$state" "$out" && break
    sleep 0.025
  done
  sleep "$settle"
  libs=$(awk '$6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" || true
  first=$(awk '/^first-wait-us/ {print $2}' "$out")
  started=$(awk '/^at-ms started/ {print $3}' "$out")
}

measure() { # measure NAME STATE SETTLE ENV...
  local name="$1" firsts=() starts=()
  shift
  run_once "$@" # warm the caches
  for _ in $(seq 1 "$runs"); do
    run_once "$@"
    firsts+=("$first")
    [ -n "$started" ] && starts+=("$started")
  done
  printf '| %-34s | %8s | %8s | %4s | %3s | %6s |\n' "$name" \
    "$(printf '%s\n' "${firsts[@]}" | median)" \
    "$( ((${#starts[@]})) && printf '%s\n' "${starts[@]}" | median || echo -)" \
    "$libs" "$threads" "$rss"
}

gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null
set_enabled() {
  gdbus call --session -d org.a11y.Bus -o /org/a11y/bus \
    -m org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled "<$1>" >/dev/null
}
set_enabled false
echo "accessibility's cost to a run ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg), median of $runs)"
echo "| case                               | 1st wait µs | on bus ms | libs | thr | RSS kB |"
echo "|---|---|---|---|---|---|"
measure "NO_AT_BRIDGE=1" ready 0.3 NO_AT_BRIDGE=1
measure "no session bus" "bridge no-bus" 0.3 -u DBUS_SESSION_BUS_ADDRESS
measure "session bus, accessibility off" "bridge watching" 0.3
set_enabled true
measure "session bus, accessibility on" "bridge started" 0.3
set_enabled false
measure "ZORVANE_ACCESSIBILITY=1" "bridge started" 0.3 ZORVANE_ACCESSIBILITY=1

# The program, with no print service to ask (that cost is bench/startup.sh's).
zorvane=(build/bench/mapwatch Zorvane 300 10 c0c0c0 224 22 ffffff -- env LANG=ru_RU.UTF-8
         CUPS_SERVER=127.0.0.1:1 build/src/app/zorvane)
program() { # program NAME ENV-ARGS... → start-up to the painted form and peak RSS
  local name="$1" line ms=() rss=()
  shift
  env "$@" "${zorvane[@]}" >/dev/null 2>&1 || true # warm the caches
  for _ in $(seq 1 "$runs"); do
    line=$(env "$@" "${zorvane[@]}" 2>/dev/null)
    ms+=("$(sed -n 's/^ms=\([0-9.]*\) .*/\1/p' <<<"$line")")
    rss+=("$(sed -n 's/.*rss_kb=\([0-9]*\)/\1/p' <<<"$line")")
  done
  printf '| %-34s | %8s | %8s |\n' "$name" "$(printf '%s\n' "${ms[@]}" | median)" \
    "$(printf '%s\n' "${rss[@]}" | sort -n | tail -1)"
}
echo
echo "zorvane: start-up to the painted input form and peak memory (median of $runs)"
echo "| case                               | start-up ms | peak RSS kB |"
echo "|---|---|---|"
program "no session bus" -u DBUS_SESSION_BUS_ADDRESS
program "session bus, accessibility off"
set_enabled true
program "session bus, accessibility on"
set_enabled false
