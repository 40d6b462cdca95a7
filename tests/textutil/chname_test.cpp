#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/run_kavro.hpp"
#include "textutil/textutil_support.hpp"

using testing::HasSubstr;
using testing::StartsWith;
using testing::Not;

namespace {

using kavro_test::run;
using namespace textutil_test;

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

const std::string kTwoEntries = ">s1 first one\nACGT\n>s2\nGGCC\n";

const std::string kAlignment =
    "CLUSTAL W (1.83) multiple sequence alignment\n\n\n"
    "seqA                ACGTACGTAC-GT\n"
    "seqB                ACGTACG-ACAGT\n\n";

TEST(Chname, DashRenamesTheFirstEntry) {
    auto r = run({.args = {"chname", "in.fa", "out.fa", "-", "newname"},
                  .files = {{"in.fa", kTwoEntries}, {"out.fa", "old contents\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Reading sequence...\n"));
    EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n" + kDone));
    // The output replaces what the file held before.
    EXPECT_EQ(r.file("out.fa"), ">newname first one;\nACGT\n\n>s2\nGGCC\n\n");
}

TEST(Chname, RenamesByNameInAnAlignment) {
    auto r = run({.args = {"chname", "in.aln", "out.aln", "seqB", "renamed"}, .files = {{"in.aln", kAlignment}}});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = r.file("out.aln");
    EXPECT_THAT(text, StartsWith("CLUSTAL")) << text;
    EXPECT_THAT(text, HasSubstr("seqA                               ACGTACGTAC-GT\n"));
    EXPECT_THAT(text, HasSubstr("renamed                            ACGTACG-ACAGT\n"));

    // No entry of that name: the alignment is written as it was read.
    auto same = run({.args = {"chname", "in.aln", "out.aln", "seqX", "seqY"}, .files = {{"in.aln", kAlignment}}});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_THAT(same.file("out.aln"), HasSubstr("seqB                               ACGTACG-ACAGT\n"));
    EXPECT_THAT(same.file("out.aln"), Not(HasSubstr("seqY")));
}

TEST(Chname, SingleFastaEntryKeepsItsDefinition) {
    auto r = run({.args = {"chname", "in.fa", "in.fa", "s1", "only"}, .files = {{"in.fa", ">s1 first one\nACGT\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("in.fa"), ">only first one;\nACGT\n\n");
}

TEST(Chname, InteractiveRenaming) {
    std::string seven;
    for (char c = 'a'; c <= 'g'; ++c) seven += std::string(">") + c + "\nACGT\n";
    const std::string thirty(30, 'n');
    auto r = run({.args = {"chname", "in.fa", "out.fa"},
                  .input = "8\n2a\n2\n" + thirty + "\nrenamed\n0\n",
                  .files = {{"in.fa", seven}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\nThis is a list of sequences in the file: in.fa.\n\n"));
    // Three entries a line, names padded to 30 columns.
    EXPECT_THAT(r.out, HasSubstr("    3 c" + std::string(29, ' ') + "\t\n    4 d"));
    EXPECT_THAT(r.out, HasSubstr("    6 f" + std::string(29, ' ') + "\t\n    7 g"));
    EXPECT_EQ(count_of(r.out, "\nType correct number. Try again."), 2u);
    EXPECT_EQ(count_of(r.out, "\nNew name: "), 2u);  // 30 characters are asked again
    EXPECT_EQ(count_of(r.out, "This is a list of sequences"), 2u);
    EXPECT_THAT(r.file("out.fa"), HasSubstr(">renamed\nACGT\n"));
    EXPECT_THAT(r.file("out.fa"), Not(HasSubstr(">b\n")));
}

TEST(Chname, EndOfInputFinishesTheRenaming) {
    auto r = run({.args = {"chname", "in.fa", "out.fa"}, .input = "1\nfirst\n", .files = {{"in.fa", kTwoEntries}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.timed_out);
    EXPECT_THAT(r.file("out.fa"), StartsWith(">first first one;\n"));
}

TEST(Chname, DialogFailuresAndUsage) {
    auto dialog = run({.args = {"chname"}, .input = "y\ny\n0\n", .files = {{"infile", kTwoEntries}}});
    ASSERT_EQ(dialog.status, 0) << dialog.err;
    EXPECT_THAT(dialog.out, HasSubstr("      Input file name"));
    EXPECT_THAT(dialog.out, HasSubstr("      Output file name"));
    EXPECT_TRUE(dialog.exists("infile.out"));

    auto raw = run({.args = {"chname", "in.txt", "out.fa", "a", "b"}, .files = {{"in.txt", "ACGT\n"}}});
    EXPECT_EQ(raw.status, 1);
    EXPECT_THAT(raw.err, HasSubstr("This is not a FASTA or CLUSTAL file.\n"));

    auto broken = run({.args = {"chname", "in.aln", "out.aln", "a", "b"},
                       .files = {{"in.aln", "CLUSTAL W\n\n\nseqA    AC.GT\nseqB    ACGGT\n"}}});
    EXPECT_EQ(broken.status, 1);
    EXPECT_THAT(broken.err, HasSubstr("Error in reading file: in.aln\n"));

    auto usage = run({.args = {"chname", "in.fa", "out.fa", "a"}});
    EXPECT_EQ(usage.status, 1);
    EXPECT_THAT(usage.out, HasSubstr(kavro_test::sjis("使い方: chname infile outfile [old_name new_name]")));
}

}  // namespace
