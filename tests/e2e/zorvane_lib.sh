# Sourced by the zorvane end-to-end tests: the X server (and window manager), starting the
# program, finding its windows, clicking at form coordinates, and reading what the input form
# shows — the calendar's selected day by its highlight, texts by comparing two boxes' pixels.
#   zorvane_setup NAME [--openbox]   sets out (the results folder), DISPLAY, the help viewer
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/xvfb.sh"
source "$here/../../scripts/wm.sh"
failures=0
passes=0
pid=""

check() { # check NAME CONDITION-EXIT-STATUS
  if [ "$2" -eq 0 ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1" >&2
  fi
}

zorvane_cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  wm_stop
  xvfb_stop
}

zorvane_setup() { # zorvane_setup NAME [--openbox]
  out="$build/e2e/zorvane/$1"
  rm -rf "$out"
  mkdir -p "$out"
  trap zorvane_cleanup EXIT
  if [ "${2:-}" = "--openbox" ] || [ -z "${ZORVANE_E2E_DISPLAY:-}" ]; then
    # A window manager must not disturb the shared display other tests use: this one is ours.
    xvfb_start || exit 1
    export DISPLAY="$XVFB_DISPLAY"
    if [ "${2:-}" = "--openbox" ]; then wm_start "$DISPLAY" || exit 1; fi
  else
    export DISPLAY="$ZORVANE_E2E_DISPLAY"
  fi
  command -v xdotool >/dev/null || { echo "xdotool is not installed" >&2; exit 1; }
  read -r sw sh < <(xdotool getdisplaygeometry)
  # The help viewer: a command that records the one argument it gets.
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$out/viewer.txt" >"$out/viewer.sh"
  chmod +x "$out/viewer.sh"
  export ZORVANE_HELP_VIEWER="$out/viewer.sh"
  export LANG=ru_RU.UTF-8
  unset LC_ALL LC_TIME LANGUAGE
  export ZORVANE_DISPLAY=x11
  # The sanitizer build's X and font libraries keep caches they never free.
  export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
}

# The mapped windows (of any depth below the root) named exactly $1, in decimal.
mapped_named() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$((id))"
  done
}
# Waits up to 5 s until `mapped_named $1` lists $2 windows.
wait_count() {
  local i
  for i in $(seq 1 100); do
    [ "$(mapped_named "$1" | wc -l)" -eq "$2" ] && return 0
    sleep 0.05
  done
  return 1
}
# The client area of a window on the screen: sets X Y W H.
client_geometry() {
  local g
  g=$(xwininfo -id "$1")
  X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$g")
  Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$g")
  W=$(awk '/^ *Width:/ {print $2}' <<<"$g")
  H=$(awk '/^ *Height:/ {print $2}' <<<"$g")
}
# Centred within what a window manager's frame may move it by (exactly without one).
centred() { # centred W H
  local cx=$(((sw - $1) / 2)) cy=$(((sh - $2) / 2))
  if [ -z "${WM_PID:-}" ]; then
    [ "$X" -eq "$cx" ] && [ "$Y" -eq "$cy" ]
  else
    [ $((X - cx)) -ge -30 ] && [ $((X - cx)) -le 30 ] && [ $((Y - cy)) -ge -40 ] &&
      [ $((Y - cy)) -le 40 ]
  fi
}

# Starts the program (with an optional command in front, such as faketime) and waits for the
# input form: sets win and its geometry.
start_zorvane() {
  "$@" "$zorvane" >"$out/stdout.txt" 2>"$out/stderr.txt" &
  pid=$!
  win=""
  local i
  for i in $(seq 1 200); do
    win=$(mapped_named Zorvane | head -1)
    [ -n "$win" ] && break
    sleep 0.05
  done
  if [ -z "$win" ]; then
    echo "no input form window" >&2
    exit 1
  fi
  sleep 0.3
  client_geometry "$win"
  FX=$X FY=$Y
}

# Mouse at form coordinates of the input form.
at() { xdotool mousemove "$((FX + $1))" "$((FY + $2))"; }
click_at() { at "$1" "$2" && xdotool click 1 && sleep 0.15; }

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

# Picks item $2 (0 = January) of the list whose button is at $1 $2 ... with the mouse.
pick_by_mouse() { # pick_by_mouse BUTTON-X BUTTON-Y INDEX
  click_at "$1" "$2"
  sleep 0.2
  # The list drops below the box (box bottom: its centre + 11), one 13-pixel line per month.
  click_at 40 $(($2 + 11 + 1 + $3 * 13 + 6))
}
type_into() { # type_into X Y TEXT: selects the box's text and types over it
  click_at "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 30 "$3"
  sleep 0.2
}

# A picture of the input form now.
form_shot() { import -window "$win" "$1" 2>/dev/null; }
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
# Waits (up to 3 s) until the calendar highlights the day of that month and year.
calendar_shows() { # calendar_shows YEAR MONTH DAY
  day_cell "$1" "$2" "$3"
  local i x=$((15 + col * 25 + 2)) y=$((61 + row * 15 + 2))
  for i in $(seq 1 30); do
    form_shot "$out/probe.png"
    [ "$(pixel "$out/probe.png" "$x" "$y")" = "000080" ] && return 0
    sleep 0.1
  done
  return 1
}
click_day() { # click_day YEAR MONTH DAY (the calendar shows that month)
  day_cell "$1" "$2" "$3"
  click_at $((15 + col * 25 + 12)) $((61 + row * 15 + 7))
}
# The text fields of the two month lists (or the two year boxes) show the same text: their
# pixels agree (neither may have the focus, whose selection would colour one of them).
same_text() { # same_text combos|edits
  form_shot "$out/probe.png"
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
# Waits (up to 10 s) for the program to end; sets status.
wait_exit() {
  status=""
  local i
  for i in $(seq 1 200); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      break
    fi
    sleep 0.05
  done
  pid=""
}
