#!/usr/bin/env bash
# Printing under load and faults, through the real zorvane under Xvfb and a print service of the
# test's own (cups.sh: cupsd with a cups-pdf queue, the default destination). The result form's
# "Печать" is clicked again and again; after each click the test waits for the page to land in
# the queue's folder or for the program's error box or print dialog (closed again), and a print
# that does neither within the limit is a hang.
#   1. N prints in a row (default 50): every one lands, as a one-page PDF.
#   2. A run of prints with cupsd ended (SIGTERM) at a random moment in the middle of it and
#      started again later: each print lands or shows its error; the service's absence shows as
#      errors; a print the service took just before it ended lands once it is back.
#   3. cupsd frozen (SIGSTOP: it accepts connections and never answers): each print shows its
#      error within the program's bounded waits; thawed, prints land again.
# At the end the program still answers and its close box ends it with status 0.
#   print_load_e2e.sh ZORVANE BUILD-DIR [--prints N] [--seed S]
# Exit status 77 (skipped) when no print service can be run here (cups.sh says why).
set -uo pipefail
zorvane="$1"
build="$2"
shift 2
prints=50
seed=$$
while [ $# -gt 0 ]; do
  case "$1" in
    --prints) prints="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    *) echo "usage: print_load_e2e.sh ZORVANE BUILD-DIR [--prints N] [--seed S]" >&2; exit 2 ;;
  esac
done
RANDOM=$seed
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/zorvane_lib.sh"
source "$here/../../scripts/cups.sh"
# A display and a print service of our own: the service is stopped and frozen on purpose.
unset ZORVANE_E2E_DISPLAY
zorvane_setup print-load
cleanup() {
  [ -n "${CUPS_PID:-}" ] && kill -CONT "$CUPS_PID" 2>/dev/null
  cups_stop
  zorvane_cleanup
}
trap cleanup EXIT
cups_start || exit 77
unset LPDEST PRINTER
pdfdir="$ZORVANE_CUPS_PDF_DIR"
log="$out/prints.txt"
# The longest a print may take before it counts as hung: a silent server costs the program about
# 2 s per call and a few calls; a busy machine more.
hang_limit=30

landed() { find "$pdfdir" -name '*.pdf' 2>/dev/null | wc -l; }
# The error box — a second window named "Zorvane" beside the input form — or the print dialog,
# which "Печать" offers when the service could not be asked for its default queue.
error_box() { { mapped_named Zorvane | grep -vx "$((intro))"; mapped_named 'Печать'; } | head -1; }

# The service again, from its own configuration and spool (its queue and any job it kept).
cupsd_again() {
  /usr/sbin/cupsd -f -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" \
    >>"$CUPS_DIR/log/cupsd.out" 2>&1 &
  CUPS_PID=$!
  local began=$SECONDS
  while [ $((SECONDS - began)) -lt 30 ]; do
    cups_running && return 0
    sleep 0.05
  done
  return 1
}

# One click on "Печать"; sets result to landed, error or pending (neither within the limit while
# the service was being ended: the job may be in its spool) — or fails the test on a hang.
errors=0
landed_count=0
pending=0
print_once() { # print_once LABEL
  local before began box
  before=$(landed)
  began=$SECONDS
  wat 584 416
  xdotool click 1
  result=""
  while [ $((SECONDS - began)) -lt $hang_limit ]; do
    if [ "$(landed)" -gt "$before" ]; then
      result=landed
      break
    fi
    box=$(error_box)
    if [ -n "$box" ]; then
      result=error
      sleep 0.1
      import -window "$box" "$out/error.png" 2>/dev/null
      python3 "$here/close_window.py" "$box"
      local i
      for i in $(seq 1 100); do
        [ -z "$(error_box)" ] && break
        sleep 0.05
      done
      break
    fi
    # A job the service took just before it was ended neither lands nor fails: the program is
    # idle again (no progress window) and its page waits in the spool.
    if [ "${service_ended:-0}" -eq 1 ] && [ $((SECONDS - began)) -ge 5 ] &&
       [ -z "$(mapped_named 'Printing progress')" ]; then
      result=pending
      break
    fi
    sleep 0.05
  done
  if [ -z "$result" ]; then
    echo "$1: neither landed nor showed an error in $hang_limit s" >>"$log"
    import -window root "$out/hang.png" 2>/dev/null
    check "$1 lands or shows its error within $hang_limit s" 1
    echo "print load e2e: $passes passed, $failures failed (seed $seed)"
    exit 1
  fi
  case "$result" in
    landed) landed_count=$((landed_count + 1)) ;;
    error) errors=$((errors + 1)) ;;
    pending) pending=$((pending + 1)) ;;
  esac
  echo "$1: $result in $((SECONDS - began)) s" >>"$log"
}

