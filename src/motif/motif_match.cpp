#include "motif/motif_match.hpp"

#include <bit>
#include <cmath>

#include "core/sequence.hpp"

namespace kavro {

namespace {

// The letters an ambiguity code stands for.
std::string_view dna_code_members(char code) {
    switch (code) {
        case 'R': return "AG";
        case 'Y': return "TC";
        case 'W': return "AT";
        case 'S': return "GC";
        case 'M': return "AC";
        case 'K': return "GT";
        default: return "";
    }
}

std::string_view rna_code_members(char code) {
    switch (code) {
        case 'R': return "AG";
        case 'Y': return "UC";
        default: return "";
    }
}

bool code_covers(std::string_view (*members)(char), char code, char letter) {
    return members(code).find(letter) != std::string_view::npos;
}

}  // namespace

bool letters_agree(ResidueKind type, char residue, char motif_letter) {
    if (residue == motif_letter) return true;
    if (type != ResidueKind::Dna && type != ResidueKind::Rna) return false;
    if (residue == 'N' || motif_letter == 'N') return true;
    auto members = type == ResidueKind::Dna ? dna_code_members : rna_code_members;
    return code_covers(members, residue, motif_letter) || code_covers(members, motif_letter, residue);
}

std::string reverse_complement_motif(std::string_view motif) {
    std::string out(motif.rbegin(), motif.rend());
    for (char& c : out) c = complement_base(c, false);
    return out;
}

int agreements_needed(double level, std::size_t length) {
    // The smallest whole count that is >= level * length, with the product
    // taken exactly as the comparison takes it.
    return static_cast<int>(std::ceil(level * static_cast<double>(length)));
}

MotifScanner::MotifScanner(ResidueKind type, std::string motif)
    : type_(type), motif_(std::move(motif)), both_strands_(type == ResidueKind::Dna) {
    if (both_strands_) complement_ = reverse_complement_motif(motif_);
    const std::size_t n = motif_.size();
    agree_.assign(256 * 256, false);
    for (int r = 0; r < 256; ++r)
        for (int m = 0; m < 256; ++m)
            agree_[static_cast<std::size_t>(r * 256 + m)] =
                letters_agree(type_, static_cast<char>(r), static_cast<char>(m));
    if (n == 0) return;
    if (n <= kExactLimit) {
        for (int r = 0; r < 256; ++r) {
            std::uint64_t bits = 0;
            for (std::size_t i = 0; i < n; ++i) {
                if (agree_[static_cast<std::size_t>(r * 256) + static_cast<unsigned char>(motif_[i])])
                    bits |= std::uint64_t{1} << i;
                if (both_strands_ && agree_[static_cast<std::size_t>(r * 256) + static_cast<unsigned char>(complement_[i])])
                    bits |= std::uint64_t{1} << (32 + i);
            }
            agree_bits_[static_cast<std::size_t>(r)] = bits;
        }
    }
    if (n > kPackedLimit) return;
    field_bits_ = static_cast<unsigned>(std::bit_width(n));
    for (int r = 0; r < 256; ++r) {
        std::uint64_t d = 0, c = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t bit = std::uint64_t{1} << (i * field_bits_);
            if (!agree_[static_cast<std::size_t>(r * 256) + static_cast<unsigned char>(motif_[i])]) d |= bit;
            if (both_strands_ && !agree_[static_cast<std::size_t>(r * 256) + static_cast<unsigned char>(complement_[i])])
                c |= bit;
        }
        mismatch_direct_[static_cast<std::size_t>(r)] = d;
        mismatch_complement_[static_cast<std::size_t>(r)] = c;
    }
}

bool MotifScanner::window_reaches(const unsigned char* w, const std::string& m, int allowed) const {
    int misses = 0;
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (!agree_[static_cast<std::size_t>(w[i]) * 256 + static_cast<unsigned char>(m[i])] && ++misses > allowed)
            return false;
    }
    return true;
}

}  // namespace kavro
