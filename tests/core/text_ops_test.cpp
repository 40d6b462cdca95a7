#include "core/text_ops.hpp"

#include <climits>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

using namespace kavro;

TEST(TextOpsExtract, InPlaceDropsAKeyword) {
    std::string line = "LOCUS ABC1234";  // 13 characters
    EXPECT_EQ(extract_in_place(line, 7, 13), 0);
    EXPECT_EQ(line, "ABC1234");
    line = "LOCUS ABC1234";
    EXPECT_EQ(extract_in_place(line, 1, 1), 0);
    EXPECT_EQ(line, "L");
}

TEST(TextOpsExtract, BadPositionsReportAndLeaveTheText) {
    kavro_test::CaptureConsole cap;
    std::string line = "LOCUS ABC1234";
    EXPECT_EQ(extract_in_place(line, 14, 13), 1);
    EXPECT_EQ(line, "LOCUS ABC1234");
    EXPECT_EQ(cap.err(),
              "\nError of extraction positions: 14, 13 with string length 13.\n"
              "in string LOCUS ABC1234.\n");
    EXPECT_EQ(cap.out(), "");
}

TEST(TextOpsExtract, EveryBadPositionIsRefused) {
    kavro_test::CaptureConsole cap;
    std::string s = "abcdef";
    EXPECT_EQ(extract_in_place(s, 0, 3), 1);   // before the text
    EXPECT_EQ(extract_in_place(s, 2, 7), 1);   // past the end
    EXPECT_EQ(extract_in_place(s, 4, 3), 1);   // reversed
    EXPECT_EQ(extract_in_place(s, 1, 0), 1);   // the empty request is for copies only
    EXPECT_EQ(s, "abcdef");
    EXPECT_EQ(extract_new(s, 0, 2), "");       // copies refuse a from below 1 too
    EXPECT_EQ(extract_into(s, -3, 2), "");
    EXPECT_EQ(extract_new(s, 3, 2), "");
    const std::string e = cap.err();
    EXPECT_THAT(e, HasSubstr("positions: 0, 3 with string length 6.\n"));
    EXPECT_THAT(e, HasSubstr("positions: -3, 2 with string length 6.\n"));
}

TEST(TextOpsExtract, CopiesAndTheEmptyRequest) {
    kavro_test::CaptureConsole cap;
    EXPECT_EQ(extract_new("abcdef", 2, 4), "bcd");
    EXPECT_EQ(extract_into("abcdef", 6, 6), "f");
    EXPECT_EQ(extract_new("abcdef", 1, 0), "");
    EXPECT_EQ(extract_into("abcdef", 1, 0), "");
    EXPECT_EQ(cap.err(), "");  // from 1 to 0 asks for "" silently
    EXPECT_EQ(extract_new("", 1, 3), "");
    EXPECT_EQ(cap.err(), "\nString null.\n");
    std::string empty;
    EXPECT_EQ(extract_in_place(empty, 1, 1), 1);
}

TEST(TextOpsTrim, TrimAndQuotes) {
    std::string s = "  ab c \r\n \n";
    trim_right(s);
    EXPECT_EQ(s, "  ab c");
    trim_left(s);
    EXPECT_EQ(s, "ab c");
    s = " \r\n";
    trim_right(s);
    EXPECT_EQ(s, "");
    s = "\tx";
    trim_left(s);  // only spaces go
    EXPECT_EQ(s, "\tx");
    s = "\" my file.txt \"";
    strip_quotes(s);
    EXPECT_EQ(s, "my file.txt");
    s = "\"\" \"";
    strip_quotes(s);
    EXPECT_EQ(s, "");
    s = "a\"b";
    strip_quotes(s);
    EXPECT_EQ(s, "a\"b");
}

