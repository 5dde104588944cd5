#!/usr/bin/env bash
# End-to-end: the gallery under a real X server, driven with xdotool as a person would drive it.
#   gallery_e2e.sh GALLERY-BINARY BUILD-DIR
# Uses the X server in ZORVANE_E2E_DISPLAY (scripts/services.sh starts one), else starts its own.
set -uo pipefail
gallery="$1"
build="$2"
here="$(cd "$(dirname "$0")" && pwd)"
out="$build/e2e/gallery"
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

# Waits (up to 5 s) for a line of the gallery's output; 0 when it came.
wait_line() {
  local i
  for i in $(seq 1 100); do
    grep -qxF -- "$1" "$log" && return 0
    sleep 0.05
  done
  echo "missing line: $1" >&2
  return 1
}

source "$here/../../scripts/xvfb.sh"
if [ -n "${ZORVANE_E2E_DISPLAY:-}" ]; then
  export DISPLAY="$ZORVANE_E2E_DISPLAY"
else
  xvfb_start || exit 1
  trap xvfb_stop EXIT
  export DISPLAY="$XVFB_DISPLAY"
fi
command -v xdotool >/dev/null || { echo "xdotool is not installed" >&2; exit 1; }

# The sanitizer build's X and font libraries keep caches they never free.
export LSAN_OPTIONS="suppressions=$here/lsan.supp:${LSAN_OPTIONS:-}"
export ZORVANE_DISPLAY=x11
"$gallery" >"$log" 2>"$out/stderr.txt" &
pid=$!
wait_line "gallery ready"
check "the gallery starts" $?
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Gallery' | head -1)
if [ -z "$win" ]; then
  echo "no gallery window" >&2
  kill "$pid" 2>/dev/null
  exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$win")" # X Y WIDTH HEIGHT
at() { xdotool mousemove "$((X + $1))" "$((Y + $2))"; }

# What the window tells the window manager: UTF-8 title, icon, fixed size, the close protocol.
props=$(xprop -id "$win" _NET_WM_NAME _NET_WM_ICON WM_NORMAL_HINTS WM_PROTOCOLS 2>/dev/null)
grep -qF '_NET_WM_NAME(UTF8_STRING) = "Gallery — стандартные окна"' <<<"$props"
check "UTF-8 title" $?
grep -q 'Icon (16 x 16)' <<<"$props"
check "icon" $?
grep -q 'program specified minimum size: 280 by 170' <<<"$props" &&
  grep -q 'program specified maximum size: 280 by 170' <<<"$props"
check "fixed size" $?
grep -q 'WM_DELETE_WINDOW' <<<"$props"
check "close protocol" $?

# Cyrillic text typed into the edit box arrives as EN_CHANGE lines, one per character.
at 60 20 && xdotool click 1
xdotool type --delay 20 'Март 1980'
wait_line "edit EN_CHANGE text=М"
check "first typed letter" $?
wait_line "edit EN_CHANGE text=Март 1980"
check "typed text" $?

# A month chosen with the mouse from the combo box's list.
at 150 50 && xdotool click 1
wait_line "combo CBN_DROPDOWN"
check "the list drops down" $?
sleep 0.2
at 60 $((61 + 1 + 2 * 16 + 8)) && xdotool click 1
wait_line "combo CBN_SELCHANGE index=2 text=Март"
check "item chosen with the mouse" $?

# A click outside the program's windows (here on the bare root window) closes the list too.
closeups=$(grep -cxF 'combo CBN_CLOSEUP' "$log")
at 150 50 && xdotool click 1
sleep 0.3
xdotool mousemove 900 700 click 1
for i in $(seq 1 100); do
  [ "$(grep -cxF 'combo CBN_CLOSEUP' "$log")" -gt "$closeups" ] && break
  sleep 0.05
done
[ "$(grep -cxF 'combo CBN_CLOSEUP' "$log")" -gt "$closeups" ]
check "a click outside the program closes the list" $?

