#pragma once
// The twenty amino acids: names, one-letter codes and the average masses of
// the free amino acids, shared by the information reports and the
// peptide-mass search.

#include <array>
#include <cstddef>
#include <string_view>

namespace kavro {

struct AminoAcid {
    std::string_view name;  // three-letter name
    char code;              // one-letter code
};
inline constexpr std::size_t kAminoAcidCount = 20;
inline constexpr AminoAcid kAminoAcids[kAminoAcidCount] = {
    {"Ala", 'A'}, {"Cys", 'C'}, {"Asp", 'D'}, {"Glu", 'E'}, {"Phe", 'F'}, {"Gly", 'G'}, {"His", 'H'},
    {"Ile", 'I'}, {"Lys", 'K'}, {"Leu", 'L'}, {"Met", 'M'}, {"Asn", 'N'}, {"Pro", 'P'}, {"Gln", 'Q'},
    {"Arg", 'R'}, {"Ser", 'S'}, {"Thr", 'T'}, {"Val", 'V'}, {"Trp", 'W'}, {"Tyr", 'Y'},
};
// Average masses of the free amino acids, in the table's order, and water.
inline constexpr double kAverageMasses[kAminoAcidCount] = {
    89.09,  121.12, 133.1,  147.13, 165.19, 75.07,  155.16, 131.17, 146.19, 131.17,
    149.21, 132.1,  115.13, 146.15, 174.2,  105.09, 119.12, 117.15, 204.22, 181.19,
};
inline constexpr double kAverageWater = 18.01528;

// Row of every byte in kAminoAcids (either case), -1 for the rest.
inline constexpr std::array<signed char, 256> kAminoAcidRows = [] {
    std::array<signed char, 256> rows{};
    rows.fill(-1);
    for (std::size_t i = 0; i < kAminoAcidCount; ++i) {
        const auto up = static_cast<unsigned char>(kAminoAcids[i].code);
        rows[up] = static_cast<signed char>(i);
        rows[up + ('a' - 'A')] = static_cast<signed char>(i);
    }
    return rows;
}();

// Row of a residue letter (either case) in kAminoAcids, or -1.
[[nodiscard]] inline int amino_acid_index(char c) { return kAminoAcidRows[static_cast<unsigned char>(c)]; }

}  // namespace kavro
