#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/run_kavro.hpp"
#include "textutil/textutil_support.hpp"
#include "textutil/txtr_passes.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

using kavro_test::run;
using kavro_test::sjis;
using namespace textutil_test;

kavro_test::Result txtr(const std::string& option, const std::string& text, const std::string& input = "") {
    std::vector<std::string> args = {"txtr", "in.txt", "out.txt"};
    if (!option.empty()) args.push_back(option);
    return run({.args = args, .input = input, .files = {{"in.txt", text}}});
}

TEST(Txtr, ByteOptions) {
    auto r = txtr("3x", "axbx\nxx\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.txt"), "ab\n\n");
    EXPECT_THAT(r.out, HasSubstr("\n\nTerminated.\n" + kDone));  // the pass ends with a line end
    EXPECT_EQ(txtr("3xy", "axbx\n").file("out.txt"), "ayby\n");
    EXPECT_EQ(txtr("3", "axbx\n").file("out.txt"), "axbx\n");  // no character: a copy
    EXPECT_EQ(txtr("u", "AcG\n").file("out.txt"), "acg\n");
    EXPECT_EQ(txtr("L", "AcG\n").file("out.txt"), "ACG\n");
    EXPECT_EQ(txtr("CR", "a\rb\n\rc\r\n").file("out.txt"), "a\nb\nc\n");
    EXPECT_EQ(txtr("J", "ABC\n").file("out.txt"), "abc\n");  // no width: 75
    // One dot for every hundredth byte.
    EXPECT_THAT(txtr("4", std::string(250, 'A')).out, HasSubstr("\n..\nTerminated.\n"));
}

TEST(Txtr, ReflowWritesLowerCaseLinesOfTheGivenLength) {
    std::string text, flat;
    for (int i = 0; i < 5; ++i) text += "ACGTACGTAC GTACGTACGT ACGTACGTAC\n";
    for (char c : text)
        if (c != '\n') flat += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    EXPECT_EQ(txtr("J60", text).file("out.txt"),
              flat.substr(0, 60) + "\n" + flat.substr(60, 60) + "\n" + flat.substr(120) + "\n");
}

TEST(Txtr, LineRangeCopy) {
    std::string text, expected;
    for (int i = 1; i <= 25; ++i) text += "line" + std::to_string(i) + "\n";
    for (int i = 10; i <= 20; ++i) expected += "line" + std::to_string(i) + "\n";
    auto r = txtr("c10-20", text);
    EXPECT_THAT(r.out, HasSubstr("Copying text file from line 10 to 20 ...\n"));
    EXPECT_EQ(r.file("out.txt"), expected);
    EXPECT_EQ(r.err, "");

    auto short_file = txtr("c10-20", "1\n2\n3\n4\n5\n");
    EXPECT_EQ(short_file.status, 0);
    EXPECT_EQ(short_file.file("out.txt"), "");
    EXPECT_EQ(short_file.err, "There are 5 lines in the file in.txt. Check start and end parameters.\n");

    // Lines are counted in pieces of 511 characters.
    std::string long_line(kavro::txtr::kRangePiece + 10, 'a');
    EXPECT_EQ(txtr("c2-2", long_line + "\nnext\n").file("out.txt"), std::string(10, 'a') + "\n");
}

TEST(Txtr, ChainedCleanUpThroughTheTemporaryFile) {
    auto r = txtr("1", "ac gt\n\n  \t\nA C\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.txt"), "acgt\nAC\n");
    EXPECT_THAT(r.out, HasSubstr("Deleting spaces from file : in.txt\n"));
    EXPECT_THAT(r.out, HasSubstr("and writing into a temporary file : tmpfil.zan\n"));
    EXPECT_THAT(r.out, HasSubstr("Deleting empty lines and writing to file : out.txt\n"));
    EXPECT_THAT(r.out, HasSubstr("Trying to remove temporary file...\nTerminated.\n"));
    EXPECT_FALSE(r.exists("tmpfil.zan"));

    auto numbers = txtr("2", "        1 acgtacgtac gtacgt\n       17 acgt 20\n\n99");
    EXPECT_EQ(numbers.file("out.txt"), "acgtacgtacgtacgt\nacgt\n");
    EXPECT_THAT(numbers.out, HasSubstr("\nDeleting spaces from file : tmpfil.zan\n"));
    EXPECT_FALSE(numbers.exists("tmpfil.zan"));

    auto long_run = txtr("2", " 1234567890123456789012345678901 a\n");
    EXPECT_EQ(long_run.file("out.txt"), "1234567890123456789012345678901a\n");
    EXPECT_THAT(long_run.out, HasSubstr("\nThere is a long stretch of numbers,\nwhich cannot be removed automatically.\n"));
}

TEST(Txtr, EmptyLineRemovalJudgesWholeLines) {
    // A line as long as a piece is not cut, and a short last line stays.
    std::string piece_long(kavro::txtr::kEmptyLinePiece, 'g');
    EXPECT_EQ(txtr("6", piece_long + "\n\n \r\nnext\nA").file("out.txt"), piece_long + "\nnext\nA");
}

