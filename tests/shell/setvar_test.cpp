#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/settings.hpp"
#include "shell/commands.hpp"
#include "shell/runtime_settings.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

using kavro::CommandLine;
using kavro::g_settings;
using kavro_test::sjis;

CommandLine line_of(std::initializer_list<const char*> ws) {
    CommandLine w;
    int i = 0;
    for (const char* s : ws) w[i++] = s;
    return w;
}

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

// Runs setvar on the words, with the count of words given.
int setvar(std::initializer_list<const char*> ws) {
    CommandLine w = line_of(ws);
    return kavro::cmd_setvar(static_cast<int>(ws.size()), w);
}

class Setvar : public ::testing::Test {
protected:
    void TearDown() override { g_settings = saved_; }
    kavro::Settings saved_ = g_settings;
};

TEST_F(Setvar, LineLength) {
    int results[4] = {-1, -1, -1, -1};
    int lengths[4] = {};
    auto c = captured([&] {
        results[0] = setvar({"setvar", "printline", "60"});
        lengths[0] = g_settings.line_length;
        results[1] = setvar({"setvar", "printline", "6x"});
        lengths[1] = g_settings.line_length;
        results[2] = setvar({"setvar", "line", "default"});
        lengths[2] = g_settings.line_length;
        results[3] = setvar({"setvar", "line", "12", "extra"});  // wrong count: nothing
        lengths[3] = g_settings.line_length;
    });
    // A value that is not a line length is refused with a message.
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 1);
    EXPECT_EQ(results[2], 0);
    EXPECT_EQ(results[3], 0);
    EXPECT_EQ(lengths[0], 60);
    EXPECT_EQ(lengths[1], 60);
    EXPECT_EQ(lengths[2], 75);
    EXPECT_EQ(lengths[3], 75);
    EXPECT_EQ(c.out, "");
    EXPECT_EQ(c.err, "The line length must be a number from 1 to 2147483647; it stays 60.\n");
}

TEST_F(Setvar, LineLengthZeroOrHugeIsRefused) {
    for (const char* v : {"0", "", "99999999999999999999999", "abc", "-5"}) {
        int result = -1;
        auto c = captured([&] { result = setvar({"setvar", "printline", v}); });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(g_settings.line_length, 75) << v;
        EXPECT_THAT(c.err, HasSubstr("line length must be a number from 1")) << v;
    }
}

