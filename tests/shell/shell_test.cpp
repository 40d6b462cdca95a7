// End-to-end runs of the three modes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::StartsWith;
using testing::Not;
using testing::EndsWith;

namespace {

using kavro_test::run;
using kavro_test::sjis;

const std::string kMainMenuTitle = sjis("******************* メインメニュー **************************\n");
const std::string kCategoryTitle = sjis("**************** コマンドの分類 ************************\n");
const std::string kDone = sjis("完了.\n");
const std::string kFailed = sjis("終了します..\n");

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

// f1, f2, ...
std::string file_name(int i) {
    std::string name = "f";
    name.append(std::to_string(i));
    return name;
}

std::string echo_of(const std::string& line) { return sjis("\n今の入力内容: ") + line + ".\n"; }

TEST(MenuMode, HelpThenExit) {
    auto r = run({.input = "help\n1\ny\ne\nexit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, StartsWith("\n\n**************************************************\n" +
                                  sjis("      KAVRO バージョン 1.59.9 \n")));
    EXPECT_EQ(count_of(r.out, kMainMenuTitle), 2u);  // again after the help loop
    EXPECT_THAT(r.out, HasSubstr(sjis("              コマンド名のリスト\n\n")));
    EXPECT_THAT(r.out, HasSubstr(sjis("使い方: txtr infile outfile.\n")));
    EXPECT_THAT(r.out, EndsWith(echo_of("exit") + kDone));
    EXPECT_THAT(r.out, Not(HasSubstr("?")));  // every Japanese character converted
    EXPECT_EQ(r.err, "");
}

TEST(MenuMode, EndOfInputAtAnyPromptEndsAtOnce) {
    for (const char* input : {"", "help\n", "help\n1\n", "setvar line 60\n", "system true\nn\n", "\n\n"}) {
        auto r = run({.input = input, .timeout_seconds = 10});
        EXPECT_FALSE(r.timed_out) << input;
        EXPECT_EQ(r.status, 0) << input;
        EXPECT_THAT(r.out, EndsWith(kDone)) << input;
    }
}

TEST(MenuMode, LinesAfterSetvarAreStillCommands) {
    auto r = run({.input = "setvar form circular\ny\nmenu\nexit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr(sjis("circular を TRUE としました.\n")));
    EXPECT_EQ(count_of(r.out, kCategoryTitle), 1u);
    EXPECT_THAT(r.out, EndsWith(kDone));
}

TEST(MenuMode, MenuWithAnArgumentPrintsNothingAndHidesTheMainMenu) {
    auto r = run({.input = "menu x\nexit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.out, kMainMenuTitle), 1u);
    EXPECT_EQ(count_of(r.out, kCategoryTitle), 0u);
    EXPECT_THAT(r.out, HasSubstr(echo_of("menu x") + echo_of("exit")));
}

TEST(MenuMode, CommentLineFailsButKeepsTheMenuOpen) {
    auto r = run({.input = "#\nexit\n"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr(echo_of("#") + "\n" + kMainMenuTitle));
    EXPECT_THAT(r.out, EndsWith(echo_of("exit") + kFailed));
}

TEST(MenuMode, EmptyLinesAreEchoedAndReadAgain) {
    auto r = run({.input = "\n  \nexit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.out, echo_of("")), 2u);
    EXPECT_EQ(count_of(r.out, kMainMenuTitle), 1u);
}

TEST(MenuMode, FirstOtherCommandEndsTheRun) {
    // A leading space makes word 0 empty: no command; like a typo, it is
    // reported and the menu comes again.
    auto r = run({.input = " rm a\nremvoe a\nexit\n", .files = {{"a", "x"}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Unknown command: \nUnknown command: remvoe\n");
    EXPECT_EQ(count_of(r.out, kMainMenuTitle), 3u);
    EXPECT_TRUE(r.exists("a"));

    auto ok = run({.input = "rm a\nrm b\n", .files = {{"a", "x"}, {"b", "y"}}});
    EXPECT_EQ(ok.status, 0);
    EXPECT_FALSE(ok.exists("a"));
    EXPECT_TRUE(ok.exists("b"));
    EXPECT_THAT(ok.out, EndsWith("File: a removed.\n" + kDone));
}

TEST(MenuMode, ComplementEchoesItsArgumentsAsTyped) {
    auto r = run({.input = "complement    in.fa   out.fa\n"});
    EXPECT_THAT(r.out, HasSubstr(echo_of("complement    in.fa   out.fa") + "in.fa out.fa \n"));
}

TEST(MenuMode, TooManyWordsEndTheProgram) {
    std::string line = "rm";
    for (int i = 1; i < 20; ++i) line += " f" + std::to_string(i);
    auto r = run({.input = line + "\nexit\n"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error in reading line.\n");
    EXPECT_THAT(r.out, EndsWith(echo_of(line)));  // no closing line
}

TEST(MenuMode, LongPhysicalLineIsReadIn511CharacterPieces) {
    std::string first = "menu" + std::string(507, ' ');
    auto r = run({.input = first + "exit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.out, kCategoryTitle), 1u);
    EXPECT_THAT(r.out, EndsWith(echo_of("exit") + kDone));
}

TEST(CommandLineMode, ElevenArgumentsCopyNineAndCountEleven) {
    std::vector<std::string> args = {"rm"};
    std::map<std::string, std::string> files;
    for (int i = 1; i <= 10; ++i) {
        args.push_back(file_name(i));
        files.emplace(file_name(i), "x");
    }
    auto r = run({.args = args, .files = files});
    EXPECT_EQ(r.status, 0);
    // Words 1 to 8 hold f1..f8; words 9 and 10 are empty but echoed.
    EXPECT_THAT(r.out, HasSubstr("f1 f2 f3 f4 f5 f6 f7 f8   \n"));
    EXPECT_FALSE(r.exists("f8"));
    EXPECT_TRUE(r.exists("f9"));
    EXPECT_THAT(r.out, EndsWith(kDone));
}

TEST(CommandLineMode, MoreThanTwentyArgumentsAreRefused) {
    std::vector<std::string> args = {"rm"};
    std::map<std::string, std::string> files;
    for (int i = 1; i < 20; ++i) {
        args.push_back(file_name(i));
        files.emplace(args.back(), "x");
    }
    auto twenty = run({.args = args, .files = files});
    EXPECT_EQ(twenty.status, 0);
    EXPECT_FALSE(twenty.exists("f1"));

    args.push_back("f20");
    auto r = run({.args = args, .files = {{"f1", "x"}}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Too many arguments"));
    EXPECT_TRUE(r.exists("f1"));
    EXPECT_THAT(r.out, Not(HasSubstr(kFailed)));
}

TEST(CommandLineMode, LongPathArgumentsArriveWhole) {
    // Deep paths are ordinary on the command line: a word of the process
    // arguments is never cut, whatever the typed-line limit.
    const std::string name(180, 'n');
    auto r = run({.args = {"rm", name}, .files = {{name, "x"}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.exists(name));
}

TEST(CommandLineMode, UnknownWordFailsWithAMessage) {
    auto r = run({.args = {"exit"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unknown command: exit\n");
    EXPECT_THAT(r.out, EndsWith("\n" + kFailed));
}

TEST(ScriptMode, FailuresAreReportedWithLineNumbersAndTheRunSucceeds) {
    auto r = run({.files = {{"kavro.cf", "cp a b\n\nexit\nrm nothere\nrm a\n"}, {"a", "text\n"}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("b"), "text\n");
    EXPECT_FALSE(r.exists("a"));
    EXPECT_EQ(r.err,
              "Unknown command: exit\n"
              "Error in line 3 with command: exit . Skipping...\n"
              "Unable to remove file: nothere.\n"
              "Error in line 4 with command: rm nothere. Skipping...\n");
    EXPECT_THAT(r.out, Not(HasSubstr(kDone)));
    EXPECT_THAT(r.out, Not(HasSubstr(kMainMenuTitle)));
    EXPECT_EQ(count_of(r.out, sjis("\n今の入力内容: ")), 5u);
}

TEST(ScriptMode, LineThatCannotBeSplitEndsTheProgram) {
    auto r = run({.files = {{"kavro.cf", "rm " + std::string(100, 'x') + "\nrm a\n"}, {"a", "x"}}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error in reading line from kavro.cf.\n");
    EXPECT_TRUE(r.exists("a"));
}

// Output that cannot be written makes a failed run.
TEST(Exit, FailedWriteToStandardOutputGivesStatusOne) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    // "help 1" succeeds on a writable output.
    int wstatus = 0;
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open("/dev/full", O_WRONLY);
        dup2(fd, 1);
        char* argv[] = {const_cast<char*>(KAVRO_BINARY), const_cast<char*>("help"), const_cast<char*>("1"),
                        nullptr};
        char* envp[] = {nullptr};
        execve(argv[0], argv, envp);
        _exit(127);
    }
    waitpid(pid, &wstatus, 0);
    ASSERT_TRUE(WIFEXITED(wstatus));
    EXPECT_EQ(WEXITSTATUS(wstatus), 1);
}

}  // namespace

namespace {

// Japanese texts come out as Shift_JIS on a pipe, or as UTF-8 when chosen.
TEST(Charset, KavroCharsetChoosesUtf8Everywhere) {
    const std::pair<std::map<std::string, std::string>, bool> cases[] = {
        {{}, false}, {{{"KAVRO_CHARSET", "UTF-8"}}, true}, {{{"KAVRO_CHARSET", "bogus"}}, false}};
    for (const auto& [env, utf8] : cases) {
        auto r = kavro_test::run({.args = {"nosuchcommand"}, .env = env});
        EXPECT_EQ(r.out.find("\xE7\xB5\x82\xE4\xBA\x86") != std::string::npos, utf8) << r.out;  // 終了 in UTF-8
        EXPECT_EQ(r.out.find(kavro_test::sjis("終了")) != std::string::npos, !utf8) << r.out;
    }
}

}  // namespace
