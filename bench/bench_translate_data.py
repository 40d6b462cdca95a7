#!/usr/bin/env python3
"""Writes the test data of bench/bench_translate.sh, deterministic
pseudo-random sequences:

    python3 bench/bench_translate_data.py OUTDIR [CDS_MB]

OUTDIR/cds.fa        coding sequences (ATG, 100-1000 sense codons, a stop),
                     about CDS_MB megabytes (default 32), 60-column lines
OUTDIR/genome5.fa    one 5 Mb genome, OUTDIR/genome20.fa one 20 Mb genome
OUTDIR/prot20k.fa    20,000 proteins of 100-800 residues, and
OUTDIR/prot10k.fa    their first 10,000
OUTDIR/msdef         a peptide-mass search with a tryptic rule and 50 peaks
                     taken from tryptic peptides of those proteins
"""
import os
import random
import sys

BASES = b"ACGT"
CODE = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"
ORDER = "TCAG"
AMINO = "ACDEFGHIKLMNPQRSTVWY"
MONO = dict(zip(AMINO, [89.04768026, 121.01975096, 133.03751152, 147.05316152, 165.07898026, 75.03203026,
                        155.06947826, 131.09463026, 146.10552926, 131.09463026, 149.05105096, 132.05349489,
                        115.06333026, 146.06914489, 174.11167726, 105.04259589, 119.05824589, 117.07898026,
                        204.08987926, 181.07389589]))
WATER = 18.01056563


def lines(seq, width=60):
    return b"\n".join(seq[i:i + width] for i in range(0, len(seq), width)) + b"\n"


def codons():
    sense, stops = [], []
    for i, aa in enumerate(CODE):
        codon = (ORDER[(i // 4) % 4] + ORDER[i // 16] + ORDER[i % 4]).encode()
        (stops if aa == "*" else sense).append(codon)
    return sense, stops


def write_cds(path, rng, size_mb):
    sense, stops = codons()
    written = 0
    index = 0
    with open(path, "wb") as f:
        while written < size_mb * 1000000:
            n = rng.randint(100, 1000)
            seq = b"ATG" + b"".join(rng.choices(sense, k=n)) + rng.choice(stops)
            block = b">cds%06d hypothetical protein %d\n" % (index, index) + lines(seq)
            f.write(block)
            written += len(block)
            index += 1


def write_genome(path, rng, length, name):
    table = bytes(BASES[b % 4] for b in range(256))
    seq = rng.randbytes(length).translate(table)
    with open(path, "wb") as f:
        f.write(b">%s synthetic chromosome\n" % name.encode())
        f.write(lines(seq, 70))


def peptide_mass(p):
    return sum(MONO[c] for c in p) - (len(p) - 1) * WATER


def write_proteins(outdir, rng):
    proteins = ["M" + "".join(rng.choices(AMINO, k=rng.randint(99, 799))) for _ in range(20000)]
    for name, count in (("prot20k.fa", 20000), ("prot10k.fa", 10000)):
        with open(os.path.join(outdir, name), "w") as f:
            for i in range(count):
                f.write(">prot%05d\n%s\n" % (i, "\n".join(proteins[i][k:k + 60] for k in range(0, len(proteins[i]), 60))))
    peaks = []
    while len(peaks) < 50:
        p = rng.choice(proteins)
        cuts = [i for i, c in enumerate(p) if c in "KR"]
        if len(cuts) < 2:
            continue
        k = rng.randrange(len(cuts) - 1)
        m = peptide_mass(p[cuts[k] + 1:cuts[k + 1] + 1])
        if 1000 <= m <= 3500:
            peaks.append(m + 1.01)
    with open(os.path.join(outdir, "msdef"), "w") as f:
        f.write("Tryptic digest, 50 peaks\n0\tNterm\nKR\tCterm\n0\tCarboxymethylation\n0\tMethionine oxidation\n")
        f.write("1000\tLower\n3500\tUpper\n0.2\tAllowance\n0\tDisplacement\n0\tOutput\n0.05\tMinCoverage2\n")
        f.write("1\tMinMatch\n1000\tNumber of fragments\n50\tNumber of peaks\n")
        for m in peaks:
            f.write("%.4f\n" % m)
        f.write("//END\n")


def main():
    outdir = sys.argv[1]
    size_mb = int(sys.argv[2]) if len(sys.argv) > 2 else 32
    os.makedirs(outdir, exist_ok=True)
    rng = random.Random(20240601)
    write_cds(os.path.join(outdir, "cds.fa"), rng, size_mb)
    write_genome(os.path.join(outdir, "genome5.fa"), rng, 5000000, "g5")
    write_genome(os.path.join(outdir, "genome20.fa"), rng, 20000000, "g20")
    write_proteins(outdir, rng)


if __name__ == "__main__":
    main()
