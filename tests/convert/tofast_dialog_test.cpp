// The tofast dialog: the command word alone, answers on standard input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

const char* const kTypeQuestion =
    "Output data type? d <DNA>, r <RNA>, p <protein>, n <no change>.\n"
    "Or special output? i <info>, b <compositional variation>.\n";

kavro_test::Result dialog(const std::string& answers, const std::string& input_name = "in.fa") {
    return kavro_test::run({.args = {"tofast"},
                            .input = answers,
                            .files = {{input_name, ">b x\naacgt\n>a\nGG" + std::string(10, 'N') + "CC\n"}},
                            .timeout_seconds = 20});
}


std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

TEST(TofastDialog, DataTypeAndStrand) {
    auto r = dialog("in.fa out.fa d n\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(occurrences(r.out, kTypeQuestion), 1u);
    EXPECT_THAT(r.out, HasSubstr("c <complementary> or n <normal> strand?\n"));
    // Not clear mode: definitions stay, residues keep their case.
    EXPECT_EQ(r.file("out.fa"), ">b x;\naacgt\n\n>a\nGGNNNNNNNNNNCC\n\n");
}

TEST(TofastDialog, NoChangeEndsTheQuestion) {
    auto r = dialog("in.fa out.fa s n n\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(occurrences(r.out, kTypeQuestion), 2u);
    EXPECT_EQ(r.file("out.fa"), ">a\nGGNNNNNNNNNNCC\n\n>b x;\naacgt\n\n");  // sorted, types unchanged
}

TEST(TofastDialog, OtherAnswersRepeatTheQuestionAndSpecialAnswersAccumulate) {
    auto r = dialog("in.fa out.fa x s Mask d c\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(occurrences(r.out, kTypeQuestion), 4u);
    const std::string out = r.file("out.fa");
    // sorted, masked, complemented
    EXPECT_THAT(out, HasSubstr(">a_C")) << out;
    EXPECT_THAT(out, HasSubstr("\nGGNx010xNCC\n")) << out;
    EXPECT_LT(out.find(">a_C"), out.find(">b_C"));
}

TEST(TofastDialog, DefaultsAreKeptWithY) {
    auto r = kavro_test::run({.args = {"tofast"}, .input = "y y d n\n", .files = {{"infile", ">s\nacgt\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("outfile"), ">s\nacgt\n\n");
}

TEST(TofastDialog, StdoutIsRefusedAsOutputName) {
    for (const char* name : {"stdout", "STDOUT"}) {
        auto r = dialog(std::string("in.fa ") + name + " d n\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err, HasSubstr("Specify output file name. Exiting...\n"));
        EXPECT_THAT(r.err, Not(HasSubstr("Reading sequence")));
    }
}

TEST(TofastDialog, LimitIsRefused) {
    auto r = dialog("in.fa out.fa max\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Limit mode is not available in dialog mode.\nType tofast help for usage.\n"));
    EXPECT_FALSE(r.exists("out.fa"));
}

TEST(TofastDialog, ExitAndEndOfInputLeaveTheCommand) {
    auto exit_first = dialog("exit\n");
    EXPECT_EQ(exit_first.status, 1);
    EXPECT_THAT(exit_first.out, HasSubstr("You selected EXIT.\n"));
    EXPECT_THAT(exit_first.out, Not(HasSubstr("Output data type?")));
    for (const char* answers : {"in.fa out.fa\n", "in.fa out.fa d\n", "in.fa out.fa p\n", "in.fa out.fa b d 10\n",
                                "in.fa out.fa ms d\n", "in.fa out.fa p 1\n"}) {
        auto r = dialog(answers);
        EXPECT_FALSE(r.timed_out) << answers;
        EXPECT_EQ(r.status, 1) << answers;
        EXPECT_FALSE(r.exists("out.fa")) << answers;
    }
    auto ms_exit = dialog("in.fa out.fa ms d exit\n");
    EXPECT_EQ(ms_exit.status, 1);
    EXPECT_THAT(ms_exit.out, HasSubstr("Name of the file for the definition of MS analysis?\n"));
    auto window_exit = dialog("in.fa out.fa b d exit\n");
    EXPECT_EQ(window_exit.status, 1);
    EXPECT_THAT(window_exit.out, Not(HasSubstr("Slide size in bp?")));
}

TEST(TofastDialog, FrameAndWindowQuestionsRepeatOnBadAnswers) {
    auto frame = dialog("in.fa out.fa p abc 2 uni\n");
    EXPECT_THAT(frame.err, HasSubstr("This is not a number.\n"));
    EXPECT_EQ(occurrences(frame.out, "Translation frame? Use 1 - 3 for normal strand.\n"
                                     "   Use -1 - -3 (or 4 - 6) for complementary.\n"),
              2u);
    EXPECT_THAT(frame.out, HasSubstr("Codon table? Input a name of codon table file.\nType <uni> to use universal table.\n"
                               "Type <mt> to use mitochondrial table.\n"));
    auto window = dialog("in.fa out.fa b d 1x 10 5\n");
    EXPECT_EQ(occurrences(window.out, "Window size in bp?\n"), 2u);
    EXPECT_EQ(occurrences(window.out, "Slide size in bp?\n"), 1u);
    EXPECT_THAT(window.out, Not(HasSubstr("strand?")));  // composition takes the place of the strand question
}

}  // namespace
