#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "align/pair_identity.hpp"
#include "support/alignments.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

using namespace kavro_test;

const AlignmentRows kFour = {{"a", "AC-GT"}, {"b", "ACTGT"}, {"c", "acgtA"}, {"d", "-----"}};

const std::string kFourTable =
    "\nSimilarity table\n     1: a.\n     2: b.\n     3: c.\n     4: d.\n\n\n"
    "    2: 1.000 \n"
    "    3: 0.500 0.400 \n"
    "    4:     0     0     0 \n"
    "          1     2     3 \n";

struct SimtblCase {
    const char* label;
    std::vector<std::string> args;
    std::string input;
    std::string written;
};

TEST(Simtbl, EachModeWritesItsReport) {
    // e1 is identical to e0; e2 only to e1, which is dropped, so it goes too.
    const AlignmentRows chain = {{"e0", "ACTGT"}, {"e1", "AC-GT"}, {"e2", "ACAG-"}, {"e3", "GGGGG"}, {"e4", "acgt"}};
    // Letters-only sequences are matched exactly (case folded), gapped ones
    // position by position.
    const AlignmentRows mixed = {{"x0", "ACGT"}, {"x1", "A-GT"}, {"x2", "acgt"}, {"x3", "ACGA"}};
    const std::vector<SimtblCase> cases = {
        {"fasta table", {"simtbl", "in", "out"}, fasta_text(kFour), kFourTable},
        {"clustal table", {"simtbl", "in", "out"}, clustal_text(kFour), kFourTable},
        {"unknown fourth word is table", {"simtbl", "in", "out", "xx"}, fasta_text(kFour), kFourTable},
        {"case folded", {"simtbl", "in", "out"}, fasta_text({{"x", "acgt"}, {"y", "ACGT"}, {"z", "ACGA"}}),
         "\nSimilarity table\n     1: x.\n     2: y.\n     3: z.\n\n\n    2: 1.000 \n    3: 0.750 0.750 \n"
         "          1     2 \n"},
        {"list", {"simtbl", "in", "out", "list"}, fasta_text(chain),
         "Sequence 1: e1 is identical to sequence 0: e0.\nSequence 2: e2 is identical to sequence 1: e1.\n\n"},
        {"nr", {"simtbl", "in", "out", "nr"}, fasta_text(chain), ">e0\nACTGT\n\n>e3\nGGGGG\n\n>e4\nacgt\n\n"},
        {"list merges exact and gapped matches", {"simtbl", "in", "out", "list"}, fasta_text(mixed),
         "Sequence 1: x1 is identical to sequence 0: x0.\nSequence 2: x2 is identical to sequence 0: x0.\n"
         "Sequence 2: x2 is identical to sequence 1: x1.\n\n"},
        {"nr over exact and gapped matches", {"simtbl", "in", "out", "nr"}, fasta_text(mixed),
         ">x0\nACGT\n\n>x3\nACGA\n\n"},
        {"list without pairs", {"simtbl", "in", "out", "list"}, fasta_text({{"p", "ACGT"}, {"q", "ACGTT"}}), "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto r = run({.args = c.args, .files = {{"in", c.input}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("Reading sequence...\ndata type is "));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
        EXPECT_EQ(r.file("out"), c.written);
    }
}

TEST(Simtbl, RefusalsEndWithStatusOne) {
    const std::vector<SimtblCase> cases = {
        {"unequal lengths in table mode", {"simtbl", "in", "out"}, fasta_text({{"p", "ACGT"}, {"q", "ACGTT"}}),
         "Unequal length of sequences in file: in\n"},
        {"mixed types", {"simtbl", "in", "out"}, fasta_text({{"p", "ACGTACGT"}, {"q", "MKLVWQER"}}),
         "All sequences should be of the same data type, either DNA or RNA in file:in.\n"},
        {"clustal in nr mode", {"simtbl", "in", "out", "nr"}, clustal_text(kFour),
         "Only FASTA sequences are accepted in the list or nr mode.\n"},
        {"phylip", {"simtbl", "in", "out"}, phylip_text({{"p", "ACGTACGTACGT"}, {"q", "ACGTACGTACGA"}}),
         "This is not a FASTA or CLUSTAL file.\n"},
        {"unknown type", {"simtbl", "in", "out"}, fasta_text({{"p", "UUUUEEEE"}, {"q", "UUUUEEEE"}}),
         "Sequences should be DNA, RNA or protein in file: in. \n"},
        {"word count", {"simtbl", "in"}, "", sjis("使い方: simtbl infile outfile nr")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto r = run({.args = c.args, .files = {{"in", c.input}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err + r.out, HasSubstr(c.written)) << r.err;
        EXPECT_FALSE(r.exists("out"));
    }
}

TEST(Simtbl, PairComparisonCountsOnlyLetterPairs) {
    struct Pair {
        const char* a;
        const char* b;
        long compared, identical;
        bool same;
    };
    const std::vector<Pair> cases = {
        {"AC-GT", "ACTGT", 4, 4, true},   {"acgt", "ACGT", 4, 4, true},  {"ACGU", "ACGT", 4, 3, false},
        {"BJOXZ", "bjoxz", 5, 5, true},   {"A*1.C", "A*1.C", 2, 2, true}, {"ACGT", "ACGTA", 0, 0, false},
        {"----", "ACGT", 0, 0, false},    {"", "", 0, 0, false},
    };
    std::string messages;
    std::vector<kavro::PairIdentity> got;
    std::vector<bool> decided;
    {
        CaptureConsole console;
        for (const auto& c : cases) {
            auto a = kavro::letter_codes(c.a), b = kavro::letter_codes(c.b);
            got.push_back(kavro::compare_letter_codes(a, b));
            decided.push_back(kavro::identical_letter_codes(a, b));
        }
        messages = console.err();
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(std::string(cases[i].a) + " / " + cases[i].b);
        EXPECT_EQ(got[i].compared, cases[i].compared);
        EXPECT_EQ(got[i].identical, cases[i].identical);
        EXPECT_EQ(got[i].same(), cases[i].same);
        EXPECT_EQ(decided[i], cases[i].same);
    }
    // Two empty sequences make only their own pair 0.
    EXPECT_EQ(messages, "Empty sequence.\n");
    // A difference after the first block of positions is still found.
    std::string long_a(1000, 'A'), long_b = long_a;
    long_b[700] = 'C';
    EXPECT_FALSE(kavro::identical_letter_codes(kavro::letter_codes(long_a), kavro::letter_codes(long_b)));
    long_b[700] = '-';
    EXPECT_TRUE(kavro::identical_letter_codes(kavro::letter_codes(long_a), kavro::letter_codes(long_b)));
}

}  // namespace

namespace {

TEST(Simtbl, TableOnStandardOutputKeepsMessagesOnStandardError) {
    auto r = kavro_test::run({.args = {"simtbl", "in", "stdout"}, .files = {{"in", kavro_test::fasta_text(kFour)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr(kFourTable));
    EXPECT_THAT(r.out, Not(HasSubstr("Terminated")));
    EXPECT_THAT(r.err, HasSubstr("Reading sequence...\n"));
    EXPECT_THAT(r.err, HasSubstr("data type is DNA.\n"));
}

}  // namespace

namespace {

// The index finds exactly the earlier sequences that a comparison of every
// pair finds, on rows of few letters and many gaps (near-copies, gaps
// matching anything), in several lengths.
TEST(Simtbl, IdenticalIndexFindsWhatEveryPairFinds) {
    std::vector<std::vector<std::uint8_t>> codes;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int i = 0; i < 600; ++i) {
        std::string row(6 + next() % 3, 'A');
        for (char& c : row) c = "ACG-a"[next() % (i % 3 == 0 ? 5 : 3)];
        codes.push_back(kavro::letter_codes(row));
    }
    codes.push_back(kavro::letter_codes("------"));
    const kavro::IdenticalIndex index(codes);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::vector<std::size_t> expected;
        for (std::size_t k = 0; k < i; ++k)
            if (kavro::identical_letter_codes(codes[i], codes[k])) expected.push_back(k);
        ASSERT_EQ(index.earlier_identical(i, false), expected) << i;
        const auto first = index.earlier_identical(i, true);
        ASSERT_EQ(first.size(), expected.empty() ? 0u : 1u) << i;
        if (!first.empty()) {
            EXPECT_EQ(first[0], expected[0]);
        }
    }
}

}  // namespace
