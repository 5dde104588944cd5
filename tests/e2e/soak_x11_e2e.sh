#!/usr/bin/env bash
# End-to-end soak on X11: the real zorvane under a bare Xvfb of its own, driven with xdotool by
# random events from a seed (xdotool's "click" waits about 0.1 s; press and release are quicker) —
# clicks and double clicks at random points of its windows, mouse
# moves with pauses (hints), keys, typed text (digits, Latin, Cyrillic), Alt+letters, F1, close
# boxes of its other windows and, rarely, of the main form (the program then ends with status 0
# and is started again). Prints go to a PDF file (LPDEST=file:...), each checked to be a one-page
# PDF and removed. At the end the program must still be alive and answer: its other windows close,
# a click on the picture maps the about box, and the main form's close box ends it with status 0.
#   soak_x11_e2e.sh ZORVANE BUILD-DIR [--seed S] [--events N]
set -uo pipefail
zorvane="$1"
build="$2"
shift 2
seed=1
events=1000
while [ $# -gt 0 ]; do
  case "$1" in
    --seed) seed="$2"; shift 2 ;;
    --events) events="$2"; shift 2 ;;
    *) echo "usage: soak_x11_e2e.sh ZORVANE BUILD-DIR [--seed S] [--events N]" >&2; exit 2 ;;
  esac
done
here="$(cd "$(dirname "$0")" && pwd)"
out="$build/e2e/soak-x11"
rm -rf "$out"
mkdir -p "$out"
log="$out/events.txt"
failures=0
passes=0
pid=""
starts=0
prints=0
slowest_start=0
replay="scripts/soak.sh --x11 --seed $seed --events $events"

check() { # check NAME CONDITION-EXIT-STATUS
  if [ "$2" -eq 0 ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1 (replay: $replay)" >&2
  fi
}
fail_now() {
  echo "FAILED at event ${e:-0}: $1 (replay: $replay)" >&2
  echo "the last events:" >&2
  tail -n 15 "$log" >&2
  import -window root "$out/failure.png" 2>/dev/null
  exit 1
}

source "$here/../../scripts/xvfb.sh"
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  xvfb_stop
}
trap cleanup EXIT
xvfb_start || exit 1
export DISPLAY="$XVFB_DISPLAY"
command -v xdotool >/dev/null || { echo "xdotool is not installed" >&2; exit 1; }
root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -1)

viewer="$out/viewer.sh"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$out/help.txt" >"$viewer"
chmod +x "$viewer"
export ZORVANE_HELP_VIEWER="$viewer"
export LPDEST="file:$out/print.pdf"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:${LSAN_OPTIONS:-}"
export ZORVANE_DISPLAY=x11

# The program's mapped top-level windows, front first as the server lists them.
windows() {
  xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | grep -vx "$root"
}

# Why a start failed: the process's state and, when it still runs, where its threads wait.
start_report() {
  echo "start $starts: $1" >&2
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program (pid $pid) runs: $(ps -o stat=,pcpu=,etime= -p "$pid")," \
      "its windows: $(xdotool search --pid "$pid" 2>/dev/null | tr '\n' ' ')" >&2
    command -v gdb >/dev/null &&
      gdb -p "$pid" -batch -ex 'thread apply all bt 12' 2>/dev/null | grep '^#\|^Thread' >&2
  fi
  echo "the program's last output:" >&2
  tail -n 20 "$out/stderr.txt" >&2
}

