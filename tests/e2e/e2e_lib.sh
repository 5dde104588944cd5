# Sourced by every end-to-end script: the X server a test drives (the shared one, or one of its
# own, bare or under openbox), the program's locale, waits that poll for a condition, checks, and
# finding the windows of the program under test.
#
#   e2e_setup TEST [--openbox]   DISPLAY; $out = BUILD-DIR/e2e/TEST/<variant> (emptied), where the
#                                variant names the window manager and the locale ("bare-ru",
#                                "openbox-C"); $out/viewer.sh, a help viewer that records its one
#                                argument in $out/viewer.txt, as ZORVANE_HELP_VIEWER. Needs $build.
#                                With XVFB_SCREEN set the test gets a display of its own of that
#                                size (its root window's properties are then its own to set).
#   e2e_run COMMAND...           starts a program of the test in the program's locale, output in
#                                $out/stdout.txt and $out/stderr.txt; sets pid.
#
# The program's locale is ZORVANE_E2E_LANG (ru_RU.UTF-8 when unset; C and en_US.UTF-8 are the
# others the suite runs). The test's own tools run in C.UTF-8 whatever it is: xdotool reads the
# text it types and xwininfo writes window titles in the locale's character set.
#
# Every wait polls its condition for up to ZORVANE_E2E_TIMEOUT seconds (20 by default), so a
# loaded machine makes a test slower, not failed. A condition that must *not* come true is
# checked after a later event that did come through (the program handles input in order).
e2e_lib_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$e2e_lib_dir/../../scripts/xvfb.sh"
source "$e2e_lib_dir/../../scripts/wm.sh"
E2E_TIMEOUT="${ZORVANE_E2E_TIMEOUT:-20}"
E2E_LANG="${ZORVANE_E2E_LANG:-ru_RU.UTF-8}"
export LC_ALL=C.UTF-8
unset LANGUAGE
failures=0
passes=0
pid=""
E2E_OWN_XVFB=""