TEST(TextOpsCompare, PrefixSuffixSubstring) {
    EXPECT_TRUE(starts_with("LOCUS  x", "LOCUS"));
    EXPECT_FALSE(starts_with("LOC", "LOCUS"));
    EXPECT_TRUE(starts_with("x", ""));

    std::string name = "data.aln \r\n";
    EXPECT_TRUE(ends_with(name, ".aln"));
    EXPECT_EQ(name, "data.aln");  // trimmed in place
    std::string shortname = "aln";
    EXPECT_FALSE(ends_with(shortname, ".aln"));
    std::string blank = "  \n";
    EXPECT_FALSE(ends_with(blank, ""));
    std::string word = "word";
    EXPECT_FALSE(ends_with(word, ""));

    std::string s = "100last";
    EXPECT_EQ(remove_substring(s, "last"), 1);
    EXPECT_EQ(s, "100");
    s = "lastlast";
    EXPECT_EQ(remove_substring(s, "last"), 1);
    EXPECT_EQ(s, "last");  // first occurrence only
    EXPECT_EQ(remove_substring(s, "lastx"), 0);
    EXPECT_EQ(remove_substring(s, "lost"), 0);
    EXPECT_EQ(s, "last");
}

TEST(TextOpsFilter, KeepLettersAnd) {
    std::string s = "ac-g t*1 2.\x01\tN\xC3x";
    keep_letters_and(s, "-*");
    EXPECT_EQ(s, "ac-gt*Nx");
    s = "a b c";
    keep_letters_and(s, " ");  // a space is never kept
    EXPECT_EQ(s, "abc");
}

TEST(TextOpsFilter, BlankPunctuation) {
    std::string s = "complement(join(<1..200,300..>400))";
    remove_spaces(s);
    blank_punctuation(s, "_:<>");
    EXPECT_EQ(s, "complement join <1  200 300  >400  ");
    s = "a.b...c_d:e";
    blank_punctuation(s, "_:<>");
    EXPECT_EQ(s, "a.b  .c_d:e");
    s = "x\ty\x80";
    blank_punctuation(s, "");
    EXPECT_EQ(s, "x y ");
}

TEST(TextOpsFilter, SpacesGapsAndReplacement) {
    std::string s = "  a  b   c ";
    squeeze_spaces(s);
    EXPECT_EQ(s, " a b c ");
    remove_spaces(s);
    EXPECT_EQ(s, "abc");
    s = "ac-gT--n";
    degap_upper(s);
    EXPECT_EQ(s, "ACGTN");
    s = "a,b,,c";
    replace_char(s, ',', ' ');
    EXPECT_EQ(s, "a b  c");
}

TEST(TextOpsCount, Counters) {
    EXPECT_EQ(count_char("join(1..2,3..4,5..6)", ','), 2);
    EXPECT_EQ(count_graphic(" \t\r\n "), 0);
    EXPECT_EQ(count_graphic(" a-\x7F\x80 "), 2);
    EXPECT_EQ(count_alnum("a1-B_ \xE9"), 3);
    EXPECT_TRUE(has_no_alnum(""));
    EXPECT_TRUE(has_no_alnum("-- **"));
    EXPECT_FALSE(has_no_alnum("--7"));
    EXPECT_TRUE(has_newline("ab\n"));
    EXPECT_FALSE(has_newline("ab"));
}

TEST(TextOpsNumbers, DigitAndLocationForms) {
    EXPECT_EQ(has_non_digit("0123"), 0);
    EXPECT_EQ(has_non_digit(""), 0);
    EXPECT_EQ(has_non_digit("12a"), 1);
    EXPECT_EQ(has_non_digit("-1"), 1);
    EXPECT_EQ(invalid_location_number("<12"), 0);
    EXPECT_EQ(invalid_location_number(">3"), 0);
    EXPECT_EQ(invalid_location_number("12"), 0);
    EXPECT_EQ(invalid_location_number("1<2"), 1);
    EXPECT_EQ(invalid_location_number("<>2"), 1);
}

