#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts the program.
# Until the desktop program exists this shows zorvane-cli's help.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh normal
exec ./build/src/app/zorvane-cli --help
