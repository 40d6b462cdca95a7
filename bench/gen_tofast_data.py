#!/usr/bin/env python3
"""Writes the test data of bench/bench_tofast.sh: a multi-entry GenBank file
and a multi-FASTA file of about the requested size, made of deterministic
pseudo-random sequences.

    python3 bench/gen_tofast_data.py OUTDIR [SIZE_MB]

OUTDIR/big.gb: entries of 2-40 kb with a header, a feature table and a
60-column ORIGIN block, as database releases are laid out.
OUTDIR/big.fa: entries of 200 b-20 kb, mixed case, 60-column lines.
"""
import os
import random
import sys

POOL_SIZE = 1 << 23


def make_pool(rng, alphabet):
    raw = rng.randbytes(POOL_SIZE)
    table = bytes(alphabet[b % len(alphabet)] for b in range(256))
    return raw.translate(table)


def genbank_entry(rng, pool, index):
    n = rng.randint(2000, 40000)
    start = rng.randint(0, POOL_SIZE - n)
    seq = pool[start:start + n]
    name = "KVB%06d" % index
    out = []
    out.append("LOCUS       %-12s%9d bp    DNA     linear   BCT 01-JAN-2024\n" % (name, n))
    out.append("DEFINITION  Synthetic bacterium strain KV%d chromosome segment %d, genes for\n" % (index % 97, index))
    out.append("            hypothetical proteins, complete cds.\n")
    out.append("ACCESSION   %s\n" % name)
    out.append("VERSION     %s.1\n" % name)
    out.append("KEYWORDS    .\n")
    out.append("SOURCE      Synthetic bacterium\n")
    out.append("  ORGANISM  Synthetic bacterium\n")
    out.append("            Bacteria; Synthetic.\n")
    out.append("REFERENCE   1  (bases 1 to %d)\n" % n)
    out.append("  AUTHORS   Bench,A.\n")
    out.append("  TITLE     Generated entries for a throughput test\n")
    out.append("  JOURNAL   Unpublished\n")
    out.append("FEATURES             Location/Qualifiers\n")
    out.append("     source          1..%d\n" % n)
    out.append('                     /organism="Synthetic bacterium"\n')
    out.append('                     /mol_type="genomic DNA"\n')
    pos = 1
    gene = 0
    while pos + 900 < n:
        length = rng.randint(100, 300) * 3
        end = min(pos + length - 1, n)
        gene += 1
        loc = "%d..%d" % (pos, end) if gene % 2 else "complement(%d..%d)" % (pos, end)
        out.append("     gene            %s\n" % loc)
        out.append('                     /locus_tag="KV%d_%04d"\n' % (index, gene))
        out.append("     CDS             %s\n" % loc)
        out.append('                     /locus_tag="KV%d_%04d"\n' % (index, gene))
        out.append('                     /product="hypothetical protein"\n')
        pos = end + rng.randint(50, 400)
    out.append("ORIGIN      \n")
    low = seq.lower().decode()
    for i in range(0, n, 60):
        chunk = low[i:i + 60]
        out.append("%9d %s\n" % (i + 1, " ".join(chunk[j:j + 10] for j in range(0, len(chunk), 10))))
    out.append("//\n")
    return "".join(out)


def fasta_entry(rng, pool, index):
    n = rng.randint(200, 20000)
    start = rng.randint(0, POOL_SIZE - n)
    seq = pool[start:start + n].decode()
    out = [">kvf%07d synthetic read %d\n" % (index, n)]
    for i in range(0, n, 60):
        out.append(seq[i:i + 60] + "\n")
    return "".join(out)


def write_file(path, target, make):
    rng = random.Random(20240101)
    written = 0
    index = 0
    with open(path, "w") as f:
        while written < target:
            index += 1
            text = make(rng, index)
            f.write(text)
            written += len(text)
    return index, written


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    os.makedirs(outdir, exist_ok=True)
    rng = random.Random(1759)
    dna = make_pool(rng, b"ACGT" * 24 + b"N")
    mixed = make_pool(rng, b"ACGTACGTacgt" * 8 + b"N")
    target = size * 1000 * 1000
    n, w = write_file(os.path.join(outdir, "big.gb"), target, lambda r, i: genbank_entry(r, dna, i))
    print("big.gb: %d entries, %d bytes" % (n, w))
    n, w = write_file(os.path.join(outdir, "big.fa"), target, lambda r, i: fasta_entry(r, mixed, i))
    print("big.fa: %d entries, %d bytes" % (n, w))


if __name__ == "__main__":
    main()
