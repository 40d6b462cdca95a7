#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/run_kavro.hpp"

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
