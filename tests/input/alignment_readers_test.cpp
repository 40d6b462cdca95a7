#include <gtest/gtest.h>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"

using namespace kavro;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

struct Read {
    std::optional<Collection> c;
    std::string err;
};

Read clustal(const std::string& text, int keep = 0) {
    TempFile f(text);
    Read r;
    r.err = stderr_of([&] { r.c = read_clustal(f.path(), keep); });
    return r;
}

Read phylip(const std::string& text, int keep = 0) {
    TempFile f(text);
    Read r;
    r.err = stderr_of([&] { r.c = read_phylip(f.path(), keep); });
    return r;
}

const std::string kHeader = "CLUSTAL W (1.83) multiple sequence alignment\n\n\n";
const std::string kBlock1 =
    "seqA            ACGT-ACGTA\n"
    "seqB            ACGTTACG-A\n"
    "seqC            AC-TTACGGA\n";
const std::string kConservation = "                ** * *** *\n";
const std::string kBlock2 =
    "seqA            GGCC\n"
    "seqB            GGCA\n"
    "seqC            GG-A\n";

// Alignments of translated sequences hold stops: the CLUSTAL reader keeps
// "*" as the PHYLIP reader does.
TEST(Clustal, StopsAreResidues) {
    auto r = clustal(kHeader + "seqA            MKT*-A\nseqB            MKTQ-*\n");
    ASSERT_TRUE(r.c) << r.err;
    EXPECT_EQ((*r.c)[0].residues, "MKT*-A");
    EXPECT_EQ((*r.c)[1].residues, "MKTQ-*");
}

TEST(Clustal, TwoBlocksWithConservationLines) {
    auto r = clustal(kHeader + kBlock1 + kConservation + "\n" + kBlock2 + kConservation);
    ASSERT_TRUE(r.c) << r.err;
    ASSERT_EQ(r.c->size(), 3u);
    EXPECT_EQ((*r.c)[0].name, "seqA");
    EXPECT_EQ((*r.c)[0].residues, "ACGT-ACGTAGGCC");
    EXPECT_EQ((*r.c)[2].residues, "AC-TTACGGAGG-A");
    for (const auto& rec : *r.c) {
        EXPECT_EQ(rec.length, 14);
        EXPECT_EQ(rec.type, ResidueKind::Dna);  // the first entry's class, given to all
        EXPECT_EQ(rec.definition, "");
    }
    EXPECT_EQ(r.err, "");
    r = clustal(kHeader + kBlock1 + "\n" + kBlock2, 1);
    EXPECT_EQ((*r.c)[1].type, ResidueKind::Unknown);
}

TEST(Clustal, SingleBlockGivesFullSequencesWhateverFollowsIt) {
    // No trailing line, a blank line, or a conservation line: the full rows.
    for (const std::string& tail : {std::string(), std::string("\n"), kConservation, kConservation + "\n\n"}) {
        auto r = clustal(kHeader + kBlock1 + tail);
        ASSERT_TRUE(r.c) << r.err;
        ASSERT_EQ(r.c->size(), 3u);
        EXPECT_EQ((*r.c)[1].residues, "ACGTTACG-A");
        EXPECT_EQ((*r.c)[1].length, 10);
    }
}

TEST(Clustal, BlocksNeedNoSeparatorOnceTheCountIsKnown) {
    auto r = clustal(kHeader + kBlock1 + "\n" + kBlock2 + kBlock2);
    ASSERT_TRUE(r.c) << r.err;
    EXPECT_EQ((*r.c)[0].residues, "ACGT-ACGTAGGCCGGCC");
}

TEST(Clustal, ResidueGroupsAndRunningPositions) {
    std::string text = kHeader +
                       "HBB_HUMAN       --------VH LTPEEKSAVT 20\n"
                       "HBA_HUMAN       ---------- ----VLSPAD 20\n"
                       "\n"
                       "HBB_HUMAN       ALWGK 25\n"
                       "HBA_HUMAN       KTNVK 25\n";
    auto r = clustal(text);
    ASSERT_TRUE(r.c) << r.err;
    EXPECT_EQ((*r.c)[0].residues, "--------VHLTPEEKSAVTALWGK");
    EXPECT_EQ((*r.c)[1].residues, "--------------VLSPADKTNVK");
    EXPECT_EQ((*r.c)[1].type, ResidueKind::Protein);
}

