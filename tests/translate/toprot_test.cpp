#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/records.hpp"
#include "translate/codon_table.hpp"

using testing::HasSubstr;

namespace {

using kavro_test::Result;


// Nested ORFs in frame 1 on the given strand; its reverse complement is
// TTATTTCATCAT.
const std::string kNested = "ATGATGAAATAA";

// toprot run on a FASTA file in.fa holding one sequence named s.
Result toprot(std::vector<std::string> words, const std::string& residues = kNested,
              std::map<std::string, std::string> files = {}, const std::string& input = "") {
    std::vector<std::string> args = {"toprot"};
    args.insert(args.end(), words.begin(), words.end());
    files.emplace("in.fa", ">s a test\n" + residues + "\n");
    return kavro_test::run({.args = args, .input = input, .files = files});
}

// A codon-table file: the standard code with TGA read as W, one letter per
// line after a comment line, each letter followed by its codon.
std::string table_file(std::size_t letters = 64) {
    std::string table = *kavro::select_codon_table("default");
    table[50] = 'W';
    std::string text = "# standard code, TGA as W\n";
    for (std::size_t i = 0; i < letters; ++i)
        text += std::string(1, table[i]) + " " + kavro::codon_text(static_cast<int>(i)) + "\n";
    return text;
}

TEST(Toprot, FastaForms) {
    struct Case {
        std::vector<std::string> words;
        std::string residues, expected;
    };
    const Case cases[] = {
        {{"in.fa", "out"}, kNested,
         ">s_ptn_Frame 1.\nMMK*\n\n>s_ptn_Frame 2.\n**N\n\n>s_ptn_Frame 3.\nDEI\n\n"
         ">s_C_ptn_Frame -1.\nLFHH\n\n>s_C_ptn_Frame -2.\nYFI\n\n>s_C_ptn_Frame -3.\nISS\n\n"},
        {{"in.fa", "out", "1"}, kNested, ">s_ptn\nMMK*\n\n"},
        // Frames without a whole codon are left out of the six.
        {{"in.fa", "out"}, "ATGA", ">s_ptn_Frame 1.\nM\n\n>s_ptn_Frame 2.\n*\n\n>s_C_ptn_Frame -1.\nS\n\n>s_C_ptn_Frame -2.\nH\n\n"},
        {{"in.fa", "out", "1", "mt"}, "ATGTGAAGA", ">s_ptn\nMWR\n\n"},
        {{"in.fa", "out", "1", "code2"}, "ATGTGAAGA", ">s_ptn\nMW*\n\n"},
        {{"in.fa", "out", "1", "table.txt"}, "ATGTGAAGA", ">s_ptn\nMWR\n\n"},
        // Gaps and blanks are cleared; N gives "?".
        {{"in.fa", "out", "1"}, "ATG-NNN AAA", ">s_ptn\nM?K\n\n"},
    };
    for (const Case& c : cases) {
        Result r = toprot(c.words, c.residues, {{"table.txt", table_file()}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.file("out"), c.expected) << c.words.back();
        EXPECT_THAT(r.out, HasSubstr("Reading sequence...\nData type is DNA\nGaps were cleared.\n"));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
    }
    // Menu number 3 is toprot.
    Result r = kavro_test::run({.args = {"3", "in.fa", "out", "1"}, .files = {{"in.fa", ">s\n" + kNested + "\n"}}});
    EXPECT_EQ(r.file("out"), ">s_ptn\nMMK*\n\n");
}

TEST(Toprot, CompositeListings) {
    Result r = toprot({"in.fa", "out", "c"}, "ATGGCCTGAA");
    ASSERT_EQ(r.status, 0) << r.err;
    // 10 bases: one block; Frame 1 ends with 9 / 3 + 1, Normal with 10,
    // Complement with 1, and the numbered minus frame is -2 (10 mod 3 = 1).
    EXPECT_EQ(r.file("out"),
              "Output of KAVRO version 1.59.9\nSix-frame translation of sequence: s\n  Codon table file: default\n\n"
              "Frame 1    M  A  *    4\n"
              "Frame 2     W  P  E  \n"
              "Frame 3      G  L    \n"
              "Normal     ATGGCCTGAA 10\n"
              "Complement TACCGGACTT 1\n"
              "Frame -1      P  R  F\n"
              "Frame -2     H  G  S  1\n"
              "Frame -3       A  Q  \n\n");
    // RNA is complemented with U; 11 bases number Frame -3.
    r = toprot({"in.fa", "out", "c"}, "AUGGCCUGAAU");
    EXPECT_THAT(r.file("out"), HasSubstr("Frame 1    M  A  *     4\nFrame 2     W  P  E   \nFrame 3      G  L  N  \n"
                                         "Normal     AUGGCCUGAAU 11\nComplement UACCGGACUUA 1\n"
                                         "Frame -1       A  Q  I\nFrame -2      P  R  F \nFrame -3     H  G  S   1\n\n"));
    r = toprot({"in.fa", "out", "n", "mt"}, "ATGGCCTGAA");
    EXPECT_EQ(r.file("out"),
              "Output of KAVRO version 1.59.9\nThree-frame translation of sequence: s\n  Codon table file: mt\n\n"
              "Frame 1    M  A  W    4\nFrame 2     W  P  E  \nFrame 3      G  L    \nNormal     ATGGCCTGAA 10\n\n");
    // Blocks follow the line length (rounded down to whole codons); each
    // block of the 100-base listing restarts its pieces and numbers.
    std::string bases;
    for (int i = 0; i < 25; ++i) bases += "ATGC";
    r = kavro_test::run({.args = {"toprot", "in.fa", "out", "c"},
                         .env = {{"PRINTLINE", "40"}},
                         .files = {{"in.fa", ">s\n" + bases + "\n"}}});
    const std::string listing = r.file("out");
    EXPECT_THAT(listing, HasSubstr("Normal     " + bases.substr(0, 39) + " 39\n")) << listing;
    EXPECT_THAT(listing, HasSubstr("Normal     " + bases.substr(78) + " 100\n"));
    EXPECT_THAT(listing, HasSubstr("Frame 1    M  H  A  C  M  H  A  C  M  H  A  C  M   13\n"));
    EXPECT_THAT(listing, HasSubstr("Frame -2 ")) << listing;
}

TEST(Toprot, OrfTableMinimumRules) {
    struct Case {
        std::string form, minimum_line;
        std::size_t rows;
    };
    // ORFs (length): 1: 9 and nested 6; 3: 6; -1: 9; -2: 6; -3: 6.
    const Case cases[] = {
        {"a6", "6", 6},       {"a6longests", "-6", 5}, {"along6", "-6", 5}, {"amax", "0", 2},
        {"a0", "0", 2},       {"a7", "7", 2},          {"axyz", "300", 0},  {"a", "300", 0},
    };
    for (const Case& c : cases) {
        Result r = toprot({"in.fa", "out", c.form});
        ASSERT_EQ(r.status, 0) << c.form << r.err;
        const std::string table = r.file("out");
        EXPECT_THAT(table, HasSubstr("Print ORF info\nSequence ID: s.\nMinimum sequence length: " + c.minimum_line + ".\n"))
            << c.form;
        EXPECT_EQ(kavro_test::count_of(table, "normal    ") + kavro_test::count_of(table, "complementary "), c.rows)
            << c.form << "\n" << table;
    }
    Result r = toprot({"in.fa", "out", "a6longests"});
    EXPECT_EQ(r.file("out").substr(r.file("out").find("Number")),
              "Number\tFrame \tStart \tStop \tDirection  \tLength \tInit \tTerm \n"
              "1 \t1 \t1 \t10 \tnormal         \t9 \tM \t* \n"
              "2 \t3 \t3 \t9 \tnormal         \t6 \tD \tI \n"
              "3 \t-1 \t12 \t3 \tcomplementary  \t9 \tL \tH \n"
              "4 \t-2 \t11 \t5 \tcomplementary  \t6 \tY \tI \n"
              "5 \t-3 \t10 \t4 \tcomplementary  \t6 \tI \tS \n");
    EXPECT_THAT(r.out, HasSubstr("\nCodon file: default\n\rOrf number 4 created.\nCodon file: default\n\rOrf number 7 created."));
}

TEST(Toprot, OrfSequences) {
    Result r = toprot({"in.fa", "out", "s9"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("out"), ">s_orf#1 1..12 3 aa  frame1;\nMMK*\n\n>s_C_orf#2 1..12 4 aa  frame-1;\nLFHH\n\n");
    r = toprot({"in.fa", "out", "s6longests"});
    EXPECT_THAT(r.file("out"), HasSubstr(">s_orf#2 3..11 3 aa  frame3;\nDEI\n\n")) << r.file("out");
}

TEST(Toprot, PresentationForm) {
    const std::string gene = "cccATGAAAgtaagtTTTTAGccccccccccccccc";
    Result r = toprot({"in.fa", "out", "pexons"}, gene, {{"exons", "gene 2 join 4 9  16 21\n"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.file("out"), HasSubstr(">s\ngene 2 join 4 9  16 21\n  Codon table file: default\n\n"
                                   "cccATGAAAgtaagtTTTTAGccccccccccccccc"));
    EXPECT_THAT(r.file("out"), HasSubstr("\n   M  K        F  *  "));
    EXPECT_THAT(r.out, HasSubstr("\bw"));
    // "p" alone asks for the exons.
    r = toprot({"in.fa", "out", "p"}, gene, {}, "y\ngene\n1\n4\ny\n21\ny\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.file("out"), HasSubstr(">s\ngene 1  4 21\n"));
    EXPECT_THAT(r.out, HasSubstr("Do you wish to input exon data interactively?"));
}

TEST(Toprot, Dialog) {
    Result r = toprot({}, kNested, {}, "in.fa\nout\n1\ny\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("out"), ">s_ptn\nMMK*\n\n");
    EXPECT_THAT(r.out, HasSubstr("Switch --  1, 6, n, c, p, a, or s\n"));
    r = toprot({}, kNested, {}, "in.fa\nout\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Switch should be either 1, 6, c, n, p, a or s.\n"));
    // "exit" for the codon table ends the program.
    r = toprot({}, kNested, {}, "in.fa\nout\n6\nexit\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.exists("out"));
}

TEST(Toprot, DataToStandardOutput) {
    // With "stdout" as the output, standard output holds exactly what the
    // file would; the messages and the closing line go to standard error.
    for (std::string form : {"6", "1", "c", "n", "a6", "s6", "pexons"}) {
        const std::map<std::string, std::string> files = {{"exons", "g 1 1 9"}};
        Result to_file = toprot({"in.fa", "out", form}, kNested, files);
        Result r = toprot({"in.fa", "stdout", form}, kNested, files);
        ASSERT_EQ(r.status, 0) << form << r.err;
        EXPECT_EQ(r.out, to_file.file("out")) << form;
        EXPECT_THAT(r.err, HasSubstr("Reading sequence...\n")) << form;
        EXPECT_THAT(r.err, HasSubstr("\nTerminated.\n" + kavro_test::sjis("完了.\n"))) << form;
        EXPECT_FALSE(r.exists("stdout"));
    }
}

TEST(Toprot, Failures) {
    struct Case {
        std::vector<std::string> words;
        std::string residues, message;
    };
    const Case cases[] = {
        {{"in.fa", "out", "x"}, kNested, "Switch should be either 1, 6, c, n, p, a or s.\n"},
        {{"in.fa", "out", "6"}, "MKLVWWQERTYPPLKHHHFDSAQWERTYIIP", "This is not a DNA sequence: in.fa\n"},
        {{"none.fa", "out"}, kNested, "Unknown file format.\n"},
        {{"in.fa", "out", "6", "missing.txt"}, kNested, "Codon table file: missing.txt is not found.\n"},
        {{"in.fa", "out", "1", "short.txt"}, kNested,
         "The codon table is in an unknown format.\nCodon table file: short.txt is not found.\n"},
        {{"in.fa", "out", "c"}, "ATG", "Too short sequence for a composite listing: s (3 bases).\nUnable to write file.\n"},
        {{"in.fa", "out", "n"}, "A", "Too short sequence for a composite listing: s (1 bases).\nUnable to write file.\n"},
        {{"in.fa", "out", "a"}, "ATGAAATA", "Too short sequence in AddOrfInfo.Unable to add orf infos to multiorf.\n"},
        {{"in.fa", "out", "pexons"}, kNested,
         "Exon 10..13 lies outside the sequence of 12 bases.\n\nError in extracting exons.\n"},
        {{"in.fa", "out", "pexons0"}, kNested, "Exon 0..3 lies outside the sequence of 12 bases.\n"},
        {{"in.fa", "out", "pexons-"}, kNested, "The exon number must be 1 or more: -1\n"},
        {{"in.fa", "out", "pmissing"}, kNested, "Cannot open file: missing\nUnable to make header in fwrite_pretty.\n"},
    };
    for (const Case& c : cases) {
        Result r = toprot(c.words, c.residues,
                          {{"short.txt", table_file(63)}, {"exons", "g 1 10 13"}, {"exons0", "g 1 0 3"},
                           {"exons-", "g -1 join 1 3"}});
        EXPECT_EQ(r.status, 1) << c.words[2];
        EXPECT_THAT(r.err, HasSubstr(c.message)) << c.words.back() << "\n" << r.err;
    }
    // Any other word count shows the usage text.
    Result r = toprot({"in.fa"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr(kavro_test::sjis("使い方: toprot infile outfile switch codon_table.\n\n")));
    EXPECT_THAT(r.out, HasSubstr(kavro_test::sjis("書きます。一番長いORFだけを出力する場合には，数字の代わりに maxと書きます\n")));
}

}  // namespace

namespace {

// The output is emptied before the input is read: naming the input (by any
// path), the exon file or the codon-table file as the output is refused,
// and each stays whole.
TEST(Toprot, OutputNamedLikeAnInputIsRefused) {
    const std::string two = ">s a test\n" + kNested + "\n>t\nATGCCCTAA\n";
    const std::vector<std::vector<std::string>> cases = {
        {"in.fa", "in.fa"}, {"in.fa", "./in.fa", "1"}, {"in.fa", "in.fa", "c"}, {"in.fa", "in.fa", "s0"},
        {"in.fa", "ex", "pex"}, {"in.fa", "tbl", "p", "tbl"}};
    for (const auto& words : cases) {
        SCOPED_TRACE(words[1] + " " + (words.size() > 2 ? words[2] : ""));
        std::vector<std::string> args = {"toprot"};
        args.insert(args.end(), words.begin(), words.end());
        auto r = kavro_test::run({.args = args, .files = {{"in.fa", two}, {"ex", "1 9\n"}, {"tbl", table_file()}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err, HasSubstr("Output file " + words[1] + " is the input file.\n"));
        EXPECT_EQ(r.file("in.fa"), two);
        EXPECT_EQ(r.file("ex"), "1 9\n");
        EXPECT_EQ(r.file("tbl"), table_file());
    }
}

}  // namespace
