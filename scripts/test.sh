#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the format
# check, the include directions, the suite under g++ with warnings as
# errors, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (clang), and the fuzz harnesses over their
# corpora as regression tests.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

echo "== format"
scripts/check-format.sh

echo "== includes"
scripts/check-includes.py

# Counts the test programs of one ctest run from its summary line.
passed=0
run_ctest() {
  local log
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local total
  total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  rm -f "$log"
  [ "$status" -eq 0 ] || exit "$status"
  passed=$((passed + ${total:-0}))
}

echo "== release build and tests"
QV_BENCH=OFF scripts/build.sh release
run_ctest ctest --test-dir build-release --output-on-failure -j "$(nproc)"

echo "== sanitizer build and tests"
scripts/build.sh asan
run_ctest env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

echo "== fuzz harnesses over their corpora"
scripts/build.sh fuzz
scripts/fuzz.sh --regression
passed=$((passed + 3))

echo "test.sh: $passed passed, 0 failed"