TEST(TextOpsNumbers, SignedInteger) {
    std::string s = "+12";
    EXPECT_EQ(invalid_signed_integer(s), 0);
    EXPECT_EQ(s, "12");
    s = "-12";
    EXPECT_EQ(invalid_signed_integer(s), 0);
    EXPECT_EQ(s, "-12");
    s = "1-2";
    EXPECT_EQ(invalid_signed_integer(s), 1);
    s = "+1x";
    EXPECT_EQ(invalid_signed_integer(s), 1);
    EXPECT_EQ(s, "+1x");  // a broken form keeps its sign
    for (const char* bad : {"", "+", "-", "++1"}) {
        s = bad;
        EXPECT_EQ(invalid_signed_integer(s), 1) << bad;
    }
}

TEST(TextOpsMisc, TailRepeatPad) {
    std::string s = "mRNA";
    tail_string(s, 3);
    EXPECT_EQ(s, "RNA");
    s = "DNA";
    tail_string(s, 3);
    EXPECT_EQ(s, "DNA");
    tail_string(s, 0);
    EXPECT_EQ(s, "");

    EXPECT_EQ(repeat_char(3, '-'), "---");
    EXPECT_EQ(repeat_char(2, '\n'), "  ");
    EXPECT_EQ(repeat_char(0, 'x'), "");
    EXPECT_EQ(repeat_char(-4, 'x'), "");

    s = "ab";
    pad_both(s, 2, 1, '*');
    EXPECT_EQ(s, "**ab*");
    pad_both(s, 2, 2, '\t');
    EXPECT_EQ(s, "**ab*");
}

TEST(TextOpsFields, NextField) {
    std::string s = ";;ab;;cd";
    std::optional<std::string> rest = next_field(s, ';');
    ASSERT_TRUE(rest);
    EXPECT_EQ(*rest, "cd");
    EXPECT_EQ(s, "ab");

    s = "ab";
    rest = next_field(s, ';');
    ASSERT_TRUE(rest);
    EXPECT_EQ(*rest, "");
    EXPECT_EQ(s, "ab");

    s = "a b  c d";
    rest = next_field(s, ' ');
    EXPECT_EQ(s, "a");
    EXPECT_EQ(*rest, "b  c d");  // only the run after the first field goes

    s = ";;";
    rest = next_field(s, ';');
    EXPECT_EQ(*rest, "");
    EXPECT_EQ(s, "");

    s = "ab";
    EXPECT_FALSE(next_field(s, '\0'));
}

TEST(TextOpsFields, NextWord) {
    std::string_view line = "  CDS \t join(1..2)\n";
    std::size_t pos = 0;
    EXPECT_EQ(next_word(line, &pos), "CDS");
    EXPECT_EQ(next_word(line, &pos), "join(1..2)");
    EXPECT_EQ(next_word(line, &pos), "");
    EXPECT_EQ(pos, line.size());
    pos = 100;
    EXPECT_EQ(next_word(line, &pos), "");
}

}  // namespace

namespace {

TEST(TextOpsNumbers, DigitsValueStopsAtTheFirstOtherCharacterAndIsHeldAtTheMaximum) {
    struct Case {
        std::string_view text;
        long maximum;
        long value;
    };
    const Case cases[] = {
        {"", 100, 0},          {"abc", 100, 0},       {"42", 100, 42},
        {"42x7", 100, 42},     {"100", 100, 100},     {"101", 100, 100},
        {"0099", 100, 99},     {"2147483647", kavro::kInt32Max, kavro::kInt32Max},
        {"2147483648", kavro::kInt32Max, kavro::kInt32Max},
        {"99999999999999999999999", LONG_MAX, LONG_MAX},
        {"9223372036854775807", LONG_MAX, LONG_MAX},
        {"9223372036854775806", LONG_MAX, LONG_MAX - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(kavro::digits_value(c.text, c.maximum), c.value) << c.text;
}

}  // namespace
