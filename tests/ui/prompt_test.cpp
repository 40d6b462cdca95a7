#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/console_input.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

using kavro::LineReader;
using kavro_test::sjis;

struct Captured {
    std::string out, err;
};

// Runs f with the console captured; checks belong after the call, where
// their messages are not captured too.
Captured captured(const std::function<void()>& f) {
    kavro_test::CaptureConsole console;
    f();
    return {console.out(), console.err()};
}

const std::string kInputBox = sjis(
    "     -------------------------------------------\n"
    "      入力ファイル名 または exitと入力してください。\n"
    "     -------------------------------------------\n\n");

TEST(AskArgument, YKeepsTheDefaultAndAWordReplacesIt) {
    auto in = LineReader::from_string("y\nmy.fa\n");
    std::string arg = "infile", kept;
    int first = -1, second = -1;
    auto c = captured([&] {
        first = kavro::ask_argument_from(in, arg, "入力ファイル名");
        kept = arg;
        second = kavro::ask_argument_from(in, arg, "入力ファイル名");
    });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(kept, "infile");
    EXPECT_EQ(second, 1);
    EXPECT_EQ(arg, "my.fa");
    EXPECT_EQ(c.out, kInputBox + kInputBox);
}

TEST(AskArgument, TwoWordsOnOneLineAnswerTwoPrompts) {
    auto in = LineReader::from_string("  a.gb b.fa\n");
    std::string first = "infile", second = "infile.out";
    captured([&] {
        static_cast<void>(kavro::ask_argument_from(in, first, "入力ファイル名"));
        static_cast<void>(kavro::ask_argument_from(in, second, "出力ファイル名"));
    });
    EXPECT_EQ(first, "a.gb");
    EXPECT_EQ(second, "b.fa");
}

TEST(AskArgument, ExitAndEndOfInputLeaveTheCommand) {
    auto in = LineReader::from_string("exit\n");
    std::string arg = "infile";
    int on_exit = -1, on_end = -1;
    auto c = captured([&] {
        on_exit = kavro::ask_argument_from(in, arg, "入力ファイル名");
        on_end = kavro::ask_argument_from(in, arg, "入力ファイル名");  // nothing left
    });
    EXPECT_EQ(on_exit, 0);
    EXPECT_EQ(on_end, 0);
    EXPECT_EQ(arg, "infile");
    EXPECT_EQ(c.out, kInputBox + "You selected EXIT.\n" + kInputBox + "You selected EXIT.\n");
}

TEST(AskArgument, AnswerOver31CharactersIsRefusedWhole) {
    const std::string longest(31, 'a');
    auto in = LineReader::from_string(std::string(32, 'b') + "\n" + longest + "\n");
    std::string arg = "infile";
    int go_on = -1;
    auto c = captured([&] { go_on = kavro::ask_argument_from(in, arg, "入力ファイル名"); });
    // The long answer is refused and asked again; its tail answers nothing.
    EXPECT_EQ(go_on, 1);
    EXPECT_EQ(arg, longest);
    EXPECT_EQ(c.out, kInputBox + kInputBox);
    EXPECT_THAT(c.err, HasSubstr("longer than 31 characters"));
}

TEST(WaitForY, IgnoresOtherLinesAndKeepsLaterLines) {
    // "yyyyyyyy" arrives as two pieces of four, neither of which is "y".
    auto in = LineReader::from_string("n\nyes\n\nyyyyyyyy\ny   \nnext command\n");
    bool got_y = false;
    auto c = captured([&] { got_y = kavro::wait_for_y_from(in); });
    EXPECT_TRUE(got_y);
    EXPECT_EQ(c.out, sjis("y を押してからリターンしてください.\n"));
    std::string_view rest;
    ASSERT_TRUE(in.read_piece(rest, 511));
    EXPECT_EQ(rest, "next command\n");
}

TEST(WaitForY, DropsOnlyTheRestOfItsOwnLine) {
    // "y" then spaces beyond the four-character piece: the rest of that line
    // goes, the following line stays.
    auto in = LineReader::from_string("y       \ntofast a b\n");
    bool got_y = false;
    captured([&] { got_y = kavro::wait_for_y_from(in); });
    EXPECT_TRUE(got_y);
    std::string_view rest;
    ASSERT_TRUE(in.read_piece(rest, 511));
    EXPECT_EQ(rest, "tofast a b\n");
}

TEST(WaitForY, EndOfInputEndsTheWait) {
    auto in = LineReader::from_string("n\nno\n");
    bool got_y = true;
    captured([&] { got_y = kavro::wait_for_y_from(in); });
    EXPECT_FALSE(got_y);
}

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

TEST(HelpLoop, ShowsUsageWaitsAndReturnsOnE) {
    auto in = LineReader::from_string("\n22\ny\ne\nleft\n");
    bool ended = true;
    auto c = captured([&] { kavro::help_loop_from(in, ended); });
    EXPECT_FALSE(ended);
    EXPECT_THAT(c.out, HasSubstr(sjis("使い方: cdsnuc infile outfile start end <cds_name>.\n")));
    // The list is shown at the start, after the empty line and after the usage.
    EXPECT_EQ(count_of(c.out, sjis("              コマンド名のリスト\n\n")), 3u);
    EXPECT_THAT(c.out, HasSubstr(sjis("使い方を調べたいコマンド名を入力して下さい\n"
                              "メインメニューにもどるには \"exit\" または \"e\".\n\n")));
    std::string_view rest;
    ASSERT_TRUE(in.read_piece(rest, 511));
    EXPECT_EQ(rest, "left\n");
}

TEST(HelpLoop, ReadsLongLinesInPiecesOfNine) {
    // The first nine characters are looked up on their own; the wait for
    // "y" then reads the rest of the line.
    auto in = LineReader::from_string("123456789nucaln\ny\nexit\n");
    bool ended = true;
    auto c = captured([&] { kavro::help_loop_from(in, ended); });
    EXPECT_FALSE(ended);
    EXPECT_THAT(c.out, HasSubstr(sjis("123456789 に対するヘルプはありません.\n")));
    EXPECT_THAT(c.out, Not(HasSubstr(sjis("使い方: nucaln"))));
}

TEST(HelpLoop, EndOfInputEndsTheLoop) {
    auto at_prompt = LineReader::from_string("");
    auto at_wait = LineReader::from_string("txtr\n");
    bool ended_at_prompt = false, ended_at_wait = false;
    captured([&] {
        kavro::help_loop_from(at_prompt, ended_at_prompt);
        kavro::help_loop_from(at_wait, ended_at_wait);
    });
    EXPECT_TRUE(ended_at_prompt);
    EXPECT_TRUE(ended_at_wait);
}

}  // namespace