TEST(Clustal, FailureMessages) {
    EXPECT_EQ(clustal("MUSCLE (3.8) multiple sequence alignment\n\nseqA ACGT\n").err, "Unknown file format.\n");
    // Text before the header fails.
    EXPECT_EQ(clustal("\nseqA            ACGT\nCLUSTAL\n").err, "Unknown file format.\n");
    EXPECT_EQ(clustal("").err, "Unknown file format.\n");
    EXPECT_EQ(clustal(kHeader + std::string(100, 'n') + " ACGT\nseqB ACGT\n").err, "Too long ID name.\n");
    EXPECT_EQ(clustal(kHeader + "seqA            ACGT\n\nseqA            ACGT\n").err, "Only one sequence.\n");
    EXPECT_EQ(clustal(kHeader + kBlock1 + "\nseqA            GGCC\nseqC            GGCA\n").err,
              "Wrong ID name in 2 -th sequence.\n");
    EXPECT_EQ(clustal(kHeader + kBlock1 + "\nseqA            GGCC\nseqB            GGC\n").err,
              "Line length is not identical.\n");
    EXPECT_EQ(clustal(kHeader + "seqA            AC.T\nseqB            ACGT\n").err, "Strange character in sequence.\n");
    EXPECT_EQ(clustal(kHeader + "seqA            AC1T\nseqB            ACGT\n").err, "Strange character in sequence.\n");
    EXPECT_EQ(clustal(kHeader + "seqA            ACGT AC.T\nseqB            ACGT ACGT\n").err,
              "Strange character in sequence.\n");
    EXPECT_EQ(clustal(kHeader + kBlock1 + "\nseqA            GGCC\nseqB            GGCA\n").err,
              "Sequence is not complete.\n");
    EXPECT_EQ(clustal(kHeader).err, "Sequence is not complete.\n");
    for (const auto& text : {kHeader + std::string(100, 'n') + " ACGT\n", kHeader + kBlock1 + "\nseqA            GGCC\n"})
        EXPECT_FALSE(clustal(text).c);
    auto r = clustal("");
    EXPECT_FALSE(r.c);
    std::optional<Collection> c;
    EXPECT_EQ(stderr_of([&] { c = read_clustal("/nonexistent/a.aln", 0); }), "Cannot open file: /nonexistent/a.aln\n\n");
}

TEST(Clustal, RowsAreReadInPiecesOf512) {
    // A row longer than a piece continues as a new row named by its residues.
    std::string row = "seqA " + std::string(700, 'A') + "\n";
    EXPECT_EQ(clustal(kHeader + row + row).err, "Too long ID name.\n");
}

const std::string kPhylip =
    " 3 14 I\n"
    "seqA      ACGT-ACGTA\n"
    "seqB\tACGTTACG-A\n"
    "seqC      AC-TT ACG GA\n"
    "\n"
    "GGCC\n"
    "GG CA 12\n"
    "GG-*\n";

TEST(Phylip, InterleavedBlocks) {
    auto r = phylip(kPhylip);
    ASSERT_TRUE(r.c) << r.err;
    ASSERT_EQ(r.c->size(), 3u);
    EXPECT_EQ((*r.c)[1].name, "seqB");
    EXPECT_EQ((*r.c)[0].residues, "ACGT-ACGTAGGCC");
    EXPECT_EQ((*r.c)[1].residues, "ACGTTACG-AGGCA");
    EXPECT_EQ((*r.c)[2].residues, "AC-TTACGGAGG-*");
    EXPECT_EQ((*r.c)[2].length, 14);
    EXPECT_EQ((*r.c)[2].type, ResidueKind::Dna);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ((*phylip(kPhylip, 1).c)[0].type, ResidueKind::Unknown);
}

TEST(Phylip, DeclaredLengthDiffersButBlocksAreComplete) {
    std::string text = kPhylip;
    text.replace(3, 2, "20");
    auto r = phylip(text);
    ASSERT_TRUE(r.c);
    EXPECT_EQ((*r.c)[0].length, 14);
    EXPECT_EQ(r.err, "Error in sequence length.\nIn the first line, it is 20, while it is in fact 14.\n");
}

TEST(Phylip, SingleBlockWithoutBlankLine) {
    auto r = phylip("2 11 i\na ACGTACGTACG\nb ACGTACGTACC");
    ASSERT_TRUE(r.c) << r.err;
    EXPECT_EQ((*r.c)[1].residues, "ACGTACGTACC");
}

