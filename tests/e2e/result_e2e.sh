#!/usr/bin/env bash
# End-to-end: the result form of `zorvane` under a real X server, without a window manager or
# (with --openbox) under openbox, in the Russian locale, driven with xdotool. The user enters
# 15.3.1980 and March 2000 and presses "Next": one window "Zorvane: Март 2000 г." of 649 x 489
# whose charts are the ones `zorvane-cli chart` draws (titles, curves, grid, labels, zero lines)
# and whose day lists are those of the reference picture; the arrows step to April and back to
# February with their captions; the right arrow shows its hint, the left one the form's; help
# reaches the viewer at context 5; "Выход" hides the window and the program goes on; the input
# form's close box then ends it with status 0. Screenshots go to BUILD-DIR/e2e/result/.
#   result_e2e.sh ZORVANE ZORVANE-CLI SOURCE-DIR BUILD-DIR [--openbox]
set -uo pipefail
zorvane="$1"
cli="$2"
src="$3"
build="$4"
mode="${5:-}"
here="$(cd "$(dirname "$0")" && pwd)"
name="result${mode:+-openbox}"
out="$build/e2e/result/$name"
rm -rf "$out"
mkdir -p "$out"
failures=0
passes=0

check() { # check NAME CONDITION-EXIT-STATUS
  if [ "$2" -eq 0 ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1" >&2
  fi
}
# The mapped top-level windows (of any depth below the root) named exactly $1.
mapped_named() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$((id))"
  done
}
wait_window() { # wait_window NAME: the window id once it is mapped (10 s at most)
  local i w
  for i in $(seq 1 200); do
    w=$(mapped_named "$1" | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.05
  done
  return 1
}
wait_gone() { # wait_gone NAME
  local i
  for i in $(seq 1 200); do
    [ -z "$(mapped_named "$1")" ] && return 0
    sleep 0.05
  done
  return 1
}
origin() { # origin WINDOW: "X Y WIDTH HEIGHT" of its client area on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
shot() { import -window "$1" "$out/$2.png" 2>/dev/null; }
# The number of pixels of two pictures (or of the same region of both) that differ by more than
# the fuzz.
differing() { # differing A B FUZZ [CROP]
  local a="$1" b="$2"
  if [ -n "${4:-}" ]; then
    convert "$1" -crop "$4" +repage "$out/crop-a.png" && a="$out/crop-a.png"
    convert "$2" -crop "$4" +repage "$out/crop-b.png" && b="$out/crop-b.png"
  fi
  compare -metric AE -fuzz "$3" "$a" "$b" null: 2>&1 | awk '{print int($1)}'
}

# The charts of screenshot NAME against what `zorvane-cli chart` draws for PERIOD.
charts_as_cli() { # charts_as_cli NAME PERIOD WHAT
  "$cli" chart --birth 15.3.1980 --period "$2" --png "$out/cli-$1.png"
  convert "$out/$1.png" -crop 633x377+8+8 +repage "$out/$1-charts.png"
  local d
  d=$(differing "$out/$1-charts.png" "$out/cli-$1.png" 5%)
  [ "${d:-99999}" -le 200 ]
  check "$3 ($d pixels differ)" $?
}

source "$here/../../scripts/xvfb.sh"
source "$here/../../scripts/wm.sh"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  wm_stop
  xvfb_stop
}
trap cleanup EXIT
if [ "$mode" = "--openbox" ] || [ -z "${ZORVANE_E2E_DISPLAY:-}" ]; then
  xvfb_start || exit 1
  export DISPLAY="$XVFB_DISPLAY"
  if [ "$mode" = "--openbox" ]; then
    wm_start "$DISPLAY" || exit 1
  fi
else
  export DISPLAY="$ZORVANE_E2E_DISPLAY"
fi
for tool in xdotool xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

viewer="$out/viewer.sh"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$out/viewer.txt" >"$viewer"
chmod +x "$viewer"
export ZORVANE_HELP_VIEWER="$viewer"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:${LSAN_OPTIONS:-}"
export ZORVANE_DISPLAY=x11 LANG=ru_RU.UTF-8 LC_ALL=
(cd "$build" && exec "$zorvane") >"$out/stdout.txt" 2>"$out/stderr.txt" &
pid=$!

intro=$(wait_window Zorvane)
if [ -z "$intro" ]; then
  echo "no input form" >&2
  exit 1
fi
sleep 0.3
read -r IX IY _ _ < <(origin "$intro")
at() { xdotool mousemove "$((IX + $1))" "$((IY + $2))"; }
click() { at "$1" "$2" && xdotool click 1 && sleep 0.15; }
keys() { xdotool key --delay 20 "$@" && sleep 0.1; }
month() { # month X Y N: the N-th month (1-based) of the list at X, Y
  click "$1" "$2"
  keys $(printf 'Up %.0s' $(seq 1 11))
  [ "$3" -gt 1 ] && keys $(printf 'Down %.0s' $(seq 2 "$3"))
}
year() { click "$1" "$2" && keys ctrl+a && xdotool type --delay 30 "$3" && sleep 0.1; }

# Birth: March, 1980, the 15th on the calendar; period: March 2000; "Next".
month 68 43 3
year 154 45 1980
click 152 113
month 68 194 3
year 154 196 2000
shot "$intro" entered
click 252 105

win=$(wait_window 'Zorvane: Март 2000 г.')
[ -n "$win" ]
check "\"Next\" shows \"Zorvane: Март 2000 г.\"" $?
if [ -z "$win" ]; then
  echo "result form e2e ($name): $passes passed, $((failures)) failed"
  exit 1
fi
sleep 0.5
read -r X Y W H < <(origin "$win")
[ "$W" -eq 649 ] && [ "$H" -eq 489 ]
check "client size 649 x 489 (got $W x $H)" $?
shot "$win" march
# The charts as zorvane-cli draws them from the same form, and the whole form as its reference.
charts_as_cli march 3.2000 "the four charts with titles, curves, grid, labels and zero lines"
ref="$src/tests/app/reference/result_form.png"
d=$(differing "$out/march.png" "$ref" 5% 440x50+0+390)
[ "${d:-99999}" -le 40 ]
check "the three day lists ($d pixels differ)" $?
d=$(differing "$out/march.png" "$ref" 10%)
[ "${d:-99999}" -le 1500 ]
check "the whole form as its reference ($d pixels differ)" $?

wat() { xdotool mousemove "$((X + $1))" "$((Y + $2))"; }
wclick() { wat "$1" "$2" && xdotool click 1 && sleep 0.2; }
# The arrows: April, then back to February.
wclick 176 464
w=$(wait_window 'Zorvane: Апрель 2000 г.')
check "the right arrow steps to April" $?
[ -n "$w" ] && shot "$w" april
wclick 136 464
wclick 136 464
w=$(wait_window 'Zorvane: Февраль 2000 г.')
check "the left arrow steps back to February" $?
if [ -n "$w" ]; then
  sleep 0.3
  shot "$w" february
  charts_as_cli february 2.2000 "February's charts"
fi

# Hints: the right arrow's own, the left arrow's from the form.
wat 170 460
hint=$(wait_window 'Следующий месяц')
check "the hint \"Следующий месяц\" over the right arrow" $?
import -window root "$out/hint-next.png" 2>/dev/null
wat 130 460
hint=$(wait_window 'Предыдущий месяц')
check "the hint \"Предыдущий месяц\" over the left arrow" $?
import -window root "$out/hint-previous.png" 2>/dev/null
wat 300 200
sleep 0.1

# Help at context 5.
wclick 60 464
for i in $(seq 1 100); do
  [ -s "$out/viewer.txt" ] && break
  sleep 0.05
done
if [ -f "$src/resources/help/zorvane.html" ]; then
  grep -q 'zorvane\.html#context-5$' "$out/viewer.txt" 2>/dev/null
  check "help reaches the viewer at context 5" $?
fi

# "Выход" hides the form; the program goes on with the input form.
win=$(mapped_named 'Zorvane: Февраль 2000 г.' | head -1)
wclick 584 456
wait_gone 'Zorvane: Февраль 2000 г.'
check "\"Выход\" hides the form" $?
kill -0 "$pid" 2>/dev/null && [ -n "$(mapped_named Zorvane)" ]
check "the program goes on with the input form" $?
import -window root "$out/after-exit.png" 2>/dev/null

python3 "$here/close_window.py" "$intro"
status=""
for i in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    break
  fi
  sleep 0.05
done
pid=""
[ "$status" = "0" ]
check "closing the input form ends the program with status 0 (got ${status:-still running})" $?

echo "result form e2e ($name): $passes passed, $failures failed"
[ "$failures" -eq 0 ]
