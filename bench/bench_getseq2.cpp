// Stage times of getseq2's path on a 5 Mb chromosome in FASTA: format
// detection, reading, classification, gap clearing, extraction of 1 Mb and
// writing. Built with -DKAVRO_BENCH=ON; run from a scratch directory.

#include <chrono>
#include "core/console.hpp"
#include <string>
#include <unistd.h>

#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void make_chromosome(const std::string& path, std::size_t length) {
    auto w = kavro::Writer::open_truncate(path);
    w->write(">chrB1 synthetic chromosome\n");
    unsigned x = 20240601u;
    std::string line;
    for (std::size_t i = 0; i < length; ++i) {
        x = x * 1103515245u + 12345u;
        line += "ACGT"[(x >> 16) & 3];
        if (line.size() == 60 || i + 1 == length) {
            line += '\n';
            w->write(line);
            line.clear();
        }
    }
    w->close();
}

}  // namespace

int main() {
    const std::string in = "bench_chr.fa", out = "bench_out.fa";
    make_chromosome(in, 5'000'000);
    const int rounds = 10;
    double t_detect = 0, t_read = 0, t_comp = 0, t_clear = 0, t_extract = 0, t_write = 0;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        kavro::SeqFormat format = kavro::detect_format(in);
        t_detect += ms_since(t0);
        t0 = Clock::now();
        auto rec = kavro::read_sequence(in, format, kavro::ResidueKind::Unknown);
        t_read += ms_since(t0);
        t0 = Clock::now();
        rec->type = kavro::classify_residues(*rec);
        t_comp += ms_since(t0);
        t0 = Clock::now();
        kavro::clear_gaps(*rec);
        t_clear += ms_since(t0);
        t0 = Clock::now();
        auto part = kavro::extract_seq(*rec, 2'000'001, 3'000'000);
        t_extract += ms_since(t0);
        t0 = Clock::now();
        static_cast<void>(kavro::OutputTarget::create_empty(out));
        static_cast<void>(kavro::write_fasta_file(out, &*part, true, ' ', kavro::g_settings.line_length));
        t_write += ms_since(t0);
    }
    kavro::err("\nmean of %d rounds (ms): detect %.2f  read %.2f  c_comp %.2f  clear_gaps %.2f  extract %.2f  write %.2f\n",
                 rounds, t_detect / rounds, t_read / rounds, t_comp / rounds, t_clear / rounds, t_extract / rounds,
                 t_write / rounds);
    ::unlink(in.c_str());
    ::unlink(out.c_str());
    return 0;
}
