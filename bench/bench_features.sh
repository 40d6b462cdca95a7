#!/bin/sh
# cdsnuc and extcds against EMBOSS coderet on generated GenBank files of
# several sizes (linear growth), one run each in turn, medians of RUNS.
#
#   bench/bench_features.sh [path/to/kavro] [SIZES_MB] [RUNS]
#   e.g. bench/bench_features.sh build/kavro "50 100 200" 3
#
# Data: bench/gen_data.py --only gb, kept in $KAVRO_BENCH_DATA
# (default /tmp/kavro-bench-features). coderet is a peer for comparison
# only (apt-get install emboss); without it only kavro is timed.
set -eu
KAVRO=$(realpath "${1:-build/kavro}")
SIZES=${2:-"50 100 200"}
RUNS=${3:-3}
HERE=$(cd "$(dirname "$0")" && pwd)
DATA=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-features}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
HAVE_CODERET=0
command -v coderet >/dev/null 2>&1 && HAVE_CODERET=1

# One timed run: "wall cpu peak_kb" of the command.
timed() {
    /usr/bin/time -f "%e %U %S %M" -o "$WORK/t" "$@" >/dev/null 2>&1 || true
    awk '{printf "%s %.2f %s\n", $1, $2 + $3, $4}' "$WORK/t"
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Upper-case residues of a FASTA file, one line per entry.
residues() { awk '/^>/ {if (s != "") print toupper(s); s = ""; next} {s = s $0} END {if (s != "") print toupper(s)}' "$1"; }

printf "%-6s %-10s %8s %8s %8s %9s\n" "MB" "run" "wall s" "cpu s" "MB/s" "peak MB"
for size in $SIZES; do
    dir="$DATA/$size"
    if [ ! -s "$dir/bench.gb" ]; then
        mkdir -p "$dir"
        python3 "$HERE/gen_data.py" --size-mb "$size" --out "$dir" --only gb >/dev/null
    fi
    gb="$dir/bench.gb"
    for job in cdsnuc extcds coderet-cds coderet-prot; do : > "$WORK/$job"; done
    i=0
    while [ "$i" -lt "$RUNS" ]; do
        (cd "$WORK" && timed "$KAVRO" cdsnuc "$gb" nuc.fa S 0 E 0) >> "$WORK/cdsnuc"
        if [ "$HAVE_CODERET" = 1 ]; then
            (cd "$WORK" && timed coderet -seqall "$gb" -outfile cr.txt -cdsoutseq cr_cds.fa -nomrnaoutseq \
                -notranslationoutseq -norestoutseq -auto) >> "$WORK/coderet-cds"
        fi
        (cd "$WORK" && timed "$KAVRO" extcds "$gb" prot.fa) >> "$WORK/extcds"
        if [ "$HAVE_CODERET" = 1 ]; then
            (cd "$WORK" && timed coderet -seqall "$gb" -outfile cr.txt -nocdsoutseq -nomrnaoutseq \
                -translationoutseq cr_prot.fa -norestoutseq -auto) >> "$WORK/coderet-prot"
        fi
        i=$((i + 1))
    done
    mb=$(du -m "$gb" | cut -f1)
    for job in cdsnuc extcds coderet-cds coderet-prot; do
        [ -s "$WORK/$job" ] || continue
        wall=$(cut -d' ' -f1 "$WORK/$job" | median)
        cpu=$(cut -d' ' -f2 "$WORK/$job" | median)
        peak=$(cut -d' ' -f3 "$WORK/$job" | sort -n | tail -1)
        printf "%-6s %-12s %8s %8s %8.0f %9.1f\n" "$mb" "$job" "$wall" "$cpu" "$(echo "$mb / $cpu" | bc -l)" \
            "$(echo "$peak / 1024" | bc -l)"
    done
    if [ "$HAVE_CODERET" = 1 ]; then
        residues "$WORK/nuc.fa" > "$WORK/a"; residues "$WORK/cr_cds.fa" > "$WORK/b"
        echo "  CDS nucleotides: $(wc -l < "$WORK/a") kavro, $(wc -l < "$WORK/b") coderet, $(cmp -s "$WORK/a" "$WORK/b" && echo identical || echo DIFFERENT)"
        residues "$WORK/prot.fa" > "$WORK/a"; residues "$WORK/cr_prot.fa" | sed 's/\*$//' > "$WORK/b"
        echo "  proteins: $(wc -l < "$WORK/a") kavro, $(wc -l < "$WORK/b") coderet, $(cmp -s "$WORK/a" "$WORK/b" && echo identical || echo DIFFERENT)"
    fi
done
echo "(cpu = user + system; the machine may be shared, so cpu is the steadier measure)"
