#!/usr/bin/python3
"""Converts every file of a corpus of sequence files with `kavro tofast FILE
stdout` and compares the entries with what Biopython reads from the same file:
names, count and residues (letters, upper case). Not part of the test suite:
Biopython serves only as a second reader to compare with.

    python3 tools/corpus_compare.py [CORPUS_DIR] [path/to/kavro]

Prints one line per file: OK, or what differs (entries missing or extra,
residues that differ). Exit status 0.
"""
import pathlib
import re
import subprocess
import sys

from Bio import SeqIO

FORMATS = {"genbank": "genbank", "genpept": "genbank", "embl": "embl", "fasta": "fasta",
           "clustal": "clustal", "swissprot": "swiss", "uniprot": "swiss", "pir": None, "nbrf": None, "phylip": None, "nexus": None}


def kavro_entries(kavro, path):
    run = subprocess.run([kavro, "tofast", str(path), "stdout"], capture_output=True, timeout=120)
    entries, name, seq = [], None, []
    for line in run.stdout.decode("latin-1").splitlines():
        if line.startswith(">"):
            if name is not None:
                entries.append((name, "".join(seq)))
            name, seq = line[1:].split(" ")[0].split(";")[0], []
        else:
            seq.append(line.strip())
    if name is not None:
        entries.append((name, "".join(seq)))
    return run.returncode, entries


def biopython_entries(path, fmt):
    try:
        return [(r.id.split(".")[0] if fmt != "fasta" else r.id, re.sub("[^A-Za-z]", "", str(r.seq)).upper())
                for r in SeqIO.parse(str(path), fmt)]
    except Exception as e:  # a file Biopython cannot read: nothing to compare
        return None


def main():
    corpus = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "../shared/corpus")
    kavro = sys.argv[2] if len(sys.argv) > 2 else "build/kavro"
    for folder in sorted(p for p in corpus.iterdir() if p.is_dir()):
        fmt = FORMATS.get(folder.name)
        for path in sorted(folder.iterdir()):
            status, ours = kavro_entries(kavro, path)
            theirs = biopython_entries(path, fmt) if fmt else None
            label = f"{folder.name}/{path.name}"
            if theirs is None:
                print(f"{label}: status {status}, {len(ours)} entries (no second reader)")
                continue
            seqs = [re.sub("[^A-Za-z]", "", s).upper() for _, s in ours]
            if len(ours) != len(theirs):
                print(f"{label}: status {status}, {len(ours)} entries, Biopython {len(theirs)}")
                continue
            differ = sum(1 for a, (_, b) in zip(seqs, theirs) if a != b)
            print(f"{label}: status {status}, {len(ours)} entries" + (f", {differ} with other residues" if differ else ", OK"))


if __name__ == "__main__":
    main()
