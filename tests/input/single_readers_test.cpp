#include <gtest/gtest.h>

#include <regex>

#include <unistd.h>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"

using namespace kavro;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

std::optional<SequenceRecord> fasta(const std::string& text, ResidueKind type = ResidueKind::Unknown, std::string* e = nullptr) {
    auto in = LineReader::from_string(text);
    std::optional<SequenceRecord> r;
    std::string msgs = stderr_of([&] { r = read_fasta(in, type); });
    if (e) *e = msgs;
    return r;
}

std::optional<SequenceRecord> single_from(const std::string& path, SeqFormat format, ResidueKind type, std::string* e = nullptr) {
    std::optional<SequenceRecord> r;
    std::string msgs = stderr_of([&] { r = read_sequence(path, format, type); });
    if (e) *e = msgs;
    return r;
}

std::optional<SequenceRecord> single(const std::string& text, SeqFormat format, ResidueKind type, std::string* e = nullptr) {
    TempFile f(text);
    return single_from(f.path(), format, type, e);
}

TEST(ReadFasta, HeaderDefinitionAndResiduesWithTypeDetection) {
    auto r = single(">seq1 test entry\nacgt\nACGT\n", SeqFormat::Fasta, kavro::ResidueKind::Unknown);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "seq1");
    EXPECT_EQ(r->residues, "acgtACGT");
    EXPECT_EQ(r->length, 8);
    EXPECT_EQ(r->type, ResidueKind::Dna);
    EXPECT_EQ(r->definition, " test entry\n\nData type was automatically set to: DNA");
    // A requested type is kept and the definition is left alone.
    r = single(">seq1 test entry\nacgt\n", SeqFormat::Fasta, ResidueKind::Protein);
    EXPECT_EQ(r->type, ResidueKind::Protein);
    EXPECT_EQ(r->definition, " test entry\n");
}

TEST(ReadFasta, NameRules) {
    auto r = fasta(">" + std::string(104, 'n') + " rest\nAC\n");
    EXPECT_EQ(r->name, std::string(99, 'n'));
    EXPECT_EQ(r->definition, "nnnnn rest\n");
    // The definition starts after as many header characters as the name has.
    r = fasta("> abc def\nAC\n");
    EXPECT_EQ(r->name, "abc");
    EXPECT_EQ(r->definition, "c def\n");
    r = fasta(">only\nAC\n");
    EXPECT_EQ(r->definition, "\n");
    // Lines before the header are skipped.
    r = fasta("junk\n\n>x y\nAC\n");
    EXPECT_EQ(r->name, "x");
    EXPECT_EQ(r->residues, "AC");
}

TEST(ReadFasta, SequenceLineRules) {
    std::string e;
    auto r = fasta(">s\nAC GT 12\n;comment\nAA\t\r\n>second\nGG\n", kavro::ResidueKind::Unknown, &e);
    EXPECT_EQ(r->residues, "AC GT 12AA");  // spaces and digits kept, controls dropped
    EXPECT_EQ(r->length, 10);
    EXPECT_EQ(r->definition, "\n;comment\n");
    EXPECT_EQ(e, "This seems to be a multi-fasta file. Stop reading.\n");
    r = fasta(">s\nAC\n//\nGG\n", kavro::ResidueKind::Unknown, &e);
    EXPECT_EQ(r->residues, "AC");
    EXPECT_EQ(e, "");
}

TEST(ReadFasta, HeaderLongerThanOnePieceContinuesTheDefinition) {
    std::string header = ">name " + std::string(600, 'd') + "\n";
    auto r = fasta(header + "ACGT\n");
    EXPECT_EQ(r->name, "name");
    EXPECT_EQ(r->definition, " " + std::string(600, 'd') + "\n");
    EXPECT_EQ(r->residues, "ACGT");
}

TEST(ReadFasta, NoResiduesGiveLengthZero) {
    auto r = fasta(">s\n");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->length, 0);
    r = fasta("");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "");
}

