#!/usr/bin/env bash
# End-to-end: the desktop's input conventions in the input form, bare or under openbox. A
# double click in the birth year selects it, and another program reads it as PRIMARY (xclip); a
# middle click at the start of the period's year pastes it there; a right click on that field's
# selection and "Вырезать" in its menu leave the text on the clipboard and the field empty; the
# wheel on the focused period month steps it (up to January, then down to March), and "Далее"
# shows that month. Skipped (77) without xclip. Pictures in BUILD-DIR/e2e/input_conventions/.
#   input_conventions_e2e.sh ZORVANE BUILD-DIR [--openbox]
set -uo pipefail
zorvane="$1"
build="$2"
mode="${3:-}"
command -v xclip >/dev/null || { echo "xclip is not installed: skipped"; exit 77; }
source "$(dirname "$0")/zorvane_lib.sh"
zorvane_setup input_conventions "$mode"

primary_is() { [ "$(timeout 5 xclip -o -selection primary 2>/dev/null)" = "$1" ]; }
clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
double_click_at() { xdotool mousemove "$((FX + $1))" "$((FY + $2))" click --repeat 2 --delay 80 1; }
# The period's year box shows no text: its field right of the caret is one colour.
period_year_empty() {
  form_shot "$out/probe.png" &&
    [ "$(convert "$out/probe.png" -crop 30x13+137+188 +repage -format %k info:)" = 1 ]
}
# The program's pop-up menu on the screen: sets MX MY MW MH.
menu_geometry() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F '("zorvane" "Zorvane")' | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    client_geometry "$id" && MX=$X MY=$Y MW=$W MH=$H && return 0
  done
  return 1
}

start_zorvane
year=$(date +%Y)

# The birth year "1900", selected by a double click, is PRIMARY for another program.
double_click_at "${EDIT1[@]}"
wait_for primary_is 1900
check "a double click in the birth year: xclip reads \"1900\" as PRIMARY" $?

# A middle click at the start of the period's year (this year) pastes it there.
xdotool mousemove "$((FX + 132))" "$((FY + ${EDIT2[1]}))" click 2
double_click_at "${EDIT2[@]}"
wait_for primary_is "1900$year"
r=$?
check "a middle click pastes it into the period's year (reads \"$(timeout 5 xclip -o -selection primary 2>/dev/null)\")" $r

# A right click on that selection, "Вырезать" (the third line: Undo, a separator, Cut) chosen
# with the mouse: the clipboard holds the text, the field is empty.
xdotool mousemove "$((FX + ${EDIT2[0]}))" "$((FY + ${EDIT2[1]}))" click 3
if wait_for menu_geometry; then
  shot root "$out/menu.png"
  line=$(((MH - 2 * 3 - 2 * 8) / 6))
  xdotool mousemove "$((MX + 30))" "$((MY + 3 + line + 8 + line / 2))" click 1
  wait_for clipboard_is "1900$year" && wait_for period_year_empty
  r=$?
else
  echo "no menu on a right click" >&2
  r=1
fi
check "right click, \"Вырезать\": the clipboard holds \"1900$year\", the field is empty" $r

# The period 2000: the wheel on the focused month list, up past January (it stops there), then
# two notches down: March.
click_at "${EDIT2[@]}"
xdotool type --delay 30 2000
click_at "${COMBO2_FIELD[@]}"
xdotool click --repeat 13 --delay 20 4 click --repeat 2 --delay 20 5
shot "$win" "$out/entered.png"
click_at "${NEXT[@]}"
result=$(wait_window 'Zorvane: Март 2000 г.')
check "the wheel steps the period month: \"Далее\" shows March 2000" $?
[ -n "$result" ] && shot "$result" "$out/result.png"

show_stderr
e2e_done "input conventions e2e"
