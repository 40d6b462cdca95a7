#!/usr/bin/env bash
# What reading a gzip file or a pipe costs tofast: the conversion of a
# generated GenBank file of about SIZE_MB megabytes (default 50) plain, gzip
# compressed, and through a pipe, against `zcat FILE > /dev/null` alone.
# The gzip conversion should cost no more than zcat plus the plain conversion.
#
#   bench/bench_gzip.sh [path/to/kavro] [SIZE_MB] [RUNS]
#
# The cases run in turn, RUNS rounds (default 5); each figure is the median.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
size=${2:-50}
runs=${3:-5}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-$size}

[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
if [ ! -s "$data/big.gb" ]; then
  python3 "$here/gen_tofast_data.py" "$data" "$size"
fi
[ -s "$data/big.gb.gz" ] || gzip -6 -c "$data/big.gb" > "$data/big.gb.gz"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

declare -A times
cases=(zcat plain gzip pipe gzip_pipe)
run_case() {
  case $1 in
    zcat) zcat "$data/big.gb.gz" > /dev/null ;;
    plain) "$kavro" tofast "$data/big.gb" out.fa > /dev/null 2>&1 ;;
    gzip) "$kavro" tofast "$data/big.gb.gz" out.fa > /dev/null 2>&1 ;;
    pipe) cat "$data/big.gb" | "$kavro" tofast - out.fa > /dev/null 2>&1 ;;
    gzip_pipe) cat "$data/big.gb.gz" | "$kavro" tofast - out.fa > /dev/null 2>&1 ;;
  esac
}
for ((i = 0; i < runs; i++)); do
  for c in "${cases[@]}"; do
    rm -f out.fa
    t0=$EPOCHREALTIME
    run_case "$c"
    t1=$EPOCHREALTIME
    times[$c]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.4f", b - a}') "
  done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf 'GenBank %s MB (gzip %s MB), median of %s rounds\n' \
  "$(awk -v s="$(stat -c %s "$data/big.gb")" 'BEGIN {printf "%.0f", s / 1e6}')" \
  "$(awk -v s="$(stat -c %s "$data/big.gb.gz")" 'BEGIN {printf "%.0f", s / 1e6}')" "$runs"
for c in "${cases[@]}"; do
  m=$(median "${times[$c]}")
  printf '  %-10s %8.3f s\n' "$c" "$m"
  printf -v "M_$c" '%s' "$m"
done
awk -v z="$M_zcat" -v p="$M_plain" -v g="$M_gzip" \
  'BEGIN {printf "  zcat + plain = %.3f s; gzip conversion = %.3f s (%.2fx of that sum)\n", z + p, g, g / (z + p)}'
