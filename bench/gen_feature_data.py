#!/usr/bin/env python3
"""Generates an annotated GenBank file for the RNA, intron, non-coding and
gene-list benchmarks (not kept in git): entries of 5 kb to 2 Mb whose
feature tables hold genes with CDS (a third of them split into two to four
exons, half on the complementary strand), tRNA and rRNA features with
products, and an ORIGIN block of 60 bases a line.

Usage: bench/gen_feature_data.py OUT.gb [SIZE_MB]   (default 200)
The data are pseudo-random but fixed by a seed, so runs compare.
"""

import random
import sys

BASES = bytes.maketrans(bytes(range(256)), bytes(b"acgt"[i & 3] for i in range(256)))
AMINO = [b"Ala", b"Cys", b"Asp", b"Glu", b"Phe", b"Gly", b"His", b"Ile", b"Lys", b"Leu",
         b"Met", b"Asn", b"Pro", b"Gln", b"Arg", b"Ser", b"Thr", b"Val", b"Trp", b"Tyr"]


def origin_block(seq):
    out = []
    for start in range(0, len(seq), 60):
        line = seq[start:start + 60]
        out.append(b"%9d %s\n" % (start + 1, b" ".join(line[i:i + 10] for i in range(0, len(line), 10))))
    return b"".join(out)


def location_lines(key, loc):
    out, first = [], True
    while loc:
        cut = len(loc) if len(loc) <= 58 else loc.rfind(b",", 0, 58) + 1
        out.append((b"     %-16s" % key if first else b" " * 21) + loc[:cut] + b"\n")
        loc, first = loc[cut:], False
    return b"".join(out)


def feature(rng, pos, length, number):
    """One feature starting near pos; returns (text, next position)."""
    kind = rng.random()
    if kind < 0.08:
        end = min(pos + rng.randrange(70, 90), length)
        loc = b"%d..%d" % (pos, end) if number % 2 else b"complement(%d..%d)" % (pos, end)
        text = location_lines(b"tRNA", loc) + b'                     /product="transfer RNA-%s"\n' % rng.choice(AMINO)
        return text, end + rng.randrange(50, 300)
    if kind < 0.1:
        end = min(pos + rng.randrange(1400, 3000), length)
        loc = b"%d..%d" % (pos, end)
        return location_lines(b"rRNA", loc) + b'                     /product="16S ribosomal RNA"\n', end + 200
    exons, at = [], pos
    for _ in range(rng.choice([1, 1, 2, 3, 4])):
        end = min(at + rng.randrange(150, 600), length)
        exons.append((at, end))
        at = end + rng.randrange(60, 400)
        if at + 200 > length:
            break
    loc = b",".join(b"%d..%d" % e for e in exons)
    if len(exons) > 1:
        loc = b"join(" + loc + b")"
    if number % 2 == 0:
        loc = b"complement(" + loc + b")"
    gene = b"gen%d" % number
    text = location_lines(b"gene", b"%d..%d" % (exons[0][0], exons[-1][1]))
    text += b'                     /gene="%s"\n' % gene
    text += location_lines(b"CDS", loc)
    text += b'                     /gene="%s"\n                     /product="hypothetical protein %d"\n' % (gene, number)
    text += b'                     /translation="MKV' + b"A" * 40 + b'"\n'
    return text, exons[-1][1] + rng.randrange(50, 400)


def entry(rng, number, length):
    name = b"FEAT%06d" % number
    head = [
        b"LOCUS       %-12s %12d bp    DNA     linear   BCT 01-JAN-2020\n" % (name, length),
        b"DEFINITION  Synthetic bacterium region %d, complete sequence.\n" % number,
        b"ACCESSION   FX%06d\n" % number,
        b"VERSION     FX%06d.1\n" % number,
        b"KEYWORDS    .\n",
        b"SOURCE      Synthetic bacterium\n  ORGANISM  Synthetic bacterium\n",
        b"            Bacteria; Synthetic.\n",
        b"REFERENCE   1  (bases 1 to %d)\n" % length,
        b"  AUTHORS   Bench,A. and Mark,B.\n",
        b"  TITLE     Generated data for feature benchmarks\n",
        b"  JOURNAL   Unpublished\n",
        b"FEATURES             Location/Qualifiers\n",
        b"     source          1..%d\n" % length,
        b'                     /organism="Synthetic bacterium"\n',
        b'                     /mol_type="genomic DNA"\n',
    ]
    pos, count = 1 + rng.randrange(0, 300), 0
    while pos + 3200 < length:
        count += 1
        text, pos = feature(rng, pos, length, count)
        head.append(text)
    head.append(b"ORIGIN      \n")
    return b"".join(head) + origin_block(rng.randbytes(length).translate(BASES)) + b"//\n"


def main():
    path = sys.argv[1]
    target = int(sys.argv[2] if len(sys.argv) > 2 else 200) * 1_000_000
    rng = random.Random(12)
    size, number = 0, 0
    with open(path, "wb") as out:
        while size < target:
            number += 1
            chunk = entry(rng, number, int(5000 * 400 ** rng.random()))
            out.write(chunk)
            size += len(chunk)
    print("%s: %.1f MB, %d entries" % (path, size / 1e6, number))


if __name__ == "__main__":
    main()
