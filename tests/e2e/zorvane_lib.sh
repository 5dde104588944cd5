# Sourced by the zorvane end-to-end tests (on top of e2e_lib.sh: display, locale, waits, checks):
# starting the program, clicking at form coordinates, and reading what the input form shows — the
# calendar's selected day by its highlight, texts by comparing two boxes' pixels.
#   zorvane_setup TEST [--openbox]   as e2e_setup; needs $zorvane and $build
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/e2e_lib.sh"

zorvane_setup() { e2e_setup "$@"; }
zorvane_cleanup() { e2e_cleanup; }

# Screen pixels per form pixel, each way: a test of a high-resolution screen sets it, and the
# form coordinates below are multiplied by it.
form_scale=1

# The input form has painted itself: its button-face ground beside the picture's frame and the
# frame's white edge (nothing of the form shows before its first present, all of it after).
form_painted() {
  form_shot "$out/probe.png" &&
    [ "$(pixel "$out/probe.png" $((300 * form_scale)) $((10 * form_scale)))" = "C0C0C0" ] &&
    [ "$(pixel "$out/probe.png" $((224 * form_scale)) $((22 * form_scale)))" = "FFFFFF" ]
}

# Starts the program (with an optional command in front, such as faketime) and waits for the
# input form, painted: sets win and its geometry (FX, FY: its client area on the screen).
start_zorvane() {
  e2e_run "$@" "$zorvane"
  win=$(wait_window Zorvane)
  if [ -z "$win" ]; then
    echo "no input form window" >&2
    show_stderr
    exit 1
  fi
  wait_for form_painted || echo "the input form did not paint itself" >&2
  client_geometry "$win"
  FX=$X FY=$Y
}

# Mouse at form coordinates of the input form; clicks at a user's pace (click_screen).
at() { xdotool mousemove "$((FX + $1 * form_scale))" "$((FY + $2 * form_scale))"; }
click_at() { click_screen "$((FX + $1 * form_scale))" "$((FY + $2 * form_scale))"; }

# The input form's controls in its client coordinates.
EDIT1=(150 43)
EDIT2=(150 194)
COMBO1_FIELD=(40 43)
COMBO1_BUTTON=(112 43)
COMBO2_FIELD=(40 194)
COMBO2_BUTTON=(112 194)
UPDOWN1_UP=(184 37)
UPDOWN1_DOWN=(184 49)
UPDOWN2_UP=(184 188)
NEXT=(252 105)
HELP=(252 145)
EXIT=(252 185)
IMAGE=(252 45)

# A pop-up window of the program (a dropped-down list) is on the screen.
popup_shown() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F '("zorvane" "Zorvane")' | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    [[ " $(program_pids) " == *" $(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $3}') "* ]] &&
      return 0
  done
  return 1
}
# Picks item $3 (0 = January) of the list whose button is at $1 $2 with the mouse.
pick_by_mouse() { # pick_by_mouse BUTTON-X BUTTON-Y INDEX
  click_at "$1" "$2"
  wait_for popup_shown || echo "the list did not drop down" >&2
  # The list drops below the box (box bottom: its centre + 11), one 13-pixel line per month.
  click_at 40 $(($2 + 11 + 1 + $3 * 13 + 6))
  wait_for not popup_shown
}
not() { ! "$@"; }
type_into() { # type_into X Y TEXT: selects the box's text and types over it
  click_at "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 30 "$3"
}

# A picture of the input form now.
form_shot() { shot "$win" "$1"; }
pixel() { # pixel FILE X Y → RRGGBB
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | tail -1 | grep -o '#[0-9A-F]\{6\}' |
    tr -d '#'
}
# The calendar cell of a day: sets col and row (weeks start on Monday, row 0 holds the names).
day_cell() { # day_cell YEAR MONTH DAY
  read -r col row < <(python3 -c "
import datetime, sys
y, m, d = map(int, sys.argv[1:])
n = d - 1 + datetime.date(y, m, 1).weekday()
print(n % 7, n // 7 + 1)" "$1" "$2" "$3")
}
# The calendar highlights the day of that month and year.
calendar_highlights() { # calendar_highlights YEAR MONTH DAY
  day_cell "$1" "$2" "$3"
  form_shot "$out/probe.png" &&
    [ "$(pixel "$out/probe.png" $((15 + col * 25 + 2)) $((61 + row * 15 + 2)))" = "000080" ]
}
calendar_shows() { wait_for calendar_highlights "$@"; }
click_day() { # click_day YEAR MONTH DAY (the calendar shows that month)
  day_cell "$1" "$2" "$3"
  click_at $((15 + col * 25 + 12)) $((61 + row * 15 + 7))
}
# The arrow keys that move the calendar's selection from one day to another of a month: a week at
# a time into the target's row, then a day at a time (the selection does not wrap at a row's end).
day_keys() { # day_keys YEAR MONTH FROM TO
  python3 -c "
import datetime, sys
y, m, a, b = map(int, sys.argv[1:])
off = datetime.date(y, m, 1).weekday()
row = lambda d: (d - 1 + off) // 7
keys, d = [], a
while row(d) != row(b):
    step = 7 if row(d) < row(b) else -7
    keys.append('Down' if step > 0 else 'Up')
    d += step
keys += ['Right' if b > d else 'Left'] * abs(b - d)
print(' '.join(keys))" "$@"
}
# The text fields of the two month lists (or the two year boxes) show the same text: their
# pixels agree (neither may have the focus, whose selection would colour one of them).
same_text() { # same_text combos|edits
  form_shot "$out/probe.png" || return 1
  local a b
  if [ "$1" = combos ]; then
    a=$(convert "$out/probe.png" -crop 80x15+19+36 +repage -depth 8 rgb:- | md5sum)
    b=$(convert "$out/probe.png" -crop 80x15+19+187 +repage -depth 8 rgb:- | md5sum)
  else
    a=$(convert "$out/probe.png" -crop 40x15+131+36 +repage -depth 8 rgb:- | md5sum)
    b=$(convert "$out/probe.png" -crop 40x15+131+187 +repage -depth 8 rgb:- | md5sum)
  fi
  [ "$a" = "$b" ]
}
