// classify_residues answers DNA from one scan when no other counted letter occurs; on
// random texts it must agree with the classification of the full counts.
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "core/sequence.hpp"

namespace {

using namespace kavro;

// The classification rule over the counts of the first `length` characters.
ResidueKind classify_by_counts(const SequenceRecord& rec) {
    if (rec.length == 0 || rec.residues.empty()) return ResidueKind::Unknown;
    Composition comp;
    zero_composition(comp);
    static_cast<void>(count_composition(rec.residues.c_str(), rec.length, comp));  // a leading NUL counts nothing
    long letters = 0;
    for (int i = 1; i <= 22; ++i) letters += comp[static_cast<std::size_t>(i)];
    auto n = [&](char c) { return comp[static_cast<std::size_t>(composition_slot(c))]; };
    const long acg = n('A') + n('C') + n('G');
    const long nry = n('N') + n('R') + n('Y');
    if (acg + n('T') == letters) return ResidueKind::Dna;
    if (acg + n('U') == letters) return ResidueKind::Rna;
    if (n('U') > n('T') && static_cast<double>(acg + n('U') + nry) >= 0.95 * static_cast<double>(letters))
        return ResidueKind::Rna;
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
    // Every third round draws only the ambiguity codes, up to most of the text.
    const std::string any_other = "NnUuRrYyEeKkMmWwSsQqPpXxDdVvHhIiLlFf@[`{", ambiguity = "NnRrYy";
    for (int round = 0; round < 3000; ++round) {
        const bool ambiguous = round % 3 == 0;
        const std::string& others = ambiguous ? ambiguity : any_other;
        const std::size_t size = rng() % 3 == 0 ? rng() % 9000 : rng() % 40;
        std::string text(size, 'A');
        const unsigned neutral_per_mille = rng() % 3 == 0 ? 0 : rng() % 300;
        const unsigned other_per_mille = rng() % 2 == 0 ? 0 : rng() % (ambiguous ? 700 : 20);
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

// The ambiguity rule calls a text RNA only when it holds more U than T.
TEST(Classification, AmbiguousTextIsRnaOnlyWithMoreUThanT) {
    const std::pair<std::string, ResidueKind> cases[] = {
        {"ACGTNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN", ResidueKind::Dna},
        {"ACGNNNN", ResidueKind::Dna},
        {"ACGUNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN", ResidueKind::Rna},
        {"ACGUUTNNNNNNNNNNNNNNNNNNNN", ResidueKind::Rna},
        {"ACGUTTNNNNNNNNNNNNNNNNNNNN", ResidueKind::Dna},
        {"ACGTNNNNRY", ResidueKind::Dna},
    };
    for (const auto& [text, type] : cases) {
        SequenceRecord rec;
        rec.residues = text;
        rec.length = static_cast<long>(text.size());
        EXPECT_EQ(classify_residues(rec), type) << text;
        EXPECT_EQ(classify_text(text), type) << text;
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
    EXPECT_EQ(classify_residues(rec), ResidueKind::Dna);  // 8193 of 8194, and no U: the 95 % test for DNA holds
    rec.residues = std::string(10, 'c') + "EEEE";
    rec.length = 14;
    EXPECT_EQ(classify_residues(rec), ResidueKind::Protein);
}

TEST(Classification, UpperCaseDnaCountedInBlocksAgreesWithByteByByte) {
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        // Upper-case A, C, G, T with, now and then, one other byte at a
        // random place: the block counting must hand over to the general
        // counting exactly there.
        std::string text(4096 + rng() % 6000, 'A');
        for (char& c : text) c = "ACGT"[rng() % 4];
        if (round % 3 != 0) text[rng() % text.size()] = "acgtNE-\x01"[rng() % 8];
        Composition fast, slow;
        zero_composition(fast);
        zero_composition(slow);
        ASSERT_EQ(count_composition(text.c_str(), static_cast<long>(text.size()), fast), 0);
        for (char c : text) {
            const char up = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            if (c >= 0x20 && c < 0x7F) ++slow[static_cast<std::size_t>(composition_slot(up))];
        }
        ASSERT_EQ(fast, slow) << "round " << round;
        SequenceRecord rec;
        rec.residues = text;
        rec.length = static_cast<long>(text.size());
        EXPECT_EQ(classify_composition(fast), classify_residues(rec));
    }
}

}  // namespace

namespace {

// The byte-wide block sums against the composition counts, across block
// borders (255 bytes) and over every byte value.
TEST(Classification, BlockCountsAgreeWithTheComposition) {
    std::mt19937 rng(11);
    for (const std::size_t size : {0UL, 1UL, 254UL, 255UL, 256UL, 511UL, 4097UL}) {
        std::string text(size, '\0');
        for (char& c : text) c = static_cast<char>(1 + rng() % 255);  // no NUL: counting stops there
        kavro::Composition comp;
        kavro::zero_composition(comp);
        static_cast<void>(kavro::count_composition(text.c_str(), static_cast<long>(size), comp));
        const kavro::ClassifyingCounts k = kavro::count_classifying_letters(text);
        auto n = [&](char c) { return comp[static_cast<std::size_t>(kavro::composition_slot(c))]; };
        long letters = 0;
        for (int i = 1; i <= 22; ++i) letters += comp[static_cast<std::size_t>(i)];
        const std::pair<long, long> pairs[] = {{k.a, n('A')}, {k.c, n('C')}, {k.g, n('G')}, {k.t, n('T')}, {k.u, n('U')},
                                               {k.n, n('N')}, {k.r, n('R')}, {k.y, n('Y')}, {k.letters, letters}};
        for (const auto& [got, want] : pairs) EXPECT_EQ(got, want) << size;
    }
}

}  // namespace
