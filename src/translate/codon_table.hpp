#pragma once
// The genetic code as the whole program uses it: a text of 64 one-letter
// amino-acid codes ("*" for a stop), one per codon, in the codon order below.
//
// Codon order: bases are numbered U (or T) 0, C 1, A 2, G 3 ("UCAG"), and the
// codon b1 b2 b3 has index 16*b2 + 4*b1 + b3, so the middle base is the most
// significant. Index 64 means "not a codon".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavro {

using CodonTable = std::string;  // exactly kCodonCount letters when valid

inline constexpr int kCodonCount = 64;
inline constexpr int kNotACodon = 64;
inline constexpr char kBaseOrder[] = "UCAG";
inline constexpr char kUnknownResidue = '?';
// Lines of a codon-table file are read in pieces of this many characters.
inline constexpr std::size_t kCodonFilePiece = 512;

// Base number of every byte: 0-3 for U/T, C, A, G in either case, 4 otherwise.
struct BaseIndexTable {
    std::array<std::uint8_t, 256> v{};
    constexpr BaseIndexTable() {
        for (auto& x : v) x = 4;
        v['U'] = v['u'] = v['T'] = v['t'] = 0;
        v['C'] = v['c'] = 1;
        v['A'] = v['a'] = 2;
        v['G'] = v['g'] = 3;
    }
    constexpr std::uint8_t operator[](char c) const { return v[static_cast<unsigned char>(c)]; }
};
inline constexpr BaseIndexTable kBaseIndex{};

// Weights of a base in the codon index by position (4 for the first base,
// 16 for the middle one, 1 for the third); any other character weighs
// kNotACodon, so that the sum of a codon holding one is kNotACodon or more.
struct CodonWeights {
    std::array<std::uint16_t, 256> first{}, second{}, third{};
    constexpr CodonWeights() {
        for (int c = 0; c < 256; ++c) {
            const unsigned b = kBaseIndex[static_cast<char>(c)];
            const auto i = static_cast<std::size_t>(c);
            first[i] = static_cast<std::uint16_t>(b < 4 ? 4 * b : kNotACodon);
            second[i] = static_cast<std::uint16_t>(b < 4 ? 16 * b : kNotACodon);
            third[i] = static_cast<std::uint16_t>(b < 4 ? b : kNotACodon);
        }
    }
};
inline constexpr CodonWeights kCodonWeights{};
inline constexpr unsigned kLargestCodonSum = 3 * kNotACodon;

// Sum of the weights of the codon at p[0..2] (no length check): the codon
// index, or kNotACodon..kLargestCodonSum for a text that is not a codon.
inline unsigned codon_sum(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return kCodonWeights.first[u[0]] + kCodonWeights.second[u[1]] + kCodonWeights.third[u[2]];
}

// Index of the codon at p[0..2] (no length check), or kNotACodon.
inline int codon_index(const char* p) {
    const unsigned sum = codon_sum(p);
    return sum < static_cast<unsigned>(kNotACodon) ? static_cast<int>(sum) : kNotACodon;
}

// Index of a three-character codon text, or kNotACodon. A text that is not
// exactly three characters long gives "Error in codon_usage\n" as well.
[[nodiscard]] int codon_usage(std::string_view codon);

// Writes the bases of the codon (from "UCAG") over the first three characters
// of *text, adding no terminator. 1 after "Null string in get_codon\n" for a
// missing text or one shorter than three, or "Error in get_codon\n" for an
// index outside 0-63; else 0.
[[nodiscard]] int get_codon(int index, std::string* text);
// The three-letter codon of an index 0-63 ("???" outside).
std::string codon_text(int index);

// The amino acid of a codon: "?" for a non-codon or, after
// "Error in codon table.\n", for a table that is not 64 letters long.
char translate_codon(std::string_view codon, std::string_view table);

// The built-in table of that exact name, or nothing.
std::optional<CodonTable> builtin_codon_table(std::string_view name);
// A built-in table by name, else the table read from the file of that name.
// Nothing after "Codon table file: %s is not found.\n" for a file that
// cannot be used; the commands end the run there.
[[nodiscard]] std::optional<CodonTable> select_codon_table(const std::string& name);
// Reads a codon-table file: every line whose first character is a letter or
// "*" gives the next codon's amino acid; other lines are ignored. Nothing
// after "Cannot open codon table file: %s\n\n" or, for fewer than 64 such
// lines, "The codon table is in an unknown format.\n".
std::optional<CodonTable> read_codon_table_file(const std::string& path);

}  // namespace kavro
