#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the format
# check, the suite under g++ with warnings as errors, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer (clang), and the fuzz
# harnesses over their corpora as regression tests.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

echo "== format"
scripts/check-format.sh

echo "== release build and tests"
scripts/build.sh release
ctest --test-dir build-release --output-on-failure -j "$(nproc)"

echo "== sanitizer build and tests"
scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

echo "== fuzz harnesses over their corpora"
scripts/build.sh fuzz
scripts/fuzz.sh --regression
