#!/usr/bin/env python3
"""Merges the gene tables of `kavro genlist FILE OUT t` (gzip or plain) into
one tab-separated summary with one row per CDS or RNA gene:

    genome  entry  name  type  orient  start  stop  exons  product

A table has one block per entry ("Organism: <organism> <entry>", then a
header line and one row per exon). A gene of several exons comes as rows
NAME_1, NAME_2, ... whose descriptions read "Exon K ..."; they are joined
back into one row spanning its exons.

Usage: merge_gene_tables.py OUT GENOME... -- TABLE...   (as many tables as genomes)
"""

import gzip
import re
import sys

EXON = re.compile(r'^"Exon (\d+) (.*)"$')


def read_text(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] == b"\x1f\x8b":
        data = gzip.decompress(data)
    return data.decode("latin-1")


def genes(text):
    """(entry, name, type, orient, start, stop, exons, description) per gene."""
    entry = ""
    current = None
    for line in text.splitlines():
        if line.startswith("Organism: "):
            entry = line.split()[-1]
            continue
        fields = line.split("\t")
        if len(fields) < 7 or fields[0] == "name" or fields[1] not in ("CDS", "RNA"):
            continue
        name, kind, orient = fields[0], fields[1], fields[2]
        a, b = int(fields[3]), int(fields[4])
        desc = "\t".join(fields[6:])
        m = EXON.match(desc)
        number = int(m.group(1)) if m else 0
        base = name.rsplit("_", 1)[0] if m and name.endswith("_%d" % number) else name
        if m:
            desc = m.group(2)
        if m and number > 1 and current and current[:4] == [entry, base, kind, orient]:
            current[4].append((a, b))
            continue
        if current:
            yield current
        # The description is the product, then organism and accession after ";".
        current = [entry, base, kind, orient, [(a, b)], desc.split(";")[0].strip()]
    if current:
        yield current


def main(argv):
    if "--" not in argv or len(argv) < 2:
        sys.exit(__doc__)
    out, rest = argv[0], argv[1:]
    cut = rest.index("--")
    names, tables = rest[:cut], rest[cut + 1:]
    if len(names) != len(tables):
        sys.exit("merge_gene_tables.py: %d genome names for %d tables" % (len(names), len(tables)))
    with open(out, "w") as f:
        f.write("genome\tentry\tname\ttype\torient\tstart\tstop\texons\tproduct\n")
        for genome, path in zip(names, tables):
            for entry, name, kind, orient, exons, desc in genes(read_text(path)):
                ends = [p for e in exons for p in e]
                # Reverse-strand rows give start > stop, as genlist writes them.
                start, stop = (min(ends), max(ends)) if orient == "F" else (max(ends), min(ends))
                f.write("%s\t%s\t%s\t%s\t%s\t%d\t%d\t%d\t%s\n"
                        % (genome, entry, name, kind, orient, start, stop, len(exons), desc))


if __name__ == "__main__":
    main(sys.argv[1:])
