#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include "support/run_kavro.hpp"
#include "support/records.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

// With "stdout" as its output, tofast's data are the whole of standard
// output: the banner, the echo, progress and the closing line go to
// standard error, so the output can be piped into another program.
TEST(DataToStdout, StandardOutputHoldsOnlyTheSequences) {
    const std::string fasta = ">a x\nACGTNNNNNNNNNNNNACGT\n>b\nacgt\n";
    for (const char* word : {"tofast", "4", "complement", "toRNA"}) {
        auto r = kavro_test::run({.args = {word, "in.fa", "stdout"}, .files = {{"in.fa", fasta}}});
        EXPECT_EQ(r.status, 0) << word;
        EXPECT_EQ(r.out.front(), '>') << word;
        EXPECT_THAT(r.out, Not(HasSubstr("KAVRO"))) << word;
        EXPECT_THAT(r.err, HasSubstr("KAVRO")) << word;
        EXPECT_THAT(r.err, HasSubstr(kavro_test::sjis("完了.\n"))) << word;
    }
    auto masked = kavro_test::run({.args = {"tofast", "in.fa", "STDOUT", "mask"}, .files = {{"in.fa", fasta}}});
    EXPECT_EQ(masked.out, ">a x;\nACGTNx012xNACGT\n\n>b\nacgt\n\n");
}

TEST(DataToStdout, OtherCommandsKeepTheirMessagesOnStandardOutput) {
    auto r = kavro_test::run({.args = {"tofast", "in.fa", "out.fa"}, .files = {{"in.fa", ">a\nACGT\n"}}});
    EXPECT_THAT(r.out, HasSubstr("KAVRO"));
    EXPECT_THAT(r.out, HasSubstr(kavro_test::sjis("完了.\n")));
}

}  // namespace

namespace {

using kavro_test::sjis;

const std::string kGenes =
    "LOCUS       G1 60 bp DNA\nFEATURES             Location/Qualifiers\n"
    "     CDS             join(1..20,31..60)\n                     /gene=\"abcA\"\n"
    "ORIGIN\n        1 atgaaacccg ggtttaaacc ctaaccctaa gggtttccca aatttgggcc cttttaataa\n//\n";
const std::string kFasta = ">s one\nATGATGAAATAAGGGCCCTTTAAAGGGCCCATGTAA\n>t\nACGTACGTACGTAATT\n";

// Every command with "stdout" as its output word: its data alone on
// standard output, the banner, echo, progress and closing line elsewhere.
TEST(DataToStdout, EveryStdoutCommandOnTheCommandLine) {
    const std::vector<std::vector<std::string>> lines = {
        {"simtbl", "eq.fa", "stdout"},        {"toprot", "in.fa", "stdout", "1"},
        {"sites", "in.fa", "stdout", "1", "gatc"}, {"genlist", "in.gb"},
        {"extint", "in.gb", "stdout", "S", "0", "E", "0"}, {"clu2fa", "in.fa", "stdout"},
    };
    for (const auto& args : lines) {
        auto r = kavro_test::run(
            {.args = args, .files = {{"in.fa", kFasta}, {"in.gb", kGenes}, {"eq.fa", ">p\nACGT\n>q\nACGA\n"}}});
        std::string echo;
        for (std::size_t k = 1; k < args.size(); ++k) echo += args[k] + " ";
        EXPECT_EQ(r.status, 0) << args[0] << r.err;
        EXPECT_THAT(r.out, Not(HasSubstr("KAVRO"))) << args[0];
        EXPECT_THAT(r.out, Not(HasSubstr("\b"))) << args[0];
        EXPECT_THAT(r.out, Not(HasSubstr(echo + "\n"))) << args[0] << ": the echo";
        EXPECT_THAT(r.err, HasSubstr(echo + "\n")) << args[0];
        EXPECT_THAT(r.out, Not(HasSubstr("Terminated"))) << args[0];
        EXPECT_THAT(r.err, HasSubstr(sjis("完了.\n"))) << args[0];
    }
}

// In a script the routing holds for the one command and returns after it.
TEST(DataToStdout, ScriptLinesRouteEachCommandAlone) {
    const std::string script = "extint in.gb stdout S 0 E 0\ngenlist in.gb out.txt\n";
    auto r = kavro_test::run({.files = {{"in.gb", kGenes}, {"in.fa", kFasta}, {"kavro.cf", script}}});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string echo = sjis("\n今の入力内容: ");
    const std::string first = echo + "extint in.gb stdout S 0 E 0.\n";
    const auto data_at = r.out.find(first);
    ASSERT_NE(data_at, std::string::npos) << r.out;
    const auto data_end = r.out.find(echo, data_at + first.size());
    ASSERT_NE(data_end, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(data_at + first.size(), data_end - data_at - first.size()),
              ">G1_abcA_intron_1\nCTAACCCTAA\n\n");
    EXPECT_THAT(r.err, HasSubstr("in.gb stdout S 0 E 0 \n"));
    // The next command's messages are back on standard output.
    EXPECT_THAT(r.out.substr(data_end), HasSubstr("Reading sequence...\n"));
    EXPECT_THAT(r.out.substr(data_end), HasSubstr("\nTerminated.\n"));
}

TEST(DataToStdout, MenuCommandSendsItsMessagesToStandardError) {
    auto r = kavro_test::run({.input = "tofast in.fa stdout\n", .files = {{"in.fa", kFasta}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr(">s\nATGATGAAATAA"));
    EXPECT_THAT(r.out, Not(HasSubstr("Reading sequence")));
    EXPECT_THAT(r.out, Not(HasSubstr("\b")));
    EXPECT_THAT(r.err, HasSubstr("Reading sequence...\n"));
}

// "stdout" answered at the dialog's output prompt routes the same way.
TEST(DataToStdout, DialogAnswerStdoutSendsMessagesToStandardError) {
    auto r = kavro_test::run({.args = {"simtbl"}, .input = "eq.fa\nstdout\n", .files = {{"eq.fa", ">p\nACGT\n>q\nACGA\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Similarity table"));
    EXPECT_THAT(r.out, Not(HasSubstr("Reading sequence")));
    EXPECT_THAT(r.err, HasSubstr("Reading sequence...\n"));
}

// A failed write to standard output is reported once, whichever write fails.
TEST(DataToStdout, FailedWriteReportedOnce) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    std::string entries;
    const std::string line = "        1 acgtacgtac gtacgtacgt acgtacgtac gtacgtacgt acgtacgtac gtacgtacgt\n";
    for (int k = 0; k < 40; ++k) {
        entries += "LOCUS       E" + std::to_string(k) + " 3000 bp DNA\nORIGIN\n";
        for (int i = 0; i < 50; ++i) entries += line;
        entries += "//\n";
    }
    const std::string one = "LOCUS       E 10 bp DNA\nORIGIN\n" + line + "//\n";
    for (const std::string& input : {entries, one}) {
        auto r = kavro_test::run({.args = {"tofast", "in.gb", "stdout"}, .files = {{"in.gb", input}},
                                  .stdout_path = "/dev/full"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(kavro_test::count_of(r.err, "Trouble in writing file: stdout\n"), 1U) << r.err;
        EXPECT_THAT(r.err, Not(HasSubstr("\bw"))) << "no written mark for a failed write";
    }
}

}  // namespace
