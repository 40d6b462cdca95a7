#!/usr/bin/env bash
# Before/after comparison of two kavro binaries on tofast's three hot paths
# (GenBank entry walk, FASTA clear mode, FASTA info report), with seqtk and
# EMBOSS seqret in the same rounds. Runs alternate; medians of wall and CPU
# (user + system) time are printed. On a shared machine trust the CPU column.
#
#   bench/compare_tofast.sh OLD_KAVRO NEW_KAVRO [SIZE_MB] [ROUNDS]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
old=$(realpath "$1")
new=$(realpath "$2")
size=${3:-150}
rounds=${4:-7}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-$size}
[ -s "$data/big.gb" ] && [ -s "$data/big.fa" ] || python3 "$here/gen_tofast_data.py" "$data" "$size"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cat "$data/big.gb" "$data/big.fa" >/dev/null  # warm the page cache

# timed NAME COMMAND...: one line "NAME wall cpu".
timed() {
  local name=$1 s e; shift
  s=$EPOCHREALTIME
  /usr/bin/time -f "%U %S" -o time.txt "$@" >/dev/null 2>&1 || true
  e=$EPOCHREALTIME
  awk -v n="$name" -v a="$s" -v b="$e" '{printf "%s %.3f %.3f\n", n, b - a, $1 + $2}' time.txt
}

for ((i = 1; i <= rounds; i++)); do
  for which in old new; do
    bin=$old; [ "$which" = new ] && bin=$new
    timed "${which}_genbank" "$bin" tofast "$data/big.gb" o.fa
    timed "${which}_fasta_clear" "$bin" tofast "$data/big.fa" o.fa
    timed "${which}_fasta_info" "$bin" tofast "$data/big.fa" o.txt info
  done
  if command -v seqtk >/dev/null; then timed seqtk_fasta sh -c "seqtk seq -U -l 75 '$data/big.fa' > s.fa"; fi
  if command -v seqret >/dev/null && ((i <= 3)); then
    timed seqret_genbank seqret -sequence "$data/big.gb" -outseq r.fa -osformat2 fasta -auto
  fi
done > times.txt

python3 - <<'PY'
import collections, statistics
wall, cpu = collections.defaultdict(list), collections.defaultdict(list)
for line in open("times.txt"):
    name, w, c = line.split()
    wall[name].append(float(w))
    cpu[name].append(float(c))
for name in sorted(wall):
    print("%-18s wall median %.3f s   cpu median %.3f s   (%d runs)"
          % (name, statistics.median(wall[name]), statistics.median(cpu[name]), len(wall[name])))
PY
