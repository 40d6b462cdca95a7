#!/usr/bin/env bash
# sites against seqkit locate and EMBOSS fuzznuc (yardsticks only:
# apt-get install -y seqkit emboss). The script writes its data once
# (bench/gen_sites_data.py, SIZE_MB of multi-FASTA and a 5 Mb chromosome),
# checks that every tool finds the same sites, and prints for each case the
# median wall time, the median processor time (user + system) and the largest
# peak RSS over RUNS runs, the tools taking turns within each run. sites reads
# one record at a time: its peak RSS stays near 4 MB whatever the file size.
#
#   bench/bench_sites.sh                      # build/kavro, 100 MB, 5 runs
#   KAVRO=build-x/kavro SIZE_MB=200 RUNS=7 bench/bench_sites.sh
set -euo pipefail

KAVRO=${KAVRO:-build/kavro}
SIZE_MB=${SIZE_MB:-100}
RUNS=${RUNS:-5}
SLOW_RUNS=${SLOW_RUNS:-3}  # for seqkit's degenerate search, the slowest peer
DATA=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-sites-$SIZE_MB}
HERE=$(cd "$(dirname "$0")" && pwd)

KAVRO=$(cd "$(dirname "$KAVRO")" && pwd)/$(basename "$KAVRO")
[ -x "$KAVRO" ] || { echo "no kavro binary at $KAVRO" >&2; exit 1; }
for tool in seqkit fuzznuc; do
    command -v $tool >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[ -f "$DATA/sites.fa" ] || python3 "$HERE/gen_sites_data.py" --size-mb "$SIZE_MB" --out "$DATA"
FA=$DATA/sites.fa
CHR=$DATA/chr5m.fa
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# One timed run: "wall cpu" in seconds, then the peak RSS in kB.
timed() {
    /usr/bin/time -f "%e %U %S %M" -o t.txt "$@" >/dev/null 2>&1
    awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }' t.txt
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# compare RUNS LABEL1 "COMMAND1" [LABEL2 "COMMAND2" ...]: the commands
# take turns within each run.
compare() {
    local runs=$1; shift
    local labels=() cmds=()
    while [ $# -gt 0 ]; do labels+=("$1"); cmds+=("$2"); shift 2; done
    for ((i = 0; i < ${#cmds[@]}; i++)); do : >"times.$i"; done
    for ((r = 0; r < runs; r++)); do
        for ((i = 0; i < ${#cmds[@]}; i++)); do eval "timed ${cmds[$i]}" >>"times.$i"; done
    done
    for ((i = 0; i < ${#cmds[@]}; i++)); do
        printf '  %-44s wall %6.2f s   cpu %6.2f s   peak RSS %8s kB\n' "${labels[$i]}" \
            "$(cut -d' ' -f1 "times.$i" | median)" "$(cut -d' ' -f2 "times.$i" | median)" \
            "$(cut -d' ' -f3 "times.$i" | sort -n | tail -1)"
    done
}

sites_count() { grep 'Number of match' "$1" | tr -dc '0-9'; }
# Distinct (sequence, start) pairs of a peer's table, header lines left out.
seqkit_count() { seqkit locate "$@" "$FA" | awk -F'\t' 'NR > 1 { print $1 "\t" $5 }' | sort -u | wc -l; }
fuzznuc_count() {
    fuzznuc -sequence "$FA" -pattern "$1" -complement Y -rformat excel -outfile fz.txt >/dev/null 2>&1
    grep -v '^SeqName' fz.txt | cut -f1,2 | sort -u | wc -l
}

echo "data: $(du -m "$FA" | cut -f1) MB multi-FASTA, $(grep -c '>' "$FA") entries; $(nproc) cores, shared"

echo "== GAATTC, both strands"
"$KAVRO" sites "$FA" out.txt 0 GAATTC >/dev/null 2>&1
echo "  matches: sites $(sites_count out.txt), seqkit $(seqkit_count -i -p GAATTC), fuzznuc $(fuzznuc_count GAATTC)"
compare "$RUNS" "kavro sites 0 GAATTC" "$KAVRO sites $FA out.txt 0 GAATTC" \
    "seqkit locate -i -p GAATTC" "seqkit locate -i -p GAATTC $FA" \
    "fuzznuc -pattern GAATTC -complement Y" "fuzznuc -sequence $FA -pattern GAATTC -complement Y -outfile fz.txt"

echo "== RGATCY (ambiguous), both strands"
"$KAVRO" sites "$FA" out.txt 0 RGATCY >/dev/null 2>&1
echo "  matches: sites $(sites_count out.txt), seqkit -d $(seqkit_count -d -i -p RGATCY), fuzznuc $(fuzznuc_count RGATCY)"
compare "$RUNS" "kavro sites 0 RGATCY" "$KAVRO sites $FA out.txt 0 RGATCY" \
    "fuzznuc -pattern RGATCY -complement Y" "fuzznuc -sequence $FA -pattern RGATCY -complement Y -outfile fz.txt"
compare "$SLOW_RUNS" "kavro sites 0 RGATCY" "$KAVRO sites $FA out.txt 0 RGATCY" \
    "seqkit locate -d -i -p RGATCY" "seqkit locate -d -i -p RGATCY $FA"

echo "== 10 letters at levels 1.0 to 0.8: growth with length and levels"
awk '/^>/ { n++ } n % 4 == 1' "$FA" >quarter.fa
awk '/^>/ { n++ } n % 2 == 1' "$FA" >half.fa
for f in quarter.fa half.fa "$FA"; do
    compare "$RUNS" "$(du -m "$f" | cut -f1) MB, mode 0, level 0.8" "$KAVRO sites $f out.txt 0 GATTACAGGT 0.8"
    echo "    matches: $(sites_count out.txt)"
done
for level in 1.0 0.9 0.8; do
    compare "$RUNS" "quarter, mode 1 (every level listed), $level" "$KAVRO sites quarter.fa out.txt 1 GATTACAGGT $level"
    echo "    matches at the last level: $(sites_count out.txt), report $(du -m out.txt | cut -f1) MB"
done

echo "== palindrome survey, lengths 4 to 8, 5 Mb chromosome"
compare "$RUNS" "kavro sites 3 4.8" "$KAVRO sites $CHR out.txt 3 4.8"
echo "  rows: $(wc -l <out.txt)"
