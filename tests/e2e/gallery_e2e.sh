#!/usr/bin/env bash
# End-to-end: the gallery under a real X server, driven with xdotool as a person would drive it,
# without a window manager (on the shared display, ZORVANE_E2E_DISPLAY, else one of its own) or
# with --openbox under openbox, in the locale ZORVANE_E2E_LANG.
#   gallery_e2e.sh GALLERY-BINARY BUILD-DIR [--openbox]
set -uo pipefail
gallery="$1"
build="$2"
mode="${3:-}"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup gallery "$mode"
log="$out/stdout.txt"

e2e_run "$gallery"
wait_line "$log" "gallery ready"
check "the gallery starts" $?
win=$(wait_window 'Gallery — стандартные окна')
if [ -z "$win" ]; then
  echo "no gallery window" >&2
  exit 1
fi
# The client area on the screen (under a window manager the frame is around it).
client_geometry "$win"
at() { xdotool mousemove "$((X + $1))" "$((Y + $2))"; }
click() { click_screen "$((X + $1))" "$((Y + $2))"; }
# Without a window manager the keys go where the program put the focus; a manager gives it to a
# new window itself. Either way the window has it before the keys start.
wait_for is_focused "$win"
check "the gallery has the keyboard" $?

# What the window tells the window manager: UTF-8 title, icon, fixed size, the close protocol,
# and (Motif hints) no more buttons or functions than its style has.
props=$(xprop -id "$win" _NET_WM_NAME _NET_WM_ICON WM_NORMAL_HINTS WM_PROTOCOLS _MOTIF_WM_HINTS \
  2>/dev/null)
grep -qF '_NET_WM_NAME(UTF8_STRING) = "Gallery — стандартные окна"' <<<"$props"
check "UTF-8 title" $?
grep -q 'Icon (16 x 16)' <<<"$props"
check "icon" $?
grep -q 'program specified minimum size: 280 by 170' <<<"$props" &&
  grep -q 'program specified maximum size: 280 by 170' <<<"$props"
check "fixed size" $?
grep -q 'WM_DELETE_WINDOW' <<<"$props"
check "close protocol" $?
# Functions move and close, decorations border, title and menu: no minimise, maximise or resize.
grep -q '_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0' <<<"$props"
check "Motif hints: title, close and move only ($(grep MOTIF <<<"$props"))" $?
if [ -n "${WM_PID:-}" ]; then
  actions=$(xprop -id "$win" _NET_WM_ALLOWED_ACTIONS 2>/dev/null)
  ! grep -qE '_NET_WM_ACTION_(MAXIMIZE|RESIZE)' <<<"$actions"
  check "the window manager allows no maximising or resizing" $?
fi

# Cyrillic text typed into the edit box arrives as EN_CHANGE lines, one per character.
click 60 20
type_text 'Март 1980'
wait_line "$log" "edit EN_CHANGE text=М"
check "first typed letter" $?
wait_line "$log" "edit EN_CHANGE text=Март 1980"
check "typed text ($(grep '^edit EN_CHANGE' "$log" | tail -1))" $?

# A month chosen with the mouse from the combo box's list.
click 150 50
wait_line "$log" "combo CBN_DROPDOWN"
check "the list drops down" $?
click 60 $((61 + 1 + 2 * 16 + 8))
wait_line "$log" "combo CBN_SELCHANGE index=2 text=Март"
check "item chosen with the mouse" $?

# A click outside the program's windows (on the root window, away from the gallery) closes the
# list too.
closeups=$(count_lines "$log" 'combo CBN_CLOSEUP')
click 150 50
dropped_again() { [ "$(count_lines "$log" 'combo CBN_DROPDOWN')" -ge 2 ]; }
wait_for dropped_again
click_screen 900 700
more_closeups() { [ "$(count_lines "$log" 'combo CBN_CLOSEUP')" -gt "$closeups" ]; }
wait_for more_closeups
check "a click outside the program closes the list" $?

# The up-down's arrows step the buddy's text.
click 66 76
wait_line "$log" "year EN_CHANGE text=1901"
check "upper arrow" $?
wait_line "$log" "updown pos=1901"
check "up-down reports its position" $?
click 66 76
wait_line "$log" "year EN_CHANGE text=1902"
check "upper arrow again" $?
click 66 87
wait_line "$log" "year EN_CHANGE text=1901"
last_year() { [ "$(grep '^year EN_CHANGE' "$log" | tail -1)" = "year EN_CHANGE text=1901" ]; }
wait_for last_year
check "lower arrow steps back ($(grep '^year EN_CHANGE' "$log" | tail -1))" $?

