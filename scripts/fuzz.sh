#!/usr/bin/env bash
# Runs the fuzz harnesses of build-fuzz (scripts/build.sh fuzz).
#   scripts/fuzz.sh --regression       every seed and past finding once, then 4 s each
#   scripts/fuzz.sh NAME [SECONDS]     a long run of one harness (default 600 s), growing
#                                      fuzz/corpus-work/NAME from the seeds
# Findings (crash-*, leak-*, timeout-*) are written to fuzz/findings/NAME.
set -euo pipefail
cd "$(dirname "$0")/.."
harnesses=(tokenizer_fuzz expression_fuzz table_fuzz document_fuzz rename_fuzz regex_fuzz csv_fuzz)

run_regression() {
  local name=$1
  local seeds=fuzz/corpus/${name%_fuzz}
  local work
  work=$(mktemp -d)
  local log
  log=$(mktemp)
  if ! "build-fuzz/fuzz/$name" -runs=0 "$seeds" fuzz/regressions >"$log" 2>&1; then
    cat "$log" >&2
    echo "fuzz: $name fails on a seed or a past finding" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  "build-fuzz/fuzz/$name" -max_total_time=4 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" "$seeds" >/dev/null 2>&1 || {
      echo "fuzz: $name failed in the short run; rerun scripts/fuzz.sh $name to see it" >&2
      rm -rf "$work"
      return 1
    }
  rm -rf "$work"
  echo "fuzz: $name clean"
}

if [ "${1:-}" = "--regression" ]; then
  for name in "${harnesses[@]}"; do run_regression "$name"; done
  exit 0
fi

name=${1:?usage: scripts/fuzz.sh --regression | NAME [SECONDS]}
seconds=${2:-600}
seeds=fuzz/corpus/${name%_fuzz}
mkdir -p "fuzz/corpus-work/$name" "fuzz/findings/$name"
"build-fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="fuzz/findings/$name/" "fuzz/corpus-work/$name" "$seeds"
