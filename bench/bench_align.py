#!/usr/bin/env python3
"""Times the alignment tools beside their peers, alternating the two
commands of each pair run by run, and prints medians of wall time (and the
peak RSS of one run of each, from /usr/bin/time when present).

    python3 bench/bench_align.py [path/to/kavro] [RUNS]

Data come from bench/gen_align_data.py (written once into
/tmp/kavro-bench-align, or $KAVRO_BENCH_DATA). Peers (EMBOSS distmat and
tranalign) are used for the comparison only.
"""
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def timed(cmd, cwd):
    t = time.perf_counter()
    subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - t


def peak_rss_mb(cmd, cwd):
    if not os.path.exists("/usr/bin/time"):
        return float("nan")
    r = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, cwd=cwd, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, text=True, errors="replace")
    return int(r.stderr.strip().splitlines()[-1]) / 1024


def compare(label, commands, cwd, runs):
    times = {name: [] for name, _ in commands}
    for _ in range(runs):
        for name, cmd in commands:
            times[name].append(timed(cmd, cwd))
    parts = []
    for name, cmd in commands:
        parts.append("%s %.4f s (%.1f MB)" % (name, statistics.median(times[name]), peak_rss_mb(cmd, cwd)))
    print("%-40s %s" % (label, "  |  ".join(parts)), flush=True)
    return {name: statistics.median(v) for name, v in times.items()}


def main():
    kavro = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "kavro"))
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    data = os.environ.get("KAVRO_BENCH_DATA", "/tmp/kavro-bench-align")
    if not os.path.exists(os.path.join(data, "gapped_20000.fa")):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_align_data.py"), data], check=True)
    k = lambda *words: [kavro] + list(words)
    compare("simtbl table, 400 x 648", [
        ("kavro", k("simtbl", "aa_400.aln", "k.txt")),
        ("distmat", ["distmat", "-sequence", "aa_400.aln", "-protmethod", "0", "-outfile", "d.txt", "-auto"])],
        data, runs)
    for n in (5000, 10000, 20000):
        compare("simtbl nr, %d proteins" % n, [("kavro", k("simtbl", "nr_%d.fa" % n, "nr.fa", "nr"))], data,
                max(3, runs // 2))
    compare("simtbl table, 4000 x 648", [("kavro", k("simtbl", "aa_4000.aln", "k.txt"))], data, max(3, runs // 2))
    for n in (5000, 20000):
        compare("simtbl list/nr, %d gapped" % n, [
            ("list", k("simtbl", "gapped_%d.fa" % n, "l.txt", "list")),
            ("nr", k("simtbl", "gapped_%d.fa" % n, "nr.fa", "nr"))], data, max(3, runs // 2))
    for n in (400, 4000):
        compare("nucaln, %d proteins" % n, [
            ("kavro", k("nucaln", "aa_%d.aln" % n, "nuc_%d.fa" % n, "k.aln")),
            ("tranalign", ["tranalign", "-asequence", "nuc_%d.fa" % n, "-bsequence", "aa_%d.aln" % n,
                           "-outseq", "t.fa", "-auto"])], data, runs)
    compare("getclu, 10,000 x 1,000", [
        ("gap 0.5", k("getclu", "wide_10000.aln", "g.aln", "gap", "0.5")),
        ("ph", k("getclu", "wide_10000.aln", "g.phy", "ph")),
        ("tofast", k("tofast", "wide_10000.aln", "t.fa"))], data, runs)


if __name__ == "__main__":
    main()
