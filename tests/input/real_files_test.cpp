// The readers on real files of every format (tests/fixtures/input).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "input/all_readers.hpp"
#include "core/text_ops.hpp"
#include "input/input_test_util.hpp"

using testing::StartsWith;
using testing::EndsWith;

using namespace kavro;
using namespace input_test;

namespace {

std::string fixture_path(const std::string& name) { return std::string(KAVRO_FIXTURES) + "/input/" + name; }

std::vector<long> lengths(const Outcome& o) {
    std::vector<long> v;
    for (const auto& r : o.residues) v.push_back(static_cast<long>(r.size()));
    return v;
}

struct Case {
    std::string file;
    SeqFormat format;
    Reader reader;
    std::vector<std::string> names;
    std::vector<long> lengths;
};

class RealFiles : public ::testing::TestWithParam<Case> {};

TEST_P(RealFiles, DetectedAndReadInFull) {
    const Case& c = GetParam();
    Outcome detected, read;
    std::string e = stderr_of([&] {
        detected = run_reader(Reader::Detect, fixture_path(c.file));
        read = run_reader(c.reader, fixture_path(c.file));
    });
    EXPECT_EQ(detected.code, c.format);
    ASSERT_TRUE(read.ok) << e;
    EXPECT_EQ(read.names, c.names);
    EXPECT_EQ(lengths(read), c.lengths);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealFiles,
    ::testing::Values(
        Case{"cor6_6.gb", SeqFormat::Genbank, Reader::GenBank,
             {"ATCOR66M", "ATKIN2", "BNAKINI", "ARU237582", "BRRBIF72", "AF297471"}, {513, 880, 441, 206, 282, 497}},
        Case{"gbvrl1_start.seq", SeqFormat::Genbank, Reader::GenBank, {"AB000048", "AB000049", "AB000050"}, {2007, 2007, 1755}},
        Case{"BAB68554.gb", SeqFormat::GenbankProtein, Reader::GenBank, {"BAB68554"}, {141}},
        Case{"TRBG361.embl", SeqFormat::Embl, Reader::Embl, {"X56734"}, {1859}},
        Case{"prot.m-swiss", SeqFormat::Swissprot, Reader::Embl, {"SWISSM1", "SWISSM2", "SWISSM3"}, {100, 80, 60}},
        Case{"F2CXE6.txt", SeqFormat::Uniprot, Reader::Embl, {"F2CXE6_HORVD"}, {291}},
        Case{"prot.m-codata", SeqFormat::Pir, Reader::Pir, {"CODATAM1", "CODATAM2", "CODATAM3"}, {100, 80, 60}},
        Case{"aster_pearson.pro", SeqFormat::Fasta, Reader::MultiFasta, {"gi|3298468|dbj|BAA31520.1|"}, {107}},
        Case{"elderberry.nu", SeqFormat::Fasta, Reader::MultiFasta, {"gi|4218935|gb|AF074388.1|AF074388"}, {2050}},
        Case{"f002", SeqFormat::Fasta, Reader::MultiFasta,
             {"gi|1348912|gb|G26680|G26680", "gi|1348917|gb|G26685|G26685", "gi|1592936|gb|G29385|G29385"}, {633, 413, 471}},
        Case{"globins.aln", SeqFormat::Clustal, Reader::Clustal,
             {"HBB_HUMAN", "HBB_HORSE", "HBA_HUMAN", "HBA_HORSE", "MYG_PHYCA", "GLB5_PETMA", "LGB2_LUPLU"},
             {164, 164, 164, 164, 164, 164, 164}},
        Case{"hs_owlmonkey.aln", SeqFormat::Clustal, Reader::Clustal, {"human", "owlmonkey"}, {189, 189}},
        Case{"alignment.phylip", SeqFormat::Phylip, Reader::Phylip,
             {"Homo_sapie", "Pan_troglo", "Gorilla_go", "Pongo_pygm", "Macaca_mul"}, {225, 225, 225, 225, 225}}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string n;
        for (char c : info.param.file) n += kavro::is_alnum(c) ? c : '_';
        return n;
    });

TEST(RealFilesDetail, GenBankTypesMoleculesAndDefinition) {
    auto in = LineReader::open(fixture_path("cor6_6.gb"));
    ASSERT_TRUE(in);
    std::int64_t pos = 0;
    std::optional<SequenceRecord> r;
    std::string e = stderr_of([&] { r = read_genbank_entry(*in, pos, kavro::ResidueKind::Unknown); });
    ASSERT_TRUE(r);
    EXPECT_EQ(e, "");
    EXPECT_EQ(r->molecule, "mRNA");
    EXPECT_EQ(r->type, ResidueKind::Dna);
    EXPECT_THAT(r->definition, StartsWith(" A.thaliana cor6.6 mRNA.;ACCESSION   X55053;VERSION"));
    EXPECT_THAT(r->residues, StartsWith("AACAAAACACACATCAAAAACGATTTTACAAGAAAAAAATA"));
    EXPECT_THAT(r->residues, EndsWith("AAAAAAAAAA"));
}

TEST(RealFilesDetail, ElderberryCrLfHeader) {
    std::optional<Collection> c;
    stderr_of([&] { c = read_multi_fasta(fixture_path("elderberry.nu"), ResidueKind::Unknown); });
    ASSERT_TRUE(c);
    // The 33-character name is kept whole.
    EXPECT_EQ((*c)[0].name, "gi|4218935|gb|AF074388.1|AF074388");
    EXPECT_EQ((*c)[0].definition, " Sambucus nigra hevein-like protein HLPf gene, partial cds\n");
    EXPECT_EQ((*c)[0].type, ResidueKind::Dna);
}

TEST(RealFilesDetail, PhylipDeclaredLengthIsReported) {
    std::string e = stderr_of([&] { read_phylip(fixture_path("alignment.phylip"), 0); });
    EXPECT_EQ(e, "Error in sequence length.\nIn the first line, it is 222, while it is in fact 225.\n");
}

}  // namespace
