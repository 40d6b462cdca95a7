#!/usr/bin/python3
"""Real-data check of toprot's translation (not part of the test suite):
every CDS of the GenBank and EMBL files under a corpus directory is cut out
with Biopython's feature.extract, translated by `kavro toprot IN OUT 1 TABLE`
in frame 1 and compared with Biopython's translate() under the same genetic
code. A codon holding a letter other than A, C, G, T, U gives "?" in kavro
where Biopython resolves ambiguity codes (or gives X); such residues are
counted apart.

Usage: bench/check_cds_translation.py path/to/kavro CORPUS_DIR
"""

import os
import subprocess
import sys
import tempfile
import warnings

from Bio import BiopythonWarning, SeqIO

warnings.simplefilter("ignore", BiopythonWarning)

# NCBI genetic code numbers and the built-in table names that hold them.
TABLES = {1: "default", 11: "code11"}
TABLES.update({n: "code%d" % n for n in (2, 3, 4, 5, 6, 9, 10, 12, 13, 14, 15)})


def kavro_frame1(kavro, work, nucleotides, table):
    with open(os.path.join(work, "cds.fa"), "w") as f:
        f.write(">cds\n%s\n" % nucleotides)
    subprocess.run([kavro, "toprot", "cds.fa", "out.fa", "1", table], cwd=work, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(os.path.join(work, "out.fa")) as f:
        return "".join(line.strip() for line in f if not line.startswith(">"))


def main():
    kavro, corpus = os.path.realpath(sys.argv[1]), sys.argv[2]
    counts = dict(cds=0, equal=0, equal_but_ambiguous=0, different=0, skipped=0)
    with tempfile.TemporaryDirectory() as work:
        for sub, fmt in (("genbank", "genbank"), ("embl", "embl")):
            folder = os.path.join(corpus, sub)
            for name in sorted(os.listdir(folder)):
                try:
                    records = list(SeqIO.parse(os.path.join(folder, name), fmt))
                except Exception:
                    continue
                for rec in records:
                    for feat in rec.features:
                        if feat.type != "CDS":
                            continue
                        counts["cds"] += 1
                        number = int(feat.qualifiers.get("transl_table", ["1"])[0])
                        try:
                            nuc = str(feat.extract(rec.seq)).upper()
                        except Exception:
                            counts["skipped"] += 1  # undefined sequence or a remote reference
                            continue
                        if number not in TABLES or len(nuc) < 3:
                            counts["skipped"] += 1
                            continue
                        theirs = str(feat.extract(rec.seq).translate(table=number))
                        ours = kavro_frame1(kavro, work, nuc, TABLES[number])
                        if ours == theirs:
                            counts["equal"] += 1
                            continue
                        ambiguous = len(ours) == len(theirs) and all(
                            a == b or (a == "?" and any(c not in "ACGTU" for c in nuc[3 * i:3 * i + 3]))
                            for i, (a, b) in enumerate(zip(ours, theirs)))
                        if ambiguous:
                            counts["equal_but_ambiguous"] += 1
                        else:
                            counts["different"] += 1
                            print("different: %s %s %s" % (name, rec.id, feat.location), file=sys.stderr)
    print(" ".join("%s=%d" % kv for kv in counts.items()))


if __name__ == "__main__":
    main()
