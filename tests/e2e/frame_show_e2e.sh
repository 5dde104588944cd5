#!/usr/bin/env bash
# End-to-end: `formtool show` of a form source under a real X server, without a window manager or
# (with --openbox) under openbox, driven with xdotool: one window of the form's client size,
# centred, titled with its caption; a hint after 500 ms that goes after 2.5 s; an error in a click
# handler shown in a box titled with the application's title while the program keeps running;
# help calls reaching the viewer; the close box ending the program with status 0.
#   frame_show_e2e.sh FORMTOOL SOURCE-DIR BUILD-DIR [--openbox]
set -uo pipefail
formtool="$1"
src="$2"
build="$3"
mode="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
name="show${mode:+-openbox}"
out="$build/e2e/frame/$name"
rm -rf "$out"
mkdir -p "$out"
log="$out/stdout.txt"
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
wait_line() { # waits up to 10 s for a line of the program's output
  local i
  for i in $(seq 1 200); do
    grep -qxF -- "$1" "$log" && return 0
    sleep 0.05
  done
  echo "missing line: $1" >&2
  return 1
}
now_ms() { date +%s%3N; }
shot() { import -window root "$out/$1.png" 2>/dev/null; }
# The mapped top-level windows (of any depth below the root) named exactly $1.
mapped_named() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$((id))"
  done
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
  # A window manager must not disturb the shared display other tests use: this one is ours.
  xvfb_start || exit 1
  export DISPLAY="$XVFB_DISPLAY"
  if [ "$mode" = "--openbox" ]; then
    wm_start "$DISPLAY" || exit 1
  fi
else
  export DISPLAY="$ZORVANE_E2E_DISPLAY"
fi
command -v xdotool >/dev/null || { echo "xdotool is not installed" >&2; exit 1; }
read -r sw sh < <(xdotool getdisplaygeometry)

# The help viewer: a command that records the one argument it gets.
viewer="$out/viewer.sh"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$out/viewer.txt" >"$viewer"
chmod +x "$viewer"
export ZORVANE_HELP_VIEWER="$viewer"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:${LSAN_OPTIONS:-}"
export ZORVANE_DISPLAY=x11
: >"$log"
(cd "$build" && exec "$formtool" show "$here/frame_show.form") >"$log" 2>"$out/stderr.txt" &
pid=$!
wait_line "shown ShowTestForm"
check "the form shows" $?

# (xdotool's name search does not match Cyrillic titles; xwininfo lists them.)
win=""
for i in $(seq 1 200); do
  win=$(mapped_named 'Проба формы' | head -1)
  [ -n "$win" ] && break
  sleep 0.05
done
if [ -z "$win" ]; then
  echo "no form window" >&2
  exit 1
fi
sleep 0.3
shot shown
# One window, the form's client size, centred, titled with the caption.
[ "$(mapped_named 'Проба формы' | wc -l)" -eq 1 ]
check "one form window" $?
# The client area on the screen (xdotool's own geometry is off by the frame under a manager).
geometry=$(xwininfo -id "$win")
X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
WIDTH=$(awk '/^ *Width:/ {print $2}' <<<"$geometry")
HEIGHT=$(awk '/^ *Height:/ {print $2}' <<<"$geometry")
[ "$WIDTH" -eq 320 ] && [ "$HEIGHT" -eq 180 ]
check "client size 320 x 180 (got ${WIDTH} x ${HEIGHT})" $?
cx=$(((sw - 320) / 2))
cy=$(((sh - 180) / 2))
if [ -z "$mode" ]; then
  [ "$X" -eq "$cx" ] && [ "$Y" -eq "$cy" ]
else
  # A window manager may move the client inside its frame: within the frame's size.
  [ $((X - cx)) -ge -30 ] && [ $((X - cx)) -le 30 ] && [ $((Y - cy)) -ge -40 ] &&
    [ $((Y - cy)) -le 40 ]
