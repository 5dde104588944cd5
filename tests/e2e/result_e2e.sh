#!/usr/bin/env bash
# End-to-end: the result form of `zorvane` under a real X server, without a window manager or
# (with --openbox) under openbox, in the locale ZORVANE_E2E_LANG, driven with xdotool. The user
# enters 15.3.1980 and March 2000 and presses "Next": one window "Zorvane: Март 2000 г." of
# 649 x 489 whose charts are the ones `zorvane-cli chart` draws (titles, curves, grid, labels, zero
# lines) and whose day lists are those of the reference picture; the arrows step to April and back
# to February with their captions; the right arrow shows its hint, the left one the form's; help
# reaches the viewer at context 5; "Выход" hides the window and the program goes on; the input
# form's close box then ends it with status 0. Screenshots go to BUILD-DIR/e2e/result/<variant>/.
#   result_e2e.sh ZORVANE ZORVANE-CLI SOURCE-DIR BUILD-DIR [--openbox]
set -uo pipefail
zorvane="$1"
cli="$2"
src="$3"
build="$4"
mode="${5:-}"
source "$(dirname "$0")/zorvane_lib.sh"
zorvane_setup result "$mode"

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
# The window's picture NAME.png shows at most LIMIT pixels unlike REFERENCE (in CROP): taken
# again until it does, since the charts may still be painting; sets d to the last count.
shows_like() { # shows_like WINDOW NAME REFERENCE FUZZ LIMIT [CROP]
  shot "$1" "$out/$2.png" || return 1
  d=$(differing "$out/$2.png" "$3" "$4" "${6:-}")
  [ "${d:-99999}" -le "$5" ]
}
charts_like() { # charts_like WINDOW NAME CLI-PICTURE
  shot "$1" "$out/$2.png" || return 1
  convert "$out/$2.png" -crop 633x377+8+8 +repage "$out/$2-charts.png"
  d=$(differing "$out/$2-charts.png" "$3" 5%)
  [ "${d:-99999}" -le 200 ]
}
# The charts of the window against what `zorvane-cli chart` draws for PERIOD.
charts_as_cli() { # charts_as_cli WINDOW NAME PERIOD WHAT
  "$cli" chart --birth 15.3.1980 --period "$3" --png "$out/cli-$2.png"
  d=""
  wait_for charts_like "$1" "$2" "$out/cli-$2.png"
  check "$4 (${d:-?} pixels differ)" $?
}

start_zorvane
keys() { xdotool key --delay 20 "$@"; }
month() { # month X Y N: the N-th month (1-based) of the list at X, Y
  click_at "$1" "$2"
  keys $(printf 'Up %.0s' $(seq 1 11))
  [ "$3" -gt 1 ] && keys $(printf 'Down %.0s' $(seq 2 "$3"))
}

# Birth: March, 1980, the 15th on the calendar; period: March 2000; "Next".
month 68 43 3
type_into 154 45 1980
calendar_shows 1980 3 "$(date +%-d)"
click_day 1980 3 15
calendar_shows 1980 3 15
month 68 194 3
type_into 154 196 2000
form_shot "$out/entered.png"
click_at 252 105

res=$(wait_window 'Zorvane: Март 2000 г.')
[ -n "$res" ]
check "\"Next\" shows \"Zorvane: Март 2000 г.\"" $?
if [ -z "$res" ]; then
  e2e_done "result form e2e"
  exit 1
fi
client_geometry "$res"
[ "$W" -eq 649 ] && [ "$H" -eq 489 ]
check "client size 649 x 489 (got $W x $H)" $?
# The charts as zorvane-cli draws them from the same form, and the whole form as its reference.
charts_as_cli "$res" march 3.2000 "the four charts with titles, curves, grid, labels and zero lines"
ref="$src/tests/app/reference/result_form.png"
wait_for shows_like "$res" march "$ref" 5% 40 440x50+0+390
check "the three day lists ($d pixels differ)" $?
wait_for shows_like "$res" march "$ref" 10% 1500
check "the whole form as its reference ($d pixels differ)" $?

wat() { xdotool mousemove "$((X + $1))" "$((Y + $2))"; }
wclick() { click_screen "$((X + $1))" "$((Y + $2))"; }
# The arrows: April, then back to February.
wclick 176 464
w=$(wait_window 'Zorvane: Апрель 2000 г.')
check "the right arrow steps to April" $?
[ -n "$w" ] && shot "$w" "$out/april.png"
wclick 136 464
wait_window 'Zorvane: Март 2000 г.' >/dev/null
wclick 136 464
w=$(wait_window 'Zorvane: Февраль 2000 г.')
check "the left arrow steps back to February" $?
[ -n "$w" ] && charts_as_cli "$w" february 2.2000 "February's charts"

# Hints: the right arrow's own, the left arrow's from the form.
wat 170 460
wait_window 'Следующий месяц' >/dev/null
check "the hint \"Следующий месяц\" over the right arrow" $?
shot root "$out/hint-next.png"
wat 130 460
wait_window 'Предыдущий месяц' >/dev/null
check "the hint \"Предыдущий месяц\" over the left arrow" $?
shot root "$out/hint-previous.png"
wat 300 200

# Help at context 5.
wclick 60 464
if [ -f "$src/resources/help/zorvane.html" ]; then
  wait_for lines_at_least "$out/viewer.txt" 1
  grep -q 'zorvane\.html#context-5$' "$out/viewer.txt" 2>/dev/null
  check "help reaches the viewer at context 5" $?
fi

# "Выход" hides the form; the program goes on with the input form.
wclick 584 456
wait_gone 'Zorvane: Февраль 2000 г.'
check "\"Выход\" hides the form" $?
kill -0 "$pid" 2>/dev/null && named_count_is Zorvane 1
check "the program goes on with the input form" $?
shot root "$out/after-exit.png"

close_box "$win"
wait_exit
[ "$status" = "0" ]
check "closing the input form ends the program with status 0 (got ${status:-still running})" $?
e2e_done "result form e2e"
