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

# seconds CMD: "wall cpu" of one run (cpu = user + system), output thrown away.
seconds() {
  python3 -c '
import os, subprocess, sys, time
t = time.perf_counter()
p = subprocess.Popen(sys.argv[1], shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
_, _, use = os.wait4(p.pid, 0)
print("%.4f %.4f" % (time.perf_counter() - t, use.ru_utime + use.ru_stime))' "$1"
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# pair NAME KAVRO_CMD PEER_CMD: alternate runs; medians of wall and CPU
# time and the peer/kavro ratios.
pair() {
  local name=$1 i a="" b=""
  for ((i = 0; i < runs; i++)); do
    a+="$(seconds "$2")"$'\n'
    [ -n "$3" ] && b+="$(seconds "$3")"$'\n'
  done
  local aw ac bw bc
  aw=$(printf "%s" "$a" | cut -d' ' -f1 | median)
  ac=$(printf "%s" "$a" | cut -d' ' -f2 | median)
  if [ -n "$3" ]; then
    bw=$(printf "%s" "$b" | cut -d' ' -f1 | median)
    bc=$(printf "%s" "$b" | cut -d' ' -f2 | median)
    awk -v n="$name" -v aw="$aw" -v ac="$ac" -v bw="$bw" -v bc="$bc" 'BEGIN {
      printf "%-40s kavro %.4f s (cpu %.4f)   peer %.4f s (cpu %.4f)   wall %.2fx  cpu %.2fx\n",
             n, aw, ac, bw, bc, bw / aw, (ac > 0 ? bc / ac : 0) }'
  else
    printf "%-40s kavro %.4f s (cpu %.4f)\n" "$name" "$aw" "$ac"
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
