#!/usr/bin/env bash
# End-to-end: the printed report of `zorvane` under a real X server (bare, or with --openbox under
# openbox) and the test print service (scripts/cups.sh), in the Russian locale, driven with
# xdotool. Started with a queue that does not exist yet, "&Печать" offers the print dialog
# (print_dialog_e2e.sh plays it); the queue added afterwards takes the next print: one A4 page with the texts of
# 15.3.1980 and March 2000 and the four charts where the report's band puts them, stamped with
# the time of the print (tests/e2e/report_page.py). A second print, and one after going back to
# the input form and changing its calendar, give the same page but for the stamp; a queue that
# refuses jobs is an error and gets none; closing ends the program with status 0 (clean under
# the sanitizers in that build). `zorvane-cli report --pdf` without a display or print service
# gives the same page. Without a server, and with one that never answers, "&Печать" answers
# with the print dialog within 5 s. Everything is kept in BUILD-DIR/e2e/report/<variant>/, the page as page.png.
#   report_e2e.sh ZORVANE ZORVANE-CLI BUILD-DIR [--openbox]
set -uo pipefail
zorvane="$1"
cli="$2"
build="$3"
mode="${4:-}"
source "$(dirname "$0")/zorvane_lib.sh"
page_tool="$here/report_page.py"

if [ -z "${ZORVANE_CUPS_PDF_DIR:-}" ] || [ ! -S "${CUPS_SERVER:-}" ]; then
  echo "no test print service: run through scripts/test.sh or start_services (scripts/services.sh)"
  exit 77
fi
for tool in pdfinfo pdftotext pdftoppm lpadmin python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
zorvane_setup report "$mode"
queue="ze2e_report_$$"
silent_pid=""
report_cleanup() {
  [ -n "$silent_pid" ] && kill "$silent_pid" 2>/dev/null
  lpadmin -x "$queue" 2>/dev/null
  zorvane_cleanup
}
trap report_cleanup EXIT

