#!/usr/bin/env bash
# End-to-end: zorvane started on awkward dates (faketime): on 29 February the first activation
# moves the calendar to January 1900 without an error, and choosing February then moves its day
# to the 28th; on 31 December likewise with the 31st and the period December. Also: without an
# X display the program says so and fails.
#   zorvane_dates_e2e.sh ZORVANE BUILD-DIR
set -uo pipefail
zorvane="$1"
build="$2"
source "$(dirname "$0")/zorvane_lib.sh"
zorvane_setup zorvane-dates

# No display: a message and a failing status, not a program running unseen.
env -u DISPLAY -u ZORVANE_DISPLAY LANG="$E2E_LANG" LC_ALL= "$zorvane" >"$out/no-display.txt" 2>&1
nodisplay=$?
[ "$nodisplay" -ne 0 ] && grep -q 'no X display' "$out/no-display.txt"
check "without a display: a message and status $nodisplay" $?

command -v faketime >/dev/null || { echo "faketime is not installed" >&2; exit 1; }
# The preloaded clock library comes before the sanitizer's runtime; the monotonic clock stays
# real so the program's timers run.
export ASAN_OPTIONS="verify_asan_link_order=0:${ASAN_OPTIONS:-}"
export DONT_FAKE_MONOTONIC=1

try_date() { # try_date WHEN DAY MONTH-INDEX YEAR
  local when="$1" day="$2" month="$3" year="$4"
  start_zorvane faketime -f "@$when"
  calendar_shows 1900 1 "$day"
  check "$when: the calendar on $day January 1900" $?
  named_count_is Zorvane 1 # the first activation, which would have raised it, is over
  check "$when: start-up without an error box" $?
  form_shot "$out/start-$year-$((month + 1))-$day.png"
  # The birth list to the period's month: the calendar's day moves into that month.
  pick_by_mouse "${COMBO1_BUTTON[@]}" "$month"
  local last
  last=$(python3 -c "import calendar; print(min($day, calendar.monthrange(1900, $((month + 1)))[1]))")
  calendar_shows 1900 $((month + 1)) "$last"
  check "$when: the birth list's month moves the calendar to day $last" $?
  xdotool key Tab
  wait_for same_text combos
  check "$when: the period list shows the month of the date" $?
  type_into "${EDIT1[@]}" "$year"
  xdotool key shift+Tab # back to the calendar (on, the period year box would take the focus)
  wait_for same_text edits
  check "$when: the period year box shows $year" $?
  [ "$(mapped_named Zorvane | wc -l)" -eq 1 ]
  check "$when: no error box after the changes" $?
  close_box "$win"
  wait_exit
  [ "$status" = "0" ]
  check "$when: the close box ends the program with status 0 (got ${status:-still running})" $?
  if grep -q . "$out/stderr.txt"; then
    echo "standard error ($when):" >&2
    cat "$out/stderr.txt" >&2
    check "$when: nothing on standard error" 1
  fi
}
try_date "2024-02-29 09:30:00" 29 1 2024
try_date "2023-12-31 23:58:00" 31 11 2023

e2e_done "zorvane dates e2e"
