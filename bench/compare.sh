#!/usr/bin/env bash
# compare.sh — every goal of the project as a ratio, measured in one run on this machine, as one
# Markdown table (also written to build/bench/compare.md) headed by the machine it ran on. It
# first sets up what a desktop has: a print service with a default queue (the test suite's
# private cupsd with its cups-pdf queue, scripts/cups.sh; needs root) and the fonts the set-up
# installs (scripts/deps.sh); the header says which it had.
#   - start-up of `zorvane` to its input form mapped and painted, beside `xmessage`, with the
#     print service and with it unreachable, and at device scale 2 beside scale 1 (bench/startup.sh)
#   - peak memory of the running program (both forms shown, print service running) beside
#     xmessage's
#   - "Next" to four painted charts, in-process (bench/ResultFormBench), also at device scale 2
#     beside scale 1
#   - a million-point series: drawn alone, and drawn to PNG beside matplotlib and gnuplot
#     (bench/chart_compare.sh, which installs them when missing)
#   - the report PDF of `zorvane-cli report --pdf` beside gnuplot drawing the month's four charts
#     into one PDF, each a whole process (bench/report_compare.sh)
#   - the frame: a 50-control form loaded, shown and painted; hint and idle work per mouse move
#     (no goal; shown for the record)
# Ratios are "ours / reference" for times and memory (lower is better) and "theirs / ours" for
# the speed-ups (higher is better); the last column says whether the goal is met.
#   bench/compare.sh [RUNS]     RUNS per measurement (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
./scripts/build.sh normal >/dev/null
mkdir -p build/bench
work="$(mktemp -d)"
source scripts/cups.sh
cleanup() {
  [ -n "${zpid:-}" ] && kill "$zpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && xvfb_stop
  [ -n "${CUPS_PID:-}" ] && cups_stop
  rm -rf "$work"
}
trap cleanup EXIT
unset LPDEST PRINTER CUPS_SERVER
if cups_start; then
  service="a print service with a default queue (the tests' private cupsd, queue $(LC_ALL=C lpstat -d | sed 's/.*: //'))"
else
  service="**no print service** (it could not be started here)"
fi
fonts=$(fc-list : family | grep -ciE 'liberation|dejavu' || true)
load_start=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== start-up (bench/startup.sh, $runs runs) =="
bash bench/startup.sh "$runs"
startup_z=$(cat build/bench/startup-zorvane.ms)
startup_n=$(cat build/bench/startup-zorvane-noservice.ms)
startup_x=$(cat build/bench/startup-xmessage.ms)
startup_s2=$(cat build/bench/startup-zorvane-scale2.ms)

echo "== peak memory of the running program =="
source scripts/xvfb.sh
xvfb_start
export DISPLAY="$XVFB_DISPLAY" ZORVANE_DISPLAY=x11
hwm_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
mapped() { # mapped NAME-PREFIX
  local i
  for i in $(seq 1 200); do
    xwininfo -root -tree 2>/dev/null | grep -qF "\"$1" && return 0
    sleep 0.05
  done
  return 1
}
env LANG=ru_RU.UTF-8 LC_ALL= build/src/app/zorvane >/dev/null 2>&1 &
zpid=$!
mapped Zorvane
sleep 0.5 # painted and idle
# "Next" with the form as it starts (January 1900 to this month): the result form with its four
# charts comes up too.
LC_ALL=C.UTF-8 xdotool key alt+Cyrillic_de
mapped "Zorvane: " || echo "the result form did not show" >&2
sleep 0.5
mem_z=$(hwm_kb "$zpid")
kill "$zpid"
wait "$zpid" 2>/dev/null || true
zpid=""
LANG=ru_RU.UTF-8 xmessage -center Zorvane >/dev/null 2>&1 &
xpid=$!
mapped xmessage
sleep 0.5
mem_x=$(hwm_kb "$xpid")
kill "$xpid"
wait "$xpid" 2>/dev/null || true
xpid=""
xvfb_stop
unset XVFB_PID
echo "zorvane $mem_z kB, xmessage $mem_x kB"

echo "== in-process benchmarks (Google Benchmark, median of $runs) =="
./build/bench/zorvane-bench \
  --benchmark_filter='BM_NextShowsTheResultForm|BM_NextRefillsTheShownResultForm|FormWith50ControlsLoadShowPaint|HintAndIdlePerMouseMove' \
  --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  --benchmark_format=json >"$work/bench.json" 2>/dev/null

echo "== a million points (bench/chart_compare.sh) =="
CHART_COMPARE_VALUES="$work/chart.txt" RUNS="$runs" bash bench/chart_compare.sh

echo "== the report PDF (bench/report_compare.sh) =="
REPORT_COMPARE_VALUES="$work/report.txt" bash bench/report_compare.sh "$runs"
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

/usr/bin/python3 - "$work" "$runs" "$startup_z" "$startup_n" "$startup_x" "$mem_z" "$mem_x" \
  "$load_start" "$load_end" "$service" "$fonts" "$startup_s2" <<'PY' | tee build/bench/compare.md
