#!/usr/bin/env python3
"""Builds the codon alignment of a protein alignment and its DNA with kavro
nucaln and with EMBOSS tranalign (installed for the comparison only) and
reports, row by row, whether both hold the same codons (case ignored).

    bench/compare_nucaln.py path/to/kavro aa.aln nuc.fa

tranalign wants the DNA in the order of the alignment, so a reordered copy
is given to it; kavro reads the file as it is.
"""
import os
import subprocess
import sys
import tempfile


def read_fasta(path):
    recs = []
    for line in open(path):
        line = line.rstrip("\n")
        if line.startswith(">"):
            recs.append([line[1:].split()[0], []])
        elif recs:
            recs[-1][1].append("".join(line.split()))
    return [(n, "".join(s)) for n, s in recs]


def read_clustal(path):
    rows, order = {}, []
    for line in open(path).read().splitlines()[1:]:
        if not line.strip() or line[0] in " \t":
            continue
        words = line.split()
        if len(words) < 2:
            continue
        if words[0] not in rows:
            rows[words[0]] = ""
            order.append(words[0])
        rows[words[0]] += words[1]
    return [(n, rows[n]) for n in order]


def main():
    kavro, aa, nuc = sys.argv[1:4]
    tmp = tempfile.mkdtemp()
    proteins = read_clustal(aa)
    dna = {}
    for name, seq in read_fasta(nuc):
        dna.setdefault(name.split("=")[0], seq)
    ordered = os.path.join(tmp, "ordered.fa")
    with open(ordered, "w") as f:
        for name, _ in proteins:
            f.write(">%s\n%s\n" % (name, dna.get(name.split("=")[0], "")))
    peer_out = os.path.join(tmp, "peer.fa")
    subprocess.run(["tranalign", "-asequence", ordered, "-bsequence", aa, "-outseq", peer_out,
                    "-osformat", "fasta", "-auto"], capture_output=True)
    ours_out = os.path.join(tmp, "ours.aln")
    r = subprocess.run([kavro, "nucaln", aa, nuc, ours_out], capture_output=True, text=True,
                       errors="replace")
    peer = dict(read_fasta(peer_out)) if os.path.exists(peer_out) else {}
    ours = dict(read_clustal(ours_out)) if r.returncode == 0 else {}
    same = differ = 0
    for name, _ in proteins:
        a, b = ours.get(name), peer.get(name)
        if a is None or b is None:
            continue
        if a.upper() == b.upper():
            same += 1
        else:
            differ += 1
            cols = [i for i in range(0, min(len(a), len(b)), 3) if a[i:i + 3].upper() != b[i:i + 3].upper()]
            print("  %s: %d codon columns differ, first at %d" % (name, len(cols), cols[0] // 3 + 1 if cols else -1))
    print("%s: %d proteins; kavro status %d, %d rows; tranalign %d rows; both: %d same, %d different"
          % (os.path.basename(aa), len(proteins), r.returncode, len(ours), len(peer), same, differ))
    if r.returncode != 0:
        print("  kavro: " + r.stderr.strip().replace("\n", " | ")[:300])


if __name__ == "__main__":
    main()
