// --version and --help, asked before any command word by package tests and
// workflow engines: plain text on standard output, status 0, no banner.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/command_table.hpp"
#include "support/run_kavro.hpp"

namespace {

using kavro_test::run;
using testing::HasSubstr;

TEST(StartupOptions, VersionAndHelpPrintAloneAndSucceed) {
    auto version = run({.args = {"--version"}});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kavro 1.59.9\n");
    EXPECT_EQ(version.err, "");

    auto help = run({.args = {"--help"}});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_THAT(help.out, testing::StartsWith("Usage: kavro <command> <arguments>"));
    EXPECT_THAT(help.out, testing::Not(HasSubstr("*****")));  // no banner
    // One line per command, which starts with its first word and lists the
    // others: every word of the command table is there.
    for (const auto& row : kavro::command_table()) {
        const std::string first(row.words[0]);
        EXPECT_THAT(help.out, testing::AnyOf(HasSubstr("\n  " + first + " "), HasSubstr("\n  " + first + ",")));
        for (std::size_t k = 1; k < row.words.size() && !row.words[k].empty(); ++k)
            EXPECT_THAT(help.out, HasSubstr(", " + std::string(row.words[k])));
    }
}

// Anywhere else the words are legacy command words as before.
TEST(StartupOptions, OnlyAsTheWholeCommandLine) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--version", "x"},
                                                 std::vector<std::string>{"tofast", "--help"}}) {
        auto r = run({.args = args});
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_THAT(r.out, testing::Not(HasSubstr("kavro 1.59.9\n")));
    }
}

}  // namespace
