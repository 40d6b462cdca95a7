#!/usr/bin/env python3
"""Data for the alignment-tool benchmarks (fixed by a seed):

- aa_N.aln / nuc_N.fa: N related proteins in a CLUSTAL alignment of 648
  columns and the DNA that encodes each (random synonymous codons, a stop);
- nr_N.fa: N proteins of 300 residues, a third of them exact copies of an
  earlier one (for the non-redundant set);
- wide_N.aln: an alignment of N DNA sequences of 1,000 columns with gap runs;
- gapped_N.fa: N aligned proteins of 400 columns with gap runs in FASTA, a
  third of them an earlier row with further gaps (identical under the gap
  rule, but not as texts), for simtbl list and nr.

    python3 bench/gen_align_data.py OUT_DIR
"""
import os
import random
import sys

CODE = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"
BASES = "TCAG"
CODONS = {}
for b1 in range(4):
    for b2 in range(4):
        for b3 in range(4):
            CODONS.setdefault(CODE[16 * b2 + 4 * b1 + b3], []).append(BASES[b1] + BASES[b2] + BASES[b3])
AMINO = "ACDEFGHIKLMNPQRSTVWY"
COLUMNS = 648


def write_clustal(path, rows):
    with open(path, "w") as f:
        f.write("CLUSTAL W (1.83) multiple sequence alignment\n\n\n")
        width = len(rows[0][1])
        for c in range(0, width, 60):
            f.write("".join("%-24s%s\n" % (n, s[c:c + 60]) for n, s in rows))
            f.write("\n")


def protein_alignment(rng, n, out):
    root = "M" + "".join(rng.choice(AMINO) for _ in range(COLUMNS - 49))
    # Gap columns shared by all rows make room for each row's own gaps.
    rows, dna = [], []
    for i in range(n):
        p = [a if rng.random() > 0.2 else rng.choice(AMINO) for a in root]
        p[0] = "M"
        aligned = list("".join(p) + "-" * 48)
        for _ in range(4):  # a few gap runs inside, kept aligned by shifting
            at = rng.randrange(10, COLUMNS - 60)
            run = rng.randrange(1, 12)
            aligned[at:at + run] = "-" * run
        row = "".join(aligned)[:COLUMNS]
        name = "prot%05d" % i
        rows.append((name, row))
        dna.append((name, "".join(rng.choice(CODONS[a]) for a in row if a != "-") + "TAA"))
    write_clustal(os.path.join(out, "aa_%d.aln" % n), rows)
    with open(os.path.join(out, "nuc_%d.fa" % n), "w") as f:
        for name, seq in dna:
            f.write(">%s\n" % name)
            f.write("".join(seq[i:i + 60] + "\n" for i in range(0, len(seq), 60)))


def redundant_set(rng, n, out):
    seqs = []
    with open(os.path.join(out, "nr_%d.fa" % n), "w") as f:
        for i in range(n):
            if seqs and rng.random() < 1 / 3:
                s = rng.choice(seqs)
            else:
                s = "M" + "".join(rng.choice(AMINO) for _ in range(299))
                seqs.append(s)
            f.write(">p%06d\n%s\n%s\n%s\n%s\n%s\n" % (i, s[:60], s[60:120], s[120:180], s[180:240], s[240:]))


def wide_alignment(rng, n, out):
    root = [rng.choice("ACGT") for _ in range(1000)]
    rows = []
    for i in range(n):
        r = [b if rng.random() > 0.1 else rng.choice("ACGT-") for b in root]
        at = rng.randrange(0, 950)
        r[at:at + 30] = "-" * 30
        rows.append(("seq%06d" % i, "".join(r)))
    write_clustal(os.path.join(out, "wide_%d.aln" % n), rows)


def gapped_set(rng, n, out):
    rows = []
    with open(os.path.join(out, "gapped_%d.fa" % n), "w") as f:
        for i in range(n):
            if rows and rng.random() < 1 / 3:
                r = list(rng.choice(rows))
            else:
                r = ["M"] + [rng.choice(AMINO) for _ in range(399)]
            for _ in range(2):
                at = rng.randrange(1, 380)
                run = rng.randrange(1, 20)
                r[at:at + run] = "-" * run
            r = r[:400]
            rows.append("".join(r))
            f.write(">g%06d\n%s\n" % (i, "".join(r)))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "bench/data"
    os.makedirs(out, exist_ok=True)
    rng = random.Random(14)
    for n in (400, 4000):
        protein_alignment(rng, n, out)
    for n in (5000, 10000, 20000):
        redundant_set(rng, n, out)
    wide_alignment(rng, 10000, out)
    for n in (5000, 20000):
        gapped_set(rng, n, out)


if __name__ == "__main__":
    main()
