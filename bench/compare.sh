#!/usr/bin/env bash
# The peer comparison of the reference workloads in one command: builds the
# release flavour when its programs are missing, writes the workloads,
# installs the peer engines when they are missing (Gnumeric's ssconvert,
# HyperFormula under node), times every engine on every workload as a whole
# process (wall time and peak resident memory, median of the runs) and prints
# one table. Never run by CI: it installs packages and takes about 45 minutes.
#
#   bench/compare.sh [--runs R] [--quick] [--no-peers] [--timeout S]
#
# Gnumeric's recalculation alone is the time of the formula workbook less the
# time of a workbook of the same cells holding plain numbers. A peer that is
# missing, fails, times out or computes a wrong value shows "-" and a note.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
peers="$root/bench/peers"
work="$peers/work"
# Copies of the programs taken at the start (see snapshot_programs).
bin="$work/bin"
qvl="$bin/qvl"
node_options=(--max-old-space-size=16384)

runs=3
sizes=(100000 1000000)
use_peers=1
timeout_s=1800
# A run longer than this is not repeated: its single time stands.
repeat_limit_s=300

have_gnumeric=0
have_hyperformula=0

usage() {
    cat <<'EOF'
usage: bench/compare.sh [--runs R] [--quick] [--no-peers] [--timeout S]
  --runs R     runs per measurement, the median is shown (default 3)
  --quick      N = 100,000 only and one run
  --no-peers   only our own figures and the plain C++ loop
  --timeout S  a run taking longer is stopped and shown as "-" (default 1800)
EOF
}

parse_options() {
    while (($# > 0)); do
        case "$1" in
            --runs) runs=${2:?--runs needs a number}; shift ;;
            --quick) sizes=(100000); runs=1 ;;
            --no-peers) use_peers=0 ;;
            --timeout) timeout_s=${2:?--timeout needs seconds}; shift ;;
            -h | --help) usage; exit 0 ;;
            *) usage >&2; exit 2 ;;
        esac
        shift
    done
    if ! [[ "$runs" =~ ^[1-9][0-9]*$ && "$timeout_s" =~ ^[1-9][0-9]*$ ]]; then
        usage >&2
        exit 2
    fi
}

# Notes go to a file: most are written inside the subshells that measure.
note() { echo "$1" >>"$work/notes.txt"; }
progress() { echo ".. $*" >&2; }

# --- preparation -----------------------------------------------------------

ensure_build() {
    local program
    for program in cli/qvl bench/generate_workloads bench/kernel_bench bench/plain_loop; do
        if [[ ! -x "$build/$program" ]]; then
            progress "building the release flavour ($program is missing)"
            "$root/scripts/build.sh" release
            return
        fi
    done
}

install_gnumeric() {
    if command -v ssconvert >/dev/null; then
        have_gnumeric=1
        return
    fi
    if [[ $(id -u) -ne 0 ]]; then
        note "Gnumeric: ssconvert is missing; install it with 'apt-get install gnumeric' as root."
        return
    fi
    progress "installing gnumeric"
    if apt-get install -y --no-install-recommends gnumeric >"$work/apt.log" 2>&1 ||
        { apt-get update >>"$work/apt.log" 2>&1 &&
            apt-get install -y --no-install-recommends gnumeric >>"$work/apt.log" 2>&1; }; then
        have_gnumeric=1
    else
        note "Gnumeric: 'apt-get install gnumeric' failed, see $work/apt.log."
    fi
}

install_hyperformula() {
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
        note "HyperFormula: node and npm are missing; install them with 'apt-get install nodejs npm'."
        return
    fi
    if [[ ! -d "$peers/node_modules/hyperformula" ]]; then
        progress "installing hyperformula"
        if ! (cd "$peers" && npm ci --no-audit --no-fund) >"$work/npm.log" 2>&1; then
            note "HyperFormula: 'npm ci' in bench/peers failed, see $work/npm.log."
            return
        fi
    fi
    have_hyperformula=1
}

# The build folder may be rebuilt while a run goes on: every figure of one run
# comes from the same copies of the programs.
snapshot_programs() {
    mkdir -p "$bin"
    local program
    for program in cli/qvl bench/generate_workloads bench/kernel_bench bench/plain_loop; do
        cp "$build/$program" "$bin/"
    done
}

# Our documents, plus W3 without its sorted field: the peers have no per-row
# sort, so they are compared on that variant.
generate_documents() {
    mkdir -p "$work/docs"
    "$bin/generate_workloads" "$work/docs"
    local n
    for n in "${sizes[@]}" 20; do
        if [[ ! -f "$work/docs/W1_$n.qvl" ]]; then
            local w
            for w in W1 W2 W3; do
                sed "s/range 1 to 100000!/range 1 to $n!/" "$work/docs/${w}_100000.qvl" \
                    >"$work/docs/${w}_$n.qvl"
            done
        fi
        grep -v 'sorted:=' "$work/docs/W3_$n.qvl" >"$work/docs/W3-nosort_$n.qvl"
    done
}

