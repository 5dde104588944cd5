#!/usr/bin/env bash
# soak.sh [--seed S] [--events N] [--asan|--normal] [--x11] [--verbose]
# The soak test with any seed and count: builds the chosen configuration (the sanitizer build by
# default) and runs zorvane-soak — the whole program on the headless display under N random events
# (default 20000). With --x11 the real zorvane runs under Xvfb instead, driven with xdotool
# (default 1000 events). A failing run prints the seed, the event and this command to replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seed=1
events=""
kind=asan
x11=0
verbose=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seed) seed="$2"; shift 2 ;;
    --events) events="$2"; shift 2 ;;
    --asan) kind=asan; shift ;;
    --normal) kind=normal; shift ;;
    --x11) x11=1; shift ;;
    --verbose) verbose=(--verbose); shift ;;
    *) echo "usage: soak.sh [--seed S] [--events N] [--asan|--normal] [--x11] [--verbose]" >&2
       exit 2 ;;
  esac
done
case "$kind" in
  asan) dir=build-asan ;;
  normal) dir=build ;;
esac
./scripts/build.sh "$kind" >/dev/null
export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
if [ "$x11" -eq 1 ]; then
  exec bash tests/e2e/soak_x11_e2e.sh "$PWD/$dir/src/app/zorvane" "$PWD/$dir" \
    --seed "$seed" --events "${events:-1000}"
fi
exec "$dir/tests/soak/zorvane-soak" --seed "$seed" --events "${events:-20000}" \
  --out "$PWD/$dir/soak" "${verbose[@]}"
