#!/usr/bin/env python3
"""Writes random chromosomes for the toprot benchmark: OUTDIR/genomeN.fa for
each size N in Mb given (default 1 5 20), one FASTA entry of uniform random
bases, 60 per line. Fixed by a seed, so runs compare.

Usage: bench/gen_genome.py OUTDIR [N ...]
"""

import os
import random
import sys

BASES = bytes.maketrans(bytes(range(256)), bytes(b"ACGT"[i & 3] for i in range(256)))


def write_genome(path, rng, length, name):
    seq = rng.randbytes(length).translate(BASES)
    with open(path, "wb") as f:
        f.write(b">%s random chromosome of %d bases\n" % (name.encode(), length))
        for i in range(0, length, 60):
            f.write(seq[i:i + 60] + b"\n")


def main():
    outdir = sys.argv[1]
    sizes = [int(x) for x in sys.argv[2:]] or [1, 5, 20]
    os.makedirs(outdir, exist_ok=True)
    for mb in sizes:
        rng = random.Random(1000 + mb)
        write_genome(os.path.join(outdir, "genome%d.fa" % mb), rng, mb * 1000000, "chr%d" % mb)


if __name__ == "__main__":
    main()