fi
check "centred on the screen (at $X, $Y; centre $cx, $cy)" $?
xprop -id "$win" _NET_WM_NAME | grep -qF '"Проба формы"'
check "titled with the caption" $?
[ -z "$(mapped_named Formtool)" ]
check "the application window is not mapped" $?
at() { xdotool mousemove "$((X + $1))" "$((Y + $2))"; }

# A hint: not before the pause, shown after about 500 ms, gone about 2.5 s later.
at 100 28
moved=$(now_ms)
sleep 0.25
[ -z "$(mapped_named 'Подсказка кнопки')" ]
check "no hint before the pause" $?
shown_at=""
for i in $(seq 1 60); do
  if [ -n "$(mapped_named 'Подсказка кнопки')" ]; then shown_at=$(now_ms); break; fi
  sleep 0.05
done
[ -n "$shown_at" ] && [ $((shown_at - moved)) -ge 400 ] && [ $((shown_at - moved)) -le 2000 ]
check "hint shown after the pause ($((${shown_at:-0} - moved)) ms)" $?
shot hint
hidden_at=""
for i in $(seq 1 120); do
  if [ -z "$(mapped_named 'Подсказка кнопки')" ]; then hidden_at=$(now_ms); break; fi
  sleep 0.05
done
[ -n "$hidden_at" ] && [ -n "$shown_at" ] && [ $((hidden_at - shown_at)) -ge 2000 ] &&
  [ $((hidden_at - shown_at)) -le 4500 ]
check "hint hidden after about 2.5 s ($((${hidden_at:-0} - ${shown_at:-0})) ms)" $?

# An error in a click handler: a box titled with the application's title; the program goes on.
at 86 28 && xdotool click 1
box=""
for i in $(seq 1 100); do
  box=$(mapped_named Formtool | head -1)
  [ -n "$box" ] && break
  sleep 0.05
done
[ -n "$box" ]
check "error box titled with the application title" $?
sleep 0.2
shot error
xdotool key --window "${box:-$win}" Return 2>/dev/null || xdotool key Return
for i in $(seq 1 100); do
  [ -z "$(mapped_named Formtool)" ] && break
  sleep 0.05
done
[ -z "$(mapped_named Formtool)" ]
check "the box closes" $?
at 86 68 && xdotool click 1
wait_line "click CountButton 1"
check "the program keeps running after the error" $?

# Help: a help call from a click, and F1 on a control without a context (its form has 5).
at 86 108 && xdotool click 1
sleep 0.3
at 86 68 && xdotool click 1
wait_line "click CountButton 2"
check "the counting button has the focus" $?
xdotool key F1
sleep 0.5
if [ -f "$src/resources/help/zorvane.html" ]; then
  for i in $(seq 1 100); do
    [ "$(wc -l <"$out/viewer.txt" 2>/dev/null || echo 0)" -ge 2 ] && break
    sleep 0.05
  done
  grep -q 'zorvane\.html#context-3$' "$out/viewer.txt" 2>/dev/null
  check "a help call reaches the viewer with context 3" $?
  grep -q 'zorvane\.html#context-5$' "$out/viewer.txt" 2>/dev/null
  check "F1 reaches the viewer with the form's context 5" $?
else
  # No help document in this tree: the user is told so instead of nothing happening.
  [ -n "$(mapped_named Formtool)" ]
  check "a missing help document is reported" $?
  shot help-missing
  for i in 1 2 3; do
    b=$(mapped_named Formtool | head -1)
    [ -z "$b" ] && break
    xdotool key --window "$b" Return 2>/dev/null
    sleep 0.3
  done
fi

# The close box ends the program with status 0.
python3 "$here/close_window.py" "$win"
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
check "the close box ends the program with status 0 (got ${status:-still running})" $?

echo "frame show e2e ($name): $passes passed, $failures failed"
[ "$failures" -eq 0 ]
