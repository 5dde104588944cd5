#!/usr/bin/env bash
# The test command: installs what is missing, builds the normal and the sanitizer build, starts
# the services the tests need, and runs every test of both builds. The last lines are CTest's
# summary; the exit status is non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh || exit 1
./scripts/check-layers.sh || exit 1
./scripts/build.sh asan || exit 1
./scripts/build.sh normal || exit 1

source ./scripts/services.sh
start_services || exit 1
trap stop_services EXIT

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1
status=0
echo "== sanitizer build =="
(cd build-asan && ctest --output-on-failure -j "$(nproc)") || status=1
echo "== normal build =="
(cd build && ctest --output-on-failure -j "$(nproc)") || status=1
exit $status
