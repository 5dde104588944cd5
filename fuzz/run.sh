#!/usr/bin/env bash
# fuzz/run.sh NAME SECONDS — fuzzes fuzz/NAME.cpp with libFuzzer under ASan/UBSan, growing the kept
# corpus in fuzz/corpus/NAME/. Crashes land in fuzz/crashes/ for turning into tests.
set -euo pipefail
cd "$(dirname "$0")/.."
name="$1"; seconds="${2:-300}"
./scripts/build.sh fuzz >/dev/null
mkdir -p "fuzz/corpus/$name" fuzz/crashes
exec ./build-fuzz/fuzz/"$name" "fuzz/corpus/$name" -max_total_time="$seconds" \
  -artifact_prefix=fuzz/crashes/ -print_final_stats=1
