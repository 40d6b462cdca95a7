#pragma once
// Position-by-position identity of two aligned sequences: positions where
// both hold a letter are compared (case folded); gaps, stops, digits and any
// other non-letter take no part. Sequences of different lengths share no
// compared position.

#include <cstdint>
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

}  // namespace kavro
