#!/usr/bin/env python3
"""Converts every CLUSTAL and PHYLIP alignment of a folder with kavro getclu
(cl, ph, nex, and gap 0.5) and compares what Biopython's AlignIO (installed
for the comparison only; run with /usr/bin/python3) reads from the input and
from each output: the same number of entries, the same residues in the same
order, and names that agree on the characters each layout keeps.

    /usr/bin/python3 bench/compare_getclu.py path/to/kavro CORPUS_DIR
"""
import glob
import io
import os
import subprocess
import sys
import tempfile

from Bio import AlignIO

LAYOUTS = {"cl": ("clustal", 30), "ph": ("phylip-relaxed", 10), "nex": ("nexus", 99)}


def read(path, fmt):
    try:
        return AlignIO.read(path, fmt)
    except Exception as e:  # the peer refuses the file
        return e


def gap_removed(rows, level):
    n = len(rows)
    keep = [j for j in range(len(rows[0])) if level >= sum(r[j] == "-" for r in rows) / n]
    return ["".join(r[j] for j in keep) for r in rows]


def main():
    kavro, corpus = sys.argv[1:3]
    tmp = tempfile.mkdtemp()
    files = sorted(glob.glob(os.path.join(corpus, "clustal", "*")) + glob.glob(os.path.join(corpus, "phylip", "*")))
    totals = {"agree": 0, "differ": 0, "kavro refused": 0, "peer refused input": 0}
    for path in files:
        fmt = "clustal" if "/clustal/" in path else "phylip-relaxed"
        source = read(path, fmt)
        if isinstance(source, Exception):
            totals["peer refused input"] += 1
            r = subprocess.run([kavro, "getclu", path, os.path.join(tmp, "x"), "cl"], capture_output=True)
            print("%-22s peer cannot read the input (%s); kavro status %d" % (
                os.path.basename(path), str(source).strip().splitlines()[0][:50] if str(source).strip() else "",
                r.returncode))
            continue
        names = [r.id for r in source]
        rows = [str(r.seq) for r in source]
        results = []
        for option, (outfmt, width) in list(LAYOUTS.items()) + [("gap", ("same", 0))]:
            out = os.path.join(tmp, "out")
            if os.path.exists(out):
                os.remove(out)
            args = [kavro, "getclu", path, out] + (["gap", "0.5"] if option == "gap" else [option])
            r = subprocess.run(args, capture_output=True)
            if r.returncode != 0:
                totals["kavro refused"] += 1
                err = r.stderr.decode("latin-1").strip().splitlines()
                results.append("%s: kavro refused (%s)" % (option, err[-2] if len(err) > 1 else err))
                continue
            if option == "gap":
                outfmt, width, want = ("clustal", 30, gap_removed(rows, 0.5)) if fmt == "clustal" else (
                    "phylip-relaxed", 10, gap_removed(rows, 0.5))
            else:
                want = rows
            if outfmt.startswith("phylip"):
                # Our first line ends in "I" (interleaved), which AlignIO does not take.
                text = open(out).read().split("\n", 1)
                with open(out, "w") as f:
                    f.write(" ".join(text[0].split()[:2]) + "\n" + text[1])
            got = read(out, outfmt)
            if isinstance(got, Exception):
                totals["differ"] += 1
                results.append("%s: peer cannot read ours (%s)" % (option, str(got)[:50]))
                continue
            ok = [str(g.seq).upper() for g in got] == [w.upper() for w in want]
            ok = ok and [g.id for g in got] == [n[:width].replace("=", "_") if option == "nex" else n[:width]
                                                for n in names]
            totals["agree" if ok else "differ"] += 1
            results.append("%s: %s" % (option, "same" if ok else "DIFFERENT"))
        print("%-22s %s" % (os.path.basename(path), "; ".join(results)))
    print(totals)


if __name__ == "__main__":
    main()