# --- measuring ---------------------------------------------------------------

median() {
    printf '%s\n' "$@" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# measure OUT KEY COMMAND...: runs COMMAND `runs` times, its standard output
# into OUT, and prints "WALL_S PEAK_MB REPORTED": the medians of the wall time,
# of the peak resident memory and of the number the program printed after KEY
# on a line of its own ("-" for none). Fails, with the reason in
# $work/failure.txt, when a run exits non-zero or times out.
measure() {
    local out=$1 key=$2
    shift 2
    local walls=() peaks=() reported=() run start end rc
    for ((run = 1; run <= runs; run++)); do
        start=$(date +%s%N)
        rc=0
        /usr/bin/time -v -o "$work/time.txt" timeout "$timeout_s" "$@" >"$out" \
            2>"$work/stderr.txt" || rc=$?
        end=$(date +%s%N)
        if ((rc != 0)); then
            if ((rc == 124)); then
                echo "timed out after $timeout_s s" >"$work/failure.txt"
            else
                { echo -n "exit status $rc: "; grep -v '^Command exited' "$work/stderr.txt" |
                    head -n 1; } >"$work/failure.txt"
            fi
            return 1
        fi
        walls+=("$((end - start))")
        peaks+=("$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")")
        if [[ "$key" != - ]]; then
            reported+=("$(awk -v key="$key" '$1 == key { print $2 }' "$out")")
        fi
        if (((end - start) / 1000000000 >= repeat_limit_s)); then break; fi
    done
    local wall peak value=-
    wall=$(median "${walls[@]}" | awk '{ printf "%.3f", $1 / 1e9 }')
    peak=$(median "${peaks[@]}" | awk '{ printf "%.0f", $1 / 1024 }')
    if ((${#reported[@]} > 0)); then value=$(median "${reported[@]}"); fi
    if ((${#walls[@]} < runs)); then
        note "$(basename "$1") ${*:2} took ${wall} s in its first run and was not repeated."
    fi
    echo "$wall $peak $value"
}

ratio() {
    if [[ "$1" == - || "$2" == - ]]; then
        echo -
    else
        awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'
    fi
}

difference() {
    if [[ "$1" == - || "$2" == - ]]; then
        echo -
    else
        awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a - b }'
    fi
}

# --- checking the peers on a small sheet -------------------------------------

# The peers' values for N = 20 against ours; a peer that disagrees on a
# workload is left out of that workload's row.
declare -A peer_ok=()
agreeing=()

# record_check KEY LABEL W: compares the peer's csv of W at N = 20 with ours
# and records whether the peer may run W.
record_check() {
    local key=$1 label=$2 w=$3 small="$work/check"
    if node "$peers/check.mjs" "$w" "$small/$w.ours.csv" "$small/$w.$key.csv" \
        >"$small/$w.$key.check"; then
        peer_ok[${key}_$w]=1
        agreeing+=("$label $w")
    else
        note "$label: values of $w differ from ours at N = 20: $(head -n 1 "$small/$w.$key.check")"
    fi
}

check_peers() {
    local small="$work/check" w
    mkdir -p "$small"
    for w in W1 W2 W3; do
        if ! "$qvl" show --format csv "$work/docs/${w}_20.qvl" >"$small/$w.ours.csv"; then
            note "qvl show failed on ${w}_20.qvl: the peers are not checked, so not run, on $w."
            continue
        fi
        if ((have_gnumeric)); then
            if node "$peers/workbook.mjs" "$w" 20 "$small/$w.gnumeric" &&
                ssconvert --recalc "$small/$w.gnumeric" "$small/$w.gnumeric.csv" 2>/dev/null; then
                record_check gnumeric Gnumeric "$w"
            else
                note "Gnumeric: could not compute $w at N = 20."
            fi
        fi
        if ((have_hyperformula)); then
            if node "$peers/hyperformula.mjs" "$w" 20 --print >"$small/$w.hyperformula.csv"; then
                record_check hyperformula HyperFormula "$w"
            else
                note "HyperFormula: could not compute $w at N = 20."
            fi
        fi
    done
}

# The plain loop's checksum of all cells against the total of our summary row.
check_plain_loop() {
    local w ours plain
    for w in W1 W2 W3; do
        ours=$("$qvl" show --format csv "$work/docs/${w}_20.qvl" |
            awk -F, '$1 == "sum" { for (i = 2; i <= NF; i++) s += $i; printf "%.10g", s }') || ours=
        plain=$("$bin/plain_loop" "$w" 20 | awk '{ print $4 }') || plain=
        if [[ -n "$ours" && -n "$plain" ]] && awk -v a="$ours" -v b="$plain" 'BEGIN { d = a - b; exit !(d * d <= 1e-14 * b * b) }'; then
            agreeing+=("plain-loop $w")
        else
            note "plain loop: $w at N = 20 totals $plain, ours $ours."
        fi
    done
}

# --- the rows of the table ---------------------------------------------------

table_line() {
    printf '%-10s %9s | %8s %6s | %8s %8s %6s | %8s %8s %6s | %8s %8s | %7s %7s\n' "$@"
}

print_header() {
    echo "                     | ours            | Gnumeric                 | HyperFormula             | plain C++         | ratios"
    table_line workload N "s" "MB" "s" "recalc" "MB" "s" "build" "MB" \
        "process" "compute" "Gn/ours" "HF/ours"
}

# measure, or "- - -" with a note naming the failure.
measure_or_dash() {
    local label=$1
    shift
    if ! measure "$@"; then
        note "$label: $(cat "$work/failure.txt")"
        echo "- - -"
    fi
}

# write_workbook W N FILE [--constants], skipped when FILE is newer than its writer.
write_workbook() {
    local file=$3
    if [[ -s "$file" && "$file" -nt "$peers/workbook.mjs" && "$file" -nt "$peers/sheets.mjs" ]]; then
        return 0
    fi
    if ! node "${node_options[@]}" "$peers/workbook.mjs" "$@" 2>"$work/stderr.txt"; then
        note "Gnumeric: writing $(basename "$file") failed: $(head -n 1 "$work/stderr.txt")"
        rm -f "$file"
        return 1
    fi
}

gnumeric_figures() {
    local w=$1 n=$2 formulas="$work/$1_$2.gnumeric" constants="$work/$1_$2.const.gnumeric"
    if ! write_workbook "$w" "$n" "$formulas" || ! write_workbook "$w" "$n" "$constants" --constants
    then
        echo "- - -"
        return
    fi
    local total base peak
    read -r total peak _ < <(measure_or_dash "Gnumeric $w $n" "$work/ssconvert.out" - \
        ssconvert --recalc "$formulas" "$work/out.csv")
    read -r base _ _ < <(measure_or_dash "Gnumeric $w $n constants" "$work/ssconvert.out" - \
        ssconvert --recalc "$constants" "$work/out.csv")
    rm -f "$work/out.csv"
    echo "$total $(difference "$total" "$base") $peak"
}

# compare_row NAME FILE N PEER_SHEET: one line of the table; PEER_SHEET is the
# peers' workload, "-" when they have none.
compare_row() {
    local name=$1 file=$2 n=$3 sheet=$4
    local ours ours_mb gnm=- recalc=- gnm_mb=- hf=- hf_build=- hf_mb=- plain plain_compute
    progress "$name $n: qvl"
    read -r ours ours_mb _ < <(measure_or_dash "qvl $name $n" /dev/null - "$qvl" show "$file")
    if [[ "$sheet" != - ]] && ((use_peers)); then
        if [[ -n "${peer_ok[gnumeric_$sheet]:-}" ]]; then
            progress "$name $n: Gnumeric"
            read -r gnm recalc gnm_mb < <(gnumeric_figures "$sheet" "$n")
        fi
        if [[ -n "${peer_ok[hyperformula_$sheet]:-}" ]]; then
            progress "$name $n: HyperFormula"
            read -r hf hf_mb hf_build < <(measure_or_dash "HyperFormula $name $n" \
                "$work/hf.out" elapsed_s node "${node_options[@]}" "$peers/hyperformula.mjs" \
                "$sheet" "$n")
        fi
    fi
    progress "$name $n: plain loop"
    read -r plain _ plain_compute < <(measure_or_dash "plain loop $name $n" "$work/plain.out" \
        compute_s "$bin/plain_loop" "$name" "$n")
    if [[ "$plain_compute" != - ]]; then plain_compute=$(printf '%.4f' "$plain_compute"); fi
    table_line "$name" "$n" "$ours" "$ours_mb" "$gnm" "$recalc" "$gnm_mb" "$hf" \
        "$hf_build" "$hf_mb" "$plain" "$plain_compute" "$(ratio "$gnm" "$ours")" \
        "$(ratio "$hf" "$ours")"
}

workload_rows() {
    local n
    for n in "${sizes[@]}"; do compare_row W1 "$work/docs/W1_$n.qvl" "$n" W1; done
    for n in "${sizes[@]}"; do compare_row W2 "$work/docs/W2_$n.qvl" "$n" W2; done
    for n in "${sizes[@]}"; do compare_row W3 "$work/docs/W3_$n.qvl" "$n" -; done
    for n in "${sizes[@]}"; do compare_row W3-nosort "$work/docs/W3-nosort_$n.qvl" "$n" W3; done
}

# --- the rows without peers, and the edit ------------------------------------

edit_row() {
    local ours=- hf=-
    progress "W2 edit: kernel_bench"
    if "$bin/kernel_bench" --benchmark_filter=W2Edit --benchmark_format=json \
        >"$work/edit.json" 2>"$work/stderr.txt"; then
        ours=$(awk -F': ' '/"real_time"/ { sub(",", "", $2); printf "%.3f", $2 }' "$work/edit.json")
    else
        note "W2 edit, ours: kernel_bench failed."
    fi
    if ((use_peers && have_hyperformula)) && [[ -n "${peer_ok[hyperformula_W2]:-}" ]]; then
        progress "W2 edit: HyperFormula"
        if timeout "$timeout_s" node "${node_options[@]}" "$peers/hyperformula.mjs" W2edit 100000 \
            >"$work/hf.out" 2>"$work/stderr.txt"; then
            hf=$(awk '$1 == "edit_ms" { print $2 }' "$work/hf.out")
        else
            note "W2 edit, HyperFormula: $(head -n 1 "$work/stderr.txt")"
        fi
    fi
    printf '%-22s ours %9s ms   HyperFormula %9s ms   HF/ours %s\n' "W2 edit, N = 100000" \
        "$ours" "$hf" "$(ratio "$hf" "$ours")"
}

own_rows() {
    local wall mb
    for w in W4 W5; do
        progress "$w: qvl"
        read -r wall mb _ < <(measure_or_dash "qvl $w" /dev/null - "$qvl" show "$work/docs/$w.qvl")
        printf '%-22s ours %9s s    peak %6s MB\n' "$w (qvl show)" "$wall" "$mb"
    done
    local w ok
    for w in W7 W8; do
        progress "$w: qvl"
        read -r wall mb _ < <(measure_or_dash "qvl $w" /dev/null - "$qvl" show "$work/docs/${w}_1000000.qvl")
        read -r ok _ < <(measure_or_dash "qvl $w-ok" /dev/null - "$qvl" show "$work/docs/${w}-ok_1000000.qvl")
        printf '%-22s ours %9s s    peak %6s MB   without the mistake %s s   ratio %s\n' \
            "$w (qvl show), 1M" "$wall" "$mb" "$ok" \
            "$(awk -v a="$wall" -v b="$ok" 'BEGIN { if (a == "-" || b == "-" || b <= 0) print "-"; else printf "%.2f", a / b }')"
    done
    progress "W6: qvl fmt"
    read -r wall mb _ < <(measure_or_dash "qvl fmt W6" /dev/null - "$qvl" fmt "$work/docs/W6.qvl")
    local size rate
    size=$(stat -c %s "$work/docs/W6.qvl")
    rate=$(awk -v s="$size" -v t="$wall" 'BEGIN { if (t == "-" || t <= 0) print "-"; else printf "%.1f", s / 1048576 / t }')
    printf '%-22s ours %9s s    peak %6s MB   %s MB/s of %.1f MB\n' "W6 (qvl fmt)" "$wall" "$mb" \
        "$rate" "$(awk -v s="$size" 'BEGIN { print s / 1048576 }')"
}

print_notes() {
    echo
    echo "Whole processes, median of $runs run(s); s = wall seconds, MB = peak resident MiB."
    echo "Gnumeric recalc = formula workbook less a workbook of the same cells as numbers."
    echo "HyperF build = its own time for buildFromArray (which evaluates); plain compute = the loop alone."
    echo "W3 peers: no spreadsheet has a linear per-row sort, so the peers run W3-nosort (without the"
    echo "  sorted field); total, mean and largest are computed in row 1 and referenced by every row."
    if [[ -s "$work/notes.txt" ]]; then sed 's/^/note: /' "$work/notes.txt"; fi
}

main() {
    parse_options "$@"
    mkdir -p "$work"
    rm -f "$work/notes.txt"
    ensure_build
    snapshot_programs
    generate_documents
    if ((use_peers)); then
        install_gnumeric
        install_hyperformula
        check_peers
    else
        note "Peers not run (--no-peers)."
    fi
    check_plain_loop
    echo "Values at N = 20 that agree with ours: ${agreeing[*]:-none}"
    echo
    print_header
    workload_rows
    echo
    edit_row
    own_rows
    print_notes
}

main "$@"
