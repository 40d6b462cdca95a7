// Reader benchmarks (build with -DKAVRO_BENCH=ON; see bench/README.md).
//
//   bench_readers genbank IN.gb OUT.fa   walks a GenBank file entry by entry
//                                        and writes every entry as FASTA
//   bench_readers fasta IN.fa OUT.fa     reads a multi-FASTA file whole and
//                                        writes it back
//   bench_readers store IN.fa OUT.fa     the floor of the fasta case: keeps
//                                        the file's entries as they are, one
//                                        heap string each, without reading
//                                        them, and writes them back
//
// Prints the input size, the time, MB/s and the peak resident memory of the
// process (one conversion per process, so the peak is that conversion's).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/console.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
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
    while (auto rec = read_genbank_entry(*in, position, kavro::ResidueKind::Unknown)) {
        if (write_fasta_entry(*out, &*rec, true, '_', g_settings.line_length) != 0) return 1;
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
    auto batch = read_multi_fasta(in_path, ResidueKind::Unknown);
    read_seconds = seconds_since(start);
    if (!batch) return 1;
    entries = static_cast<long>(batch->size());
    for (const auto& rec : *batch)
        if (rec.length > largest) largest = rec.length;
    return write_fasta_all(out_path, *batch, g_settings.line_length);
}

// Reads the file in blocks and keeps each entry (from a line starting with
// ">" to the next) as one string: the memory and copies that any reader of a
// whole multi-FASTA file pays, without any parsing.
int store_round_trip(const std::string& in_path, const std::string& out_path, long& entries, long& largest,
                     double& read_seconds) {
    unlink(out_path.c_str());
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(in_path.c_str(), O_RDONLY);
    if (fd < 0) return 1;
    std::vector<std::string> kept;
    std::string current;
    std::vector<char> block(LineReader::kBlockSize);
    ssize_t n;
    char last = '\n';
    while ((n = ::read(fd, block.data(), block.size())) > 0) {
        std::string_view text(block.data(), static_cast<std::size_t>(n));
        std::size_t from = 0;
        for (std::size_t at = text.find('>'); at != std::string_view::npos; at = text.find('>', at + 1)) {
            if ((at == 0 ? last : text[at - 1]) != '\n') continue;
            if (current.empty()) {
                if (at > from) kept.emplace_back(text.substr(from, at - from));
            } else {
                current.append(text.substr(from, at - from));
                kept.emplace_back(current.data(), current.size());  // exact size
                current.clear();
            }
            from = at;
        }
        current.append(text.substr(from));
        last = text.back();
    }
    ::close(fd);
    if (!current.empty()) kept.emplace_back(current);
    read_seconds = seconds_since(start);
    entries = static_cast<long>(kept.size());
    for (const auto& k : kept) largest = std::max(largest, static_cast<long>(k.size()));
    auto out = Writer::open_truncate(out_path);
    if (!out) return 1;
    for (const auto& k : kept) out->write(k);
    return out->close() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        err("usage: %s genbank|fasta|store INPUT OUTPUT\n", argv[0]);
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
                       : mode == "store" ? store_round_trip(input, output, entries, largest, read_seconds)
                                         : 2;
    const double seconds = seconds_since(start);
    const double mb = static_cast<double>(st.st_size) / 1e6;
    out("%-7s %8.1f MB  %6ld entries  largest %ld residues  %6.3f s  %7.1f MB/s  peak RSS %.1f MB (%.2f x input)\n",
                mode.c_str(), mb, entries, largest, seconds, mb / seconds, peak_rss_kb() / 1e3,
                peak_rss_kb() * 1e3 / static_cast<double>(st.st_size));
    if (mode != "genbank") out("        of which reading %.3f s (%.1f MB/s)\n", read_seconds, mb / read_seconds);
    static_cast<void>(flush_console());
    return status;
}
