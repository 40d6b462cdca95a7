#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/alignments.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

using namespace kavro_test;

const AlignmentRows kCodons = {{"g1", "ATGAAA---C"}, {"g2", "ATGCCCTTTA"}, {"g3", "GTG---TTTG"}};

TEST(Splcod, WritesOneAlignmentPerCodonPosition) {
    struct Case {
        std::vector<std::string> args;
        std::string input_name;
        std::string stdin_text;
        std::vector<std::string> outputs;
    };
    const std::vector<Case> cases = {
        {{"splcod", "gene.aln"}, "gene.aln", "", {"gene_1.aln", "gene_2.aln", "gene_3.aln"}},
        {{"splcod", "gene.clu"}, "gene.clu", "", {"gene.clu_1.aln", "gene.clu_2.aln", "gene.clu_3.aln"}},
        {{"splcod"}, "x.aln", "x.aln\n", {"x_1.aln", "x_2.aln", "x_3.aln"}},
    };
    // Columns 1,4,7,10 / 2,5,8 / 3,6,9; a codon gap puts one "-" in each.
    const std::vector<AlignmentRows> expected = {
        {{"g1", "AA-C"}, {"g2", "ACTA"}, {"g3", "G-TG"}},
        {{"g1", "TA-"}, {"g2", "TCT"}, {"g3", "T-T"}},
        {{"g1", "GA-"}, {"g2", "GCT"}, {"g3", "G-T"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input_name);
        auto r = run({.args = c.args, .input = c.stdin_text, .files = {{c.input_name, clustal_text(kCodons)}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("Reading sequence...\n"));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
        for (std::size_t p = 0; p < 3; ++p) EXPECT_EQ(read_back_alignment(r, c.outputs[p]), expected[p]) << p;
    }
}

TEST(Splcod, RefusesWhatIsNotOneClustalFile) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string usage = sjis("使い方: splcod infile ");
    const std::vector<Case> cases = {
        {{"splcod", "in.fa"}, "This is not a CLUSTAL file.\n"},
        {{"splcod", "missing.aln"}, "This is not a CLUSTAL file.\n"},
        {{"splcod", "help"}, usage},
        {{"splcod", "-h"}, usage},
        {{"splcod", "a.aln", "b.aln"}, usage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        auto r = run({.args = c.args, .files = {{"in.fa", fasta_text(kCodons)}, {"a.aln", clustal_text(kCodons)}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err + r.out, HasSubstr(c.message)) << r.err;
        EXPECT_FALSE(r.exists("a_1.aln") || r.exists("in.fa_1.aln"));
    }
}

}  // namespace