start_zorvane
intro=$win
IX=$FX IY=$FY
# Birth: March 15, 1980; period: March 2000; "Next".
pick_by_mouse "${COMBO1_BUTTON[@]}" 2
type_into "${EDIT1[@]}" 1980
click_day 1980 3 15
pick_by_mouse "${COMBO2_BUTTON[@]}" 2
type_into "${EDIT2[@]}" 2000
click_at "${NEXT[@]}"
result_win=""
for i in $(seq 1 200); do
  result_win=$(mapped_named 'Zorvane: Март 2000 г.' | head -1)
  [ -n "$result_win" ] && break
  sleep 0.05
done
if [ -z "$result_win" ]; then
  echo "no result form" >&2
  exit 1
fi
sleep 0.3
client_geometry "$result_win"
RX=$X RY=$Y
wat() { xdotool mousemove "$((RX + $1))" "$((RY + $2))"; }

# 1. Prints in a row.
t0=$SECONDS
for ((p = 1; p <= prints; p++)); do
  print_once "row $p"
done
[ "$landed_count" -eq "$prints" ] && [ "$errors" -eq 0 ]
check "$prints prints in a row all land (landed $landed_count, errors $errors)" $?
bad=0
for f in "$pdfdir"/*.pdf; do
  [ "$(pdfinfo "$f" 2>/dev/null | awk '/^Pages:/ {print $2}')" = "1" ] || bad=$((bad + 1))
done
[ "$bad" -eq 0 ]
check "each is a one-page PDF ($bad are not)" $?
row_time=$((SECONDS - t0))

# 2. The service ended in the middle of a run, started again later.
landed_count=0 errors=0 pending=0
before_run=$(landed)
service_ended=0
errors_while_down=0
for ((p = 1; p <= 16; p++)); do
  case "$p" in
    4) # ended at a random moment while prints 4 to 7 run
      delay="0.$((RANDOM % 10))$((RANDOM % 10))"
      (sleep "$delay" && kill "$CUPS_PID") &
      killer=$!
      service_ended=1
      echo "the service ends ${delay} s after print 4 starts" >>"$log" ;;
    8) wait "$killer"; wait "$CUPS_PID" 2>/dev/null; echo "the service is gone" >>"$log" ;;
    12) cupsd_again; echo "the service is back" >>"$log" ;;
  esac
  e0=$errors
  print_once "fault $p"
  [ "$p" -ge 8 ] && [ "$p" -lt 12 ] && [ "$errors" -gt "$e0" ] &&
    errors_while_down=$((errors_while_down + 1))
done
wait "$killer" 2>/dev/null
[ "$errors_while_down" -eq 4 ]
check "each print while the service is gone shows its error ($errors_while_down of 4)" $?
# Prints the service took before it ended land once it is back.
sent=$((landed_count + pending))
fault_pending=$pending
for i in $(seq 1 600); do
  [ $(($(landed) - before_run)) -ge "$sent" ] && break
  sleep 0.05
done
[ $(($(landed) - before_run)) -eq "$sent" ] && [ $((sent + errors)) -eq 16 ]
check "every print of the run landed or showed its error (landed $(($(landed) - before_run)) of $sent sent, $errors errors)" $?
[ "$(tail -n 5 "$log" | grep -c ': landed')" -eq 5 ]
check "prints land again once the service is back" $?
service_ended=0

# 3. The service frozen: it takes connections and never answers.
landed_count=0 errors=0 pending=0
kill -STOP "$CUPS_PID"
t1=$SECONDS
for p in 1 2 3; do
  print_once "frozen $p"
done
frozen_time=$((SECONDS - t1))
kill -CONT "$CUPS_PID"
[ "$errors" -eq 3 ]
check "each print against a frozen service shows its error ($errors of 3, $frozen_time s)" $?
# The program remembers a silent server for 5 s (so one print does not wait on it call after
# call); past that it asks again.
sleep 6
landed_count=0
for p in 1 2; do
  print_once "thawed $p"
done
[ "$landed_count" -eq 2 ]
check "prints land again once the service answers ($landed_count of 2)" $?

# Still answering: the result form's "Выход", then the input form's close box.
wat 584 456
xdotool click 1
sleep 0.3
python3 "$here/close_window.py" "$intro"
wait_exit
[ "$status" = "0" ]
check "the program ends with status 0 (got ${status:-still running})" $?
if grep -q "ERROR: \|runtime error" "$out/stderr.txt" 2>/dev/null; then
  check "no sanitizer report" 1
  head -40 "$out/stderr.txt" >&2
fi
echo "print load: seed $seed, $prints prints in a row in $row_time s; the fault run: service ended" \
  "${delay} s after print 4 starts ($fault_pending pending then); frozen: 3 errors in $frozen_time s (log: $log)"
echo "print load e2e: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
