#!/usr/bin/env bash
# End-to-end: the program as a desktop sees it, under openbox on a screen of two monitors
# (2 x 1280 x 1024, `xrandr --setmonitor`) with the keyboard layouts us,ru (Latin active):
# - the input form centred on the monitor holding the pointer (the right one), not across the
#   seam;
# - each window's properties (xprop): the about box a dialog transient for its form, the error
#   box a modal one; the icon at 16, 32 and 48 pixels, the client machine with the pid, the
#   window group and client leader, WM_NAME readable as text, and the window manager's ping
#   answered (wm_ping);
# - Alt+Д pressed as Alt with the key of Д while the Latin layout is active: "Next";
# - an error box, then `wmctrl -a` on its form: the box is above it and has the keyboard; a click
#   on "Выход" of the blocked form does nothing but bring the box back; Enter closes the box and
#   the program goes on.
# Skipped (77) without wmctrl, xrandr or setxkbmap.
#   desktop_e2e.sh ZORVANE WM_PING BUILD-DIR
set -uo pipefail
zorvane="$1"
wm_ping="$2"
build="$3"
for tool in wmctrl xrandr setxkbmap openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
source "$(dirname "$0")/zorvane_lib.sh"
export XVFB_SCREEN=2560x1024x24
zorvane_setup desktop --openbox

# The left monitor takes the screen's one output (its name differs between servers).
output=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --setmonitor L 1280/338x1024/270+0+0 "$output" >/dev/null &&
  xrandr --setmonitor R 1280/338x1024/270+1280+0 none >/dev/null &&
  [ "$(xrandr --listmonitors | head -1)" = "Monitors: 2" ]
check "two monitors set up" $?
setxkbmap -layout us,ru
xdotool mousemove 1900 500

# The properties every window of ours carries.
prop() { xprop -id "$1" "${@:2}" 2>/dev/null; }
icon_sizes() { prop "$1" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr -dc '0-9x \n' | xargs; }
leader_of() { prop "$1" WM_CLIENT_LEADER | grep -o '0x[0-9a-f]*'; }
group_of() { prop "$1" WM_HINTS | sed -n 's/.*group leader: *\(0x[0-9a-f]*\).*/\1/p'; }
transient_for() { printf '%d' "$(prop "$1" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')" 2>/dev/null; }
is_dialog() { prop "$1" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_DIALOG'; }
is_modal_dialog() { is_dialog "$1" && prop "$1" _NET_WM_STATE | grep -q '_NET_WM_STATE_MODAL'; }
citizen() { # citizen WINDOW TITLE: the properties every window of the program carries
  local w="$1" sizes leader group name
  sizes=$(icon_sizes "$w") leader=$(leader_of "$w") group=$(group_of "$w")
  name=$(prop "$w" WM_NAME)
  [ "$sizes" = "16 x 16 32 x 32 48 x 48" ]
  check "$2: icon at 16, 32 and 48 pixels (got: $sizes)" $?
  prop "$w" WM_CLIENT_MACHINE | grep -qxF "WM_CLIENT_MACHINE(STRING) = \"$(uname -n)\""
  check "$2: WM_CLIENT_MACHINE is this machine" $?
  [ -n "$leader" ] && [ "$leader" = "$group" ]
  check "$2: client leader and window group (got $leader / $group)" $?
  grep -qF " = \"$2\"" <<<"$name"
  check "$2: WM_NAME reads as text ($name)" $?
  "$wm_ping" "$w" 2000 >/dev/null
  check "$2: the window manager's ping is answered" $?
}
# A window of the program whose name starts with $1.
window_starting() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F " \"$1" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    [[ " $(program_pids) " == *" $(prop "$id" _NET_WM_PID | awk '{print $3}') "* ]] &&
      echo "$((id))" && return 0
  done
  return 1
}
# The window is above `other` in the window manager's stacking and has the keyboard.
above_and_focused() { # above_and_focused WINDOW OTHER
  local stack
  stack=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | while read -r x; do
    echo $((x))
  done)
  is_focused "$1" && [ "$(grep -nx "$1" <<<"$stack" | cut -d: -f1)" -gt \
    "$(grep -nx "$2" <<<"$stack" | cut -d: -f1)" ]
}

start_zorvane
# Centred on the right monitor (the pointer's), within what openbox's frame moves it by.
cx=$((1280 + (1280 - 313) / 2)) cy=$(((1024 - 225) / 2))
[ $((FX - cx)) -ge -30 ] && [ $((FX - cx)) -le 30 ] && [ $((FY - cy)) -ge -40 ] &&
  [ $((FY - cy)) -le 40 ]
check "the input form is centred on the monitor with the pointer (at $FX, $FY)" $?
prop "$win" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_NORMAL'
check "the input form is a normal window" $?
prop "$win" WM_NORMAL_HINTS | grep -q 'program specified minimum size: 313 by 225' &&
  prop "$win" WM_NORMAL_HINTS | grep -q 'program specified maximum size: 313 by 225'
check "the input form keeps its fixed size" $?
citizen "$win" Zorvane

# The about box: a dialog of the input form.
click_at "${IMAGE[@]}"
about=$(wait_window 'О программе...')
check "the picture opens the about box" $?
if [ -n "$about" ]; then
  is_dialog "$about" && [ "$(transient_for "$about")" = "$win" ]
  check "the about box is a dialog transient for the input form" $?
  citizen "$about" 'О программе...'
  xdotool key Return
  wait_gone 'О программе...'
fi

# Alt with the key that types Д in the Russian layout, the Latin one active: "Next".
wait_for is_focused "$win"
xdotool key alt+l
result=""
wait_for window_starting 'Zorvane: ' >/dev/null && result=$(window_starting 'Zorvane: ')
check "Alt+Д in the Latin layout presses \"Далее\"" $?
[ -n "$result" ] && close_box "$result"

# An error box (the year box emptied), then the window manager turns to the blocked form.
wmctrl -i -a "$win"
wait_for is_focused "$win"
click_at "${EDIT1[@]}"
xdotool key ctrl+a Delete
wait_count Zorvane 2
box=$(mapped_named Zorvane | grep -vx "$win" | head -1)
check "an emptied year box shows the error box" $?
if [ -n "$box" ]; then
  is_modal_dialog "$box" && [ "$(transient_for "$box")" = "$win" ]
  check "the error box is a modal dialog transient for the input form" $?
  citizen "$box" Zorvane
  wmctrl -i -a "$win"
  wait_for above_and_focused "$box" "$win"
  check "wmctrl -a on the blocked form: the box is above it with the keyboard" $?
  click_at "${EXIT[@]}"
  wait_for above_and_focused "$box" "$win"
  check "a click on the blocked form's \"Выход\" brings the box back" $?
  named_count_is Zorvane 2 && kill -0 "$pid" 2>/dev/null
  check "\"Выход\" on the blocked form does nothing" $?
  xdotool key Return
  wait_count Zorvane 1
  check "Enter closes the error box" $?
  xdotool type --delay 30 1980
  calendar_shows 1980 1 "$(date +%-d)" # the birth month starts at January
  check "the program goes on: typing in the year box" $?
fi
shot root "$out/screen.png"
e2e_done desktop
