#!/usr/bin/env bash
# function-order.sh — records which of each program's functions run, in the order they first run,
# into src/app/cli/function-order.txt and src/app/gui/function-order.txt, the order the linker
# lays the programs' code out in (see CMakeLists.txt). Runs under callgrind: zorvane-cli's three
# commands, and the desktop program on Xvfb from start through "Next", a month step each way and
# the about box. Run it again when much of the code has changed; a stale order costs memory and
# start-up time, never correctness.
#   scripts/function-order.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh normal >/dev/null
command -v valgrind >/dev/null || { echo "function-order: needs valgrind" >&2; exit 1; }
work="$(mktemp -d)"
source scripts/xvfb.sh
cleanup() {
  [ -n "${zpid:-}" ] && kill "$zpid" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
# No print service and no help viewer: nothing outside the programs is started or asked.
export LANG=ru_RU.UTF-8 LC_ALL= CUPS_SERVER=127.0.0.1:1 ZORVANE_HELP_VIEWER=true
grind() { # grind NAME PROGRAM ARGS...
  local name="$1"
  shift
  valgrind -q --tool=callgrind --dump-instr=no --demangle=no \
    --callgrind-out-file="$work/$name.cg" "$@"
}
# The programs linked again without their order, into the scratch folder: valgrind reads a
# program's symbols only from its .text section, and a recorded order puts the code it lists into
# a section of its own (.text.ordered), where every function would be recorded as nobody's.
unordered() { # unordered PROGRAM
  local cmd
  cmd="$(ninja -C build -t commands "src/app/$1" | tail -n1)"
  cmd="${cmd//-Wl,-T,$PWD\/build\/src\/app\/$1-order.ld/}"
  cmd="${cmd/ -o src\/app\/$1 / -o $work\/$1 }"
  (cd build && eval "$cmd")
  if readelf -S -W "$work/$1" | grep -q '\.text\.ordered'; then
    echo "function-order: $1 is still linked in its order" >&2
    exit 1
  fi
}
unordered zorvane-cli
unordered zorvane
cli="$work/zorvane-cli"
(unset DISPLAY; grind report "$cli" report --birth 15.3.1980 --period 3.2000 --pdf "$work/r.pdf")
(unset DISPLAY; grind month "$cli" month --birth 15.3.1980 --period 3.2000 >/dev/null)
(unset DISPLAY; grind chart "$cli" chart --birth 15.3.1980 --period 3.2000 --png "$work/c.png")

xvfb_start
export DISPLAY="$XVFB_DISPLAY" ZORVANE_DISPLAY=x11
window() { # window NAME-PREFIX: waits (callgrind is slow) for a window so named
  local i
  for i in $(seq 1 600); do
    xwininfo -root -tree 2>/dev/null | grep -qF "\"$1" && return 0
    sleep 0.1
  done
  echo "function-order: no window \"$1\"" >&2
  return 1
}
# Д and О bound to spare keys for good: xdotool's own binding lasts only for the press, and a program
# as slow as one under callgrind reads the key after it is gone.
xmodmap -e "keycode 255 = Cyrillic_de" -e "keycode 254 = Cyrillic_o"
# Started straight, not through grind: $! must be valgrind itself for callgrind_control.
valgrind -q --tool=callgrind --dump-instr=no --demangle=no --callgrind-out-file="$work/gui.cg" \
  "$work/zorvane" &
zpid=$!
window Zorvane
sleep 5
LC_ALL=C.UTF-8 xdotool key alt+Cyrillic_de # "Next"
window "Zorvane: "
sleep 3
# Tab to the next-month button and press it, then back to the previous month's; Alt+О for the
# about box.
LC_ALL=C.UTF-8 xdotool key Tab Tab Tab Tab space
sleep 3
LC_ALL=C.UTF-8 xdotool key shift+Tab space
sleep 3
LC_ALL=C.UTF-8 xdotool key alt+Cyrillic_o # the about box
sleep 3
# callgrind writes its file when the program ends: ask it to write now, then end the program.
callgrind_control -d "$zpid" >/dev/null
sleep 2
kill -KILL "$zpid" 2>/dev/null || true # its own dump at exit is not wanted
wait "$zpid" 2>/dev/null || true
zpid=""

# Each program's functions in the order they first ran: start-up first.
/usr/bin/python3 - "$work" <<'PY'
import glob, os, re, subprocess, sys

work = sys.argv[1]


def order_of(files):
    seen, order = set(), []
    for cg in files:
        ids, objects, current = {}, {}, None
        for line in open(cg, errors="replace"):
            m = re.match(r"^(c?ob)=\((\d+)\)(?: (.*))?", line)
            if m:
                if m.group(3):
                    objects[m.group(2)] = m.group(3)
                if m.group(1) == "ob":
                    current = objects.get(m.group(2))
                continue
            m = re.match(r"^(c?fn)=\((\d+)\)(?: (.*))?", line)
            if not m:
                continue
            if m.group(3):
                ids[m.group(2)] = m.group(3)
            ours = current and os.path.basename(current) in ("zorvane", "zorvane-cli")
            name = ids.get(m.group(2), "")
            if m.group(1) == "fn" and ours and name and not name.startswith("0x") and name not in seen:
                seen.add(name)
                order.append(name)
    return order


def with_aliases(order, binary):
    """Each name followed by the other names of its code: the compiler folds identical functions
    into one body under several names (a complete-object constructor and the base-object one
    among them), and the profiler reports whichever it meets first, not necessarily the one whose
    section holds the code. A function seen only inside its own recursion (NAME'2) is listed by
    its name."""
    names_at, address_of = {}, {}
    nm = subprocess.run(["nm", "--defined-only", binary], capture_output=True, text=True, check=True)
    for line in nm.stdout.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] in "tTwW":
            names_at.setdefault(fields[0], []).append(fields[2])
            address_of[fields[2]] = fields[0]
    seen, out = set(), []
    for name in order:
        plain = re.sub(r"'\d+$", "", name)
        for n in [plain] + names_at.get(address_of.get(plain), []):
            if n not in seen:
                seen.add(n)
                out.append(n)
    return out


for program, binary, runs in (("cli", "zorvane-cli", ("report", "month", "chart")),
                              ("gui", "zorvane", ("gui",))):
    files = [f for run in runs for f in sorted(glob.glob(os.path.join(work, run + ".cg*")))]
    order = with_aliases(order_of(files), os.path.join(work, binary))
    out = os.path.join("src/app", program, "function-order.txt")
    with open(out, "w") as f:
        f.write("\n".join(order) + "\n")
    print("function-order: %d functions written to %s" % (len(order), out))
PY
