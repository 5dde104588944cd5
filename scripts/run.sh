#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh normal
exec ./build/src/app/zorvane
