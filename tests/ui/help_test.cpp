#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/sjis.hpp"
#include "shell/command_table.hpp"
#include "ui/help.hpp"
#include "ui/usage_texts.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::EndsWith;

namespace {

using kavro_test::sjis;

std::string help_output(std::string_view word) {
    kavro_test::CaptureConsole console;
    kavro::show_help(word);
    return console.out();
}

TEST(Help, EveryTextConvertsToShiftJis) {
    for (const auto& topic : kavro::help_topics()) {
        std::size_t missing = 0;
        kavro::utf8_to_sjis(topic.usage, &missing);
        EXPECT_EQ(missing, 0u) << topic.word;
    }
    std::size_t missing = 0;
    kavro::utf8_to_sjis(kavro::usage::codon_tables, &missing);
    EXPECT_EQ(missing, 0u);
}

TEST(Help, WordsAndNumbersShowTheSameText) {
    EXPECT_EQ(help_output("22"), help_output("cdsnuc"));
    EXPECT_THAT(help_output("22"), HasSubstr(sjis("使い方: cdsnuc infile outfile start end <cds_name>.\n")));
    EXPECT_EQ(help_output("setvar"), help_output("99"));
    EXPECT_EQ(help_output("system"), help_output("other"));
    EXPECT_EQ(help_output("91"), std::string(kavro::usage::codon_tables));
    EXPECT_EQ(help_output("toRNA"), std::string(kavro::usage::to_rna));
}

TEST(Help, SpareWordsHaveNoHelp) {
    for (const char* w : {"comple", "torna", "clu2fa", "rm", "cp", "fcat", "help", "Txtr"})
        EXPECT_EQ(help_output(w), sjis(std::string(w) + " に対するヘルプはありません.\n")) << w;
}

TEST(Help, FromTheCommandLine) {
    auto r = kavro_test::run({.args = {"help", "4"}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr(sjis("使い方: tofast infile outfile [d/r/p/c/i/b/s/min/max/ms/o/-] <options>.\n\n")));
    EXPECT_THAT(r.out, EndsWith(sjis("*******************************************************************************************\n完了.\n")));
}

}  // namespace
