#!/usr/bin/env bash
# Opening W1 in the desktop program to its first painted grid, against
# `qvl show` of the same document, both as whole processes (wall seconds,
# median of 3). The program paints offscreen (`--screenshot`), so no display
# is needed; its document opens a detailed view of the table.
#   bench/open_vs_show.sh [ROWS]     default 1,000,000
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-1000000}
qvl=build-release/cli/qvl
program=build-release/desktop/quorvatelle
[ -x "$qvl" ] && [ -x "$program" ] && [ -x build-release/bench/generate_workloads ] ||
  scripts/build.sh release >/dev/null

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
build-release/bench/generate_workloads "$folder" >/dev/null
document="$folder/W1_view.qvl"
sed "s|//--end|optimized(40,40) result(W1);\n//--end|" "$folder/W1_${rows}.qvl" >"$document"

median() { sort -n | sed -n 2p; }
timed() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

show=$(for _ in 1 2 3; do timed "$qvl" show "$document"; done | median)
open=$(for _ in 1 2 3; do
  QT_QPA_PLATFORM=offscreen timed "$program" --screenshot "$folder/first.png" "$document"
done | median)
awk -v rows="$rows" -v show="$show" -v open="$open" 'BEGIN {
  printf "W1 %s rows: qvl show %.3f s, quorvatelle to the first painted grid %.3f s, ratio %.2f\n",
         rows, show, open, open / show }'
