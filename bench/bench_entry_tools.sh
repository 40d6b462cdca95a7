#!/usr/bin/env bash
# getent, extrna, extint, noncod and genlist against their peers, in one run.
#
#   bench/bench_entry_tools.sh [path/to/kavro] [RUNS]
#
# Data (generated on first use into $KAVRO_BENCH_DATA, default /tmp/kavro-bench-entries):
#   bench.gb, bench.fa   bench/gen_data.py, 200 MB each (getent)
#   featN.gb             bench/gen_feature_data.py, N = 50, 100, 200 MB: genes with
#                        split CDS on both strands, tRNA and rRNA (the feature commands)
# Peers, for comparison only (installed with apt-get when missing): cat, seqkit,
# EMBOSS extractfeat. Every case runs RUNS times (default 5), cases alternating;
# the script prints the median wall time and the largest peak RSS.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
runs=${2:-5}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-entries}
mkdir -p "$data"
if ! command -v seqkit >/dev/null || ! command -v extractfeat >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y seqkit emboss >/dev/null
fi
[ -s "$data/bench.gb" ] || python3 "$here/gen_data.py" --size-mb 200 --out "$data"
for n in 50 100 200; do
  [ -s "$data/feat$n.gb" ] || python3 "$here/gen_feature_data.py" "$data/feat$n.gb" "$n"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

names=() cmds=()
add() { names+=("$1"); cmds+=("$2"); }

G=$data/bench.gb F=$data/bench.fa
add "cat bench.gb > /dev/null"          "cat $G > /dev/null"
add "getent bench.gb 10 AC"             "$kavro getent $G sel.gb AC=BX00010# > /dev/null"
add "cat bench.fa > /dev/null"          "cat $F > /dev/null"
add "getent bench.fa 10 ID"             "$kavro getent $F sel.fa ID=BENCH_000010# > /dev/null"
add "seqkit grep -r bench.fa 10 ID"     "seqkit grep -r -p '^BENCH_000010[0-9]' $F -o sk.fa"
add "cat bench.fa > copy"               "cat $F > copy.fa"
add "getent bench.fa Split=10"          "$kavro getent $F split Split=10 > /dev/null 2>&1"
for n in 50 100 200; do
  add "extrna feat$n.gb"  "$kavro extrna $data/feat$n.gb rna.fa S 0 E 0 > /dev/null"
  add "extint feat$n.gb"  "$kavro extint $data/feat$n.gb int.fa S 0 E 0 > /dev/null"
  add "noncod feat$n.gb"  "$kavro noncod $data/feat$n.gb nc.fa > /dev/null"
  add "genlist feat$n.gb" "$kavro genlist $data/feat$n.gb genes.txt > /dev/null"
  add "genlist t feat$n.gb" "$kavro genlist $data/feat$n.gb table.txt t > /dev/null"
done
add "extractfeat RNA feat200.gb" "extractfeat -sequence $data/feat200.gb -type 'tRNA|rRNA|snRNA' -outseq ef.fa -auto"

declare -A times rss
for ((r = 0; r < runs; r++)); do
  for i in "${!cmds[@]}"; do
    rm -f split.* copy.fa
    t0=$EPOCHREALTIME
    /usr/bin/time -f %M -o rss.txt bash -c "${cmds[$i]}"
    t1=$EPOCHREALTIME
    times[$i]+="$(echo "$t1 - $t0" | bc) "
    m=$(tail -1 rss.txt)
    (( m > ${rss[$i]:-0} )) && rss[$i]=$m
  done
done

printf '%-36s %10s %12s\n' case "median s" "peak RSS kB"
for i in "${!cmds[@]}"; do
  med=$(tr ' ' '\n' <<<"${times[$i]}" | grep . | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  printf '%-36s %10.3f %12s\n' "${names[$i]}" "$med" "${rss[$i]}"
done
# The last extrna run read feat200.gb: both tools must give the same RNA sequences.
python3 - rna.fa ef.fa <<'PY'
import sys
def residues(path):
    out, cur = [], None
    for line in open(path):
        if line.startswith(">"):
            cur = []
            out.append(cur)
        elif cur is not None:
            cur.append(line.strip().upper())
    return sorted("".join(c) for c in out)
a, b = residues(sys.argv[1]), residues(sys.argv[2])
print("RNA records: kavro %d, extractfeat %d, same sequences: %s" % (len(a), len(b), a == b))
PY
