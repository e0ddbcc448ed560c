#!/usr/bin/env bash
# Checks that two builds of qvl give the same results: every example and
# every reference workload is shown (all formats) and formatted by both, and
# the outputs must match byte for byte. Use it before and after a change
# meant to make things faster:
#   bench/same_results.sh OLD_QVL NEW_QVL [WORKLOAD_FOLDER]
# WORKLOAD_FOLDER holds the documents of bench/generate_workloads.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: bench/same_results.sh OLD_QVL NEW_QVL [WORKLOAD_FOLDER]" >&2
  exit 2
fi
old=$1
new=$2
folder=${3:-}

documents=(examples/*.qvl)
if [ -n "$folder" ]; then documents+=("$folder"/*.qvl); fi

differences=0
compare() {
  local what=$1
  shift
  if ! cmp -s <("$old" "$@" 2>&1) <("$new" "$@" 2>&1); then
    echo "DIFFERENT: $what"
    differences=$((differences + 1))
  fi
}

for document in "${documents[@]}"; do
  compare "show $document" show --all "$document"
  compare "show json $document" show --all --format json "$document"
  compare "fmt $document" fmt "$document"
done
echo "same_results: ${#documents[@]} documents, $differences different"
[ "$differences" -eq 0 ]