keys() { xdotool key --delay 20 "$@" && sleep 0.1; }
month() { # month X Y N: the N-th month (1-based) of the list at X, Y, with the keys
  click_at "$1" "$2"
  keys $(printf 'Up %.0s' $(seq 1 11))
  [ "$3" -gt 1 ] && keys $(printf 'Down %.0s' $(seq 2 "$3"))
}
# The result form once "Next" showed it: sets res and RX RY.
wait_result() { # wait_result TITLE
  res=""
  local i
  for i in $(seq 1 100); do
    res=$(mapped_named "$1" | head -1)
    [ -n "$res" ] && break
    sleep 0.05
  done
  [ -n "$res" ] || return 1
  sleep 0.3
  client_geometry "$res"
  RX=$X RY=$Y
}
press_print() { xdotool mousemove "$((RX + 584))" "$((RY + 416))" click 1; }
# The error box: a second window named Zorvane beside the input form, within 5 s; sets box.
box_mapped() { box=$(mapped_named Zorvane | grep -vx "$win" | head -1) && [ -n "$box" ]; }
wait_box() { poll 5 box_mapped; }
close_box() {
  xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
  wait_count Zorvane 1
}
# The print dialog, within 5 s; sets dialog.
dialog_mapped() { dialog=$(mapped_named 'Печать' | head -1) && [ -n "$dialog" ]; }
wait_dialog() { poll 5 dialog_mapped; }
close_dialog() {
  xdotool key --window "$dialog" Escape 2>/dev/null || xdotool key Escape
  wait_gone 'Печать'
}
# The PDF of the queue's job number N (1-based), once complete (15 s at most): its path.
job_pdf() { # job_pdf N
  local i id file
  for i in $(seq 1 300); do
    id=$(lpstat -W all -o "$queue" 2>/dev/null | awk '{print $1}' | sed 's/.*-//' | sort -n |
      sed -n "$1p")
    if [ -n "$id" ]; then
      file=$(ls "$ZORVANE_CUPS_PDF_DIR"/*-job_"$id".pdf 2>/dev/null | head -1)
      if [ -n "$file" ] && pdfinfo "$file" >/dev/null 2>&1; then
        echo "$file"
        return 0
      fi
    fi
    sleep 0.05
  done
  return 1
}
jobs_seen() { lpstat -W all -o "$queue" 2>/dev/null | wc -l; }
# Closes the input form; sets status (0 expected).
quit() {
  python3 "$here/close_window.py" "$win"
  wait_exit
}

# --- The desktop program with a default queue that does not exist yet -------------------------
export LPDEST="$queue"
start_zorvane
month 68 43 3
type_into 154 45 1980
click_at 152 113
month 68 194 3
type_into 154 196 2000
click_at "${NEXT[@]}"
wait_result 'Zorvane: Март 2000 г.'
check "\"Next\" shows March 2000" $?
if [ -z "$res" ]; then
  echo "report e2e: no result form" >&2
  exit 1
fi

press_print
wait_dialog
check "\"&Печать\" without a default printer offers the print dialog" $?
import -window root "$out/no-default-printer.png" 2>/dev/null
[ -n "$dialog" ] && close_dialog
check "Escape closes the dialog" $?
[ "$(count_named Zorvane)" -eq 1 ]
check "and no error box" $?

# The queue turns up after start-up; the next print uses it.
lpadmin -p "$queue" -E -v "$ZORVANE_CUPS_PDF_URI" -m "$ZORVANE_CUPS_PDF_PPD" \
  -o printer-is-shared=false -o PageSize=A4 -o media-default=iso_a4_210x297mm \
  -o pdftops-renderer-default=pdftocairo
check "the queue is added" $?
before=$(date +%s)
press_print
first=$(job_pdf 1)
after=$(date +%s)
check "a queue added after start-up takes the print" $?
if [ -n "$first" ]; then
  cp "$first" "$out/first.pdf"
  python3 "$page_tool" check "$out/first.pdf" "$out/page.png" --not-before "$before" \
    --not-after "$after" >&2
  check "the page: one A4 page, its texts, places, backgrounds and charts, the stamp" $?
  pdftotext -layout "$out/first.pdf" "$out/first.txt"
fi

# Printed again: the same page but for the stamp.
sleep 1
press_print
second=$(job_pdf 2)
check "the second print lands" $?
if [ -n "$first" ] && [ -n "$second" ]; then
  cp "$second" "$out/second.pdf"
  python3 "$page_tool" same "$out/first.pdf" "$out/second.pdf" >&2
  check "printing twice gives the same page but for the stamp" $?
fi

# Back to the input form: a click on it, another day on its calendar, no "Next". The page still
# names the month its charts show.
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowraise "$win"
sleep 0.2
click_day 1980 3 23
calendar_shows 1980 3 23
check "the input form's calendar moves to 23 March 1980" $?
form_shot "$out/intro-changed.png"
press_print
third=$(job_pdf 3)
check "a print after going back to the input form lands" $?
if [ -n "$first" ] && [ -n "$third" ]; then
  cp "$third" "$out/third.pdf"
  python3 "$page_tool" same "$out/first.pdf" "$out/third.pdf" >&2
  check "after the input form was changed the page still matches its charts" $?
fi

# A queue that refuses jobs: an error, and it gets none.
cupsreject "$queue"
press_print
wait_box
check "a refusing queue shows an error box" $?
import -window root "$out/refused.png" 2>/dev/null
[ -n "$box" ] && close_box
sleep 0.3
[ "$(jobs_seen)" -eq 3 ]
check "the refusing queue got no job ($(jobs_seen) jobs in all)" $?

quit
[ "$status" = "0" ]
check "print then quit: status 0 (got ${status:-still running})" $?
if grep -q "Sanitizer" "$out/stderr.txt"; then
  check "no sanitizer report" 1
fi

# --- The desktop program's page as it makes it (the file sink), and zorvane-cli's --------------
# The print service re-makes a page (its fonts become new subsets), so the program's own page is
# compared with the command line's.
LPDEST="file:$out/gui.pdf" CUPS_SERVER=127.0.0.1:1 start_zorvane
month 68 43 3
type_into 154 45 1980
click_at 152 113
month 68 194 3
type_into 154 196 2000
click_at "${NEXT[@]}"
wait_result 'Zorvane: Март 2000 г.'
check "the file sink: \"Next\" shows March 2000" $?
press_print
for i in $(seq 1 100); do
  [ -f "$out/gui.pdf" ] && break
  sleep 0.05
done
quit
[ "$status" = "0" ] && [ -f "$out/gui.pdf" ]
check "the file sink: one print, then status 0 (got ${status:-still running})" $?
python3 "$page_tool" check "$out/gui.pdf" "$out/page-file.png" --strict >&2
check "the page as the program makes it, texts at their labels' tops" $?
env -u DISPLAY -u LPDEST CUPS_SERVER=127.0.0.1:1 "$cli" report --birth 15.3.1980 \
  --period 3.2000 --pdf "$out/cli.pdf" >"$out/cli.txt" 2>&1
check "zorvane-cli report --pdf without display and print service" $?
if [ -f "$out/gui.pdf" ] && [ -f "$out/cli.pdf" ]; then
  python3 "$page_tool" same "$out/gui.pdf" "$out/cli.pdf" >&2
  check "zorvane-cli report gives the program's page" $?
fi

# --- No server, and a server that never answers: an answer within 5 s ---------------------------
python3 -c '
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(16)
print(s.getsockname()[1], flush=True)
held = []
while True:
    held.append(s.accept()[0])
' >"$out/silent-port.txt" &
silent_pid=$!
for i in $(seq 1 100); do
  [ -s "$out/silent-port.txt" ] && break
  sleep 0.05
done
silent="127.0.0.1:$(cat "$out/silent-port.txt")"
unset LPDEST
for server in "127.0.0.1:1" "$silent"; do
  what="no server"
  [ "$server" = "$silent" ] && what="a silent server"
  CUPS_SERVER="$server" start_zorvane
  type_into 154 45 1980
  click_at "${NEXT[@]}"
  title=""
  for i in $(seq 1 100); do
    title=$(xwininfo -root -tree | grep -o '"Zorvane: [^"]*"' | head -1 | tr -d '"')
    [ -n "$title" ] && break
    sleep 0.05
  done
  wait_result "$title"
  check "$what: \"Next\" shows the result form" $?
  start=$(date +%s%N)
  press_print
  wait_dialog
  ok=$?
  elapsed=$((($(date +%s%N) - start) / 1000000))
  [ "$ok" -eq 0 ] && [ "$elapsed" -le 5000 ]
  check "$what: \"&Печать\" offers the print dialog within 5 s (${elapsed} ms)" $?
  [ -n "$dialog" ] && close_dialog
  quit
  [ "$status" = "0" ]
  check "$what: the program ends with status 0 (got ${status:-still running})" $?
done

echo "report e2e (report${mode:+-openbox}): $passes passed, $failures failed; page: $out/page.png"
[ "$failures" -eq 0 ]
