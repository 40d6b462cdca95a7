// tofast on input as it comes from the field: long names, ambiguity codes,
// odd bytes, short headers. Every entry of the input reaches the output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/gzip.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string input;                 // written as "in", and given as standard input
    int status;
    std::string out_has;               // in standard output (or the file out.fa)
    std::string err_has;
    std::string err_lacks = "\x01";    // a text that must not appear on standard error
};


std::string genbank(const std::string& name, const std::string& residues) {
    return "LOCUS       " + name + " " + std::to_string(residues.size()) + " bp    DNA     linear   BCT 01-JAN-2020\n" +
           "ORIGIN\n        1 " + residues + "\n//\n";
}

std::string embl(const std::string& id_line, const std::string& residues) {
    return "ID   " + id_line + "\nSQ   Sequence\n     " + residues + "\n//\n";
}

void check(const Case& c) {
    auto r = kavro_test::run({.args = c.args, .input = c.input, .files = {{"in", c.input}}});
    EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
    const std::string out = r.exists("out.fa") ? r.file("out.fa") : r.out;
    EXPECT_THAT(out, HasSubstr(c.out_has)) << c.what << "\n" << out;
    EXPECT_THAT(r.err, HasSubstr(c.err_has)) << c.what << "\n" << r.err;
    EXPECT_THAT(r.err, Not(HasSubstr(c.err_lacks))) << c.what << "\n" << r.err;
}

TEST(RealWorldInput, EntriesKeepTheirNamesAndResidues) {
    const std::string nrich = "ACGT" + std::string(40, 'N');
    const Case cases[] = {
        {"N-rich DNA is not called RNA and left out", {"tofast", "in", "stdout"},
         ">a\nACGTACGT\n>b\n" + nrich + "\n>c\nACGTACGT\n", 0, ">b\n" + nrich + "\n\n>c\n", ""},
        {"B and V complement each other", {"tofast", "in", "stdout", "c"}, ">a\nACGTACGTACGTACGTACGTACGTBV\n", 0, "BVACGTACGT", ""},
        {"GenBank names of modern assemblies stay whole", {"tofast", "in", "stdout"},
         genbank("NZ_JAAXYZ010000001", "acgt") + genbank("NZ_JAAXYZ010000002", "acgt"), 0,
         ">NZ_JAAXYZ010000001\nACGT\n\n>NZ_JAAXYZ010000002\n", "", "strange"},
        {"UniProt names of 16 characters stay whole", {"tofast", "in", "stdout"},
         embl("A0A023GPI8_CANAL        Unreviewed;         4 AA.", "MKVL"), 0, ">A0A023GPI8_CANAL\nMKVL", "",
         "strange"},
        {"EMBL names of 13 characters stay whole", {"tofast", "in", "stdout"},
         embl("IPI00383150.2  IPI;  PRT;  4 AA.", "MKVL"), 0, ">IPI00383150.2\nMKVL", "", "strange"},
        {"PIR names over 11 characters stay whole", {"tofast", "in", "stdout"},
         "ENTRY   ABCDEFGHIJKLMN\nSEQUENCE\n G D V\n///\n", 0, ">ABCDEFGHIJKLMN\nGDV", "", "strange"},
        {"NBRF names over 11 characters stay whole", {"tofast", "in", "stdout"},
         "CODE  ABCDEFGHIJKLMNOP\nSEQUENCE\nMKVL\nEND\n", 0, ">ABCDEFGHIJKLMNOP\nMKVL", "", "strange"},
        {"CLUSTAL names of 31 characters are read", {"tofast", "in", "stdout"},
         "CLUSTAL W (1.83) multiple sequence alignment\n\n" + std::string(31, 'a') + " ACGT\n" +
             std::string(31, 'b') + " ACGT\n",
         0, ">" + std::string(31, 'b') + "\nACGT", ""},
        {"a bare CLUSTAL header is a header", {"tofast", "in", "stdout"},
         kavro_test::fixture("input/odd/bare_header.aln"), 0, ">s2\nACGTACGTAC", ""},
        {"a high byte among GenBank residues costs nothing after it", {"tofast", "in", "out.fa"},
         kavro_test::fixture("input/odd/high_byte.gb"), 0, ">X\nACGT\n\n>Y\nACGT\n", "", "Error"},
    };
    for (const Case& c : cases) check(c);
}

TEST(RealWorldInput, CompressedPipedAndOddInput) {
    const std::string gb = genbank("G1", "acgt") + genbank("G2", "ggcc");
    const Case cases[] = {
        {"gzip input is decompressed", {"tofast", "in", "stdout"}, kavro_test::gzip_bytes(gb), 0,
         ">G1\nACGT\n\n>G2\nGGCC\n", "This is a GenBank file.\n"},
        {"\"-\" reads standard input", {"tofast", "-", "stdout"}, gb, 0, ">G1\nACGT\n\n>G2\nGGCC\n", ""},
        {"gzip on standard input", {"tofast", "-", "stdout"}, kavro_test::gzip_bytes(gb), 0, ">G2\nGGCC\n", ""},
        {"binary input is refused", {"tofast", "in", "stdout"}, std::string("\x7F" "ELF\x02\x01\x01\0\0", 9), 1, "",
         "This is not a text file: in\n"},
        {"old Mac line ends", {"tofast", "in", "stdout"}, ">a\rACGT\rGG\r>b\rTT\r", 0, ">a\nACGTGG\n\n>b\nTT\n", ""},
    };
    for (const Case& c : cases) check(c);
}

TEST(RealWorldInput, ClearModeNamesWhatItLeavesOut) {
    const Case cases[] = {
        {"an empty first record does not set the collection's type", {"tofast", "in", "stdout"},
         ">empty\n>b\nACGTACGT\n>c\nGGGCCCAAATTT\n", 0, ">b\nACGTACGT\n\n>c\nGGGCCCAAATTT\n",
         "Left out, no residues: empty\n"},
        {"a record of another kind is named", {"tofast", "in", "stdout"}, ">a\nACGT\n>p\nMKVLWWEF\n>c\nGG\n", 0,
         ">a\nACGT\n\n>c\nGG\n", "Left out, protein among DNA records: p\n.\n1 record left out.\n"},
        {"the same from the whole collection (output replaces input)", {"tofast", "in", "in"},
         ">e\n>a\nACGT\n>p\nMKVLWWEF\n", 0, "", "Left out, no residues: e\n"},
    };
    for (const Case& c : cases) check(c);
}

TEST(RealWorldInput, EntryWalksGoOnToTheEndOfTheFile) {
    const std::string contig_only = "LOCUS       CON1 5000 bp    DNA     linear   CON 01-JAN-2020\n"
                                    "CONTIG      join(A1.1:1..5000)\n//\n";
    const Case cases[] = {
        {"a CONTIG-only entry between two ordinary ones", {"tofast", "in", "stdout"},
         genbank("G1", "acgt") + contig_only + genbank("G2", "ggcc"), 0, ">G1\nACGT\n\n>G2\nGGCC\n",
         "Entry without residues skipped: CON1\n"},
        {"a SwissProt entry after an EMBL DNA entry", {"tofast", "in", "stdout"},
         embl("E1 standard; DNA; UNC; 4 BP.", "acgt") + embl("P1 STANDARD; PRT; 4 AA.", "MKVL") +
             embl("E2 standard; DNA; UNC; 4 BP.", "ggcc"),
         0, ">E1\nACGT\n\n>P1\nMKVL\n\n>E2\nGGCC\n", ""},
    };
    for (const Case& c : cases) check(c);
}

}  // namespace
