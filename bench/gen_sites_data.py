#!/usr/bin/env python3
"""Writes the sites benchmark inputs into DIR (not kept in git):

  sites.fa  multi-FASTA of SIZE_MB of pseudo-random DNA (upper case A, C, G,
            T only, 60 a line), entries of 200 b to 2 Mb, log-uniform;
  chr5m.fa  one 5 Mb chromosome for the palindrome survey.

Usage: bench/gen_sites_data.py [--size-mb N] [--out DIR]   (default 100 MB)
The data are fixed by a seed, so runs compare.
"""

import argparse
import os
import random

BASES = bytes.maketrans(bytes(range(256)), bytes(b"ACGT"[i & 3] for i in range(256)))


def entry(rng, name, length):
    seq = rng.randbytes(length).translate(BASES)
    lines = b"\n".join(seq[i:i + 60] for i in range(0, length, 60))
    return b">%s synthetic sequence for the motif benchmark\n%s\n" % (name, lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--size-mb", type=int, default=100)
    ap.add_argument("--out", default="/tmp/kavro-bench-sites")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    rng = random.Random(20261207)
    target = args.size_mb * 1000 * 1000
    path = os.path.join(args.out, "sites.fa")
    size, number = 0, 0
    with open(path, "wb") as out:
        while size < target:
            number += 1
            chunk = entry(rng, b"S%07d" % number, int(200 * (2_000_000 / 200) ** rng.random()))
            out.write(chunk)
            size += len(chunk)
    print(f"{path}: {size / 1e6:.1f} MB, {number} entries")
    with open(os.path.join(args.out, "chr5m.fa"), "wb") as out:
        out.write(entry(rng, b"chrS1", 5_000_000))


if __name__ == "__main__":
    main()
