#!/usr/bin/env python3
"""Streamed FASTA jobs of `kavro tofast` beside seqkit and seqtk, and peak
memory against the input size.

    python3 bench/bench_fasta_stream.py [--kavro build/kavro] [--data DIR]
                                        [--rounds 9] [--sizes 50,100,200]
                                        [--baseline OLD_KAVRO]

DIR/big.fa (from bench/gen_tofast_data.py DIR SIZE) is the multi-FASTA input
of the timings; prefixes of it cut at a record boundary give the inputs of
the memory table. Every job runs KAVRO and its peer alternately, RUNS rounds,
outputs to files in a temporary directory; the table shows medians and the
ratio peer/KAVRO (above 1: KAVRO is faster). Peak RSS comes from /usr/bin/time.
seqkit and seqtk are peers for comparison only.
"""
import argparse
import os
import statistics
import subprocess
import tempfile
import time


def run(cmd, stdout_path):
    """Seconds and peak RSS (MB) of one run. The RSS comes from /usr/bin/time:
    a child's own rusage would start from the forked Python image."""
    rss_file = stdout_path + ".rss"
    with open(stdout_path, "wb") as out, open(os.devnull, "wb") as null:
        t0 = time.perf_counter()
        status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", rss_file] + cmd, stdout=out, stderr=null)
        t1 = time.perf_counter()
    if status != 0:
        raise SystemExit("failed: %s" % " ".join(cmd))
    with open(rss_file) as f:
        return t1 - t0, int(f.read().split()[-1]) / 1024.0


def prefix(src, dst, size_mb):
    """The records of src that fit in size_mb megabytes."""
    limit = size_mb * 1000 * 1000
    with open(src, "rb") as f:
        data = f.read(limit + 1)
    if len(data) > limit:
        data = data[: data.rfind(b"\n>", 0, limit) + 1]
    with open(dst, "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser()
    ap.add_argument("--kavro", default=os.path.join(here, "..", "build", "kavro"))
    ap.add_argument("--data", default="/tmp/kavro-stream-bench")
    ap.add_argument("--rounds", type=int, default=9)
    ap.add_argument("--sizes", default="50,100,200")
    ap.add_argument("--baseline", help="an earlier kavro binary, timed in the same rounds")
    args = ap.parse_args()
    kavro = os.path.abspath(args.kavro)
    fa = os.path.join(args.data, "big.fa")
    gb = os.path.join(args.data, "big.gb")
    work = tempfile.mkdtemp(prefix="kavro-stream-")
    o = lambda name: os.path.join(work, name)

    jobs = [
        ("max 5000", [kavro, "tofast", fa, o("k.fa"), "max", "5000"], ["seqkit", "seq", "-M", "5000", "-w", "75", fa, "-o", o("p.fa")]),
        ("min 5000", [kavro, "tofast", fa, o("k.fa"), "min", "5000"], ["seqkit", "seq", "-m", "5000", "-w", "75", fa, "-o", o("p.fa")]),
        ("complement", [kavro, "tofast", fa, o("k.fa"), "c"], ["seqtk", "seq", "-r", "-l", "75", fa]),
        ("to RNA", [kavro, "tofast", fa, o("k.fa"), "r"], ["seqkit", "seq", "--dna2rna", "-w", "75", fa, "-o", o("p.fa")]),
        ("clear mode", [kavro, "tofast", fa, o("k.fa")], ["seqtk", "seq", "-U", "-l", "75", fa]),
        ("translation p", [kavro, "tofast", fa, o("k.fa"), "p"], ["seqkit", "translate", "-f", "1", "-w", "60", fa, "-o", o("p.fa")]),
        ("info report i", [kavro, "tofast", fa, o("k.fa"), "i"],
         ["seqkit", "fx2tab", "-n", "-l", "-B", "A", "-B", "C", "-B", "G", "-B", "T", fa, "-o", o("p.tab")]),
        ("windows b 10000 5000", [kavro, "tofast", fa, o("k.fa"), "b", "10000", "5000"], ["seqtk", "comp", fa]),
    ]
    if os.path.exists(gb):
        jobs.append(("GenBank to FASTA", [kavro, "tofast", gb, o("k.fa")], ["cat", gb]))

    print("input %s, %.0f MB; %d alternating rounds, medians; shared 2-core machine" %
          (fa, os.path.getsize(fa) / 1e6, args.rounds))
    base = os.path.abspath(args.baseline) if args.baseline else None
    print("| job | KAVRO | peer | peer | peer/KAVRO | KAVRO peak RSS | baseline | baseline RSS |")
    print("|---|---|---|---|---|---|---|---|")
    for name, mine, peer in jobs:
        ours, theirs, before, rss, base_rss = [], [], [], 0.0, 0.0
        for _ in range(args.rounds):
            t, r = run(mine, o("k.out"))
            ours.append(t)
            rss = max(rss, r)
            t, _ = run(peer, o("p.out"))
            theirs.append(t)
            if base:
                t, r = run([base] + mine[1:], o("b.out"))
                before.append(t)
                base_rss = max(base_rss, r)
        a, b = statistics.median(ours), statistics.median(theirs)
        earlier = "| %.3f s | %.1f MB" % (statistics.median(before), base_rss) if base else "| |"
        print("| %s | %.3f s | `%s` | %.3f s | %.2f | %.1f MB %s |" %
              (name, a, " ".join(os.path.basename(w) if w.startswith("/") else w for w in peer[:6]), b, b / a, rss, earlier))

    print()
    print("| input | max 5000 | complement | to RNA | mask | clear mode | p | i | b |")
    print("|---|---|---|---|---|---|---|---|---|")
    for size in [int(s) for s in args.sizes.split(",")]:
        part = o("part.fa")
        prefix(fa, part, size)
        cells = []
        for option in (["max", "5000"], ["c"], ["r"], ["mask"], [], ["p"], ["i"], ["b", "10000", "5000"]):
            _, r = run([kavro, "tofast", part, o("k.fa")] + option, o("k.out"))
            cells.append("%.1f MB" % r)
        print("| %d MB | %s |" % (size, " | ".join(cells)))
    subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