// The room a reader sets aside up front is a guess from the file size or a
// header: on a file far larger than memory (here a sparse one) whose first
// entry is short, the guess must not make the read fail.
TEST(ReadFasta, FirstEntryOfAFileLargerThanMemory) {
    TempFile fa(">a\nACGT\n>b\nAC\n", "big.fa");
    TempFile gb("LOCUS       X   2147483647 bp    DNA\nORIGIN\n        1 acgt\n//\n", "big.gb");
    TempFile embl("ID   X standard; DNA; PRO; 2147483647 BP.\nSQ   Sequence\n     acgt\n//\n", "big.embl");
    constexpr off_t kHuge = off_t{1} << 42;  // 4 TiB, larger than any memory
    for (const TempFile* f : {&fa, &gb, &embl})
        if (::truncate(f->path().c_str(), kHuge) != 0) GTEST_SKIP() << "no sparse files here";
    std::string e;
    auto r = single_from(fa.path(), SeqFormat::Fasta, ResidueKind::Dna, &e);
    ASSERT_TRUE(r) << e;
    EXPECT_EQ(r->residues, "ACGT");
    EXPECT_EQ(e, "This seems to be a multi-fasta file. Stop reading.\n");
    for (const TempFile* f : {&gb, &embl}) {
        r = single_from(f->path(), f == &gb ? SeqFormat::Genbank : SeqFormat::Embl, ResidueKind::Dna, &e);
        ASSERT_TRUE(r) << e;
        EXPECT_EQ(r->residues, "ACGT");
    }
}

TEST(ReadRaw, PrintableCharactersAndTimeStamp) {
    TempFile f("AC GT\n12\r\n\tx\x01y");
    auto r = read_sequence(f.path(), SeqFormat::Raw, ResidueKind::Dna);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, f.path());
    EXPECT_EQ(r->residues, "AC GT12xy");
    EXPECT_EQ(r->length, 9);
    EXPECT_EQ(r->type, ResidueKind::Dna);
    const std::string prefix = "This is a raw sequence read on: ";
    ASSERT_EQ(r->definition.size(), prefix.size() + 24);
    EXPECT_TRUE(std::regex_match(r->definition.substr(prefix.size()),
                                 std::regex("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}")))
        << r->definition;
}

TEST(ReadNbrf, CodeNameSequenceEnd) {
    std::string text =
        "CODE  ABC1\nNAME  first part\nmore name\nSEQUENCE\n  1 acd ef*\n 10 GH.-\nEND\nIGNORED\n";
    auto r = single(text, SeqFormat::Nbrf, ResidueKind::Dna);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "ABC1");
    EXPECT_EQ(r->definition, " first part;more name;");
    EXPECT_EQ(r->residues, "ACDEF*GH.-");
    EXPECT_EQ(r->type, ResidueKind::Protein);  // whatever was requested
}

TEST(ReadNbrf, LongNameIsReportedAndCut) {
    std::string e;
    const std::string name(100, 'C');
    auto r = single("CODE  " + name + " rest\nSEQUENCE\nAC\n", SeqFormat::Nbrf, kavro::ResidueKind::Unknown, &e);
    EXPECT_EQ(r->name, name.substr(0, 99));
    EXPECT_EQ(e, "File format is strange. But we continue.\n " + name + " rest\n");
}

TEST(ReadSequence, ChoosesTheReaderByCode) {
    std::string gb = "LOCUS       ABC   4 bp    DNA   BCT\nORIGIN\n        1 acgt\n//\n";
    auto r = single(gb, SeqFormat::Genbank, kavro::ResidueKind::Unknown);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->residues, "ACGT");
    std::string embl = "ID   ABC standard; DNA; PRO; 4 BP.\nSQ   Sequence\n     acgt\n//\n";
    r = single(embl, SeqFormat::EmblUntyped, kavro::ResidueKind::Unknown);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->residues, "ACGT");
    EXPECT_EQ(r->type, ResidueKind::Dna);
    r = single("ENTRY  P1\nSEQUENCE\n  1 M K\n///\n", SeqFormat::Pir, kavro::ResidueKind::Unknown);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->residues, "MK");
}

TEST(ReadSequence, FailureMessages) {
    std::string e;
    EXPECT_FALSE(single("CLUSTAL\n", SeqFormat::Clustal, kavro::ResidueKind::Unknown, &e));
    EXPECT_EQ(e, "Unknown sequence format.\n");
    EXPECT_FALSE(single(" 2 20 I\n", SeqFormat::Phylip, kavro::ResidueKind::Unknown, &e));
    EXPECT_EQ(e, "Unknown sequence format.\n");
    TempFile f("LOCUS       ABC   4 bp    DNA   BCT\n//\n");
    std::optional<SequenceRecord> r;
    e = stderr_of([&] { r = read_sequence(f.path(), SeqFormat::Genbank, ResidueKind::Unknown); });
    EXPECT_FALSE(r);
    EXPECT_EQ(e, "Sequence length is 4 in the header of file,\nbut 0 bases were read.\nError in reading sequence from file: " +
                     f.path() + "\n");
    e = stderr_of([&] { r = read_sequence("/nonexistent/x", SeqFormat::Fasta, ResidueKind::Unknown); });
    EXPECT_EQ(e, "Cannot open file: /nonexistent/x\n\n");
}

}  // namespace
