#!/usr/bin/env bash
# Throughput and peak memory of `kavro tofast` against cat, EMBOSS seqret and
# seqtk on generated files of about SIZE_MB megabytes (default 200).
#
#   bench/bench_tofast.sh [path/to/kavro] [SIZE_MB] [RUNS]
#
# seqtk and EMBOSS are peers for comparison only; the script installs them
# with apt-get when they are missing. Each timing is the best of RUNS runs
# (default 3) from a warm page cache; peak RSS comes from /usr/bin/time -v.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../build/kavro}")
size=${2:-200}
runs=${3:-3}
data=${KAVRO_BENCH_DATA:-/tmp/kavro-bench-$size}

if ! command -v seqtk >/dev/null || ! command -v seqret >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y seqtk emboss >/dev/null
fi
[ -x "$kavro" ] || { echo "no kavro binary at $kavro" >&2; exit 1; }
if [ ! -s "$data/big.gb" ] || [ ! -s "$data/big.fa" ]; then
  python3 "$here/gen_tofast_data.py" "$data" "$size"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# best_of NAME OUTPUT COMMAND...: runs the command RUNS times, removing its
# OUTPUT file first (outside the timing), and sets SECONDS_<NAME>, CPU_<NAME>
# (user + system seconds of that run) and RSS_<NAME> (kB) to the best time and
# the largest peak RSS.
best_of() {
  local name=$1 output=$2; shift 2
  local best="" cpu="" rss=0 i t0 t1 t r c
  for ((i = 0; i < runs; i++)); do
    rm -f "$output"
    sync
    t0=$EPOCHREALTIME
    /usr/bin/time -v -o time.txt "$@"
    t1=$EPOCHREALTIME
    t=$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.4f", b - a}')
    r=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
    c=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' time.txt)
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN {exit !(a < b)}'; then best=$t; cpu=$c; fi
    if ((r > rss)); then rss=$r; fi
  done
  printf -v "SECONDS_$name" '%s' "$best"
  printf -v "CPU_$name" '%s' "$cpu"
  printf -v "RSS_$name" '%s' "$rss"
}

calc() { awk "BEGIN {printf \"$1\", $2}"; }
mb() { calc %.1f "$(stat -c %s "$1") / 1000000"; }
rate() { calc %.0f "$1 / $2"; }
ratio() { calc %.2f "$1 / ($2)"; }

# The residues of a FASTA file, upper case, one line: the comparison of outputs.
residues() { grep -v '^>' "$1" | tr -d '\n' | tr a-z A-Z | md5sum | cut -d' ' -f1; }

cat "$data/big.gb" "$data/big.fa" >/dev/null  # warm the page cache
gb_mb=$(mb "$data/big.gb")
fa_mb=$(mb "$data/big.fa")

echo "== GenBank to FASTA: $data/big.gb ($gb_mb MB)"
# GNU cat copies inside the kernel (copy_file_range): the floor for any reader.
best_of cat_gb copy sh -c "cat '$data/big.gb' > copy"
best_of kavro_gb out_gb.fa sh -c "'$kavro' tofast '$data/big.gb' out_gb.fa >/dev/null 2>&1"
best_of seqret_gb seqret.fa sh -c "seqret -sequence '$data/big.gb' -outseq seqret.fa -osformat2 fasta -auto >/dev/null 2>&1"
[ "$(residues out_gb.fa)" = "$(residues seqret.fa)" ] && same_gb=yes || same_gb=NO
printf '%-8s %8.3f s %7s MB/s  cpu %5s s  peak RSS %7s kB\n' \
  cat "$SECONDS_cat_gb" "$(rate "$gb_mb" "$SECONDS_cat_gb")" "$CPU_cat_gb" "$RSS_cat_gb" \
  kavro "$SECONDS_kavro_gb" "$(rate "$gb_mb" "$SECONDS_kavro_gb")" "$CPU_kavro_gb" "$RSS_kavro_gb" \
  seqret "$SECONDS_seqret_gb" "$(rate "$gb_mb" "$SECONDS_seqret_gb")" "$CPU_seqret_gb" "$RSS_seqret_gb"
echo "kavro vs cat: $(ratio "$SECONDS_kavro_gb" "$SECONDS_cat_gb")x the time (target <= 2.5)"
echo "seqret vs kavro: kavro is $(ratio "$SECONDS_seqret_gb" "$SECONDS_kavro_gb")x as fast (target >= 1.5)"
echo "same residues as seqret: $same_gb"
rm -f copy out_gb.fa seqret.fa

echo
echo "== FASTA clear mode: $data/big.fa ($fa_mb MB)"
best_of kavro_fa out_fa.fa sh -c "'$kavro' tofast '$data/big.fa' out_fa.fa >/dev/null 2>&1"
best_of seqtk_fa seqtk.fa sh -c "seqtk seq -U -l 75 '$data/big.fa' > seqtk.fa"
[ "$(residues out_fa.fa)" = "$(residues seqtk.fa)" ] && same_fa=yes || same_fa=NO
printf '%-8s %8.3f s %7s MB/s  cpu %5s s  peak RSS %7s kB\n' \
  kavro "$SECONDS_kavro_fa" "$(rate "$fa_mb" "$SECONDS_kavro_fa")" "$CPU_kavro_fa" "$RSS_kavro_fa" \
  seqtk "$SECONDS_seqtk_fa" "$(rate "$fa_mb" "$SECONDS_seqtk_fa")" "$CPU_seqtk_fa" "$RSS_seqtk_fa"
echo "seqtk vs kavro: kavro is $(ratio "$SECONDS_seqtk_fa" "$SECONDS_kavro_fa")x as fast (target >= 1.5)"
echo "kavro peak RSS / file size: $(ratio "$RSS_kavro_fa" "$(stat -c %s "$data/big.fa") / 1024") (target < 1.5)"
echo "same residues as seqtk: $same_fa"
rm -f out_fa.fa seqtk.fa

echo
echo "== FASTA jobs that keep counts or offsets only: $data/big.fa ($fa_mb MB), peak RSS target <= 65536 kB"
for job in "s" "i c" "i '#'" "d c"; do
    name=job_${job//[^a-z]/_}
    best_of "$name" out_job sh -c "'$kavro' tofast '$data/big.fa' out_job $job >/dev/null 2>&1"
    rss_var=RSS_$name sec_var=SECONDS_$name cpu_var=CPU_$name
    printf 'tofast %-5s %8.3f s  cpu %5s s  peak RSS %7s kB\n' "$job" "${!sec_var}" "${!cpu_var}" "${!rss_var}"
done
best_of seqkit_sort seqkit_sorted.fa sh -c "seqkit sort -n '$data/big.fa' > seqkit_sorted.fa 2>/dev/null"
printf 'seqkit sort -n %5.3f s  cpu %5s s  peak RSS %7s kB\n' "$SECONDS_seqkit_sort" "$CPU_seqkit_sort" "$RSS_seqkit_sort"
rm -f out_job seqkit_sorted.fa
