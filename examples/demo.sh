#!/bin/sh
# Shows KAVRO at work on the bundled examples.
set -e
kavro=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")"
examples=$(pwd)
echo '$ kavro help   (with "e" typed at the help prompt)'
printf 'e\n' | "$kavro" help || true

# GenBank to FASTA, in a scratch directory so the examples stay as shipped.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/example.gb" "$work/"
cd "$work"
echo
echo '$ kavro tofast example.gb example.fa'
"$kavro" tofast example.gb example.fa
echo
echo '$ cat example.fa'
cat example.fa

# The gene's presentation form: the exon file names the CDS.
echo
echo '$ echo "kvdA 1 155 280" > kvdA.exon; kavro toprot example.gb kvdA.txt pkvdA.exon'
echo "kvdA 1 155 280" > kvdA.exon
"$kavro" toprot example.gb kvdA.txt pkvdA.exon
echo
echo '$ cat kvdA.txt'
cat kvdA.txt