TEST(Txtr, PassesKeepCarriageReturnsAsTheyAreInTheFile) {
    // Only the line-end option changes line ends; the others see every byte.
    const std::string crlf = "AB\r\n\r\nC\r\n";
    EXPECT_EQ(txtr("3", crlf).file("out.txt"), crlf);
    EXPECT_EQ(txtr("u", crlf).file("out.txt"), "ab\r\n\r\nc\r\n");
    EXPECT_EQ(txtr("6", crlf).file("out.txt"), "AB\r\nC\r\n");
    EXPECT_EQ(txtr("c2-3", crlf).file("out.txt"), "\r\nC\r\n");
    EXPECT_EQ(txtr("2", "10 acgt 20\r\n\r\n").file("out.txt"), "acgt\r\n");
    EXPECT_EQ(txtr("CR", crlf).file("out.txt"), "AB\n\nC\n");
    // A CR LF split by the read block of a pass is still kept.
    std::string wide(70000, 'a');
    EXPECT_TRUE(txtr("3", wide + "\r\n" + wide + "\r\n").file("out.txt") == wide + "\r\n" + wide + "\r\n");
}

TEST(Txtr, ExitUnknownAndUnimplementedOptions) {
    auto e = txtr("e", "x");
    EXPECT_EQ(e.status, 1);
    EXPECT_THAT(e.out, HasSubstr("Exiting...\n" + kFailed));

    auto set = txtr("set", "x");
    EXPECT_EQ(set.status, 0);
    EXPECT_THAT(set.out, HasSubstr("This option has not been implemented.\nTerminated.\n"));
    EXPECT_FALSE(set.exists("out.txt"));

    auto other = txtr("c10", "x");  // an incomplete range is an unknown option
    EXPECT_THAT(other.out, HasSubstr("This program will terminate without any file operation.\nTerminated.\n"));
    EXPECT_FALSE(other.exists("out.txt"));

    EXPECT_THAT(run({.args = {"txtr", "a", "b", "c", "d"}}).out, HasSubstr(sjis("使い方: txtr infile outfile.")));
}

TEST(Txtr, FailuresAndUnsafeNames) {
    auto r = run({.args = {"txtr", "missing.txt", "out.txt", "4"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("Cannot open file: missing.txt\n\n"));
    EXPECT_THAT(r.out, Not(HasSubstr(kFailed)));  // the program ends at once
    EXPECT_EQ(run({.args = {"txtr", "missing.txt", "out.txt", "c1-2"}}).err, "Cannot open file: missing.txt\n\n");

    auto same = run({.args = {"txtr", "in.txt", "./in.txt", "4"}, .files = {{"in.txt", "ABC\n"}}});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.file("in.txt"), "ABC\n");
    auto tmp = run({.args = {"txtr", "tmpfil.zan", "out.txt", "1"}, .files = {{"tmpfil.zan", "A B\n"}}});
    EXPECT_EQ(tmp.status, 1);
    EXPECT_EQ(tmp.file("tmpfil.zan"), "A B\n");
}

TEST(TxtrDialog, AsksNamesThenShowsTheMenu) {
    // Defaults: infile, then infile1; a wrong menu answer shows the menu again.
    auto r = run({.args = {"txtr"}, .input = "y\ny\nzz\n5\n", .files = {{"infile", "acg\n"}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("infile1"), "ACG\n");
    const std::string prompt = sjis("          選択した番号か記号を入力しリターンをおす ");
    std::size_t first = r.out.find(prompt);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(r.out.find(prompt, first + 1), std::string::npos);
}

TEST(TxtrDialog, CharacterQuestionNeedsTheSameAnswerTwice) {
    auto r = txtr("", "axbx\n", "3\nx\ny\nxy\nxy\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.txt"), "ayby\n");
    EXPECT_THAT(r.out, HasSubstr(sjis("この文字を削除していいですか <x>?\n")));
    EXPECT_THAT(r.out, HasSubstr("              Error!\n\n"));

    auto quit = txtr("", "axbx\n", "3\nx\nexit\n");
    EXPECT_EQ(quit.status, 0);
    EXPECT_FALSE(quit.exists("out.txt"));
    EXPECT_THAT(quit.out, Not(HasSubstr(kDone)));  // the program ends at once
}

TEST(TxtrDialog, LineLengthQuestion) {
    auto r = txtr("", "ACGTAC\n", "J\n3a\n3\n");
    EXPECT_EQ(r.file("out.txt"), "acg\ntac\n");
    EXPECT_THAT(r.out, HasSubstr("                  Enter line length.\n                  <exit> to abort.\n\n"));

    auto quit = txtr("", "ACGT\n", "8\nexit\n");
    EXPECT_EQ(quit.status, 1);
    EXPECT_THAT(quit.out, HasSubstr("Exiting..\nExiting...\n"));

    auto ended = txtr("", "ACGT\n", "");  // the end of input leaves like exit
    EXPECT_EQ(ended.status, 1);
    EXPECT_THAT(ended.out, HasSubstr("Exiting...\n"));
}

}  // namespace
