#!/usr/bin/env python3
"""Compares the ORF table of `kavro toprot IN OUT aN` with the ORFs of
EMBOSS `getorf -find 1 -minsize N` (FASTA headers "[a - b]", a > b on the
reverse strand) and explains every difference by the two definitions.

Usage: bench/compare_orfs.py KAVRO_TABLE GETORF_FASTA SEQUENCE_LENGTH

Both are put on one footing: the strand, the first base of the start codon
and the last base before the closing codon (getorf's b; kavro's stop - 1,
or stop + 1 on the complementary strand).
"""

import re
import sys


def kavro_orfs(path):
    orfs = {}
    with open(path) as f:
        for line in f:
            fields = [x.strip() for x in line.split("\t")]
            if len(fields) < 8 or not fields[0].isdigit():
                continue
            frame, start, stop = int(fields[1]), int(fields[2]), int(fields[3])
            end = stop - 1 if frame > 0 else stop + 1
            orfs[(frame > 0, start, end)] = (fields[6], fields[7], frame)
    return orfs


def getorf_orfs(path):
    orfs = set()
    with open(path) as f:
        for line in f:
            m = re.match(r">\S+ \[(\d+) - (\d+)\]", line)
            if m:
                a, b = int(m.group(1)), int(m.group(2))
                orfs.add((a < b or "REVERSE" not in line, a, b))
    return orfs


def main():
    ours = kavro_orfs(sys.argv[1])
    theirs = getorf_orfs(sys.argv[2])
    length = int(sys.argv[3])
    both = set(ours) & theirs
    only_ours = set(ours) - theirs
    only_theirs = theirs - set(ours)
    # Of ORFs sharing a closing codon, getorf keeps only the first start.
    region_end = {}
    for key in ours:
        region_end.setdefault((key[0], key[2]), []).append(key)
    reasons = {"no M in the region (start at the region's first codon)": 0,
               "nested start inside a longer ORF": 0,
               "closed at the sequence end without a stop codon": 0,
               "unexplained": 0}
    for key in only_ours:
        init, term, frame = ours[key]
        if term != "*":
            reasons["closed at the sequence end without a stop codon"] += 1
        elif init != "M":
            reasons["no M in the region (start at the region's first codon)"] += 1
        elif any((k[1] < key[1]) == key[0] and k != key and ours[k][0] == "M" for k in region_end[(key[0], key[2])]):
            reasons["nested start inside a longer ORF"] += 1
        else:
            reasons["unexplained"] += 1
    print("kavro ORFs: %d, getorf ORFs: %d, same start and end: %d" % (len(ours), len(theirs), len(both)))
    print("only kavro: %d" % len(only_ours))
    for reason, n in reasons.items():
        print("  %-58s %d" % (reason, n))
    print("only getorf: %d" % len(only_theirs))
    for key in sorted(only_theirs)[:10]:
        print("  ", key)


if __name__ == "__main__":
    main()
