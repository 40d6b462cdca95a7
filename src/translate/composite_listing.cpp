// The composite listing, made block by block straight from the sequence, so
// that its memory is the sequence and one block.
#include "translate/composite_listing.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "core/console.hpp"
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
    CompositeBlocks(const std::string& seq, const CodonTable& table, bool rna)
        : seq_(seq), table_(table), n_(static_cast<long>(seq.size())) {
        for (int c = 0; c < 256; ++c) complement_[static_cast<std::size_t>(c)] = complement_base(static_cast<char>(c), rna);
    }

    // Line k of the block p..e (0-based, inclusive) appended to line.
    void append(int k, long p, long e, std::string& line) const {
        const std::size_t at = line.size();
        const auto width = static_cast<std::size_t>(e - p + 1);
        if (k == 3) {
            line.append(seq_, static_cast<std::size_t>(p), width);
            return;
        }
        if (k == 4) {
            // The complementary base under each base.
            for (long x = p; x <= e; ++x) line.push_back(complement(seq_[static_cast<std::size_t>(x)]));
            return;
        }
        line.append(width, ' ');
        char* piece = line.data() + at;
        if (k < 3) {
            // Codon i of frame k+1 starts at base k + 3i; only whole codons
            // are translated.
            for (long x = p + ((k - p % 3) + 3) % 3; x <= e && x + 2 < n_; x += 3)
                piece[x - p] = amino_acid(seq_.data() + x);
            return;
        }
        // Codon i of frame -(j+1) starts, on the complementary strand, at
        // base n-1-j-3i of the given one: the codon's highest position.
        const long j = k - 5;
        for (long x = e - ((j - (n_ - 1 - e)) % 3 + 3) % 3; x >= p && x >= 2; x -= 3) {
            const char* s = seq_.data() + x;
            const char codon[3] = {complement(s[0]), complement(s[-1]), complement(s[-2])};
            piece[x - p] = amino_acid(codon);
        }
    }

private:
    char complement(char c) const { return complement_[static_cast<unsigned char>(c)]; }
    char amino_acid(const char* codon) const {
        const unsigned sum = codon_sum(codon);
        return sum < static_cast<unsigned>(kCodonCount) ? table_[sum] : kUnknownResidue;
    }

    const std::string& seq_;
    const CodonTable& table_;
    std::array<char, 256> complement_{};
    long n_;
};

void append_number(std::string& line, long value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    line.push_back(' ');
    line.append(digits, end);
}

}  // namespace

int write_composite(const std::string& path, const SequenceRecord& rec, const CodonTable& table,
                    const std::string& table_name, bool three_frames, int line_length) {
    const long n = static_cast<long>(rec.residues.size());
    if (n < kShortestListed || table.size() != static_cast<std::size_t>(kCodonCount)) {
        err("Too short sequence for a composite listing: %s (%ld bases).\n", rec.name.c_str(), n);
        return 1;
    }
    // The complement follows the strand's own alphabet (U for RNA).
    const ResidueKind type = classify_residues(rec);
    if (type != ResidueKind::Dna && type != ResidueKind::Rna) {
        err("This is not a nucleic acid sequence: %s.\n", rec.name.c_str());
        err("Error in making complementary in write_composite.\n");
        return kNotNucleicAcid;
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

    const CompositeBlocks blocks(rec.residues, table, type == ResidueKind::Rna);
    const long width = listing_block_width(line_length);
    const int lines = three_frames ? 4 : 8;
    const long numbered_minus = n % 3 + 5;
    std::string block;
    for (long p = 0; p < n; p += width) {
        const long e = std::min(n - 1, p + width - 1);
        block.clear();
        for (int k = 0; k < lines; ++k) {
            block.append(kLabels[k], kLabelWidth);
            block.push_back(' ');
            blocks.append(k, p, e, block);
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
