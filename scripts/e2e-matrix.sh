#!/usr/bin/env bash
# e2e-matrix.sh [BUILD-DIR] — the whole end-to-end matrix: every script of tests/e2e, bare Xvfb
# and under openbox, in each of the locales C, en_US.UTF-8 and ru_RU.UTF-8 (CI runs a subset of
# it: see README.md). Builds the folder first (default build/, the normal build), starts the
# services the tests need, and prints one summary line per locale; the exit status is non-zero
# when anything failed. ZORVANE_E2E_LOCALES="C ru_RU.UTF-8" narrows the locales.
set -uo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
locales="${ZORVANE_E2E_LOCALES:-C en_US.UTF-8 ru_RU.UTF-8}"
case "$dir" in
build) ./scripts/build.sh normal >/dev/null || exit 1 ;;
build-asan) ./scripts/build.sh asan >/dev/null || exit 1 ;;
*) cmake --build "$dir" || exit 1 ;;
esac

source ./scripts/services.sh
start_services || exit 1
trap stop_services EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0

status=0
summary=()
start=$(date +%s)
for lang in $locales; do
  echo "== $lang =="
  # The base tests (bare and openbox) in this locale; the locale variants CI adds are the same
  # scripts, so they are left out here.
  log="$dir/e2e/matrix-$lang.log"
  mkdir -p "$dir/e2e"
  (cd "$dir" && ZORVANE_E2E_LANG="$lang" ctest -L e2e -LE e2e-locale --output-on-failure) \
    >"$log" 2>&1
  result=$?
  [ "$result" -eq 0 ] || status=1
  grep -E 'tests passed|Total Test time|\*\*\*|Failed' "$log" | sed 's/^/  /'
  summary+=("$lang: $(grep -E 'tests passed' "$log" | head -1)")
done
echo "== matrix: every e2e script, bare and under openbox, in $locales =="
printf '  %s\n' "${summary[@]}"
echo "  $(($(date +%s) - start)) s"
exit $status
