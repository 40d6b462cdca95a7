#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "input/formats.hpp"
#include "support/run_kavro.hpp"
#include "textutil/textutil_support.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

using kavro_test::run;
using namespace textutil_test;

using Rows = std::vector<std::pair<std::string, std::string>>;

// Rows of a CLUSTAL file cut into blocks of 60 columns.
std::string clustal(const Rows& rows) {
    std::string t = "CLUSTAL W (1.83) multiple sequence alignment\n\n\n";
    for (std::size_t c = 0; c < rows[0].second.size(); c += 60) {
        for (const auto& [name, residues] : rows) {
            t += name + std::string(name.size() < 20 ? 20 - name.size() : 1, ' ');
            t += residues.substr(c, 60) + "\n";
        }
        t += "\n";
    }
    return t;
}

// The entries of an alignment the command wrote, read back by the reader.
Rows read_back(const kavro_test::Result& r, const std::string& name) {
    Rows rows;
    auto seqs = kavro::read_clustal(r.dir->path() + "/" + name, 1);
    if (seqs)
        for (const auto& rec : *seqs) rows.push_back({rec.name, rec.residues});
    return rows;
}

std::string pattern(std::size_t n, const char* letters) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += letters[(i * 7 + i / 3) % 4];
    return s;
}

TEST(Seqcat, JoinsTwoAlignmentsEntryByEntry) {
    Rows first = {{"alpha", pattern(100, "ACGT")}, {"beta", pattern(100, "CGT-")}, {"gamma", pattern(100, "GTAC")}};
    Rows second = {{"alpha", pattern(50, "TTGA")}, {"beta", pattern(50, "A-GC")}, {"gamma", pattern(50, "CCAT")}};
    auto r = run({.args = {"seqcat", "a.aln", "b.aln", "out.aln"},
                  .files = {{"a.aln", clustal(first)}, {"b.aln", clustal(second)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("These are CLUSTAL files.\nReading sequence 1...\nReading sequence 2...\n"));
    EXPECT_THAT(r.out, HasSubstr("Writing sequences...\n"));
    EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n" + kDone));
    Rows joined = read_back(r, "out.aln");
    ASSERT_EQ(joined.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(joined[i].first, first[i].first);
        EXPECT_EQ(joined[i].second, first[i].second + second[i].second);
    }
}

TEST(Seqcat, AlignmentNamesAgreeOnTheirFirstTenCharacters) {
    Rows first = {{"sequence_0001", "ACGTACGTAC"}, {"other", "ACGTACGTAC"}};
    Rows second = {{"sequence_0002", "GGGG"}, {"other", "CCCC"}};
    auto r = run({.args = {"seqcat", "a.aln", "b.aln", "out.aln"},
                  .files = {{"a.aln", clustal(first)}, {"b.aln", clustal(second)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    Rows joined = read_back(r, "out.aln");
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0], (std::pair<std::string, std::string>{"sequence_0001", "ACGTACGTACGGGG"}));

    Rows renamed = {{"sequence_0001", "GGGG"}, {"another", "CCCC"}};
    auto mismatch = run({.args = {"seqcat", "a.aln", "b.aln", "out.aln"},
                         .files = {{"a.aln", clustal(first)}, {"b.aln", clustal(renamed)}}});
    EXPECT_EQ(mismatch.status, 1);
    EXPECT_EQ(mismatch.err, "Sequence IDs do not match.\nUnable to combine sequences.\n");

    Rows three = {{"sequence_0001", "GGGG"}, {"other", "CCCC"}, {"third", "AAAA"}};
    auto counts = run({.args = {"seqcat", "a.aln", "b.aln", "out.aln"},
                       .files = {{"a.aln", clustal(first)}, {"b.aln", clustal(three)}}});
    EXPECT_EQ(counts.status, 1);
    EXPECT_THAT(counts.err, HasSubstr("Numbers of sequences are not equal.\n"));
}

const std::string kGenBank =
    "LOCUS       GBSEQ1        12 bp    DNA     linear   SYN 01-JAN-2000\n"
    "DEFINITION  First part.\n"
    "ORIGIN\n"
    "        1 acgtacgtac gt\n"
    "//\n";

TEST(Seqcat, JoinsTwoSingleSequencesIntoFasta) {
    auto r = run({.args = {"seqcat", "a.gb", "b.fa", "out.fa"},
                  .files = {{"a.gb", kGenBank}, {"b.fa", ">second part two\nTTTT\nGG\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Reading sequence 1...\nThis is a GenBank file.\n"));
    EXPECT_THAT(r.out, HasSubstr("Reading sequence 2...\nThis is a FASTA file.\n"));
    EXPECT_THAT(r.out, HasSubstr("Data type is DNA\n"));
    EXPECT_EQ(r.file("out.fa"), ">GBSEQ1\nACGTACGTACGTTTTTGG\n\n");
}

TEST(Seqcat, OutputMayBeTheFirstInput) {
    auto r = run({.args = {"seqcat", "a.fa", "b.fa", "a.fa"},
                  .files = {{"a.fa", ">a1\nAAAA\n"}, {"b.fa", ">b1\nCCCC\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("a.fa"), ">a1\nAAAACCCC\n\n");
}

TEST(Seqcat, SingleSequenceFailures) {
    auto types = run({.args = {"seqcat", "a.fa", "b.fa", "out.fa"},
                      .files = {{"a.fa", ">a1\nACGTACGT\n"}, {"b.fa", ">p1\nMKVLAAGIW\n"}}});
    EXPECT_EQ(types.status, 1);
    EXPECT_THAT(types.err, HasSubstr("The two sequences are of different types.\n"));

    auto empty = run({.args = {"seqcat", "a.fa", "b.fa", "out.fa"},
                      .files = {{"a.fa", ">a1\nACGTACGT\n"}, {"b.fa", ">b1\n"}}});
    EXPECT_EQ(empty.status, 1);
    EXPECT_THAT(empty.err, HasSubstr("Error in reading sequence 2.\n"));

    auto missing = run({.args = {"seqcat", "a.fa", "none.fa", "out.fa"}, .files = {{"a.fa", ">a1\nACGT\n"}}});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("Unknown file format.\n"));
    EXPECT_THAT(missing.out, Not(HasSubstr(kavro_test::sjis("終了します..\n"))));
}

TEST(Seqcat, DialogAndUsage) {
    auto r = run({.args = {"seqcat"}, .input = "y\ny\ny\n",
                  .files = {{"file1", ">a1\nAAAA\n"}, {"file2", ">b1\nCCCC\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("outfile"), ">a1\nAAAACCCC\n\n");

    auto three = run({.args = {"seqcat", "f1", "f2"}, .input = "joined.fa\n",
                      .files = {{"f1", ">a1\nAAAA\n"}, {"f2", ">b1\nCCCC\n"}}});
    EXPECT_EQ(three.file("joined.fa"), ">a1\nAAAACCCC\n\n");

    auto quit = run({.args = {"seqcat"}, .input = "exit\n"});
    EXPECT_EQ(quit.status, 1);
    EXPECT_THAT(quit.out, HasSubstr("You selected EXIT.\n"));

    auto usage = run({.args = {"seqcat", "a"}});
    EXPECT_EQ(usage.status, 1);
    EXPECT_THAT(usage.out, HasSubstr(kavro_test::sjis("使い方: seqcat file1 file2 outfile.")));
}

}  // namespace
