// Reader benchmarks (build with -DKAVRO_BENCH=ON; see bench/README.md).
//
//   bench_readers genbank IN.gb OUT.fa   walks a GenBank file entry by entry
//                                        and writes every entry as FASTA
//   bench_readers fasta IN.fa OUT.fa     reads a multi-FASTA file whole and
//                                        writes it back
//
// Prints the input size, the time, MB/s and the peak resident memory of the
// process (one conversion per process, so the peak is that conversion's).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "core/console.hpp"
#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"

using namespace kavro;

namespace {

long peak_rss_kb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

int genbank_walk(const std::string& in_path, const std::string& out_path, long& entries, long& largest) {
    auto in = LineReader::open(in_path);
    auto out = Writer::open_truncate(out_path);
    if (!in || !out) return 1;
    std::int64_t position = 0;
    while (auto rec = read_genbank_entry(*in, position, 0)) {
        if (write_fasta_entry(*out, &*rec, true, '_') != 0) return 1;
        ++entries;
        if (rec->length > largest) largest = rec->length;
    }
    return out->close() ? 0 : 1;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int fasta_round_trip(const std::string& in_path, const std::string& out_path, long& entries, long& largest,
                     double& read_seconds) {
    unlink(out_path.c_str());
    const auto start = std::chrono::steady_clock::now();
    auto batch = read_multi_fasta(in_path, 0);
    read_seconds = seconds_since(start);
    if (!batch) return 1;
    entries = static_cast<long>(batch->size());
    for (const auto& rec : *batch)
        if (rec.length > largest) largest = rec.length;
    return write_fasta_all(out_path, *batch);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        err("usage: %s genbank|fasta INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1], input = argv[2], output = argv[3];
    struct stat st {};
    if (stat(input.c_str(), &st) != 0) {
        err("cannot read %s\n", input.c_str());
        return 2;
    }
    long entries = 0, largest = 0;
    double read_seconds = 0;
    const auto start = std::chrono::steady_clock::now();
    const int status = mode == "genbank" ? genbank_walk(input, output, entries, largest)
                       : mode == "fasta" ? fasta_round_trip(input, output, entries, largest, read_seconds)
                                         : 2;
    const double seconds = seconds_since(start);
    const double mb = static_cast<double>(st.st_size) / 1e6;
    out("%-7s %8.1f MB  %6ld entries  largest %ld residues  %6.3f s  %7.1f MB/s  peak RSS %.1f MB (%.2f x input)\n",
                mode.c_str(), mb, entries, largest, seconds, mb / seconds, peak_rss_kb() / 1e3,
                peak_rss_kb() * 1e3 / static_cast<double>(st.st_size));
    if (mode == "fasta") out("        of which reading %.3f s (%.1f MB/s)\n", read_seconds, mb / read_seconds);
    flush_console();
    return status;
}