TEST(Phylip, FailureMessages) {
    const std::string specify = "Specify I in the first line in a Phylip interleaved file .\n";
    EXPECT_EQ(phylip(" 3 14\nseqA ACGT\n").err, specify);
    EXPECT_EQ(phylip(" 3 14 s\nseqA ACGT\n").err, specify);
    EXPECT_EQ(phylip(" 1 14 I\nseqA ACGT\n").err, "Strange sequence alignment.\n");
    EXPECT_EQ(phylip(" 3 10 I\nseqA ACGT\n").err, "Strange sequence alignment.\n");
    EXPECT_EQ(phylip("x y I\n").err, "Strange sequence alignment.\n");
    EXPECT_EQ(phylip("\n\n").err, "Strange sequence alignment.\n");
    EXPECT_EQ(phylip(" 2 12 I\n" + std::string(21, 'n') + " ACGT\n").err, "Too long ID name.\n");
    EXPECT_EQ(phylip(" 2 12 I\nseqA ACGT\n\nseqA ACGT\n").err, "Only one sequence.\n");
    EXPECT_EQ(phylip(" 3 12 I\nseqA ACGT\nseqB ACGT\n\nACGT\n").err, "Number of sequences is not correct.\n");
    EXPECT_EQ(phylip(" 2 12 I\nseqA ACGTAC\nseqB ACG\n").err,
              "Line length is not identical.\nlinelength= 6, seqstr= 3\nseqstr: ACG\n");
    // The last block lacks a row and the total disagrees: nothing.
    auto r = phylip(" 2 12 I\nseqA ACGTAC\nseqB ACGTAC\n\nACG\n");
    EXPECT_FALSE(r.c);
    EXPECT_EQ(r.err,
              "Sequence might not be complete.\nk= 1, num_seq= 2.\nError in sequence length.\n"
              "In the first line, it is 12, while it is in fact 9.\n");
    // The last block lacks a row but the total agrees: a warning, and the
    // short entry keeps what was read.
    r = phylip(" 2 13 I\nseqA ACGTACGTAC\nseqB ACGTACGTAC\n\nACG\n");
    ASSERT_TRUE(r.c);
    EXPECT_EQ(r.err, "Sequence might not be complete.\nk= 1, num_seq= 2.\n");
    EXPECT_EQ((*r.c)[0].length, 13);
    EXPECT_EQ((*r.c)[1].length, 10);
    EXPECT_EQ((*r.c)[1].residues, "ACGTACGTAC");
    std::optional<Collection> c;
    EXPECT_EQ(stderr_of([&] { c = read_phylip("/nonexistent/p.phy", 0); }), "Cannot open file: /nonexistent/p.phy\n\n");
}

TEST(ParsePosition, Forms) {
    EXPECT_EQ(parse_position("120"), 120);
    EXPECT_EQ(parse_position("+5"), 5);
    EXPECT_EQ(parse_position("+7"), 7);
    EXPECT_EQ(parse_position("-30"), -30);
    EXPECT_EQ(parse_position("100+20"), 120);
    EXPECT_EQ(parse_position("100-20"), 80);
    EXPECT_EQ(parse_position("last-10"), -10);
    EXPECT_EQ(parse_position("last+10"), 10);
    EXPECT_EQ(parse_position("100+"), 100);
    EXPECT_EQ(parse_position("-5+3"), -2);
    EXPECT_EQ(parse_position("last"), 0);
    EXPECT_EQ(parse_position("LAST"), 0);
    EXPECT_EQ(parse_position("Last"), 0);
    EXPECT_EQ(parse_position("7a"), 0);
    EXPECT_EQ(parse_position("+7a"), 0);
    EXPECT_EQ(parse_position("-"), 0);
    EXPECT_EQ(parse_position(""), 0);
    EXPECT_EQ(parse_position(std::string(101, '1')), 0);
    EXPECT_EQ(parse_position(std::string(100, '9')), 1L << 60);  // held, no overflow
    // Positions are 64-bit: past 2,147,483,647 on a long chromosome.
    EXPECT_EQ(parse_position("2200000011"), 2200000011L);
    EXPECT_EQ(parse_position("2200000000+11"), 2200000011L);
}

TEST(ParsePosition, WhatIsAPosition) {
    for (const char* good : {"120", "+5", "-30", "100+20", "100-20", "last", "LAST", "last-10", "2200000011"})
        EXPECT_TRUE(is_position_text(good)) << good;
    for (const char* bad : {"abc", "7a", "+7a", "-", "", "100+", "1e5", "12 3", "Last", "10+20+30"})
        EXPECT_FALSE(is_position_text(bad)) << bad;
}

}  // namespace
