#!/usr/bin/env bash
# Compares the chart engine's million-point fast line with matplotlib (Agg) and gnuplot
# (pngcairo) on the same 1,000,000 points in a 1000 × 600 picture, and prints the ratios.
#
# What is timed, per tool, as the median of several runs:
#   zorvane    — BM_FastLineMillionDrawPng: the chart drawn (title, axes, grid, labels, line) from
#                the points already in its series and encoded to PNG in memory; in-process.
#                Also shown: the drawing alone (BM_FastLineMillionDraw) and the whole with the
#                points first added one by one through AddXY (BM_FastLineMillionFillDrawPng).
#   matplotlib — in one Python process with the Agg backend: figure, plot of the arrays
#                (already in memory as numpy arrays), savefig to PNG in memory.
#   gnuplot    — one gnuplot process per run (pngcairo, 1000 × 600): reading the points from a
#                binary file, plotting with lines and writing the PNG file. Process start-up is
#                included; it is measured separately and printed, so it can be discounted.
# Installs python3-matplotlib and gnuplot-nox with apt-get when they are missing. With
# CHART_COMPARE_VALUES=FILE the medians (ms) are also written there as NAME VALUE lines, for
# bench/compare.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS="${RUNS:-5}"

need=()
/usr/bin/python3 -c "import matplotlib, numpy" 2>/dev/null || need+=(python3-matplotlib python3-numpy)
command -v gnuplot >/dev/null || need+=(gnuplot-nox)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

./scripts/build.sh normal >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

./build/bench/zorvane-bench --benchmark_filter='BM_FastLineMillion' \
  --benchmark_repetitions="$RUNS" --benchmark_report_aggregates_only=true \
  --benchmark_format=json >"$work/zorvane.json" 2>/dev/null

# The same points: x = i, y = sin(i * 2e-5) + noise in [0, 0.2).
/usr/bin/python3 - "$work" "$RUNS" <<'PY' >"$work/others.txt"
import io, os, statistics, subprocess, sys, time
import numpy as np
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

work, runs = sys.argv[1], int(sys.argv[2])
n = 1_000_000
i = np.arange(n, dtype=np.float64)
# The benchmark's generator, step by step (numpy cannot chain it; this is not timed).
a, c, m = 1664525, 1013904223, 2**32
x = 1
out = np.empty(n, dtype=np.float64)
for k in range(n):
    x = (a * x + c) % m
    out[k] = ((x >> 8) % 1000) / 5000.0
y = np.sin(i * 2e-5) + out
np.column_stack([i, y]).astype(np.float64).tofile(os.path.join(work, "points.bin"))

def mpl():
    t = time.perf_counter()
    fig = plt.figure(figsize=(10, 6), dpi=100)
    ax = fig.add_subplot()
    ax.plot(i, y, color="blue", linewidth=1)
    ax.set_title("1,000,000 points")
    buf = io.BytesIO()
    fig.savefig(buf, format="png")
    plt.close(fig)
    return time.perf_counter() - t

mpl()  # warm-up: font cache, imports
mt = statistics.median(mpl() for _ in range(runs))

script = os.path.join(work, "plot.gp")
with open(script, "w") as f:
    f.write('set terminal pngcairo size 1000,600\n')
    f.write('set output "%s"\n' % os.path.join(work, "gnuplot.png"))
    f.write('set title "1,000,000 points"\n')
    f.write('plot "%s" binary format="%%float64%%float64" using 1:2 with lines lc rgb "blue" notitle\n'
            % os.path.join(work, "points.bin"))
def run(args):
    t = time.perf_counter()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - t
run(["gnuplot", script])
gt = statistics.median(run(["gnuplot", script]) for _ in range(runs))
empty = os.path.join(work, "empty.gp")
open(empty, "w").write("")
st = statistics.median(run(["gnuplot", empty]) for _ in range(runs))
print(f"matplotlib {mt * 1000:.1f}")
print(f"gnuplot {gt * 1000:.1f}")
print(f"gnuplot_startup {st * 1000:.1f}")
PY

/usr/bin/python3 - "$work" "${CHART_COMPARE_VALUES:-}" <<'PY'
import json, sys
work, values = sys.argv[1], sys.argv[2]
data = json.load(open(f"{work}/zorvane.json"))
ours = {}
for b in data["benchmarks"]:
    if b.get("aggregate_name") == "median":
        ours[b["run_name"]] = b["real_time"]  # milliseconds
others = dict(line.split() for line in open(f"{work}/others.txt"))
others = {k: float(v) for k, v in others.items()}
full = ours["BM_FastLineMillionDrawPng"]
filled = ours["BM_FastLineMillionFillDrawPng"]
draw = ours["BM_FastLineMillionDraw"]
mpl, gp, gs = others["matplotlib"], others["gnuplot"], others["gnuplot_startup"]
print("1,000,000-point line, 1000 x 600 PNG (median ms; ratio = other tool / zorvane draw + PNG)")
print(f"  zorvane draw only                 {draw:8.1f}   (goal <= 40)")
print(f"  zorvane draw + PNG                {full:8.1f}")
print(f"  zorvane AddXY x 1e6 + draw + PNG  {filled:8.1f}")
print(f"  matplotlib Agg (in process)       {mpl:8.1f}   ratio {mpl / full:6.1f}x"
      f"   (against AddXY + draw + PNG {mpl / filled:.1f}x)")
print(f"  gnuplot pngcairo (a process)      {gp:8.1f}   ratio {gp / full:6.1f}x"
      f"   (start-up {gs:.1f} ms; without it {(gp - gs) / full:.1f}x)")
print("goal: at least 10x faster than both")
if values:
    with open(values, "w") as f:
        for name, v in (("draw", draw), ("draw_png", full), ("fill_draw_png", filled),
                        ("matplotlib", mpl), ("gnuplot", gp), ("gnuplot_startup", gs)):
            f.write(f"{name} {v:.3f}\n")
PY
