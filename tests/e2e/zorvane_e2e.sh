#!/usr/bin/env bash
# End-to-end: zorvane under a real X server, without a window manager (on the shared display) or
# under openbox, in the locale ZORVANE_E2E_LANG (Russian by default), driven with xdotool as a person would drive it: one window
# "Zorvane" of client size 313 x 225, centred; the birth year typed, months picked from both lists
# with the mouse and the keyboard, a calendar day clicked, the spinner's arrows; "Next" showing the
# result form for the period entered; the error box for an emptied year box; the about box opened
# from the picture and closed by Enter and by its close box; help at context 3; "Выход" ending the
# program with status 0. Pictures of both forms are kept in BUILD-DIR/e2e/zorvane/<variant>/.
#   zorvane_e2e.sh ZORVANE BUILD-DIR [--openbox]
set -uo pipefail
zorvane="$1"
build="$2"
mode="${3:-}"
source "$(dirname "$0")/zorvane_lib.sh"
zorvane_setup zorvane "$mode"

start_zorvane
[ "$(mapped_named Zorvane | wc -l)" -eq 1 ]
check "one window named Zorvane" $?
[ "$W" -eq 313 ] && [ "$H" -eq 225 ]
check "client size 313 x 225 (got $W x $H)" $?
centred 313 225
check "centred on the screen (at $X, $Y on ${sw}x$sh)" $?
xprop -id "$win" _NET_WM_NAME | grep -qF '"Zorvane"'
check "titled Zorvane" $?
form_shot "$out/intro-start.png"

# Set up on activation: January of 1900 on the calendar, today's day kept.
today=$(date +%-d)
calendar_shows 1900 1 "$today"
check "the calendar starts in January 1900 on day $today" $?

# The birth year typed, a day clicked, the month picked with the mouse, then with the keys.
type_into "${EDIT1[@]}" 1980
calendar_shows 1980 1 "$today"
check "typed year 1980 moves the calendar" $?
click_day 1980 1 15
calendar_shows 1980 1 15
check "a click selects 15 January" $?
pick_by_mouse "${COMBO1_BUTTON[@]}" 2
calendar_shows 1980 3 15
check "March picked with the mouse" $?
click_at "${COMBO1_FIELD[@]}"
xdotool key Down
calendar_shows 1980 4 15
check "April with the Down key" $?
xdotool key Up
calendar_shows 1980 3 15
check "back to March with the Up key" $?
# The spinner's arrows step the year box, and the calendar with it.
click_at "${UPDOWN1_UP[@]}"
calendar_shows 1981 3 15
check "upper arrow: 1981" $?
click_at "${UPDOWN1_DOWN[@]}"
calendar_shows 1980 3 15
check "lower arrow: 1980" $?

# The period: March picked with the mouse, April with the keys; the two lists then read alike
# once the birth list shows April too.
pick_by_mouse "${COMBO2_BUTTON[@]}" 2
click_at "${COMBO2_FIELD[@]}"
xdotool key Down
click_at "${COMBO1_FIELD[@]}"
xdotool key Down
calendar_shows 1980 4 15
xdotool key Tab # the focus on to the calendar, away from both lists
wait_for same_text combos
check "the period list shows April (as the birth list)" $?
type_into "${EDIT2[@]}" 1980
xdotool key Tab
wait_for same_text edits
check "the period year box shows the typed 1980 (as the birth year box)" $?
click_at "${UPDOWN2_UP[@]}"
wait_for not same_text edits
check "the period spinner steps the period year" $?
type_into "${EDIT2[@]}" 2000
form_shot "$out/intro.png"

# "Next": the result form for the period entered (its caption names the period list's month and
# the year box's text), no message; closing the result form leaves the input form.
click_at "${NEXT[@]}"
result_name='Zorvane: Апрель 2000 г.'
wait_count "$result_name" 1
check "Next shows the result form \"$result_name\"" $?
named_count_is Zorvane 1 # the result form came, so a message would have come before it
check "Next computes without a message" $?
result=$(mapped_named "$result_name" | head -1)
[ -n "$result" ] && close_box "$result"
wait_count "$result_name" 0
check "the result form's close box hides it" $?
kill -0 "$pid" 2>/dev/null
check "the program goes on" $?

# An emptied year box: one error box titled Zorvane; the year box has the keys again after it.
click_at "${EDIT1[@]}"
xdotool key ctrl+a Delete
wait_count Zorvane 2
check "an emptied year box shows one error box" $?
shot root "$out/error-box.png"
box=$(mapped_named Zorvane | grep -vx "$win" | head -1)
if [ -n "$box" ]; then
  client_geometry "$box"
  [ "$W" -ne 313 ]
  check "the error box is a window of its own ($W x $H)" $?
  xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
fi
wait_count Zorvane 1
check "Enter closes the error box" $?
xdotool type --delay 30 1980
calendar_shows 1980 4 15
check "typing goes on in the year box after the box" $?
named_count_is Zorvane 1 # the typing came through after any box it could have raised
check "no further error box" $?

# The about box from the picture; Enter and its close box hide it.
click_at "${IMAGE[@]}"
wait_count 'О программе...' 1
check "the picture opens the about box" $?
about=$(mapped_named 'О программе...' | head -1)
if [ -n "$about" ]; then
  client_geometry "$about"
  [ "$W" -eq 298 ] && [ "$H" -eq 213 ]
  check "about box client size 298 x 213 (got $W x $H)" $?
  centred 298 213
  check "about box centred (at $X, $Y)" $?
  shot "$about" "$out/about.png"
  xdotool key Return
  wait_count 'О программе...' 0
  check "Enter hides the about box" $?
  click_at "${IMAGE[@]}"
  wait_count 'О программе...' 1
  check "the picture shows it again" $?
  close_box "$about"
  wait_count 'О программе...' 0
  check "its close box hides it" $?
  kill -0 "$pid" 2>/dev/null
  check "the program goes on" $?
fi

# Help at the input form's context.
click_at "${HELP[@]}"
wait_for lines_at_least "$out/viewer.txt" 1
grep -q 'zorvane\.html#context-3$' "$out/viewer.txt" 2>/dev/null
check "Справка reaches the help viewer at context 3 ($(cat "$out/viewer.txt" 2>/dev/null))" $?

# "Выход" ends the program with status 0.
click_at "${EXIT[@]}"
wait_exit
[ "$status" = "0" ]
check "Выход ends the program with status 0 (got ${status:-still running})" $?
show_stderr
e2e_done "zorvane e2e"