import json, os, platform, subprocess, sys
(work, runs, st_z, st_n, st_x, mem_z, mem_x, load0, load1, service, fonts, st_s2) = sys.argv[1:]
bench = {}
for b in json.load(open(f"{work}/bench.json"))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        unit = b.get("time_unit", "ns")
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[unit]
        bench[b["run_name"]] = b["real_time"] * scale  # ms
chart = {k: float(v) for k, v in (l.split() for l in open(f"{work}/chart.txt"))}

def cpu():
    for line in open("/proc/cpuinfo"):
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return platform.processor()
ram_gb = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2**30
debian = open("/etc/debian_version").read().strip()
print(f"Machine: {os.cpu_count()} cores ({cpu()}), {ram_gb:.1f} GB RAM, Debian {debian}; "
      f"load average {load0} at the start, {load1} at the end; {runs} runs per measurement.")
print()
print(f"Set up as a desktop: {service}; {fonts} Liberation and DejaVu font faces (scripts/deps.sh).")
print()
print("| goal | ours | reference | ratio | met |")
print("|---|---|---|---|---|")
def row(goal, ours, ref, ratio, met):
    print(f"| {goal} | {ours} | {ref} | {ratio} | {met} |")
yes = lambda ok: "yes" if ok else "**no**"
st_z, st_n, st_x = float(st_z), float(st_n), float(st_x)
row("start-up to the painted input form ≤ 1.3 × xmessage (print service with a default queue)",
    f"{st_z:.1f} ms", f"xmessage {st_x:.1f} ms", f"{st_z / st_x:.2f}", yes(st_z <= 1.3 * st_x))
row("start-up to the painted input form ≤ 1.3 × xmessage (print service unreachable)",
    f"{st_n:.1f} ms", f"xmessage {st_x:.1f} ms", f"{st_n / st_x:.2f}", yes(st_n <= 1.3 * st_x))
st_s2 = float(st_s2)
row("start-up at device scale 2 (ZORVANE_SCALE=2) ≤ 1.5 × scale 1", f"{st_s2:.1f} ms",
    f"scale 1 {st_z:.1f} ms", f"{st_s2 / st_z:.2f}", yes(st_s2 <= 1.5 * st_z))
mz, mx = int(mem_z) / 1024, int(mem_x) / 1024
row("peak memory of the running program (both forms shown) ≤ 3 × xmessage", f"{mz:.1f} MB",
    f"xmessage {mx:.1f} MB", f"{mz / mx:.2f}", yes(mz <= 3 * mx))
for name, what in (("BM_NextShowsTheResultForm", "\"Next\" to four painted charts ≤ 3 ms (form hidden before)"),
                   ("BM_NextRefillsTheShownResultForm", "\"Next\" to four painted charts ≤ 3 ms (form on screen)")):
    t = bench.get(name)
    if t is None:
        row(what, "not measured", "goal 3 ms", "—", "—")
    else:
        row(what, f"{t:.2f} ms", "goal 3 ms", f"{t / 3:.2f}", yes(t <= 3))
    t2 = bench.get(name + "AtScale2")
    if t is not None and t2 is not None:
        row(what.replace(" ≤ 3 ms", " at device scale 2 ≤ 1.5 × scale 1"), f"{t2:.2f} ms",
            f"scale 1 {t:.2f} ms", f"{t2 / t:.2f}", yes(t2 <= 1.5 * t))
d, dp = chart["draw"], chart["draw_png"]
row("million-point series drawn ≤ 40 ms", f"{d:.1f} ms", "goal 40 ms", f"{d / 40:.2f}", yes(d <= 40))
for tool in ("matplotlib", "gnuplot"):
    t = chart[tool]
    label = "matplotlib Agg, in process" if tool == "matplotlib" else "gnuplot pngcairo, a process"
    row(f"million points to PNG ≥ 10 × faster than {tool}", f"{dp:.1f} ms", f"{label} {t:.1f} ms",
        f"{t / dp:.1f} × faster", yes(t / dp >= 10))
rep = {k: float(v) for k, v in (l.split() for l in open(f"{work}/report.txt"))}
r_ms, r_mb = rep["zorvane_ms"], rep["zorvane_kb"] / 1024
gp_ms, gp_mb = rep["gnuplot_ms"], rep["gnuplot_kb"] / 1024
row("report PDF (`zorvane-cli report --pdf`, a process) ≥ 2 × faster than gnuplot", f"{r_ms:.1f} ms",
    f"gnuplot, four charts to PDF {gp_ms:.1f} ms (start-up alone {rep['gnuplot_startup_ms']:.1f})",
    f"{gp_ms / r_ms:.1f} × faster", yes(gp_ms >= 2 * r_ms))
row("report PDF peak memory ≤ 15 MB and ≤ 0.7 × gnuplot", f"{r_mb:.1f} MB", f"gnuplot {gp_mb:.1f} MB",
    f"{r_mb / gp_mb:.2f}", yes(r_mb <= 15 and r_mb <= 0.7 * gp_mb))
t = bench.get("FormWith50ControlsLoadShowPaint")
if t is not None:
    row("a 50-control form read, shown and painted (no goal)", f"{t:.2f} ms", "—", "—", "—")
t = bench.get("HintAndIdlePerMouseMove")
if t is not None:
    row("hint and idle work per mouse move (no goal)", f"{t * 1000:.1f} µs", "—", "—", "—")
PY