TEST_F(Setvar, CountOutsideTwoToTenFails) {
    int results[4] = {-1, -1, -1, -1};
    auto c = captured([&] {
        results[0] = setvar({"setvar"});
        results[1] = setvar({"setvar", "printline"});
        results[2] = setvar({"setvar", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
        results[3] = setvar({"setvar", "nosuch", "1"});
    });
    EXPECT_EQ(results[0], 1);
    EXPECT_EQ(results[1], 0);
    EXPECT_EQ(results[2], 1);
    EXPECT_EQ(results[3], 1);  // no such setting
    EXPECT_EQ(c.out, "");
    EXPECT_EQ(c.err, "Unknown setting: nosuch\n");
}

TEST_F(Setvar, AddseqgMessages) {
    bool on = false, off = true;
    auto c = captured([&] {
        setvar({"setvar", "addseqg", "TRUE"});
        on = g_settings.addseqg;
        setvar({"setvar", "addseqg", "yes"});
        off = g_settings.addseqg;
    });
    EXPECT_TRUE(on);
    EXPECT_FALSE(off);
    EXPECT_EQ(c.out, sjis("ADDSEQG を TRUEとしました.\n"
                          "これによりcdsnuc と extrna ではイントロンを含む配列が得られるようになります.\n"
                          "ADDSEQG を FALSE としました.\n"));
}

TEST_F(Setvar, SeqImportMessages) {
    bool off = true, on = false;
    auto c = captured([&] {
        setvar({"setvar", "seq_import", "no"});
        off = g_settings.seq_import;
        setvar({"setvar", "seq_import", "default"});
        on = g_settings.seq_import;
    });
    EXPECT_FALSE(off);
    EXPECT_TRUE(on);
    EXPECT_EQ(c.out, sjis("SEQ_IMPORT を FALSE としました.\n"
                          "SEQ_IMPORT を TRUEとしました.\n"
                          "これにより cdsnuc と extrna では外部配列エントリから\n"
                          "データを取り込むようになります.\n"));
}

TEST_F(Setvar, Form) {
    bool circular = false, unchanged = false, by_default = true;
    auto c = captured([&] {
        setvar({"setvar", "form", "circular"});
        circular = g_settings.form;
        setvar({"setvar", "form", "linear"});
        unchanged = g_settings.form;
        setvar({"setvar", "form", "default"});
        by_default = g_settings.form;
    });
    EXPECT_TRUE(circular);
    EXPECT_TRUE(unchanged);
    EXPECT_FALSE(by_default);
    EXPECT_EQ(c.out, sjis("circular を TRUE としました.\n"));
}

TEST_F(Setvar, SystemJoinsWordsAndSpacesOutAppend) {
    kavro_test::TempDir dir;
    std::string target = dir / "log";
    int result = -1;
    auto c = captured([&] { result = setvar({"setvar", "system", "echo", "hi", ">>", target.c_str()}); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir.read("log"), "hi\n");
    EXPECT_EQ(c.err, sjis("このコマンドはきちんと実行できました.: echo hi  >> " + target + " .\n"));
}

class Environment : public Setvar {
protected:
    void TearDown() override {
        for (const char* v : {"PRINTLINE", "ADDSEQG", "SEQ_IMPORT"}) unsetenv(v);
        Setvar::TearDown();
    }
};

TEST_F(Environment, RecognisedValuesAndDefaults) {
    g_settings.addseqg = true;
    g_settings.seq_import = false;
    kavro::read_environment_settings();  // nothing set
    EXPECT_EQ(g_settings.line_length, 75);
    EXPECT_FALSE(g_settings.addseqg);
    EXPECT_TRUE(g_settings.seq_import);

    setenv("PRINTLINE", "60", 1);
    setenv("ADDSEQG", "true", 1);
    setenv("SEQ_IMPORT", "0", 1);
    kavro::read_environment_settings();
    EXPECT_EQ(g_settings.line_length, 60);
    EXPECT_TRUE(g_settings.addseqg);
    EXPECT_FALSE(g_settings.seq_import);
}

TEST_F(Environment, OtherValuesLeaveDefaults) {
    for (const char* line : {"6x", "0", "", "-5"}) {
        g_settings.line_length = 75;
        setenv("PRINTLINE", line, 1);
        setenv("ADDSEQG", "yes", 1);
        setenv("SEQ_IMPORT", "no", 1);
        kavro::read_environment_settings();
        EXPECT_EQ(g_settings.line_length, 75) << line;
        EXPECT_FALSE(g_settings.addseqg);
        EXPECT_TRUE(g_settings.seq_import);
    }
}

TEST(SystemCommand, ReportsSuccessAndFailureOnStandardError) {
    CommandLine ok = line_of({"system", "true"});
    CommandLine bad = line_of({"system", "false"});
    int ok_result = -1, bad_result = -1;
    auto c = captured([&] {
        ok_result = kavro::cmd_system(2, ok);
        bad_result = kavro::cmd_system(2, bad);
    });
    EXPECT_EQ(ok_result, 0);
    EXPECT_EQ(bad_result, 1);  // a command that failed fails system
    EXPECT_EQ(c.err, sjis("このコマンドはきちんと実行できました.: true .\n"
                          "このシステムコマンドは実行できませんでした: false .\n"));
    EXPECT_EQ(c.out, "");
}

TEST(SystemCommand, WrongCountOrWordRunsNothing) {
    kavro_test::TempDir dir;
    std::string marker = dir / "marker";
    CommandLine alone = line_of({"system"});
    CommandLine other = line_of({"sys", "touch", marker.c_str()});
    int alone_result = -1, other_result = -1;
    captured([&] {
        alone_result = kavro::cmd_system(1, alone);
        other_result = kavro::cmd_system(3, other);
    });
    EXPECT_EQ(alone_result, 1);
    EXPECT_EQ(other_result, 0);
    EXPECT_FALSE(dir.exists("marker"));
}

TEST(SystemCommand, CommandLineOver511CharactersIsRefused) {
    kavro_test::TempDir dir;
    std::string marker = dir / "marker";
    const std::string pad(99, 'p');
    CommandLine w = line_of({"system", "touch", marker.c_str(), pad.c_str(), pad.c_str(), pad.c_str(),
                             pad.c_str(), pad.c_str()});
    int result = -1;
    auto c = captured([&] { result = kavro::cmd_system(8, w); });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(dir.exists("marker"));
    EXPECT_THAT(c.err, HasSubstr("longer than 511 characters"));
}

TEST(SystemCommand, MenuModeWaitsForYAfterwards) {
    auto r = kavro_test::run({.input = "system echo hello\nn\ny\nexit\n"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("hello\n" + sjis("y を押してからリターンしてください.\n")));
    EXPECT_EQ(r.err, sjis("このコマンドはきちんと実行できました.: echo hello .\n"));
}

}  // namespace

namespace {

// A command that does not end with status 0 fails system and setvar system.
TEST(SystemCommand, StatusFollowsTheCommand) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"system", "true"}, 0}, {{"system", "false"}, 1}, {{"system", "exit", "3"}, 1},
        {{"setvar", "system", "true"}, 0}, {{"setvar", "system", "exit", "3"}, 1},
    };
    for (const auto& [args, status] : cases) {
        auto r = kavro_test::run({.args = args});
        EXPECT_EQ(r.status, status) << args.back();
    }
}

}  // namespace
