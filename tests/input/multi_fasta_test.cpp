#include <gtest/gtest.h>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"

using namespace kavro;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

std::optional<Collection> multi(const std::string& text, ResidueKind type = ResidueKind::Unknown, std::string* e = nullptr) {
    TempFile f(text);
    std::optional<Collection> c;
    std::string msgs = stderr_of([&] { c = read_multi_fasta(f.path(), type); });
    if (e) *e = msgs;
    return c;
}

TEST(MultiFasta, EntriesNamesDefinitionsResidues) {
    std::string e;
    auto c = multi("text before\n;comment before\n>seq1 circular plasmid\nAC gt\n;note\nNN-*1\n>seq2\nMKV\n", kavro::ResidueKind::Unknown, &e);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    const SequenceRecord& a = (*c)[0];
    EXPECT_EQ(a.name, "seq1");
    EXPECT_EQ(a.circular, 1);
    EXPECT_EQ(a.definition, " circular plasmid\n;note\n");
    EXPECT_EQ(a.residues, "ACgtNN-*1");  // white space dropped, case and symbols kept
    EXPECT_EQ(a.length, 9);
    EXPECT_EQ((*c)[1].name, "seq2");
    EXPECT_EQ((*c)[1].circular, 0);
    EXPECT_EQ((*c)[1].definition, "\n");
    EXPECT_EQ(e, ".\n");
}

TEST(MultiFasta, LongNamesCutAtEqualsOrAt99) {
    std::string word = std::string(11, 'a') + "=" + std::string(103, 'b');  // 115 characters
    auto c = multi(">" + word + " tail\nAC\n>" + std::string(115, 'c') + " tail\nAC\n");
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[0].name, std::string(11, 'a'));
    EXPECT_EQ((*c)[0].definition, std::string(103, 'b') + " tail\n");
    EXPECT_EQ((*c)[1].name, std::string(99, 'c'));
    EXPECT_EQ((*c)[1].definition, std::string(16, 'c') + " tail\n");
    // Names of an assembly's contigs stay whole and apart.
    c = multi(">sampleA_assembly_v2_contig_00001\nAC\n>sampleA_assembly_v2_contig_00002\nAC\n>" +
              std::string(99, 'x') + "\nAC\n");
    EXPECT_EQ((*c)[0].name, "sampleA_assembly_v2_contig_00001");
    EXPECT_EQ((*c)[1].name, "sampleA_assembly_v2_contig_00002");
    EXPECT_EQ((*c)[2].name, std::string(99, 'x'));
}

TEST(MultiFasta, FirstClassifiedEntryFixesTheTypeOfLaterOnes) {
    auto c = multi(">dna\nACGTACGT\n>prot\nMKVLLWQERT\n");
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[0].type, ResidueKind::Dna);
    EXPECT_EQ((*c)[1].type, ResidueKind::Dna);
    // A single entry (and the last one before any classification) is
    // classified by itself.
    c = multi(">prot\nMKVLLWQERT\n");
    EXPECT_EQ((*c)[0].type, ResidueKind::Protein);
    // A requested type goes to every entry; other values mean detection.
    c = multi(">a\nACGT\n>b\nACGT\n", ResidueKind::Rna);
    EXPECT_EQ((*c)[0].type, ResidueKind::Rna);
    EXPECT_EQ((*c)[1].type, ResidueKind::Rna);
    c = multi(">a\nMKVLWW\n>b\nACGT\n", static_cast<ResidueKind>(7));
    EXPECT_EQ((*c)[0].type, ResidueKind::Protein);
    EXPECT_EQ((*c)[1].type, ResidueKind::Protein);
}

TEST(MultiFasta, HeaderLongerThanOnePiece) {
    std::string def(700, 'd');
    auto c = multi(">n " + def + "\nACGT\n>m\nGG\n");
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    EXPECT_EQ((*c)[0].definition, " " + def + "\n");
    EXPECT_EQ((*c)[0].residues, "ACGT");
    // The header's second piece starts with ">": it is still header text.
    std::string h = ">n " + std::string(509, 'd') + ">x\nAC\n";
    c = multi(h);
    ASSERT_EQ(c->size(), 1u);
    EXPECT_EQ((*c)[0].definition, std::string(" ") + std::string(509, 'd') + ">x\n");
}

TEST(MultiFasta, ProgressDotEveryHundredEntries) {
    std::string text;
    for (int i = 0; i < 250; ++i) text += ">s" + std::to_string(i) + "\nAC\n";
    std::string e;
    auto c = multi(text, kavro::ResidueKind::Unknown, &e);
    ASSERT_EQ(c->size(), 250u);
    EXPECT_EQ(e, "...\n");
    EXPECT_EQ((*c)[249].name, "s249");
}

