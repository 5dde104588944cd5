# Sourced: cups_start starts a print service of the tests' own — cupsd with its configuration,
# spool, logs and socket in a fresh folder under /tmp — with a cups-pdf queue "PDF" (the default
# destination; A4, text kept as text) whose documents land in a fixed folder. It exports
#   CUPS_SERVER            the service's socket (every CUPS client of the run uses it)
#   ZORVANE_CUPS_PDF_DIR   where the queue's PDF files land, named ...-job_<id>.pdf
#   ZORVANE_CUPS_PDF_URI   the queue's device URI, for tests that add queues of their own
#   ZORVANE_CUPS_PDF_PPD   the queue's model
# cups_stop ends the service and removes everything cups_start made. The machine's own CUPS
# set-up is not touched, but for one cups-pdf instance file in /etc/cups (cups-pdf reads its
# output folder from there only), removed again by cups_stop. Needs root (the cups-pdf backend
# runs as root); without root, cupsd or cups-pdf it says why and returns 1.
CUPS_PDF_MODEL="lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"

cups_start() {
  local why=""
  [ "$(id -u)" -eq 0 ] || why="not root"
  [ -x /usr/sbin/cupsd ] || why="no cupsd"
  command -v lpadmin >/dev/null || why="no lpadmin"
  [ -x /usr/lib/cups/backend/cups-pdf ] || why="no cups-pdf backend"
  if [ -n "$why" ]; then
    echo "cups: print tests will be skipped ($why)" >&2
    return 1
  fi
  CUPS_DIR=$(mktemp -d /tmp/zorvane-cups.XXXXXX) || return 1
  # cupsd's filters run as lp: the folder must be open to them.
  chmod 755 "$CUPS_DIR"
  mkdir -p "$CUPS_DIR"/{spool,tmp,cache,state,log,pdf}
  chown root:lp "$CUPS_DIR/tmp" && chmod 1770 "$CUPS_DIR/tmp"
  CUPS_INSTANCE="zorvane-${CUPS_DIR##*.}"
  cat >"$CUPS_DIR/cups-files.conf" <<EOF
ServerRoot $CUPS_DIR
RequestRoot $CUPS_DIR/spool
TempDir $CUPS_DIR/tmp
CacheDir $CUPS_DIR/cache
StateDir $CUPS_DIR/state
ErrorLog $CUPS_DIR/log/error_log
AccessLog $CUPS_DIR/log/access_log
PageLog $CUPS_DIR/log/page_log
User lp
Group lp
SystemGroup root
EOF
  cat >"$CUPS_DIR/cupsd.conf" <<EOF
Listen $CUPS_DIR/cups.sock
Browsing No
WebInterface No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"/etc/cups/cups-pdf-$CUPS_INSTANCE.conf" <<EOF
Out $CUPS_DIR/pdf
AnonDirName $CUPS_DIR/pdf
Label 2
EOF
  /usr/sbin/cupsd -f -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" \
    >"$CUPS_DIR/log/cupsd.out" 2>&1 &
  CUPS_PID=$!
  export CUPS_SERVER="$CUPS_DIR/cups.sock"
  local i
  for i in $(seq 1 100); do
    cups_running && break
    kill -0 "$CUPS_PID" 2>/dev/null || break
    sleep 0.05
  done
  if ! cups_running ||
     ! lpadmin -p PDF -E -v "cups-pdf:/$CUPS_INSTANCE" -m "$CUPS_PDF_MODEL" \
       -o printer-is-shared=false -o PageSize=A4 -o media-default=iso_a4_210x297mm \
       -o pdftops-renderer-default=pdftocairo 2>"$CUPS_DIR/log/lpadmin.out" ||
     ! lpadmin -d PDF; then
    echo "cups: the test print service did not start (see $CUPS_DIR/log)" >&2
    cups_stop
    return 1
  fi
  export ZORVANE_CUPS_PDF_DIR="$CUPS_DIR/pdf"
  export ZORVANE_CUPS_PDF_URI="cups-pdf:/$CUPS_INSTANCE"
  export ZORVANE_CUPS_PDF_PPD="$CUPS_PDF_MODEL"
}

cups_running() {
  LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running" # the words are translated
}

cups_stop() {
  if [ -n "${CUPS_PID:-}" ]; then
    kill "$CUPS_PID" 2>/dev/null
    wait "$CUPS_PID" 2>/dev/null
    CUPS_PID=""
  fi
  if [ -n "${CUPS_INSTANCE:-}" ]; then
    rm -f "/etc/cups/cups-pdf-$CUPS_INSTANCE.conf"
    CUPS_INSTANCE=""
  fi
  if [ -n "${CUPS_DIR:-}" ]; then
    rm -rf "$CUPS_DIR"
    CUPS_DIR=""
  fi
  unset CUPS_SERVER ZORVANE_CUPS_PDF_DIR ZORVANE_CUPS_PDF_URI ZORVANE_CUPS_PDF_PPD
}
