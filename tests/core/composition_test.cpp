// classify_residues answers DNA from one scan when no other counted letter occurs; on
// random texts it must agree with the classification of the full counts.
#include <gtest/gtest.h>

#include <random>

#include "core/sequence.hpp"

namespace {

using namespace kavro;

// The classification rule over the counts of the first `length` characters.
kavro::ResidueKind classify_by_counts(const SequenceRecord& rec) {
    if (rec.length == 0 || rec.residues.empty()) return ResidueKind::Unknown;
    Composition comp;
    zero_composition(comp);
    count_composition(rec.residues.c_str(), rec.length, comp);
    long letters = 0;
    for (int i = 1; i <= 22; ++i) letters += comp[static_cast<std::size_t>(i)];
    auto n = [&](char c) { return comp[static_cast<std::size_t>(composition_slot(c))]; };
    const long acg = n('A') + n('C') + n('G');
    const long nry = n('N') + n('R') + n('Y');
    if (acg + n('T') == letters) return ResidueKind::Dna;
    if (acg + n('U') == letters) return ResidueKind::Rna;
    if (static_cast<double>(acg + n('U') + nry) >= 0.95 * static_cast<double>(letters)) return ResidueKind::Rna;
    if (static_cast<double>(acg + n('T') + nry) >= 0.95 * static_cast<double>(letters)) return ResidueKind::Dna;
    return n('U') > 1 ? ResidueKind::Unknown : ResidueKind::Protein;
}

TEST(Classification, ScanForDnaAgreesWithTheCounts) {
    std::mt19937 rng(3);
    // Mostly DNA letters of both cases, with letters counted nowhere (B, J,
    // O, Z), symbols, digits, NUL, control and high bytes, and now and then
    // a letter that makes the text something else.
    const std::string dna = "ACGTacgt";
    const std::string neutral = std::string("BJOZbjoz-*.12 \t\n\x01\x7F\x80\xC1\xDA") + std::string(1, '\0');
    const std::string others = "NnUuRrYyEeKkMmWw";
    for (int round = 0; round < 3000; ++round) {
        const std::size_t size = rng() % 3 == 0 ? rng() % 9000 : rng() % 40;
        std::string text(size, 'A');
        const unsigned neutral_per_mille = rng() % 3 == 0 ? 0 : rng() % 300;
        const unsigned other_per_mille = rng() % 2 == 0 ? 0 : rng() % 20;
        for (char& c : text) {
            const unsigned pick = rng() % 1000;
            c = pick < other_per_mille ? others[rng() % others.size()]
                : pick < other_per_mille + neutral_per_mille ? neutral[rng() % neutral.size()]
                                                             : dna[rng() % dna.size()];
        }
        SequenceRecord rec;
        rec.residues = text;
        // Lengths that cut the text short or run past it.
        const unsigned cut = rng() % 4;
        rec.length = cut == 0 ? static_cast<long>(size) / 2 : cut == 1 ? static_cast<long>(size) + 5 : static_cast<long>(size);
        ASSERT_EQ(classify_residues(rec), classify_by_counts(rec)) << "round " << round << " length " << rec.length;
    }
}

TEST(Classification, ALetterOnlyPastTheCountedPartDoesNotCount) {
    SequenceRecord rec;
    rec.residues = std::string(5000, 'A') + std::string(1, '\0') + "EEEE";
    rec.length = static_cast<long>(rec.residues.size());
    EXPECT_EQ(classify_residues(rec), ResidueKind::Dna);  // counting stops at the NUL
    rec.residues = std::string(8193, 'c') + "E";
    rec.length = 8193;
    EXPECT_EQ(classify_residues(rec), ResidueKind::Dna);
    rec.length = 8194;
    EXPECT_EQ(classify_residues(rec), ResidueKind::Rna);  // 8193 of 8194: the 95 % test for RNA comes first
    rec.residues = std::string(10, 'c') + "EEEE";
    rec.length = 14;
    EXPECT_EQ(classify_residues(rec), ResidueKind::Protein);
}

}  // namespace
