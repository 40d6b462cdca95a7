#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sequence.hpp"
#include "motif/motif_match.hpp"
#include "motif/motif_search.hpp"
#include "motif/palindromes.hpp"
#include "motif_support.hpp"

namespace {

using namespace kavro;
using motif_test::random_letters;

TEST(MotifMatch, LetterAgreementByType) {
    struct Case {
        ResidueKind type;
        char residue, motif;
        bool agree;
    };
    const Case cases[] = {
        {ResidueKind::Dna, 'A', 'A', true},  {ResidueKind::Dna, 'A', 'N', true},  {ResidueKind::Dna, 'N', 'C', true},
        {ResidueKind::Dna, 'G', 'R', true},  {ResidueKind::Dna, 'R', 'A', true},  {ResidueKind::Dna, 'C', 'R', false},
        {ResidueKind::Dna, 'T', 'Y', true},  {ResidueKind::Dna, 'A', 'W', true},  {ResidueKind::Dna, 'C', 'S', true},
        {ResidueKind::Dna, 'C', 'M', true},  {ResidueKind::Dna, 'G', 'K', true},  {ResidueKind::Dna, 'A', 'K', false},
        {ResidueKind::Dna, 'R', 'Y', false}, {ResidueKind::Dna, 'U', 'Y', false}, {ResidueKind::Rna, 'U', 'Y', true},
        {ResidueKind::Rna, 'T', 'Y', false}, {ResidueKind::Rna, 'A', 'W', false}, {ResidueKind::Rna, 'N', 'G', true},
        {ResidueKind::Protein, 'N', 'A', false}, {ResidueKind::Protein, 'R', 'R', true}, {ResidueKind::Unknown, 'A', 'N', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(letters_agree(c.type, c.residue, c.motif), c.agree)
            << type_name(c.type) << " " << c.residue << " " << c.motif;
    EXPECT_EQ(reverse_complement_motif("RGATCY"), "RGATCY");
    EXPECT_EQ(reverse_complement_motif("ACGTNKW"), "WMNACGT");
}

TEST(MotifMatch, AgreementsNeededFollowTheLevelSteps) {
    const std::vector<double> levels = search_levels(0.3);
    ASSERT_EQ(levels.size(), 8u);  // 1.0 .. 0.3, the last two below 0.5
    struct Case {
        std::size_t level_index, length;
        int needed;
    };
    const Case cases[] = {
        {0, 4, 4}, {1, 4, 4}, {2, 4, 4},     // GATC at 0.8 still needs all four letters
        {2, 10, 8}, {1, 10, 9}, {3, 10, 8},  // 0.7 reached by subtraction lies just above 0.7
        {2, 6, 5}, {5, 6, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(agreements_needed(levels[c.level_index], c.length), c.needed) << c.level_index << " " << c.length;
    EXPECT_EQ(search_levels(0.99).size(), 1u);
    EXPECT_EQ(search_levels(0.8).size(), 3u);
    EXPECT_TRUE(search_levels(1.2).empty());
    EXPECT_EQ(search_levels(-1e300).size(), 11u);  // 1.0 down to 0, no further
}

// Every window's agreement count, letter by letter: what the scanner must
// find, on both strands for DNA.
std::vector<MotifHit> reference_hits(ResidueKind type, const std::string& text, const std::string& motif, int needed) {
    const std::string comp = reverse_complement_motif(motif);
    auto agreeing = [&](std::size_t p, const std::string& m) {
        int a = 0;
        for (std::size_t i = 0; i < m.size(); ++i) a += letters_agree(type, text[p + i], m[i]);
        return a;
    };
    std::vector<MotifHit> hits;
    for (std::size_t p = 0; p + motif.size() <= text.size(); ++p) {
        if (agreeing(p, motif) >= needed)
            hits.push_back({static_cast<std::int64_t>(p), false});
        else if (type == ResidueKind::Dna && agreeing(p, comp) >= needed)
            hits.push_back({static_cast<std::int64_t>(p), true});
    }
    return hits;
}

TEST(MotifMatch, ScannerFindsWhatALetterByLetterCountFinds) {
    struct Case {
        ResidueKind type;
        const char* alphabet;
        std::string motif;
    };
    const Case cases[] = {
        {ResidueKind::Dna, "ACGT", "GAATTC"},
        {ResidueKind::Dna, "ACGTN", "RGATCY"},
        {ResidueKind::Dna, "ACGTRYN", "ACGTNKWSMA"},
        {ResidueKind::Dna, "ACGT", "ACGTACGTACGTACG"},   // 15 letters: the last packed length
        {ResidueKind::Dna, "ACGT", "ACGTACGTACGTACGTAC"},  // past it: counted window by window
        {ResidueKind::Dna, "ACGT", "GATTACAGATTACAGATTACAGATTACAGATTACATTAG"},  // past one bit a letter
        {ResidueKind::Rna, "ACGUN", "AUGRY"},
        {ResidueKind::Protein, "ACDEFGHIKLMN", "KDEL"},
    };
    for (const Case& c : cases) {
        // The motif and its reverse complement are planted, so full
        // agreement is found on both strands.
        const std::string random = random_letters(3000, c.alphabet, static_cast<unsigned>(c.motif.size()));
        const std::string text = random.substr(0, 1000) + c.motif + random.substr(1000, 1000) +
                                 reverse_complement_motif(c.motif) + random.substr(2000);
        const MotifScanner scanner(c.type, c.motif);
        for (int needed = static_cast<int>(c.motif.size()); needed >= static_cast<int>(c.motif.size()) / 2; --needed) {
            std::vector<MotifHit> got;
            const std::int64_t n = scanner.scan(text, needed, [&](const MotifHit& h) { got.push_back(h); });
            const std::vector<MotifHit> want = reference_hits(c.type, text, c.motif, needed);
            ASSERT_EQ(got.size(), want.size()) << c.motif << " needing " << needed;
            EXPECT_EQ(n, static_cast<std::int64_t>(want.size()));
            for (std::size_t i = 0; i < want.size(); ++i) {
                EXPECT_EQ(got[i].start, want[i].start) << c.motif << " needing " << needed;
                EXPECT_EQ(got[i].complementary, want[i].complementary) << c.motif << " at " << want[i].start;
            }
        }
    }
    // A text shorter than the motif has no window.
    EXPECT_EQ(MotifScanner(ResidueKind::Dna, "GAATTC").count("GAAT", 6), 0);
}

TEST(MotifMatch, PalindromesComeInOdometerOrder) {
    const std::vector<std::string> four = {"TTAA", "CTAG", "ATAT", "GTAC", "TCGA", "CCGG", "ACGT", "GCGC",
                                           "TATA", "CATG", "AATT", "GATC", "TGCA", "CGCG", "AGCT", "GGCC"};
    std::vector<std::string> got;
    for (std::string p = next_palindrome("", 4); !p.empty(); p = next_palindrome(p, 4)) got.push_back(p);
    EXPECT_EQ(got, four);
    struct Case {
        int k;
        std::size_t count;
        const char* first;
        const char* last;
    };
    const Case cases[] = {{3, 4, "TNA", "GNC"}, {5, 16, "TTNAA", "GGNCC"}, {6, 64, "TTTAAA", "GGGCCC"}};
    for (const Case& c : cases) {
        std::vector<std::string> all;
        for (std::string p = next_palindrome("", c.k); !p.empty(); p = next_palindrome(p, c.k)) all.push_back(p);
        ASSERT_EQ(all.size(), c.count) << c.k;
        EXPECT_EQ(all.front(), c.first);
        EXPECT_EQ(all.back(), c.last);
    }
    EXPECT_EQ(next_palindrome("TTAA", 5), "TTNAA");  // a pattern of another length starts over
}

TEST(MotifMatch, PalindromeCountsAgreeWithPatternByPattern) {
    // N and R among the residues break windows; lengths 3..8 use a slot per
    // first half, 22 sorts the first halves it found. The second text holds
    // the first patterns of each length, so that the early rows have hits.
    const std::string text = random_letters(4000, "ACGTACGTACGTNR", 11);
    for (int k : {3, 4, 5, 6, 7, 8, 22}) {
        std::string planted;
        std::string p = next_palindrome("", k);
        for (int i = 0; i < 5; ++i, p = next_palindrome(p, k)) planted += p + (i % 2 ? "G" : "") + p;
        PalindromeCounts counts(k);
        counts.add(text, text.size() - 5);
        counts.add(planted, planted.size());
        int checked = 0;
        for (p = next_palindrome("", k); !p.empty() && checked < 300; p = next_palindrome(p, k), ++checked)
            ASSERT_EQ(counts.count(p), count_pattern_sites(text, text.size() - 5, p) +
                                           count_pattern_sites(planted, planted.size(), p))
                << p;
        EXPECT_GE(counts.count(next_palindrome("", k)), 2);
    }
}

}  // namespace
