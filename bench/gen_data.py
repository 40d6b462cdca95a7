#!/usr/bin/env python3
"""Generates the reader benchmark inputs in bench/data/ (not kept in git):

  bench.gb  GenBank entries: LOCUS header, references, a feature table with
            genes and CDS translations, and an ORIGIN block of 60 bases per
            line in groups of ten; lengths from 500 bases to one 8 Mb
            chromosome-sized entry.
  bench.fa  multi-FASTA entries (DNA), 60 residues per line.

Usage: bench/gen_data.py [--size-mb N] [--out DIR] [--only gb|fa]   (default 210 MB each)
The data are pseudo-random but fixed by a seed, so runs compare.
"""

import argparse
import os
import random

BASES = bytes.maketrans(bytes(range(256)), bytes(b"acgt"[i & 3] for i in range(256)))
AMINO = b"ACDEFGHIKLMNPQRSTVWY"
AMINO_TABLE = bytes.maketrans(bytes(range(256)), bytes(AMINO[i % 20] for i in range(256)))


def bases(rng, n):
    return rng.randbytes(n).translate(BASES)


def origin_block(seq):
    out = []
    for start in range(0, len(seq), 60):
        line = seq[start:start + 60]
        groups = b" ".join(line[i:i + 10] for i in range(0, len(line), 10))
        out.append(b"%9d %s\n" % (start + 1, groups))
    return b"".join(out)


def wrap_qualifier(key, value, width=58):
    text = b'/%s="%s"' % (key, value)
    indent = b" " * 21
    return b"".join(indent + text[i:i + width] + b"\n" for i in range(0, len(text), width))


def genbank_entry(rng, number, length):
    name = b"BENCH%06d" % number
    seq = bases(rng, length)
    head = [
        b"LOCUS       %-12s %12d bp    DNA     linear   BCT 01-JAN-2020\n" % (name, length),
        b"DEFINITION  Synthetic bacterium strain %d genomic sequence, region %d,\n" % (number % 97, number),
        b"            complete sequence.\n",
        b"ACCESSION   BX%06d\n" % number,
        b"VERSION     BX%06d.1\n" % number,
        b"KEYWORDS    .\n",
        b"SOURCE      Synthetic bacterium\n",
        b"  ORGANISM  Synthetic bacterium\n",
        b"            Bacteria; Proteobacteria; Gammaproteobacteria; Synthetic.\n",
        b"REFERENCE   1  (bases 1 to %d)\n" % length,
        b"  AUTHORS   Bench,A. and Mark,B.\n",
        b"  TITLE     Generated data for reader benchmarks\n",
        b"  JOURNAL   Unpublished\n",
        b"FEATURES             Location/Qualifiers\n",
        b"     source          1..%d\n" % length,
        b'                     /organism="Synthetic bacterium"\n',
        b'                     /mol_type="genomic DNA"\n',
    ]
    # About one gene per 1.2 kb, each with a CDS and its translation.
    pos, gene = 1, 0
    while pos + 400 < length:
        span = rng.randrange(300, 1500)
        end = min(pos + span, length)
        gene += 1
        loc = b"%d..%d" % (pos, end) if gene % 2 else b"complement(%d..%d)" % (pos, end)
        protein = rng.randbytes((end - pos + 1) // 3 - 1).translate(AMINO_TABLE)
        head.append(b"     gene            %s\n" % loc)
        head.append(wrap_qualifier(b"gene", b"gen%d" % gene))
        head.append(b"     CDS             %s\n" % loc)
        head.append(wrap_qualifier(b"gene", b"gen%d" % gene))
        head.append(wrap_qualifier(b"product", b"hypothetical protein %d" % gene))
        head.append(wrap_qualifier(b"translation", b"M" + protein))
        pos = end + rng.randrange(50, 400)
    head.append(b"ORIGIN      \n")
    return b"".join(head) + origin_block(seq) + b"//\n"


def fasta_entry(rng, number, length):
    seq = bases(rng, length).upper()
    lines = b"\n".join(seq[i:i + 60] for i in range(0, length, 60))
    return b">BENCH_%07d synthetic cDNA clone %d, complete cds\n%s\n" % (number, number, lines)


def entry_length(rng, low, high):
    # Log-uniform: many short entries, a few long ones.
    return int(low * (high / low) ** rng.random())


def write_until(path, target, make_entry, first=None):
    size, number = 0, 0
    with open(path, "wb") as out:
        if first is not None:
            out.write(first)
            size += len(first)
        while size < target:
            number += 1
            chunk = make_entry(number)
            out.write(chunk)
            size += len(chunk)
    return size, number


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--size-mb", type=int, default=210)
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "data"))
    ap.add_argument("--only", choices=["gb", "fa"], help="write only one of the two files")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    target = args.size_mb * 1000 * 1000

    if args.only != "fa":
        write_genbank(args, target)
    if args.only != "gb":
        write_fasta(args, target)


def write_genbank(args, target):
    rng = random.Random(20240607)
    big = genbank_entry(rng, 0, 8_000_000)  # a chromosome-sized entry first
    gb = os.path.join(args.out, "bench.gb")
    size, n = write_until(gb, target, lambda k: genbank_entry(rng, k, entry_length(rng, 500, 200_000)), big)
    print(f"{gb}: {size / 1e6:.1f} MB, {n + 1} entries, largest {len(big) / 1e6:.1f} MB")


def write_fasta(args, target):
    rng = random.Random(20240608)
    fa = os.path.join(args.out, "bench.fa")
    size, n = write_until(fa, target, lambda k: fasta_entry(rng, k, entry_length(rng, 200, 20_000)))
    print(f"{fa}: {size / 1e6:.1f} MB, {n} entries")


if __name__ == "__main__":
    main()
