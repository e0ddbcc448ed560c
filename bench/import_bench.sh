#!/usr/bin/env bash
# `qvl import` of 1,000,000 lines of 5 columns into a new table of an empty
# document, written with --write, as a whole process (wall seconds and peak
# resident memory from /usr/bin/time -v, median of 3), next to `qvl check`
# of the document it wrote: the memory the document needs open.
#   bench/import_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
qvl=build-release/cli/qvl
generator=build-release/bench/generate_workloads
[ -x "$qvl" ] && [ -x "$generator" ] || scripts/build.sh release >/dev/null

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$generator" "$folder" import
data="$folder/I1_1000000.csv"

# Prints "SECONDS MIB" for one run of the command.
measure() {
  /usr/bin/time -v "$@" 2>"$folder/time" >/dev/null || { cat "$folder/time" >&2; exit 1; }
  awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = t[n] + 60 * t[n - 1] }
              /Maximum resident/ { m = $2 / 1024 }
              END { printf "%.3f %.0f\n", s, m }' "$folder/time"
}
median() { sort -n | sed -n 2p; }

imports=$(for _ in 1 2 3; do
  printf '//--end' >"$folder/doc.qvl"
  measure "$qvl" import --write "$folder/doc.qvl" "$data" --table Sales
done)
checks=$(for _ in 1 2 3; do measure "$qvl" check "$folder/doc.qvl"; done)
import_s=$(echo "$imports" | awk '{ print $1 }' | median)
import_mb=$(echo "$imports" | awk '{ print $2 }' | median)
check_s=$(echo "$checks" | awk '{ print $1 }' | median)
check_mb=$(echo "$checks" | awk '{ print $2 }' | median)
printf 'data %.1f MB, document %.1f MB\n' "$(stat -c %s "$data" | awk '{ print $1 / 1048576 }')" \
  "$(stat -c %s "$folder/doc.qvl" | awk '{ print $1 / 1048576 }')"
echo "qvl import --write  $import_s s  peak $import_mb MB"
echo "qvl check           $check_s s  peak $check_mb MB"
awk -v a="$import_mb" -v b="$check_mb" 'BEGIN { printf "import peak / check peak %.2f\n", a / b }'
