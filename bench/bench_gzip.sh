#!/usr/bin/env bash
# What reading a gzip file or a pipe costs: tofast and extcds on the GenBank
# file of gen_data.py (about SIZE_MB megabytes, default 200) plain, gzip
# compressed (gzip -6), and through a pipe, against `zcat FILE > /dev/null`
# alone. gzip input is inflated as it is read, so its jobs should take about
# what zcat takes, in a few megabytes of memory, with nothing written to
# $TMPDIR (the gzip-file runs get a TMPDIR that does not exist: a spool file
# would fail them).
#
#   bench/bench_gzip.sh [path/to/kavro] [SIZE_MB] [RUNS]
#
# The cases run in turn, RUNS rounds (default 3); each figure is the median
# wall time, the median CPU time (user + system, both threads) and the
# largest peak RSS (GNU time).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
size=${2:-200}
runs=${3:-3}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-gz-$size}

[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
[ -s "$data/bench.gb" ] || python3 "$here/gen_data.py" --size-mb "$size" --out "$data" --only gb
[ -s "$data/bench.gb.gz" ] || gzip -6 -c "$data/bench.gb" > "$data/bench.gb.gz"
gb=$data/bench.gb
gz=$data/bench.gb.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cases=(zcat tofast_plain tofast_gzip extcds_plain extcds_gzip tofast_pipe tofast_gzip_pipe)
run_case() {
  case $1 in
    zcat) zcat "$gz" > /dev/null ;;
    tofast_plain) "$kavro" tofast "$gb" out.fa > /dev/null 2>&1 ;;
    tofast_gzip) TMPDIR=/nonexistent "$kavro" tofast "$gz" out.fa > /dev/null 2>&1 ;;
    extcds_plain) "$kavro" extcds "$gb" prot.fa > /dev/null 2>&1 ;;
    extcds_gzip) TMPDIR=/nonexistent "$kavro" extcds "$gz" prot.fa > /dev/null 2>&1 ;;
    tofast_pipe) cat "$gb" | "$kavro" tofast - out.fa > /dev/null 2>&1 ;;
    tofast_gzip_pipe) cat "$gz" | "$kavro" tofast - out.fa > /dev/null 2>&1 ;;
  esac
}
export -f run_case
export kavro gb gz

declare -A wall cpu rss
for ((i = 0; i < runs; i++)); do
  for c in "${cases[@]}"; do
    rm -f out.fa prot.fa
    if ! /usr/bin/time -f '%e %U %S %M' -o t.txt bash -c "run_case $c"; then
      echo "$c failed" >&2
      exit 1
    fi
    read -r e u s m < <(tail -1 t.txt)
    wall[$c]+="$e "
    cpu[$c]+="$(awk -v u="$u" -v s="$s" 'BEGIN {printf "%.2f", u + s}') "
    [ "${rss[$c]:-0}" -ge "$m" ] || rss[$c]=$m
  done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf 'GenBank %s MB (gzip %s MB), median of %s rounds; load average %s\n' \
  "$(awk -v s="$(stat -c %s "$gb")" 'BEGIN {printf "%.0f", s / 1e6}')" \
  "$(awk -v s="$(stat -c %s "$gz")" 'BEGIN {printf "%.0f", s / 1e6}')" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '  %-18s %8s %8s %9s\n' case wall cpu 'peak RSS'
for c in "${cases[@]}"; do
  w=$(median "${wall[$c]}")
  printf '  %-18s %7.2fs %7.2fs %7.1fMB\n' "$c" "$w" "$(median "${cpu[$c]}")" "$(awk -v k="${rss[$c]}" 'BEGIN {print k / 1024}')"
  printf -v "W_$c" '%s' "$w"
done
awk -v z="$W_zcat" -v t="$W_tofast_gzip" -v e="$W_extcds_gzip" \
  'BEGIN {printf "  wall against zcat alone: tofast %.2fx, extcds %.2fx\n", t / z, e / z}'
