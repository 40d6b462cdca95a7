#include <gtest/gtest.h>

#include <string>

#include "shell/shell.hpp"
#include "shell/tokenizer.hpp"

namespace {

using kavro::CommandLine;

// A line as the shell prepares it: end marker appended, split, counted.
// Returns -1 when the line cannot be split.
int prepare(const std::string& line, CommandLine& words) {
    std::string l = line;
    for (int k = 0; k < kavro::kEndMarkerPairs; ++k) l += " #";
    if (kavro::split_command_line(l, words) != 0) return -1;
    return kavro::count_words(words);
}

std::string words_of(int n) {
    std::string line = "cmd";
    for (int i = 1; i < n; ++i) line += " w" + std::to_string(i);
    return line;
}

TEST(Tokenizer, RunsOfSpacesSeparateLikeOneAndTabIsOrdinary) {
    CommandLine w;
    ASSERT_EQ(prepare("tofast    a      b", w), 3);
    EXPECT_EQ(w[0], "tofast");
    EXPECT_EQ(w[1], "a");
    EXPECT_EQ(w[2], "b");
    for (int i = 3; i < kavro::kMaxWords; ++i) EXPECT_EQ(w[i], "") << i;

    ASSERT_EQ(prepare("tofast a\tb", w), 2);
    EXPECT_EQ(w[1], "a\tb");
}

TEST(Tokenizer, LeadingSpaceGivesEmptyCommandWord) {
    CommandLine w;
    ASSERT_EQ(prepare(" tofast a", w), 3);
    EXPECT_EQ(w[0], "");
    EXPECT_EQ(w[1], "tofast");
}

TEST(Tokenizer, HashWordEndsTheLineButGluedHashDoesNot) {
    CommandLine w;
    ASSERT_EQ(prepare("tofast a b # c d", w), 3);
    EXPECT_EQ(w[3], "");
    EXPECT_EQ(w[4], "");
    ASSERT_EQ(prepare("tofast a#b #c", w), 3);
    EXPECT_EQ(w[1], "a#b");
    EXPECT_EQ(w[2], "#c");
    ASSERT_EQ(prepare("# only a comment", w), 0);
    EXPECT_EQ(w[0], "");
}

TEST(Tokenizer, QuotesKeepSpacesAndAreRemovedAroundWholeWords) {
    CommandLine w;
    ASSERT_EQ(prepare("cp \"my file.txt\" out", w), 3);
    EXPECT_EQ(w[1], "my file.txt");
    EXPECT_EQ(w[2], "out");
    // Quotes inside a word that does not both begin and end with one stay.
    ASSERT_EQ(prepare("cp a\"b c\"d e", w), 3);
    EXPECT_EQ(w[1], "a\"b c\"d");
    // A quoted "#" does not stop the walk, but ends the count once unquoted.
    ASSERT_EQ(prepare("cp a \"#\" b", w), 2);
    EXPECT_EQ(w[2], "");
    EXPECT_EQ(w[3], "");
}

TEST(Tokenizer, QuoteLeftOpenCannotBeSplit) {
    CommandLine w;
    EXPECT_EQ(prepare("cp \"my file.txt out", w), -1);
}

TEST(Tokenizer, NineteenWordsFitTwentyDoNot) {
    CommandLine w;
    ASSERT_EQ(prepare(words_of(19), w), 19);
    EXPECT_EQ(w[18], "w18");
    EXPECT_EQ(w[19], "");
    EXPECT_EQ(prepare(words_of(20), w), -1);
}

TEST(Tokenizer, WordOf99CharactersFitsOneOf100DoesNot) {
    CommandLine w;
    ASSERT_EQ(prepare("cp " + std::string(99, 'x') + " b", w), 3);
    EXPECT_EQ(w[1].size(), 99u);
    EXPECT_EQ(prepare("cp " + std::string(100, 'x') + " b", w), -1);
    EXPECT_EQ(prepare("cp b " + std::string(100, 'x'), w), -1);
    // The quotes count while splitting: 97 characters inside them fit.
    ASSERT_EQ(prepare("cp \"" + std::string(97, 'x') + "\"", w), 2);
    EXPECT_EQ(w[1].size(), 97u);
}

TEST(Tokenizer, WordsOfAnEarlierLineDoNotSurvive) {
    CommandLine w;
    ASSERT_EQ(prepare("a b c d e f", w), 6);
    ASSERT_EQ(prepare("x y", w), 2);
    for (int i = 2; i < kavro::kMaxWords; ++i) EXPECT_EQ(w[i], "") << i;
}

}  // namespace
