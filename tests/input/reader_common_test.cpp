#include <gtest/gtest.h>

#include <random>

#include "input/reader_common.hpp"

using namespace kavro::input_detail;

namespace {

std::string by_table(std::string_view text, const ByteTable& t) {
    std::string out;
    for (unsigned char c : text)
        if (t.map[c]) out.push_back(static_cast<char>(t.map[c]));
    return out;
}

TEST(ResidueCollection, TablesKeepWhatTheirRulesSay) {
    EXPECT_EQ(by_table("  1 acgT-*.x\t9\r\n\x7F", residue_table()), "ACGT-*.X");
    EXPECT_EQ(by_table(std::string("a b\0c\x01~\n", 9), printable_table()), "a bc~");
    EXPECT_EQ(by_table("a b\tc~\n", graphic_table()), "abc~");
    // Bytes above 0x7E are dropped: the writers would not write them.
    EXPECT_EQ(by_table("ac\xE9gt\x80", residue_table()), "ACGT");
    EXPECT_EQ(by_table("\xE9", graphic_table()), "");
}

TEST(ResidueCollection, FastPathGivesExactlyTheTableResult) {
    std::mt19937 rng(7);
    const std::string alphabet = "acgtnACGTN -*.0123456789\t\n\r\x01\x7F\xC3@[`{";
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 100, ' ');
        const bool letters_mostly = round % 2 == 0;
        for (char& c : text) {
            if (letters_mostly && rng() % 8 != 0)
                c = "acgtACGTmkvW"[rng() % 12];
            else
                c = round % 3 == 0 ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
        }
        std::string a = "prefix", b = "prefix";
        append_residues(a, text);
        ASSERT_EQ(a, "prefix" + by_table(text, residue_table())) << text;
        append_graphic(b, text);
        ASSERT_EQ(b, "prefix" + by_table(text, graphic_table())) << text;
        std::string c = "prefix";
        append_printable(c, text);
        ASSERT_EQ(c, "prefix" + by_table(text, printable_table())) << text;
    }
}

}  // namespace
