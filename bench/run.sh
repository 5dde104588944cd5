#!/usr/bin/env bash
# Builds the normal configuration and runs every benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh normal >/dev/null
exec ./build/bench/zorvane-bench "$@"
