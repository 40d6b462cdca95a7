#include "translate/codon_table.hpp"

#include <gtest/gtest.h>

#include "core/program_exit.hpp"
#include "support/run_kavro.hpp"

namespace {

using kavro::codon_usage;
using kavro::select_codon_table;

// The built-in genetic codes as the user documentation lists them.
const std::pair<const char*, const char*> kListedTables[] = {
    {"default", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"mt", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG"},
    {"mito", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG"},
    {"code1", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"code2", "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSS**GGGG"},
    {"code3", "FFLLTTTTIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG"},
    {"code4", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG"},
    {"code5", "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSSSGGGG"},
    {"code6", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYYQQHHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"code9", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNNKDDEECCWWRRRRSSSSGGGG"},
    {"code10", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCCWRRRRSSRRGGGG"},
    {"code11", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"code12", "FFLLLLLSIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"code13", "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSGGGGGG"},
    {"code14", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYYY*HHQQNNNKDDEECCWWRRRRSSSSGGGG"},
    {"code15", "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY*QHHQQNNKKDDEECC*WRRRRSSRRGGGG"},
    {"code200", "FFLLFFLLIIIMVVVVFFLLSSSSIIIMVVVVYY**YY**NNKKDDEECC*WCC*WSSRRGGGG"},
    {"code201", "FFLLFFLLIIIMVVVVFFLLLLLLIIIMVVVVYY**YY**NNKKDDEECC*WCC*WSSRRGGGG"},
};

TEST(CodonTable, EveryBuiltInTableByName) {
    for (const auto& [name, table] : kListedTables) {
        auto t = kavro::builtin_codon_table(name);
        ASSERT_TRUE(t.has_value()) << name;
        EXPECT_EQ(*t, table) << name;
        EXPECT_EQ(select_codon_table(name), table) << name;
    }
    // Names match exactly: no code7/code8, no other spelling or case.
    for (const char* name : {"code7", "code8", "Default", "uni", "universal", "code", "code16", ""})
        EXPECT_FALSE(kavro::builtin_codon_table(name).has_value()) << name;
}

TEST(CodonTable, OwnCodesReadCAsU) {
    // code201: a C in position 1 or 2 is read as U, but CCx only changes its
    // second C; code200 only changes the first C of CCx.
    const auto standard = *kavro::builtin_codon_table("default");
    const auto c200 = *kavro::builtin_codon_table("code200");
    const auto c201 = *kavro::builtin_codon_table("code201");
    for (int i = 0; i < 64; ++i) {
        std::string c = kavro::codon_text(i);
        std::string as201 = c, as200 = c;
        if (c[0] == 'C' && c[1] == 'C') {
            as201[1] = 'U';
            as200[0] = 'U';
        } else {
            for (int k = 0; k < 2; ++k)
                if (c[k] == 'C') as201[k] = as200[k] = 'U';
        }
        EXPECT_EQ(c201[i], standard[codon_usage(as201)]) << c;
        EXPECT_EQ(c200[i], standard[codon_usage(as200)]) << c;
    }
}

TEST(CodonTable, CodonIndexAndBack) {
    EXPECT_EQ(codon_usage("UUU"), 0);
    EXPECT_EQ(codon_usage("uuu"), 0);
    EXPECT_EQ(codon_usage("TTT"), 0);
    EXPECT_EQ(codon_usage("GGG"), 63);
    EXPECT_EQ(codon_usage("AUG"), 11);
    EXPECT_EQ(codon_usage("aTg"), 11);
    EXPECT_EQ(codon_usage("UGA"), 50);
    EXPECT_EQ(codon_usage("UCU"), 16);  // the middle base is the most significant
    EXPECT_EQ(codon_usage("CUU"), 4);
    EXPECT_EQ(codon_usage("ANG"), 64);
    EXPECT_EQ(codon_usage("A-G"), 64);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(codon_usage(kavro::codon_text(i)), i);

    std::string text = "xyz!";
    EXPECT_EQ(kavro::get_codon(11, &text), 0);
    EXPECT_EQ(text, "AUG!");  // no terminator written

    kavro_test::CaptureConsole cap;
    EXPECT_EQ(codon_usage("AUGC"), 64);
    EXPECT_EQ(codon_usage("AU"), 64);
    std::string shorter = "ab";
    EXPECT_EQ(kavro::get_codon(0, &shorter), 1);
    EXPECT_EQ(kavro::get_codon(0, nullptr), 1);
    EXPECT_EQ(kavro::get_codon(64, &text), 1);
    EXPECT_EQ(kavro::get_codon(-1, &text), 1);
    EXPECT_EQ(cap.err(),
              "Error in codon_usage\nError in codon_usage\nNull string in get_codon\nNull string in get_codon\n"
              "Error in get_codon\nError in get_codon\n");
    EXPECT_EQ(cap.out(), "");
}

TEST(CodonTable, TranslateCodon) {
    const auto standard = *select_codon_table("default");
    const auto mt = *select_codon_table("mt");
    EXPECT_EQ(kavro::translate_codon("AUG", standard), 'M');
    EXPECT_EQ(kavro::translate_codon("UGA", standard), '*');
    EXPECT_EQ(kavro::translate_codon("UGA", mt), 'W');
    EXPECT_EQ(kavro::translate_codon("TGG", standard), 'W');
    EXPECT_EQ(kavro::translate_codon("ANG", standard), '?');
    EXPECT_EQ(kavro::translate_codon("A-G", standard), '?');
    // A table's letters are used as they stand.
    std::string lower(64, 'x');
    lower[11] = 'm';
    EXPECT_EQ(kavro::translate_codon("atg", lower), 'm');

    kavro_test::CaptureConsole cap;
    EXPECT_EQ(kavro::translate_codon("AUG", standard.substr(0, 63)), '?');
    EXPECT_EQ(cap.err(), "Error in codon table.\n");
}

// A codon-table file: one letter line per codon, comments allowed.
std::string table_file(const std::string& letters, bool comments) {
    std::string text = comments ? "# my code\n\n" : "";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        text += letters[i];
        text += "  codon " + kavro::codon_text(static_cast<int>(i)) + "\n";
        if (comments && i % 8 == 0) text += "#\n 1 indented line\n12\n";
    }
    return text;
}

TEST(CodonTable, FileWithCommentsIsRead) {
    kavro_test::TempDir dir;
    const std::string letters = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGg";
    dir.write("code.txt", table_file(letters, true) + "extra lines after the 64th\nare never read\n");
    auto t = kavro::read_codon_table_file(dir / "code.txt");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(*t, letters);
    EXPECT_EQ(select_codon_table(dir / "code.txt"), letters);
}

TEST(CodonTable, LongLinesAreReadInPieces) {
    // A line longer than a piece continues in a new piece, whose first
    // character counts like the first character of a line.
    kavro_test::TempDir dir;
    const std::string letters(64, 'A');
    std::string text = "#" + std::string(kavro::kCodonFilePiece - 1, '-') + "Q rest of the long comment\n";
    text += table_file(letters.substr(0, 63), false);
    dir.write("code.txt", text);
    auto t = kavro::read_codon_table_file(dir / "code.txt");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(*t, "Q" + letters.substr(0, 63));
}

TEST(CodonTable, ShortFileIsRefused) {
    kavro_test::TempDir dir;
    dir.write("short.txt", table_file(std::string(63, 'A'), true));
    kavro_test::CaptureConsole cap;
    EXPECT_FALSE(kavro::read_codon_table_file(dir / "short.txt").has_value());
    EXPECT_EQ(cap.err(), "The codon table is in an unknown format.\n");
    EXPECT_FALSE(select_codon_table(dir / "short.txt").has_value());
    const std::string expected = "The codon table is in an unknown format.\n"
                                 "The codon table is in an unknown format.\n"
                                 "Codon table file: " + (dir / "short.txt") + " is not found.\n";
    EXPECT_EQ(cap.err(), expected);
}

TEST(CodonTable, MissingFileAndCapitalisedNameAreRefused) {
    kavro_test::TempDir dir;
    const std::string path = dir / "Default";  // capital D: a file name, not the built-in table
    kavro_test::CaptureConsole cap;
    EXPECT_FALSE(select_codon_table(path).has_value());
    EXPECT_EQ(cap.err(), "Cannot open codon table file: " + path + "\n\nCodon table file: " + path + " is not found.\n");
}

}  // namespace
