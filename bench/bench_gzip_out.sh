#!/usr/bin/env bash
# What writing gzip output costs: `kavro tofast bench.fa out.fa.gz` against
# the plain conversion, `seqkit seq bench.fa -o out.fa.gz` and
# `gzip -c bench.fa > out.fa.gz`, on the 200 MB multi-FASTA file of
# gen_data.py. Prints wall and CPU seconds (median of RUNS rounds, default 5;
# gzip, ten times slower than the others, runs in the first round only) and
# the compressed size as a share of what it decompresses to (kavro writes 75
# residues a line, seqkit and gzip keep the input's 60).
#
#   bench/bench_gzip_out.sh [path/to/kavro] [RUNS]
#
# KAVRO_BENCH_DATA names the data folder (default /tmp/kavro-bench-data);
# seqkit is optional (apt-get install seqkit), for comparison only.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
runs=${2:-5}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-data}

[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
[ -s "$data/bench.fa" ] || python3 "$here/gen_data.py" --out "$data" --only fa
input=$data/bench.fa
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cases=(kavro_plain kavro_gz)
command -v seqkit >/dev/null 2>&1 && cases+=(seqkit_gz)
cases+=(gzip)
out_of() {
  case $1 in
    kavro_plain) echo out.fa ;;
    *) echo "$1.fa.gz" ;;
  esac
}
run_case() {
  case $1 in
    kavro_plain) "$kavro" tofast "$input" out.fa ;;
    kavro_gz) "$kavro" tofast "$input" kavro_gz.fa.gz ;;
    seqkit_gz) seqkit seq "$input" -o seqkit_gz.fa.gz ;;
    gzip) gzip -c "$input" > gzip.fa.gz ;;
  esac
}

declare -A wall cpu
for ((i = 0; i < runs; i++)); do
  for c in "${cases[@]}"; do
    [ "$c" = gzip ] && [ "$i" -gt 0 ] && continue
    rm -f "$(out_of "$c")"
    /usr/bin/time -f '%e %U %S' -o t.txt bash -c "$(declare -f run_case); input=$input kavro=$kavro run_case $c" > /dev/null 2>&1
    read -r e u s < <(tail -1 t.txt)
    wall[$c]+="$e "
    cpu[$c]+="$(awk -v u="$u" -v s="$s" 'BEGIN {printf "%.2f", u + s}') "
  done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

zcat kavro_gz.fa.gz | cmp -s - out.fa || { echo "kavro's gzip output differs from its plain output" >&2; exit 1; }
plain=$(stat -c %s out.fa)
printf 'multi-FASTA %s MB, median of %s rounds (gzip: 1) (load: %s)\n' \
  "$(awk -v s="$(stat -c %s "$input")" 'BEGIN {printf "%.0f", s / 1e6}')" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '  %-12s %8s %8s %10s %7s\n' case wall_s cpu_s bytes ratio
for c in "${cases[@]}"; do
  f=$(out_of "$c")
  size=$(stat -c %s "$f")
  if [ "$c" = kavro_plain ]; then full=$plain; else full=$(zcat "$f" | wc -c); fi
  printf '  %-12s %8.2f %8.2f %10d %7.3f\n' "$c" "$(median "${wall[$c]}")" "$(median "${cpu[$c]}")" "$size" \
    "$(awk -v a="$size" -v b="$full" 'BEGIN {printf "%.3f", a / b}')"
done
