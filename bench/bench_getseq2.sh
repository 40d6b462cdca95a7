#!/usr/bin/env bash
# getseq2 against seqtk subseq: a 1 Mb stretch out of a 5 Mb chromosome in
# FASTA; then, when samtools is there, the same stretch through an index
# chr.fa.fai (written by samtools faidx) against samtools faidx itself.
# seqtk and samtools are only yardsticks (apt-get install -y seqtk
# samtools); each is skipped when missing. The script makes its own data,
# checks that the tools cut the same residues, and prints the median wall
# time, the mean processor time over RUNS runs and the peak RSS of one run.
#
#   bench/bench_getseq2.sh                 # uses build/kavro
#   KAVRO=build-x/kavro RUNS=21 LENGTH=50000000 FROM=20000001 TO=21000000 bench/bench_getseq2.sh
set -euo pipefail

KAVRO=${KAVRO:-build/kavro}
RUNS=${RUNS:-11}
LENGTH=${LENGTH:-5000000}
FROM=${FROM:-2000001}
TO=${TO:-3000000}

KAVRO=$(cd "$(dirname "$KAVRO")" && pwd)/$(basename "$KAVRO")
[ -x "$KAVRO" ] || { echo "no kavro binary at $KAVRO" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# Data generator: one chromosome of LENGTH pseudo-random bases, 60 a line.
awk -v n="$LENGTH" 'BEGIN {
    srand(20240601);
    print ">chrB1 synthetic chromosome for the getseq2 benchmark";
    split("A C G T", b, " ");
    line = "";
    for (i = 1; i <= n; i++) {
        line = line b[int(rand() * 4) + 1];
        if (length(line) == 60) { print line; line = "" }
    }
    if (line != "") print line;
}' > chr.fa
printf 'chrB1\t%d\t%d\n' "$((FROM - 1))" "$TO" > region.bed

now_ns() { date +%s%N; }

# Median of RUNS timings (milliseconds) of a command.
median_ms() {
    local times=()
    for ((i = 0; i < RUNS; i++)); do
        local t0 t1
        t0=$(now_ns)
        "$@" >/dev/null 2>&1
        t1=$(now_ns)
        times+=($(((t1 - t0) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

# Mean processor time (user + system, milliseconds) of a command over RUNS
# runs: steadier than wall time on a shared machine.
mean_cpu_ms() {
    (
        for ((i = 0; i < RUNS; i++)); do "$@" >/dev/null 2>&1; done
        times
    ) | awk -v runs="$RUNS" 'NR == 2 {
        total = 0
        for (f = 1; f <= 2; f++) { split($f, p, "m"); sub("s", "", p[2]); total += p[1] * 60 + p[2] }
        printf "%.1f", total * 1000 / runs
    }'
}

# Peak RSS (MB) of one run of a command, when /usr/bin/time is there.
peak_mb() {
    [ -x /usr/bin/time ] || { printf 'n/a'; return; }
    /usr/bin/time -f '%M' -o rss.txt "$@" >/dev/null 2>&1
    tail -n 1 rss.txt | awk '{ printf "%.1f", $1 / 1024 }'
}

same_residues() { cmp -s <(grep -v '^>' "$1" | tr -d '\n') <(grep -v '^>' "$2" | tr -d '\n'); }

run_kavro() { rm -f out.fa; "$KAVRO" getseq2 chr.fa out.fa "$FROM" "$TO" n; }
run_seqtk() { seqtk subseq chr.fa region.bed > seqtk.fa; }
run_samtools() { samtools faidx chr.fa "chrB1:$FROM-$TO" > samtools.fa; }

echo "getseq2 of $((TO - FROM + 1)) bases out of $LENGTH, $RUNS runs each:"
run_kavro >/dev/null
echo "  kavro getseq2 (no index): median wall $(median_ms run_kavro) ms, mean cpu $(mean_cpu_ms run_kavro) ms, peak $(peak_mb "$KAVRO" getseq2 chr.fa out.fa "$FROM" "$TO" n) MB"
if command -v seqtk >/dev/null; then
    run_seqtk
    same_residues out.fa seqtk.fa || { echo "kavro and seqtk disagree on the stretch" >&2; exit 1; }
    echo "  seqtk subseq:             median wall $(median_ms run_seqtk) ms, mean cpu $(mean_cpu_ms run_seqtk) ms, peak $(peak_mb seqtk subseq chr.fa region.bed) MB"
fi
if command -v samtools >/dev/null; then
    samtools faidx chr.fa
    run_kavro >/dev/null
    run_samtools
    same_residues out.fa samtools.fa || { echo "kavro and samtools disagree on the stretch" >&2; exit 1; }
    echo "  kavro getseq2 (chr.fa.fai): median wall $(median_ms run_kavro) ms, mean cpu $(mean_cpu_ms run_kavro) ms, peak $(peak_mb "$KAVRO" getseq2 chr.fa out.fa "$FROM" "$TO" n) MB"
    echo "  samtools faidx:             median wall $(median_ms run_samtools) ms, mean cpu $(mean_cpu_ms run_samtools) ms, peak $(peak_mb samtools faidx chr.fa "chrB1:$FROM-$TO") MB"
fi
