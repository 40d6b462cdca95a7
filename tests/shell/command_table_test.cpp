#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>

#include "shell/command_table.hpp"
#include "ui/help.hpp"
#include "shell/commands.hpp"
#include "support/run_kavro.hpp"

namespace {

using kavro::CommandLine;
using kavro::find_command;

TEST(CommandTable, OnlyExactWordsAndNumbersMatch) {
    EXPECT_EQ(find_command("21")->handler, &kavro::cmd_extcds);
    EXPECT_EQ(find_command("torna")->tofast_option, 'r');
    for (const char* w : {"", "menu", "e", "exit", "TOFAST", "Tofast", "6", "99", "91", "codon"})
        EXPECT_EQ(find_command(w), nullptr) << w;
}

// Help knows each command by the word and number the table calls it by.
TEST(CommandTable, HelpTopicsNameTheTableRows) {
    for (const auto& topic : kavro::help_topics()) {
        if (topic.word == "other" || topic.word == "codon") continue;
        const kavro::CommandRow* row = find_command(topic.word);
        ASSERT_NE(row, nullptr) << topic.word;
        EXPECT_EQ(row->words[0], topic.word);
        EXPECT_EQ(row->number, topic.number) << topic.word;
    }
}

TEST(CommandTable, NoWordOrNumberIsUsedTwice) {
    std::set<std::string_view> seen;
    for (const auto& row : kavro::command_table()) {
        ASSERT_NE(row.handler, nullptr);
        if (!row.number.empty()) {
            EXPECT_TRUE(seen.insert(row.number).second) << row.number;
        }
        for (auto w : row.words) {
            if (!w.empty()) {
                EXPECT_TRUE(seen.insert(w).second) << w;
            }
        }
    }
}

CommandLine line_of(std::initializer_list<const char*> ws) {
    CommandLine w;
    int i = 0;
    for (const char* s : ws) w.set(i++, s);
    return w;
}

TEST(CommandTable, ComplementWithBothNamesBecomesFourWords) {
    CommandLine w = line_of({"complement", "in", "out", "p", "extra"});
    EXPECT_EQ(kavro::apply_tofast_option('c', 5, w), 4);
    EXPECT_EQ(w[3], "c");
    EXPECT_EQ(w[4], "");

    CommandLine r = line_of({"toRNA", "in", "out"});
    EXPECT_EQ(kavro::apply_tofast_option('r', 3, r), 4);
    EXPECT_EQ(r[3], "r");
}

TEST(CommandTable, ComplementWithoutBothNamesIsLeftToTofast) {
    CommandLine alone = line_of({"complement"});
    EXPECT_EQ(kavro::apply_tofast_option('c', 1, alone), 1);
    CommandLine one = line_of({"complement", "in"});
    EXPECT_EQ(kavro::apply_tofast_option('c', 2, one), 2);
    EXPECT_EQ(one[3], "");
    // Other commands never have their words touched.
    CommandLine other = line_of({"tofast", "in", "out"});
    EXPECT_EQ(kavro::apply_tofast_option('\0', 3, other), 3);
    EXPECT_EQ(other[3], "");
}

// Every command word and number of the table, run alone with nothing on
// standard input, ends promptly with status 0 or 1.
TEST(CommandTable, EveryCommandAloneWithEmptyInputEnds) {
    for (const auto& row : kavro::command_table()) {
        std::vector<std::string> words;
        for (auto w : row.words)
            if (!w.empty()) words.emplace_back(w);
        if (!row.number.empty()) words.emplace_back(row.number);
        for (const auto& word : words) {
            auto r = kavro_test::run({.args = {word}, .input = "", .timeout_seconds = 20});
            EXPECT_FALSE(r.timed_out) << word;
            EXPECT_TRUE(r.status == 0 || r.status == 1) << word << " status " << r.status;
        }
    }
}

}  // namespace
