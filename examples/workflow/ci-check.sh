#!/usr/bin/env bash
# Runs the example workflow from a copy of this folder, with the given kavro
# (default: build/kavro of this checkout) first on PATH, and checks what it
# made: every output exists and is valid gzip, the proteins and coding
# sequences number one per CDS feature, and the summary has one row per CDS
# (and per tRNA/rRNA) of the input genomes.
#
#   examples/workflow/ci-check.sh [path/to/kavro] [CORES]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
kavro=$(realpath "${1:-$here/../../build/kavro}")
cores=${2:-2}
[ -x "$kavro" ] || { echo "ci-check: no kavro binary at $kavro" >&2; exit 1; }
command -v snakemake >/dev/null || { echo "ci-check: snakemake is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$kavro" "$work/bin/kavro"
cp -r "$here" "$work/workflow"
rm -rf "$work/workflow/results" "$work/workflow/.snakemake"
cd "$work/workflow"
PATH="$work/bin:$PATH" snakemake --cores "$cores" --quiet > snakemake.log 2>&1 || {
  cat snakemake.log results/logs/*.log >&2 2>/dev/null || true
  echo "ci-check: the workflow failed" >&2
  exit 1
}

fail() { echo "ci-check: $*" >&2; exit 1; }
count() { grep -c -E "$1" "$2" || true; }
total_cds=0
total_rna=0
for gb in genomes/*.gb; do
  g=$(basename "$gb" .gb)
  for f in proteins.fa.gz cds.fa.gz rna.fa.gz genes.tsv.gz; do
    [ -s "results/$g/$f" ] || fail "missing results/$g/$f"
    gzip -t "results/$g/$f" || fail "results/$g/$f is not valid gzip"
  done
  cds=$(count '^     CDS ' "$gb")
  rna=$(count '^     [tr]RNA ' "$gb")
  [ "$(zcat "results/$g/proteins.fa.gz" | grep -c '^>')" -eq "$cds" ] || fail "$g: proteins are not one per CDS"
  [ "$(zcat "results/$g/cds.fa.gz" | grep -c '^>')" -eq "$cds" ] || fail "$g: coding sequences are not one per CDS"
  [ "$(zcat "results/$g/rna.fa.gz" | grep -c '^>')" -eq "$rna" ] || fail "$g: RNA sequences are not one per RNA gene"
  total_cds=$((total_cds + cds))
  total_rna=$((total_rna + rna))
done
summary=results/gene_summary.tsv
[ -s "$summary" ] || fail "missing $summary"
rows_cds=$(awk -F'\t' 'NR > 1 && $4 == "CDS"' "$summary" | wc -l)
rows_rna=$(awk -F'\t' 'NR > 1 && $4 == "RNA"' "$summary" | wc -l)
[ "$rows_cds" -eq "$total_cds" ] || fail "summary has $rows_cds CDS rows for $total_cds CDS features"
[ "$rows_rna" -eq "$total_rna" ] || fail "summary has $rows_rna RNA rows for $total_rna RNA features"
echo "ci-check: workflow ok ($total_cds CDS, $total_rna RNA genes in $(ls genomes/*.gb | wc -l) genomes)"
