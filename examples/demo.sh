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
