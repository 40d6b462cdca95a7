#!/usr/bin/env bash
# Translation, codon usage, compositional variation and the peptide-mass
# search of `kavro tofast`, timed on generated data, with EMBOSS transeq,
# cusp and compseq as peers for the first two.
#
#   bench/bench_translate.sh [path/to/kavro] [CDS_MB] [RUNS]
#
# EMBOSS is a peer for comparison only; the script installs it with apt-get
# when it is missing. Each figure is the best of RUNS runs (default 5) from a
# warm page cache: wall time and CPU time (user + system). On a machine
# shared with other work the CPU times are the steadier figures.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
size=${2:-32}
runs=${3:-5}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-translate-$size}

if ! command -v transeq >/dev/null || ! command -v cusp >/dev/null || ! command -v compseq >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y emboss >/dev/null
fi
[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
if [ ! -s "$data/cds.fa" ] || [ ! -s "$data/msdef" ]; then
  python3 "$here/bench_translate_data.py" "$data" "$size"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# best_of NAME COMMAND: runs the shell command RUNS times, each time after
# removing the outputs of the run before, and sets WALL_<NAME> and
# CPU_<NAME> to the best wall and CPU times.
best_of() {
  local name=$1 cmd=$2 bw="" bc="" i w c u s
  for ((i = 0; i < runs; i++)); do
    rm -f out.* x.*
    { time sh -c "$cmd >/dev/null 2>&1"; } 2>time.txt
    read -r w u s <time.txt
    c=$(awk -v u="$u" -v s="$s" 'BEGIN {printf "%.3f", u + s}')
    if [ -z "$bw" ] || awk -v a="$w" -v b="$bw" 'BEGIN {exit !(a < b)}'; then bw=$w; fi
    if [ -z "$bc" ] || awk -v a="$c" -v b="$bc" 'BEGIN {exit !(a < b)}'; then bc=$c; fi
  done
  printf -v "WALL_$name" '%s' "$bw"
  printf -v "CPU_$name" '%s' "$bc"
  printf '  %-44s wall %7.3f s   cpu %7.3f s\n' "$cmd" "$bw" "$bc"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

TIMEFORMAT='%3R %3U %3S'
cat "$data"/*.fa >/dev/null  # warm the page cache
cds="$data/cds.fa"
echo "== Translation, frame 1: $cds ($(du -m "$cds" | cut -f1) MB, $(grep -c '>' "$cds") sequences)"
best_of kavro_p "'$kavro' tofast '$cds' out.fa p 1"
best_of transeq "transeq -sequence '$cds' -outseq x.pep -frame 1"
"$kavro" tofast "$cds" out.fa p 1 >/dev/null 2>&1
transeq -sequence "$cds" -outseq x.pep -frame 1 >/dev/null 2>&1
same() { grep -v '^>' "$1" | tr -d '\n' | md5sum; }
[ "$(same out.fa)" = "$(same x.pep)" ] && agree=yes || agree=NO
echo "  transeq / kavro: $(ratio "$WALL_transeq" "$WALL_kavro_p")x wall, $(ratio "$CPU_transeq" "$CPU_kavro_p")x cpu (target >= 2); same proteins: $agree"

echo "== Codon usage: $cds"
best_of kavro_ic "'$kavro' tofast '$cds' out.txt i c"
best_of cusp "cusp -sequence '$cds' -outfile x.cusp"
best_of compseq "compseq -sequence '$cds' -word 3 -frame 1 -outfile x.comp"
echo "  cusp / kavro: $(ratio "$WALL_cusp" "$WALL_kavro_ic")x wall, $(ratio "$CPU_cusp" "$CPU_kavro_ic")x cpu;" \
  "compseq / kavro: $(ratio "$WALL_compseq" "$WALL_kavro_ic")x wall, $(ratio "$CPU_compseq" "$CPU_kavro_ic")x cpu (target >= 2)"

echo "== Compositional variation, slide 10"
best_of b5_100 "'$kavro' tofast '$data/genome5.fa' out.txt b 100 10"
best_of b5_10k "'$kavro' tofast '$data/genome5.fa' out.txt b 10000 10"
best_of b20_100 "'$kavro' tofast '$data/genome20.fa' out.txt b 100 10"
echo "  window 10000 / window 100: $(ratio "$CPU_b5_10k" "$CPU_b5_100") cpu (target about 1);" \
  "20 Mb / 5 Mb: $(ratio "$CPU_b20_100" "$CPU_b5_100") cpu (target about 4)"

echo "== Peptide-mass search, 50 peaks"
best_of ms10k "'$kavro' tofast '$data/prot10k.fa' out.txt ms '$data/msdef'"
best_of ms20k "'$kavro' tofast '$data/prot20k.fa' out.txt ms '$data/msdef'"
echo "  20,000 / 10,000 proteins: $(ratio "$CPU_ms20k" "$CPU_ms10k") cpu (target about 2)"
