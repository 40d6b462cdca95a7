#pragma once
// Position-by-position identity of two aligned sequences: positions where
// both hold a letter are compared (case folded); gaps, stops, digits and any
// other non-letter take no part. Sequences of different lengths share no
// compared position.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"

namespace kavro {

struct PairIdentity {
    std::int64_t compared = 0;   // positions where both hold a letter
    std::int64_t identical = 0;  // of those, positions with the same letter

    // Identical sequences: something compared and nothing differing.
    bool same() const { return compared != 0 && identical == compared; }
};

// A residue text reduced to what the comparison reads: the upper-case
// letter, or 0 for a character that takes no part.
std::vector<std::uint8_t> letter_codes(std::string_view residues);

// The counts over two texts reduced by letter_codes. Two empty texts give
// "Empty sequence.\n" on standard error and nothing compared.
PairIdentity compare_letter_codes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

// True when the two texts are identical in the sense of PairIdentity::same,
// deciding at the first differing position. Prints nothing.
bool identical_letter_codes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

// Finds the sequences identical to a given one among those before it, in a
// set of texts reduced by letter_codes. Each length group is split by the
// letter in one column after another (a column that splits well among a
// few sampled), with the sequences holding no letter there in a separate
// part that every search of the node also visits, since a gap matches any
// letter. A search therefore meets only sequences that agree with it on the
// columns of its path, and those are then compared in full.
class IdenticalIndex {
public:
    explicit IdenticalIndex(const std::vector<std::vector<std::uint8_t>>& codes);

    // The sequences k < i with identical_letter_codes(codes[i], codes[k]),
    // ascending; only the first of them when first_only.
    std::vector<std::size_t> earlier_identical(std::size_t i, bool first_only) const;

private:
    struct Node {
        std::size_t column = 0;
        bool leaf = true;
        std::vector<std::pair<std::uint8_t, std::size_t>> children;  // letter, node
        std::size_t gaps = 0;                                        // node of the rows without a letter; 0: none
        std::vector<std::size_t> rows;                               // the rows of a leaf
    };
    std::size_t build(std::vector<std::size_t> rows, int depth);
    bool choose_column(const std::vector<std::size_t>& rows, std::size_t& column);

    const std::vector<std::vector<std::uint8_t>>& codes_;
    std::vector<Node> nodes_;
    std::unordered_map<std::size_t, std::size_t> roots_;  // length, node
    std::uint64_t random_ = 0x9E3779B97F4A7C15ULL;
};

}  // namespace kavro