TEST(MultiFasta, NoHeaderGivesAnEmptyCollection) {
    auto c = multi("ACGT\nACGT\n");
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->empty());
    std::string e;
    c = multi("", kavro::ResidueKind::Unknown, &e);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->empty());
    c = std::nullopt;
    e = stderr_of([&] { c = read_multi_fasta("/nonexistent/m.fa", ResidueKind::Unknown); });
    EXPECT_FALSE(c);
    EXPECT_EQ(e, "Cannot open file: /nonexistent/m.fa\n\n");
}

TEST(MultiFasta, EmptyEntryAndHeaderAtEndOfFile) {
    auto c = multi(">a\n>b\nAC\n>c");
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 3u);
    EXPECT_EQ((*c)[0].length, 0);
    EXPECT_EQ((*c)[1].residues, "AC");
    EXPECT_EQ((*c)[2].name, "c");
    EXPECT_EQ((*c)[2].length, 0);
}

}  // namespace

namespace {

// PIR/NBRF ">P1;" files: the entry code is the name, the title line the
// definition, residues end at "*" and annotation lines are skipped; the
// collection, the record stream and the single-entry reader agree.
TEST(MultiFasta, PirLayoutEntries) {
    const std::string text = kavro_test::fixture("input/odd/three_entries.pir");
    TempFile f(text);
    EXPECT_EQ(detect_format(f.path()), SeqFormat::Fasta);
    const struct {
        const char* name;
        const char* definition;
        const char* residues;
        ResidueKind type;  // named by the header's type code
    } expected[] = {
        {"KAV1", " test protein one - made for the reader tests\n", "MKVLAAGIWDEFHKLMNPQRSTVWY", ResidueKind::Protein},
        {"KAV2", " test DNA two, its residues on several lines\n", "ACGTACGTACGTACGTACGTACGGTTCCAATTGACA",
         ResidueKind::Dna},
        {"KAV3", "\n", "MGDVEKGKKI", ResidueKind::Protein},
    };
    auto c = multi(text);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 3u);
    std::vector<SequenceRecord> streamed;
    {
        auto in = LineReader::open(f.path());
        ASSERT_TRUE(in);
        stderr_of([&] { EXPECT_EQ(stream_multi_fasta(*in, [&](SequenceRecord& r) { streamed.push_back(r); }), 3); });
    }
    ASSERT_EQ(streamed.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        for (const SequenceRecord* r : {&(*c)[i], &streamed[i]}) {
            EXPECT_EQ(r->name, expected[i].name);
            EXPECT_EQ(r->definition, expected[i].definition) << r->name;
            EXPECT_EQ(r->residues, expected[i].residues) << r->name;
            EXPECT_EQ(r->type, expected[i].type) << r->name;
        }
    }
    std::optional<SequenceRecord> first;
    const std::string e = stderr_of([&] { first = read_sequence(f.path(), SeqFormat::Fasta, ResidueKind::Unknown); });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, "KAV1");
    EXPECT_EQ(first->definition, expected[0].definition);
    EXPECT_EQ(first->residues, expected[0].residues);
    EXPECT_EQ(first->type, ResidueKind::Protein);
    EXPECT_NE(e.find("This seems to be a multi-fasta file. Stop reading.\n"), std::string::npos);
    // A header whose code is not a type code stays a FASTA header.
    c = multi(">Q1;abc def\nACGT*\n");
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[0].name, "Q1;abc");
    EXPECT_EQ((*c)[0].residues, "ACGT*");
}

}  // namespace

namespace {

// tofast reads a ">P1;" file entry by entry on its streamed routes (clear
// mode, mask) and on its collection route (sort) alike.
TEST(MultiFasta, PirLayoutThroughTofastRoutes) {
    const std::string text = kavro_test::fixture("input/odd/three_entries.pir");
    const auto tofast = [&](std::vector<std::string> options) {
        std::vector<std::string> args = {"tofast", "in.pir", "out.fa"};
        args.insert(args.end(), options.begin(), options.end());
        auto r = kavro_test::run({.args = args, .files = {{"in.pir", text}}});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.file("out.fa");
    };
    const std::string streamed = tofast({"mask"});
    EXPECT_EQ(streamed, tofast({"s"}));
    EXPECT_EQ(streamed.find(">KAV1 test protein one - made for the reader tests;\nMKVLAAGIWDEFHKLMNPQRSTVWY\n"), 0u)
        << streamed;
    EXPECT_NE(streamed.find(">KAV3\nMGDVEKGKKI\n"), std::string::npos) << streamed;
    const std::string clear = tofast({});
    EXPECT_EQ(clear.find(">KAV1\nMKVLAAGIWDEFHKLMNPQRSTVWY\n"), 0u) << clear;
    EXPECT_NE(clear.find(">KAV3\nMGDVEKGKKI\n"), std::string::npos) << clear;
}

}  // namespace
