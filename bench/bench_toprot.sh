#!/usr/bin/env bash
# toprot on generated chromosomes beside EMBOSS transeq and getorf (peers
# for comparison only), and the composite listing at 1, 5 and 20 Mb.
#
#   bench/bench_toprot.sh [path/to/kavro] [RUNS]
#
# Each pair runs alternately RUNS times (default 9) from a warm page cache;
# the figures are the medians of the wall times. The a300 table is then
# compared with getorf's ORFs (bench/compare_orfs.py).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
runs=${2:-9}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-toprot}
[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
command -v transeq >/dev/null && command -v getorf >/dev/null || { echo "EMBOSS transeq/getorf needed" >&2; exit 1; }
[ -s "$data/genome20.fa" ] || python3 "$here/gen_genome.py" "$data" 1 5 20
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$data"/genome*.fa .

# seconds CMD: wall time of one run, output thrown away.
seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  sh -c "$1" >/dev/null 2>&1
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.4f\n", b - a}'
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# pair NAME KAVRO_CMD PEER_CMD: alternate runs, print medians and the ratio.
pair() {
  local name=$1 i a="" b=""
  for ((i = 0; i < runs; i++)); do
    a+="$(seconds "$2")"$'\n'
    [ -n "$3" ] && b+="$(seconds "$3")"$'\n'
  done
  local ma mb
  ma=$(printf "%s" "$a" | median)
  if [ -n "$3" ]; then
    mb=$(printf "%s" "$b" | median)
    awk -v n="$name" -v x="$ma" -v y="$mb" 'BEGIN {printf "%-34s kavro %.3f s   peer %.3f s   %.2fx\n", n, x, y, y / x}'
  else
    printf "%-34s kavro %.3f s\n" "$name" "$ma"
  fi
}

echo "toprot against EMBOSS, 5 Mb random chromosome, median of $runs alternating runs"
pair "six frames (toprot 6 / transeq -frame 6)" "$kavro toprot genome5.fa k6.fa 6" \
  "transeq -frame 6 -sequence genome5.fa -outseq t6.fa"
pair "ORF table (toprot a300 / getorf)" "$kavro toprot genome5.fa ka.txt a300" \
  "getorf -minsize 300 -find 1 -sequence genome5.fa -outseq go.fa"
pair "ORF sequences (toprot s300 / getorf)" "$kavro toprot genome5.fa ks.fa s300" \
  "getorf -minsize 300 -find 1 -sequence genome5.fa -outseq go.fa"
echo
echo "composite listing (toprot c), growth with length"
for mb in 1 5 20; do pair "toprot c, $mb Mb" "$kavro toprot genome$mb.fa kc.txt c" ""; done
echo
"$kavro" toprot genome5.fa ka.txt a300 >/dev/null
getorf -minsize 300 -find 1 -sequence genome5.fa -outseq go.fa >/dev/null 2>&1
python3 "$here/compare_orfs.py" ka.txt go.fa 5000000