# Starts the program and waits for its main form: on a machine busy with builds and other tests
# that may take seconds, so the wait is long (the program's own start-up is a few tens of ms);
# a program that ends instead is reported with its status at once.
start_program() {
  (cd "$build" && exec "$zorvane") >>"$out/stdout.txt" 2>>"$out/stderr.txt" &
  pid=$!
  starts=$((starts + 1))
  main=""
  local began=$SECONDS startedUs=${EPOCHREALTIME/./} status
  while [ $((SECONDS - began)) -lt 60 ]; do
    main=$(windows | head -1)
    [ -n "$main" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      pid=""
      start_report "the program ended with status $status before its window mapped"
      fail_now "the program's window did not map (start $starts)"
    fi
    sleep 0.05
  done
  if [ -z "$main" ]; then
    start_report "no window after $((SECONDS - began)) s"
    fail_now "the program's window did not map (start $starts)"
  fi
  local ms=$(((${EPOCHREALTIME/./} - startedUs) / 1000))
  [ "$ms" -gt "$slowest_start" ] && slowest_start=$ms
  sleep 0.2
}

# A print lands as a one-page PDF; it is removed for the next.
check_print() {
  [ -f "$out/print.pdf" ] || return 0
  local pages
  pages=$(pdfinfo "$out/print.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ "$pages" = "1" ] || fail_now "a print is not a one-page PDF (pages: ${pages:-unreadable})"
  prints=$((prints + 1))
  rm -f "$out/print.pdf"
}

keys=(Tab shift+Tab Left Right Up Down Home End Prior Next space Return Escape BackSpace Delete
      ctrl+a ctrl+c ctrl+v F4 alt+Down)
# The accelerators of the forms but the main form's exit (that one ends the run: rare enough by
# clicks, typing and close boxes), and some that nothing has.
accels=(alt+Cyrillic_de alt+Cyrillic_es alt+Cyrillic_pe alt+Cyrillic_a alt+Cyrillic_o
        alt+Cyrillic_ie alt+d alt+x)
texts=(1980 2000 1900 2024 1 0 -5 99999 abc Март Июль "15.3.1980" "2000." "" "ЙЦУКЕН qwerty"
       "$(printf 'x%.0s' $(seq 1 80))")

RANDOM=$seed
start_program
for ((e = 1; e <= events; e++)); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || fail_now "the program ended with status $status"
    echo "$e: (the program ended; started again)" >>"$log"
    start_program
  fi
  # One call lists the windows with their places: WINDOW, X, Y, WIDTH, HEIGHT, SCREEN each.
  mapfile -t geometry < <(xdotool search --onlyvisible --maxdepth 1 --name '' \
    getwindowgeometry --shell %@ 2>/dev/null | grep -v '^SCREEN=')
  n=$((${#geometry[@]} / 5))
  pick=-1
  for ((i = 0; i < n; i++)); do
    [ "${geometry[i * 5]}" = "WINDOW=$root" ] && continue
    pick=$i
    [ $((RANDOM % 2)) -eq 0 ] && break
  done
  if [ "$pick" -lt 0 ]; then
    sleep 0.1
    continue
  fi
  eval "${geometry[pick * 5]} ${geometry[pick * 5 + 1]} ${geometry[pick * 5 + 2]}"
  eval "${geometry[pick * 5 + 3]} ${geometry[pick * 5 + 4]}"
  win="$WINDOW"
  [ "${WIDTH:-0}" -gt 0 ] && [ "${HEIGHT:-0}" -gt 0 ] || continue
  px=$((X + RANDOM % WIDTH))
  py=$((Y + RANDOM % HEIGHT))
  # The main form's exit button (client 216,169 to 289,202) ends the run: mostly aim elsewhere.
  if [ "$win" = "$main" ] && [ $((px - X)) -ge 214 ] && [ $((px - X)) -le 291 ] &&
     [ $((py - Y)) -ge 167 ] && [ $((py - Y)) -le 204 ] && [ $((RANDOM % 5)) -ne 0 ]; then
    px=$((px - 110))
  fi
  r=$((RANDOM % 100))
  if [ $r -lt 32 ]; then
    what="click $px,$py"
    xdotool mousemove "$px" "$py" mousedown 1 mouseup 1
  elif [ $r -lt 36 ]; then
    what="double-click $px,$py"
    xdotool mousemove "$px" "$py" mousedown 1 mouseup 1 sleep 0.06 mousedown 1 mouseup 1
  elif [ $r -lt 42 ]; then
    pause="0.$((1 + RANDOM % 6))"
    what="move $px,$py, rest $pause s"
    xdotool mousemove "$px" "$py"
    sleep "$pause"
  elif [ $r -lt 64 ]; then
    k="${keys[RANDOM % ${#keys[@]}]}"
    what="key $k"
    xdotool key "$k"
  elif [ $r -lt 80 ]; then
    t="${texts[RANDOM % ${#texts[@]}]}"
    what="select all, type '$t'"
    if [ -n "$t" ]; then
      xdotool key ctrl+a type --delay 8 -- "$t"
    else
      xdotool key ctrl+a Delete
    fi
  elif [ $r -lt 88 ]; then
    k="${accels[RANDOM % ${#accels[@]}]}"
    what="key $k"
    xdotool key "$k"
  elif [ $r -lt 90 ]; then
    what="F1"
    xdotool key F1
  elif [ $r -lt 96 ]; then
    # The close box of another window; of the main form one time in twenty.
    if [ "$win" != "$main" ] || [ $((RANDOM % 20)) -eq 0 ]; then
      what="close box of $win"
      python3 "$here/close_window.py" "$win"
    else
      what="(no close box)"
    fi
  else
    what="right-click $px,$py"
    xdotool mousemove "$px" "$py" mousedown 3 mouseup 3
  fi
  echo "$e: $what" >>"$log"
  sleep 0.01
  check_print
done
check "the program still runs after $events events ($starts starts)" 0

# Alive and answering: close whatever else is up (message boxes first take the keyboard).
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  status=$?
  pid=""
  [ "$status" -eq 0 ] || fail_now "the program ended with status $status"
  start_program
fi
began=$SECONDS
while [ $((SECONDS - began)) -lt 30 ]; do
  others=$(windows | grep -vx "$main")
  [ -z "$others" ] && break
  for w in $others; do
    python3 "$here/close_window.py" "$w"
  done
  xdotool key Escape
  sleep 0.3
done
[ -z "$(windows | grep -vx "$main")" ]
check "every other window closes" $?
windows | grep -qx "$main"
check "the main form is still mapped" $?
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 252)) $((Y + 45)) mousedown 1 mouseup 1
about=""
began=$SECONDS
while [ $((SECONDS - began)) -lt 30 ]; do
  about=$(windows | grep -vx "$main" | head -1)
  [ -n "$about" ] && break
  sleep 0.05
done
[ -n "$about" ]
check "a click on the picture opens the about box" $?
[ -n "$about" ] && python3 "$here/close_window.py" "$about"
sleep 0.3
python3 "$here/close_window.py" "$main"
status=""
began=$SECONDS
while [ $((SECONDS - began)) -lt 30 ]; do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    break
  fi
  sleep 0.05
done
[ -n "$status" ] || echo "the program still runs 30 s after its close box" >&2
pid=""
[ "$status" = "0" ]
check "the close box ends it with status 0 (got ${status:-still running})" $?
if [ -s "$out/stderr.txt" ] && grep -q "ERROR: \|runtime error" "$out/stderr.txt"; then
  check "no sanitizer report" 1
  head -40 "$out/stderr.txt" >&2
fi
echo "soak x11: seed $seed, $events events, $starts starts (slowest to map: $slowest_start ms), $prints prints," \
  "$(wc -l <"$out/help.txt" 2>/dev/null || echo 0) help calls"
echo "soak x11 e2e: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
