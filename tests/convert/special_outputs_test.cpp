// tofast's special outputs end to end: reports, compositional variation, the
// mass search and translation, on the collection, entry and single paths.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "convert/tofast_fixtures.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace {

namespace fx = tofast_fixtures;

kavro_test::Result run(std::vector<std::string> args, std::map<std::string, std::string> files) {
    return kavro_test::run({.args = std::move(args), .files = std::move(files)});
}


std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

const char* kCoding = ">s1 first\nATGGCCTGAAAC\n>s2\nATGAAACCCGGGTTTTAA\n";
const char* kProteins = ">p1 one\nMSTAGKWWDEFHHRGGGGGGG\n>p2\nGGGGGKRWWDEFHHGG\n";
const char* kMixedGenBank =
    "LOCUS       MIX1          20 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  first.\n"
    "ORIGIN\n"
    "        1 aacgtacgta cgtacgtacg\n"
    "//\n"
    "LOCUS       MIX2          12 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  second.\n"
    "ORIGIN\n"
    "        1 atgcatgcat ga\n"
    "//\n";
const std::string kRule = "*****************************************\n";

// ---- translation ----

TEST(TofastTranslation, CollectionFramesAndTables) {
    auto r = run({"tofast", "in.fa", "out.fa", "p", "5"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    // The collection writer puts "_" between name and definition.
    EXPECT_EQ(r.file("out.fa"), ">s1_C_ptn_Frame -2 \nFQA\n\n>s2_C_ptn_Frame -2 \n*NPGF\n\n");
    EXPECT_THAT(r.out, HasSubstr(".\n"));
    EXPECT_THAT(r.err, HasSubstr("Writing sequences...\n\nTerminated.\n"));

    r = run({"tofast", "in.fa", "out.fa", "p", "1", "mt"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.fa"), ">s1_ptn_Frame 1 \nMAWN\n\n>s2_ptn_Frame 1 \nMKPGF*\n\n");
}

TEST(TofastTranslation, CodonTableFile) {
    std::string table;
    for (char c : std::string("FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG")) table += c + std::string("\n");
    auto r = run({"tofast", "in.fa", "out.fa", "p", "1", "my.code"}, {{"in.fa", kCoding}, {"my.code", "# W for UGA\n" + table}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file("out.fa"), HasSubstr("MAWN"));

    r = run({"tofast", "in.fa", "out.fa", "p", "1", "short.code"}, {{"in.fa", kCoding}, {"short.code", table.substr(2)}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("The codon table is in an unknown format.\nCodon table file: short.code is not found.\n"));
    EXPECT_THAT(r.out, Not(HasSubstr("完了")));
}

TEST(TofastTranslation, EntryAndSinglePaths) {
    // Entries are written with a space before the frame label.
    auto r = run({"tofast", "in.gb", "out.fa", "p", "1"}, {{"in.gb", fx::kGenBank}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.fa").substr(0, 29), ">GBTEST1_ptn Frame 1 \nNVRTYV\n");
    EXPECT_THAT(r.file("out.fa"), HasSubstr(">GBTEST2_ptn Frame 1 \nGGGGGGGGGGGGGGGGGGGGGGGFFF\n\n"));

    r = run({"tofast", "seq.txt", "out.fa", "p", "6"}, {{"seq.txt", fx::kRaw}});  // frame -3
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("out.fa"), ">seq.txt_C_ptn Frame -3 \nVRT\n\n");
    EXPECT_THAT(r.err, HasSubstr("\nTerminated.\n"));
}

// ---- information reports ----

TEST(TofastInfo, CollectionReports) {
    auto r = run({"tofast", "in.fa", "out.txt", "i"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("Writing sequence info...\nTerminated.\n"));
    // The definition keeps its leading space (so no "_") and its line end (";").
    EXPECT_THAT(r.file("out.txt"), StartsWith(">s1 first;\n   Data type: DNA.\n   Sequence length: 12.\n\n   A = "));

    r = run({"tofast", "in.fa", "out.txt", "i", "#"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.file("out.txt"), "2\n");
    r = run({"tofast", "in.fa", "out.txt", "i", "l"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.file("out.txt"), "12\n18\n");

    r = run({"tofast", "in.fa", "out.txt", "i", "c"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    const std::string codon = r.file("out.txt");
    EXPECT_EQ(codon.substr(0, 11), "s1: 12 nt\n\n");
    EXPECT_THAT(codon, HasSubstr("s2: 18 nt\n\n"));
    EXPECT_THAT(codon, HasSubstr(kRule + "Total codon usage\n  10 codons in 2 sequences.\n\n"));
    EXPECT_THAT(codon, HasSubstr("M  AUG =      2,  20.00 %, 100.00 %.\n"));

    r = run({"tofast", "in.fa", "out.txt", "i", "c"}, {{"in.fa", kProteins}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Sequence must be DNA.\n"));
}

TEST(TofastInfo, CodonSummaryOnStandardOutputOnly) {
    auto r = run({"tofast", "in.fa", "stdout", "i", "c", "mt"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, Not(HasSubstr(" nt\n")));
    EXPECT_THAT(r.out, HasSubstr("W  UGA =      1,  10.00 %, 100.00 %.\n"));
    EXPECT_FALSE(r.exists("stdout"));
}

TEST(TofastInfo, EntryPathSumsTheEntries) {
    auto r = run({"tofast", "in.gb", "out.txt", "i", "c"}, {{"in.gb", fx::kGenBank}});
    EXPECT_EQ(r.status, 0);
    const std::string text = r.file("out.txt");
    EXPECT_EQ(text.substr(0, 16), "GBTEST1: 20 nt\n\n");
    EXPECT_THAT(text, HasSubstr("GBTEST2: 80 nt\n\n"));
    EXPECT_THAT(text, HasSubstr("  32 codons in 2 sequences.\n"));
    EXPECT_THAT(text, HasSubstr("G  GGG =     22,  68.75 %.\n"));
    EXPECT_EQ(count_of(r.err, "Writing sequence info...\n"), 2u);

    r = run({"tofast", "in.gb", "out.txt", "i"}, {{"in.gb", fx::kGenBank}});
    EXPECT_EQ(r.status, 0);
    // Each ";" of the collected definition starts a new line.
    EXPECT_THAT(r.file("out.txt"), StartsWith(">GBTEST1 Test   entry    one,\n            second line.\nACC"));
    EXPECT_THAT(r.file("out.txt"), HasSubstr(">GBTEST2 Second test entry.\n\n   Data type: DNA.\n"));
}

TEST(TofastInfo, SinglePathHasNoSummary) {
    auto r = run({"tofast", "seq.txt", "out.txt", "i", "c"}, {{"seq.txt", fx::kRaw}});
    EXPECT_EQ(r.status, 0);
    const std::string text = r.file("out.txt");
    EXPECT_EQ(text.substr(0, 18), "seq.txt: 12 nt\n\nF ");
    EXPECT_THAT(text, HasSubstr("A  GCA =      0,   0.00 %.\n"));
    EXPECT_THAT(text, HasSubstr("R  CGU =      1,  25.00 %.\n"));
    EXPECT_THAT(text, Not(HasSubstr("Total codon usage")));
    EXPECT_THAT(r.err, HasSubstr("Writing sequence info...\nTerminated.\n"));

    r = run({"tofast", "seq.txt", "out.txt", "i", "l"}, {{"seq.txt", fx::kRaw}});
    EXPECT_EQ(r.file("out.txt"), "12\n");
}

// ---- compositional variation ----

TEST(TofastComposition, EveryPath) {
    auto r = run({"tofast", "in.fa", "out.txt", "b", "9", "9"}, {{"in.fa", kCoding}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("Writing compositional variation...\nTerminated.\n"));
    const std::string text = r.file("out.txt");
    EXPECT_EQ(text.substr(0, 55), "DNA info for s1\n   Window size: 9; Slide size: 9.\n\n    ");
    EXPECT_THAT(text, HasSubstr("      10\t      12\t     3\t"));
    EXPECT_THAT(text, HasSubstr("DNA info for s2\n"));

    r = run({"tofast", "in.gb", "out.txt", "b", "10", "10"}, {{"in.gb", kMixedGenBank}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file("out.txt"), HasSubstr("DNA info for MIX1\n"));
    EXPECT_THAT(r.file("out.txt"), HasSubstr("      11\t      20\t    10\t"));
    EXPECT_THAT(r.file("out.txt"), HasSubstr("DNA info for MIX2\n"));
    EXPECT_EQ(count_of(r.err, "Writing compositional variation...\n"), 2u);

    r = run({"tofast", "seq.txt", "out.txt", "b", "4", "4"}, {{"seq.txt", fx::kRaw}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file("out.txt"), HasSubstr("       9\t      12\t     4\t25.00\t25.00\t25.00\t25.00\t"));
}

TEST(TofastComposition, MissingWindowFailsOnEveryPath) {
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"in.fa", kCoding}, {"in.gb", fx::kGenBank}, {"seq.txt", fx::kRaw}}) {
        auto r = run({"tofast", name, "out.txt", "b"}, {{name, content}});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_THAT(r.err, HasSubstr("Window and slide sizes are not correct.\n")) << name;
    }
}

TEST(TofastComposition, ProteinFailsTheReport) {
    auto r = run({"tofast", "in.fa", "out.txt", "b", "5", "5"}, {{"in.fa", kProteins}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("This is not a DNA sequence. Skipping...\nError in Mfwrite_Dinfo. Sequence No. 0.\n"
                           "Unable to write output file.\nError in writing DNA info.\n"));
}

// ---- peptide-mass search ----

TEST(TofastMs, SearchOnProteins) {
    const std::string def = "Test search\n0\tNterm\nKR\tCterm\n500\tLower\n1\tNumber of peaks\n1212.6361\n//END\n";
    auto r = run({"tofast", "in.fa", "out.txt", "ms", "msdef"}, {{"in.fa", kProteins}, {"msdef", def}});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("Terminated.\n"));
    EXPECT_THAT(r.file("out.txt"), HasSubstr("p1\t21\t1\t   0.3810\t   0.3810\t7-14\t1211.5261\t1211.6261\t   0.1000\tWWDEFHHR\t3\t2\n"));
    EXPECT_THAT(r.out, HasSubstr("\nNumber 0: p1 coverage2=   0.3810, coverage1=   0.3810\n"));

    r = run({"tofast", "in.fa", "out.txt", "ms", "nosuch"}, {{"in.fa", kProteins}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Cannot open file: nosuch\n\nError in MS analysis.\n"));

    r = run({"tofast", "in.fa", "out.txt", "ms", "msdef"}, {{"in.fa", kCoding}, {"msdef", def}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Only protein sequence can be analyzed in the ms mode.\n"));
}

}  // namespace