check() { # check NAME CONDITION-EXIT-STATUS
  if [ "$2" -eq 0 ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1" >&2
  fi
}
# The summary line and the exit status of a script.
e2e_done() { # e2e_done NAME
  echo "$1 (${E2E_VARIANT:-}): $passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

now_ms() { date +%s%3N; }
# Runs COMMAND every 50 ms until it succeeds; 1 when SECONDS pass first.
poll() { # poll SECONDS COMMAND...
  local until=$(($(now_ms) + $1 * 1000))
  shift
  while true; do
    "$@" && return 0
    [ "$(now_ms)" -ge "$until" ] && return 1
    sleep 0.05
  done
}
wait_for() { poll "$E2E_TIMEOUT" "$@"; }
# A line of a file, whole and exact.
has_line() { grep -qxF -- "$2" "$1" 2>/dev/null; }
count_lines() { grep -cxF -- "$2" "$1" 2>/dev/null; }
wait_line() { # wait_line FILE LINE
  wait_for has_line "$1" "$2" && return 0
  echo "missing line: $2" >&2
  return 1
}
# At least N lines in a file.
lines_at_least() { [ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge "$2" ]; }

# The program started with e2e_run and what it started (a wrapper such as faketime runs the
# program as its child).
program_pids() { [ -n "${pid:-}" ] && echo "$pid" $(pgrep -P "$pid" 2>/dev/null); }
# The mapped windows named exactly $1 (at any depth below the root, so with or without a window
# manager's frame), in decimal, of the program started with e2e_run when there is one: another
# program's windows on the shared display never count.
mapped_named() {
  local id owner pids
  pids=" $(program_pids) "
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    if [ -n "${pid:-}" ]; then
      owner=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $3}')
      [[ "$pids" == *" $owner "* ]] || continue
    fi
    echo "$((id))"
  done
}
count_named() { mapped_named "$1" | wc -l; }
named_count_is() { [ "$(count_named "$1")" -eq "$2" ]; }
# Waits until `mapped_named NAME` lists N windows.
wait_count() { wait_for named_count_is "$1" "$2"; }
wait_gone() { wait_count "$1" 0; }
# Waits for a window named NAME and prints its id.
wait_window() {
  local w=""
  first_named() { w=$(mapped_named "$1" | head -1) && [ -n "$w" ]; }
  wait_for first_named "$1" || return 1
  echo "$w"
}
# The client area of a window on the screen: sets X Y W H (xdotool's own geometry is off by the
# frame under a window manager).
client_geometry() {
  local g
  g=$(xwininfo -id "$1" 2>/dev/null) || return 1
  X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$g")
  Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$g")
  W=$(awk '/^ *Width:/ {print $2}' <<<"$g")
  H=$(awk '/^ *Height:/ {print $2}' <<<"$g")
}
# Centred on the screen within what a window manager's frame may move it by (exactly without).
centred() { # centred W H (after client_geometry)
  local cx=$(((sw - $1) / 2)) cy=$(((sh - $2) / 2))
  if [ -z "${WM_PID:-}" ]; then
    [ "$X" -eq "$cx" ] && [ "$Y" -eq "$cy" ]
  else
    [ $((X - cx)) -ge -30 ] && [ $((X - cx)) -le 30 ] && [ $((Y - cy)) -ge -40 ] &&
      [ $((Y - cy)) -le 40 ]
  fi
}
# A click at a point of the screen, at a user's pace: a second click at the same spot within the
# double-click time (500 ms) would be a double click, so it waits that out. The short pause after
# each click keeps a press and the next key from looking like one gesture to the program.
E2E_LAST_CLICK=""
click_screen() { # click_screen X Y
  local t
  t=$(now_ms)
  if [ -n "$E2E_LAST_CLICK" ]; then
    local lx ly lt
    read -r lx ly lt <<<"$E2E_LAST_CLICK"
    if [ $((lx - $1)) -ge -3 ] && [ $((lx - $1)) -le 3 ] && [ $((ly - $2)) -ge -3 ] &&
      [ $((ly - $2)) -le 3 ] && [ $((t - lt)) -lt 700 ]; then
      sleep "0.$(printf '%03d' $((700 - (t - lt))))"
    fi
  fi
  xdotool mousemove "$1" "$2" click 1
  E2E_LAST_CLICK="$1 $2 $(now_ms)"
  sleep 0.15
}
# Types TEXT as a person would, with every character on a key of the keyboard first. xdotool
# types a character the keymap lacks by rebinding a spare key for each press and unbinding it
# after: a program that reads its events a moment late then looks the key up in the next
# binding and gets another character or none. So the characters are bound once, before typing,
# on keycodes that have no symbols.
type_text() { # type_text TEXT
  local spare=() binds=() ch code
  mapfile -t spare < <(xmodmap -pke | awk 'NF <= 3 { print $2 }')
  local -A seen=()
  while IFS= read -r ch; do
    [ -z "$ch" ] || [ -n "${seen[$ch]:-}" ] && continue
    seen[$ch]=1
    [ $((${#binds[@]} / 2)) -lt "${#spare[@]}" ] || break
    code=$(printf '%s' "$ch" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n')
    binds+=(-e "keycode ${spare[${#binds[@]} / 2]} = U${code#0000}")
  done < <(printf '%s' "$1" | grep -oP '[^\x00-\x7f]')
  [ "${#binds[@]}" -eq 0 ] || xmodmap "${binds[@]}"
  xdotool type --delay 20 "$1"
}
# A picture of a window (or of "root"). Never without a window: import would wait for a click.
shot() { # shot WINDOW FILE
  [ -n "$1" ] || return 1
  timeout 20 import -window "$1" "$2" 2>/dev/null
}
# The window the X server gives the keys to (without a window manager the program sets it).
focused_window() { xdotool getwindowfocus 2>/dev/null; }
is_focused() { [ "$(focused_window)" = "$1" ]; }
# A window's close box: the message a window manager sends.
close_box() { python3 "$e2e_lib_dir/close_window.py" "$1"; }

# Waits for the program to end; sets status. A program that does not end keeps its pid, so the
# cleanup ends it and no window of it is left for the next test on the shared display.
wait_exit() {
  status=""
  ended() { ! kill -0 "$pid" 2>/dev/null; }
  if [ -n "${pid:-}" ] && wait_for ended; then
    wait "$pid"
    status=$?
    pid=""
  fi
}

e2e_cleanup() {
  if [ -n "${pid:-}" ]; then
    local p
    for p in $(program_pids); do kill "$p" 2>/dev/null; done
    wait "$pid" 2>/dev/null
    pid=""
  fi
  wm_stop
  [ -n "$E2E_OWN_XVFB" ] && xvfb_stop
}

e2e_setup() { # e2e_setup TEST [--openbox]
  local mode="${2:-}" tag
  case "$E2E_LANG" in
  ru_RU*) tag=ru ;;
  en_US*) tag=en ;;
  *) tag="${E2E_LANG%%.*}" ;;
  esac
  E2E_VARIANT="${mode:+openbox}"
  E2E_VARIANT="${E2E_VARIANT:-bare}-$tag"
  out="$build/e2e/$1/$E2E_VARIANT"
  rm -rf "$out"
  mkdir -p "$out"
  trap e2e_cleanup EXIT
  if [ "$mode" = "--openbox" ] || [ -z "${ZORVANE_E2E_DISPLAY:-}" ] || [ -n "${XVFB_SCREEN:-}" ]; then
    # A window manager must not disturb the shared display other tests use: this one is ours.
    xvfb_start || exit 1
    E2E_OWN_XVFB=1
    export DISPLAY="$XVFB_DISPLAY"
    if [ "$mode" = "--openbox" ]; then wm_start "$DISPLAY" || exit 1; fi
  else
    export DISPLAY="$ZORVANE_E2E_DISPLAY"
  fi
  local tool
  for tool in xdotool xwininfo xprop import convert compare python3; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
  done
  read -r sw sh < <(xdotool getdisplaygeometry)
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$out/viewer.txt" >"$out/viewer.sh"
  chmod +x "$out/viewer.sh"
  export ZORVANE_HELP_VIEWER="$out/viewer.sh"
  export ZORVANE_DISPLAY=x11
  # The sanitizer build's X and font libraries keep caches they never free; the list of
  # suppressions used is not printed, since a program's standard error must stay empty.
  export LSAN_OPTIONS="suppressions=$e2e_lib_dir/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
}

e2e_run() { # e2e_run COMMAND...
  env LANG="$E2E_LANG" LC_ALL= "$@" >"$out/stdout.txt" 2>"$out/stderr.txt" &
  pid=$!
}
# The program's standard error, shown when it has anything.
show_stderr() {
  if grep -q . "$out/stderr.txt" 2>/dev/null; then
    echo "standard error:" >&2
    cat "$out/stderr.txt" >&2
  fi
}
