// The composite listing, made block by block straight from the sequence,
// its complement and the six translations, so that its cost and memory grow
// with the sequence alone.
#include "translate/composite_listing.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "output/output_banner.hpp"
#include "output/output_target.hpp"

namespace kavro {

namespace {

constexpr const char* kLabels[8] = {"Frame 1   ", "Frame 2   ", "Frame 3   ", "Normal    ",
                                    "Complement", "Frame -1  ", "Frame -2  ", "Frame -3  "};
constexpr std::size_t kLabelWidth = 10;
constexpr long kShortestListed = 4;

class CompositeBlocks {
public:
    CompositeBlocks(const std::string& seq, const std::string& reverse_complement, const Collection& frames)
        : seq_(seq), rc_(reverse_complement), frames_(frames), n_(static_cast<long>(seq.size())) {}

    // Line k of the block p..e (0-based, inclusive) into piece.
    void fill(int k, long p, long e, std::string& piece) const {
        const auto width = static_cast<std::size_t>(e - p + 1);
        if (k == 3) {
            piece.assign(seq_, static_cast<std::size_t>(p), width);
            return;
        }
        if (k == 4) {
            // The complementary base under each base: the reverse complement
            // read backwards.
            piece.resize(width);
            for (long x = p; x <= e; ++x)
                piece[static_cast<std::size_t>(x - p)] = rc_[static_cast<std::size_t>(n_ - 1 - x)];
            return;
        }
        piece.assign(width, ' ');
        const std::string& aa = frames_[static_cast<std::size_t>(k < 3 ? k : k - 2)].residues;
        const auto count = static_cast<long>(aa.size());
        if (k < 3) {
            // Codon i of frame k+1 starts at base k + 3i.
            long x = p + ((k - p % 3) + 3) % 3;
            for (; x <= e; x += 3) {
                const long i = x / 3;
                if (i >= count) break;
                piece[static_cast<std::size_t>(x - p)] = aa[static_cast<std::size_t>(i)];
            }
            return;
        }
        // Codon i of frame -(j+1) starts, on the complementary strand, at
        // base n-1-j-3i of the given one: the codon's highest position.
        const long j = k - 5;
        long x = e - ((j - (n_ - 1 - e)) % 3 + 3) % 3;
        for (; x >= p; x -= 3) {
            const long i = (n_ - 1 - j - x) / 3;
            if (i >= count) break;
            piece[static_cast<std::size_t>(x - p)] = aa[static_cast<std::size_t>(i)];
        }
    }

private:
    const std::string& seq_;
    const std::string& rc_;
    const Collection& frames_;
    long n_;
};

void append_number(std::string& line, long value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    line.push_back(' ');
    line.append(digits, end);
}

}  // namespace

int write_composite(const std::string& path, const SequenceRecord& rec, const Collection& frames,
                    const std::string& table_name, bool three_frames) {
    const long n = static_cast<long>(rec.residues.size());
    if (n < kShortestListed || frames.size() < 6) {
        err("Too short sequence for a composite listing: %s (%ld bases).\n", rec.name.c_str(), n);
        return 1;
    }
    SequenceRecord complement = copy_record(rec);
    complement.length = n;
    if (complement_seq(complement) != 0) {
        err("Error in making complementary in write_composite.\n");
        end_program(1);
    }
    auto target = OutputTarget::open(path, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", path.c_str());
        return 1;
    }
    Writer& w = target->writer();
    write_output_banner(w);
    w.printf(three_frames ? "Three-frame translation of sequence: %s\n" : "Six-frame translation of sequence: %s\n",
             rec.name.c_str());
    w.printf("  Codon table file: %s\n\n", table_name.c_str());

    const CompositeBlocks blocks(rec.residues, complement.residues, frames);
    const long width = listing_block_width(g_settings.line_length);
    const int lines = three_frames ? 4 : 8;
    const long numbered_minus = n % 3 + 5;
    std::string piece, block;
    for (long p = 0; p < n; p += width) {
        const long e = std::min(n - 1, p + width - 1);
        block.clear();
        for (int k = 0; k < lines; ++k) {
            blocks.fill(k, p, e, piece);
            block.append(kLabels[k], kLabelWidth);
            block.push_back(' ');
            block.append(piece);
            if (k == 0) append_number(block, e / 3 + 1);
            else if (k == 3) append_number(block, e + 1);
            else if (k == 4) append_number(block, n - e);
            else if (k == numbered_minus) append_number(block, (n - e) / 3 + 1);
            block.push_back('\n');
        }
        block.push_back('\n');
        w.write(block);
    }
    if (target->close()) return 0;
    err("Writing error in file: %s\n", path.c_str());
    return 1;
}

}  // namespace kavro