# The clipboard: the edit box's text copied with Ctrl+C, pasted into the combo box with Ctrl+V.
click 60 20
xdotool key ctrl+a ctrl+c
click 60 50
xdotool key ctrl+a ctrl+v
wait_line "$log" "combo CBN_EDITCHANGE text=Март 1980"
check "copy and paste through the clipboard ($(grep '^combo CBN_EDITCHANGE' "$log" | tail -1))" $?

# Another program asking for the old Latin-1 STRING form gets Latin-1, not UTF-8 bytes.
if python3 -c 'import tkinter' 2>/dev/null; then
  click 60 20
  xdotool key ctrl+a
  type_text 'Café Март'
  wait_line "$log" "edit EN_CHANGE text=Café Март"
  xdotool key ctrl+a ctrl+c
  clipboard_latin1() {
    got=$(timeout 10 python3 -c '
import tkinter
r = tkinter.Tk()
r.withdraw()
print(r.clipboard_get(type="STRING"))' 2>/dev/null)
    [ "$got" = "Café ????" ]
  }
  got=""
  wait_for clipboard_latin1
  check "clipboard as Latin-1 STRING ($got)" $?
fi

# The push button.
click 220 20
wait_line "$log" "button BN_CLICKED"
check "push button" $?
# Space held past the keyboard's repeat delay is still one click, when let go. The message
# box's button below is clicked afterwards: its line comes after any second click would have.
clicks=$(count_lines "$log" 'button BN_CLICKED')
xdotool keydown space
sleep 1 # held: a gesture's length, not a wait
xdotool keyup space
more_clicks() { [ "$(count_lines "$log" 'button BN_CLICKED')" -gt "$clicks" ]; }
wait_for more_clicks

# The message box: a dialog for the gallery, answered from the keyboard.
click 220 80
wait_line "$log" "message BN_CLICKED"
check "message box button" $?
now=$(count_lines "$log" 'button BN_CLICKED')
[ "$now" -eq $((clicks + 1)) ]
check "held Space clicks once ($now clicks after $clicks)" $?
box=$(wait_window Gallery)
if [ -n "$box" ]; then
  boxprops=$(xprop -id "$box" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE 2>/dev/null)
  grep -q "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$win")" <<<"$boxprops"
  check "message box is transient for the gallery" $?
  grep -q '_NET_WM_WINDOW_TYPE_DIALOG' <<<"$boxprops"
  check "message box is a dialog" $?
  wait_for is_focused "$box"
  check "the message box has the keyboard" $?
  shot "$box" "$out/message-box.png"
  xdotool key Escape # no Cancel button: nothing happens
  xdotool key Return
  wait_line "$log" "message result=6"
  check "Enter answers Yes" $?
  [ "$(grep '^message result' "$log" | head -1)" = "message result=6" ]
  check "Escape leaves a Yes/No box open (the first answer is Enter's)" $?
  # The underlined letter of a button answers with it: "&Нет" in a Russian locale, else "&No"
  # (the standard box speaks the user's language).
  case "$E2E_LANG" in ru*) no_key=Cyrillic_en ;; *) no_key=n ;; esac
  wait_gone Gallery
  wait_for is_focused "$win"
  check "the gallery has the keyboard again after the box" $?
  click 220 80
  box=$(wait_window Gallery) && wait_for is_focused "$box"
  xdotool key "$no_key"
  wait_line "$log" "message result=7"
  check "its letter ($no_key) answers No" $?
else
  check "message box window appears" 1
fi

# A screenshot of the gallery as it stands.
wait_gone Gallery
shot "$win" "$out/gallery.png"
[ -s "$out/gallery.png" ]
check "screenshot written" $?

# The close box ends the program.
close_box "$win"
wait_exit
[ "$status" = "0" ]
check "the close box ends the program with status 0 (got ${status:-still running})" $?
wait_line "$log" "gallery WM_CLOSE"
check "close box arrives as WM_CLOSE" $?
e2e_done "e2e gallery"