# The up-down's arrows step the buddy's text.
at 66 76 && xdotool click 1
wait_line "year EN_CHANGE text=1901"
check "upper arrow" $?
wait_line "updown pos=1901"
check "up-down reports its position" $?
sleep 0.1
at 66 76 && xdotool click 1
wait_line "year EN_CHANGE text=1902"
check "upper arrow again" $?
sleep 0.1
at 66 87 && xdotool click 1
sleep 0.3
last=$(grep '^year EN_CHANGE' "$log" | tail -1)
[ "$last" = "year EN_CHANGE text=1901" ]
check "lower arrow steps back ($last)" $?

# The clipboard: the edit box's text copied with Ctrl+C, pasted into the combo box with Ctrl+V.
at 60 20 && xdotool click 1
xdotool key ctrl+a ctrl+c
at 60 50 && xdotool click 1
xdotool key ctrl+a ctrl+v
wait_line "combo CBN_EDITCHANGE text=Март 1980"
check "copy and paste through the clipboard" $?

# Another program asking for the old Latin-1 STRING form gets Latin-1, not UTF-8 bytes.
if python3 -c 'import tkinter' 2>/dev/null; then
  at 60 20 && xdotool click 1
  xdotool key ctrl+a
  xdotool type --delay 20 'Café Март'
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  got=$(timeout 10 python3 -c '
import tkinter
r = tkinter.Tk()
r.withdraw()
print(r.clipboard_get(type="STRING"))' 2>/dev/null)
  [ "$got" = "Café ????" ]
  check "clipboard as Latin-1 STRING ($got)" $?
fi

# The push button.
at 220 20 && xdotool click 1
wait_line "button BN_CLICKED"
check "push button" $?
# Space held past the keyboard's repeat delay is still one click, when let go.
clicks=$(grep -cxF 'button BN_CLICKED' "$log")
xdotool keydown space
sleep 1
xdotool keyup space
sleep 0.3
now=$(grep -cxF 'button BN_CLICKED' "$log")
[ "$now" -eq $((clicks + 1)) ]
check "held Space clicks once ($now clicks after $clicks)" $?

# The message box: a dialog for the gallery, answered from the keyboard.
at 220 80 && xdotool click 1
wait_line "message BN_CLICKED"
check "message box button" $?
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Gallery$' | head -1)
if [ -n "$box" ]; then
  boxprops=$(xprop -id "$box" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE 2>/dev/null)
  grep -q "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$win")" <<<"$boxprops"
  check "message box is transient for the gallery" $?
  grep -q '_NET_WM_WINDOW_TYPE_DIALOG' <<<"$boxprops"
  check "message box is a dialog" $?
  import -window "$box" "$out/message-box.png" 2>/dev/null
  xdotool key Escape # no Cancel button: nothing happens
  sleep 0.2
  ! grep -q '^message result' "$log"
  check "Escape leaves a Yes/No box open" $?
  xdotool key Return
  wait_line "message result=6"
  check "Enter answers Yes" $?
  # The underlined letter of a button answers with it.
  at 220 80 && xdotool click 1
  sleep 0.3
  xdotool key n
  wait_line "message result=7"
  check "N answers No" $?
else
  check "message box window appears" 1
fi

# A screenshot of the gallery as it stands.
sleep 0.2
import -window "$win" "$out/gallery.png" 2>/dev/null || xwd -id "$win" -silent | convert xwd:- "$out/gallery.png"
[ -s "$out/gallery.png" ]
check "screenshot written" $?

# The close box ends the program.
python3 "$here/close_window.py" "$win"
for i in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  check "close box ends the program" 1
fi
wait "$pid"
status=$?
check "exit status 0 (was $status)" "$status"
wait_line "gallery WM_CLOSE"
check "close box arrives as WM_CLOSE" $?

echo "e2e gallery: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
