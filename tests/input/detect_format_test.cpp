#include <gtest/gtest.h>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"

using namespace kavro;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

kavro::SeqFormat detect(const std::string& content, std::string* messages = nullptr) {
    TempFile f(content);
    kavro::SeqFormat code = kavro::SeqFormat::Error;
    std::string e = stderr_of([&] { code = detect_format(f.path()); });
    if (messages) *messages = e;
    return code;
}

std::string lines(int n, const std::string& line) {
    std::string s;
    for (int i = 0; i < n; ++i) s += line;
    return s;
}

TEST(DetectFormat, EachRuleGivesItsCode) {
    EXPECT_EQ(detect("\n>seq1\nACGT\n"), SeqFormat::Fasta);
    EXPECT_EQ(detect("GBBCT1.SEQ          Genetic Sequence Data Bank\n"), SeqFormat::Genbank);
    EXPECT_EQ(detect("LOCUS       AB1   787 bp    DNA   BCT\n"), SeqFormat::Genbank);
    EXPECT_EQ(detect("LOCUS       AB1   787 bp    mRNA  PRI\n"), SeqFormat::Genbank);
    EXPECT_EQ(detect("LOCUS       AAN75219   436 aa   linear   PLN\n"), SeqFormat::GenbankProtein);
    EXPECT_EQ(detect("LOCUS       X1   436 residues PRT\n"), SeqFormat::GenbankProtein);
    EXPECT_EQ(detect("LOCUS       X1   12 units\n"), SeqFormat::Genbank);
    EXPECT_EQ(detect("CODE  ABC\n"), SeqFormat::Nbrf);
    EXPECT_EQ(detect("ENTRY   CCHU\n"), SeqFormat::Pir);
    EXPECT_EQ(detect("\\\\\\ P R O T E I N  S E Q U E N C E  D A T A B A S E of PIR\n"), SeqFormat::Pir);
    EXPECT_EQ(detect("ID   X56734; SV 1; linear; mRNA; STD; PLN; 1859 BP.\n"), SeqFormat::Embl);
    EXPECT_EQ(detect("ID   100K_RAT  STANDARD;  PRT;   889 AA.\n"), SeqFormat::Swissprot);
    EXPECT_EQ(detect("ID   O23729_BRACA   Reviewed;   394 AA.\n"), SeqFormat::Uniprot);
    EXPECT_EQ(detect("ID   F2CXE6_HORVD   Unreviewed;   291 AA.\n"), SeqFormat::Uniprot);
    // "DNA" anywhere on the ID line, even in the name, makes it EMBL.
    EXPECT_EQ(detect("ID   DNAK_ECOLI  Reviewed;  638 AA.\n"), SeqFormat::Embl);
    EXPECT_EQ(detect("CLUSTAL anything at all\n"), SeqFormat::Clustal);
    EXPECT_EQ(detect(" 5 222 I\nseq1 ACGT\n"), SeqFormat::Phylip);
}

TEST(DetectFormat, UntypedIdLineIsReportedButStillEmbl) {
    std::string e;
    EXPECT_EQ(detect("ID   AE000001;\n", &e), SeqFormat::EmblUntyped);
    EXPECT_EQ(e, "Unrecognizable data type in EMBL file.\n");
}

TEST(DetectFormat, RawWhenNothingSettlesItWithin30Lines) {
    EXPECT_EQ(detect(lines(3, "ACGTACGTACGT\n")), SeqFormat::Raw);
    EXPECT_EQ(detect(lines(40, "ACGTACGTACGT\n")), SeqFormat::Raw);
    // The 31st line is never looked at.
    EXPECT_EQ(detect(lines(30, "ACGT\n") + ">late\nACGT\n"), SeqFormat::Raw);
    EXPECT_EQ(detect(lines(29, "ACGT\n") + ">in time\nACGT\n"), SeqFormat::Fasta);
    // Lines without letters or digits are skipped, but still counted.
    EXPECT_EQ(detect(lines(30, "----\n") + ">x\n"), SeqFormat::Raw);
}

TEST(DetectFormat, LinesAreReadIn512CharacterPieces) {
    // The second piece of a long line starts with ">": it counts as a line.
    EXPECT_EQ(detect(std::string(512, 'A') + ">x\n"), SeqFormat::Fasta);
    EXPECT_EQ(detect(std::string(511, 'A') + ">x\n"), SeqFormat::Raw);
}

TEST(DetectFormat, EmptyOrMissingFileIsAnError) {
    std::string e;
    EXPECT_EQ(detect("", &e), SeqFormat::Error);
    EXPECT_EQ(e, "Empty file.\n");
    kavro::SeqFormat code = kavro::SeqFormat::Raw;
    e = stderr_of([&] { code = detect_format("/nonexistent/dir/file.seq"); });
    EXPECT_EQ(code, SeqFormat::Error);
    EXPECT_EQ(e, "Cannot open file: /nonexistent/dir/file.seq\n\n");
}

TEST(DetectFormat, PhylipHeaderRule) {
    EXPECT_TRUE(looks_like_phylip_header("12 345\n"));
    EXPECT_TRUE(looks_like_phylip_header("   12\t345"));
    EXPECT_TRUE(looks_like_phylip_header(" 12 345 I\n"));
    EXPECT_TRUE(looks_like_phylip_header("12 345 Interleaved"));
    EXPECT_TRUE(looks_like_phylip_header("12 345   \n"));
    EXPECT_FALSE(looks_like_phylip_header("12\n"));
    EXPECT_FALSE(looks_like_phylip_header("12 \n"));
    EXPECT_FALSE(looks_like_phylip_header("12 345 x\n"));
    EXPECT_FALSE(looks_like_phylip_header("12 345 i\n"));
    EXPECT_FALSE(looks_like_phylip_header("12a 345\n"));
    EXPECT_FALSE(looks_like_phylip_header("12 34b\n"));
    EXPECT_FALSE(looks_like_phylip_header("x 12 345\n"));
    EXPECT_FALSE(looks_like_phylip_header(""));
    // Only the text before the first newline counts.
    EXPECT_TRUE(looks_like_phylip_header("12 345\nzzz"));
}

}  // namespace
