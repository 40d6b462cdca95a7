#!/usr/bin/python3
"""Runs getent, genlist, extrna and extint over the annotated GenBank and EMBL
files of a corpus folder and compares them with what the files themselves
hold (getent: every entry copied byte for byte) and with Biopython (CDS names,
tRNA/rRNA nucleotides, introns). Biopython is a second opinion only.

Usage: tools/check_feature_corpus.py KAVRO CORPUS_DIR
"""

import os
import warnings
import subprocess
import sys
import tempfile

KAVRO = os.path.abspath(sys.argv[1])
CORPUS = os.path.abspath(sys.argv[2])


def run(args, cwd):
    return subprocess.run([KAVRO] + args, cwd=cwd, capture_output=True, timeout=120)


def flat_files():
    for folder in ("genbank", "embl"):
        d = os.path.join(CORPUS, folder)
        for name in sorted(os.listdir(d)):
            yield os.path.join(d, name)


def entries_of(data):
    """(name, bytes) of every entry: from its LOCUS/ID line to its // line."""
    out, start, name = [], None, None
    pos = 0
    for line in data.splitlines(keepends=True):
        if start is None and (line.startswith(b"LOCUS ") or line.startswith(b"ID ")):
            start = pos
            words = line.replace(b";", b" ").split()
            name = words[1] if len(words) > 1 else b""
        pos += len(line)
        if start is not None and line.startswith(b"//"):
            out.append((name, data[start:pos]))
            start = None
    return out


def check_getent(tmp):
    total = same = 0
    problems = []
    for path in flat_files():
        data = open(path, "rb").read()
        entries = entries_of(data)
        names = [n for n, _ in entries]
        for name, text in entries:
            if names.count(name) != 1 or len(name) > 90:
                continue
            total += 1
            r = run(["getent", path, "out", "ID=" + name.decode()], tmp)
            got = open(os.path.join(tmp, "out"), "rb").read() if os.path.exists(os.path.join(tmp, "out")) else b""
            if r.returncode == 0 and got == text:
                same += 1
            else:
                problems.append("%s %s: status %d" % (os.path.basename(path), name.decode(), r.returncode))
    print("getent: %d of %d entries copied byte for byte" % (same, total))
    for p in problems[:10]:
        print("  ", p)


def fasta_residues(path):
    seqs, cur = [], None
    if not os.path.exists(path):
        return seqs
    for line in open(path, "rb").read().decode("latin-1").splitlines():
        if line.startswith(">"):
            cur = []
            seqs.append(cur)
        elif cur is not None:
            cur.append(line.strip())
    return ["".join(c) for c in seqs]


def bio_records(path):
    from Bio import SeqIO
    fmt = "embl" if "/embl/" in path else "genbank"
    try:
        return list(SeqIO.parse(path, fmt))
    except Exception:
        return None


def compare(label, expected, got):
    """Counts the expected sequences found among what KAVRO wrote (each once)."""
    from collections import Counter
    pool = Counter(got)
    found = 0
    for seq in expected:
        if pool[seq] > 0:
            pool[seq] -= 1
            found += 1
    return found


def check_with_biopython(tmp):
    totals = {"rna": [0, 0], "intron": [0, 0], "cds": [0, 0]}
    notes = []
    files = entries = 0
    for path in flat_files():
        records = bio_records(path)
        if not records:
            continue
        files += 1
        entries += len(records)
        base = os.path.basename(path)
        # extrna: tRNA, rRNA, snRNA nucleotides
        rna = []
        introns = []
        cds_count = 0
        for rec in records:
            try:
                seq = rec.seq
                str(seq[:1])
            except Exception:
                seq = None
            for f in rec.features:
                if f.type in ("tRNA", "rRNA", "snRNA") and seq is not None:
                    try:
                        rna.append(str(f.extract(seq)).upper())
                    except Exception:
                        pass
                if f.type == "CDS":
                    cds_count += 1
                    if f.location is None:
                        continue
                    parts = f.location.parts
                    if seq is None or len(parts) < 2 or any(p.ref for p in parts):
                        continue
                    strands = {p.strand for p in parts}
                    if len(strands) != 1:
                        continue
                    plus = parts[0].strand != -1
                    ok = all((parts[k + 1].start >= parts[k].end) if plus else (parts[k + 1].end <= parts[k].start)
                             for k in range(len(parts) - 1))
                    if not ok:
                        continue
                    for k in range(len(parts) - 1):
                        if plus:
                            piece = seq[parts[k].end:parts[k + 1].start]
                        else:
                            piece = seq[parts[k + 1].end:parts[k].start].reverse_complement()
                        if len(piece) > 1:
                            introns.append(str(piece).upper())
        if rna:
            run(["extrna", path, "rna.fa", "S", "0", "E", "0"], tmp)
            got = fasta_residues(os.path.join(tmp, "rna.fa"))
            found = compare("rna", rna, got)
            totals["rna"][0] += found
            totals["rna"][1] += len(rna)
            if found != len(rna):
                notes.append("extrna %s: %d of %d" % (base, found, len(rna)))
        if introns:
            run(["extint", path, "int.fa", "S", "0", "E", "0"], tmp)
            got = fasta_residues(os.path.join(tmp, "int.fa"))
            found = compare("intron", introns, got)
            totals["intron"][0] += found
            totals["intron"][1] += len(introns)
            if found != len(introns):
                notes.append("extint %s: %d of %d" % (base, found, len(introns)))
        if cds_count:
            r = run(["genlist", path, "genes.txt"], tmp)
            listed = 0
            for line in open(os.path.join(tmp, "genes.txt"), encoding="latin-1"):
                if line.startswith("The genes in the file: "):
                    listed += len(line.split(" are: ", 1)[1].rstrip(".\n").split(", "))
            totals["cds"][0] += min(listed, cds_count)
            totals["cds"][1] += cds_count
            if listed != cds_count:
                notes.append("genlist %s: %d listed, %d CDS" % (base, listed, cds_count))
    print("Biopython read %d files, %d entries" % (files, entries))
    print("extrna: %d of %d tRNA/rRNA/snRNA features give Biopython's nucleotides" % tuple(totals["rna"]))
    print("extint: %d of %d introns agree with Biopython" % tuple(totals["intron"]))
    print("genlist: %d of %d CDS listed" % tuple(totals["cds"]))
    for n in notes:
        print("  ", n)


def main():
    warnings.simplefilter("ignore")
    with tempfile.TemporaryDirectory() as tmp:
        check_getent(tmp)
        check_with_biopython(tmp)


if __name__ == "__main__":
    main()
