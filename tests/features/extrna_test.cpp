#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "features/feature_output.hpp"
#include "support/feature_entries.hpp"

namespace {

using testing::HasSubstr;

using namespace kavro_test;
using namespace feature_test;

const std::string kSeq = bases(400);

Entry rna_entry() {
    Entry e;
    e.name = "RNAS";
    e.sequence = kSeq;
    e.features = {
        {"CDS", "200..280", {"/gene=\"abcA\"", "/translation=\"MKV\""}},
        {"tRNA", "10..30", {"/product=\"transfer RNA-Leu\""}},
        {"tRNA", "complement(50..70)", {"/product=\"transfer RNA-Ala\""}},
        {"tRNA", "join(100..110,120..130)", {"/product=\"transfer RNA-Ile\""}},
        // The last feature before the sequence must not be lost.
        {"rRNA", "300..350", {"/product=\"16S ribosomal RNA\""}},
    };
    return e;
}

std::vector<std::string> extrna(const std::string& input, std::vector<std::string> ends,
                                std::map<std::string, std::string> env = {}) {
    std::vector<std::string> args = {"extrna", "in", "out"};
    args.insert(args.end(), ends.begin(), ends.end());
    auto r = run_on(input, args, env);
    EXPECT_EQ(r.status, 0) << r.err;
    return residues_of(r.file("out"));
}

TEST(Extrna, RnaGenesOfBothStrandsAndFormats) {
    for (const std::string& input : {genbank(rna_entry()), embl(rna_entry())}) {
        auto r = run_on(input, {"extrna", "in", "out", "S", "0", "E", "0"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto records = fasta_records(r.file("out"));
        ASSERT_EQ(records.size(), 4u) << r.file("out");
        EXPECT_TRUE(records[0].header.starts_with("RNAS_trnL 1 10  30 transfer RNA-Leu;")) << records[0].header;
        EXPECT_EQ(records[0].residues, span(kSeq, 10, 30));
        EXPECT_EQ(records[1].residues, revcomp(span(kSeq, 50, 70)));
        EXPECT_EQ(records[2].residues, span(kSeq, 100, 110) + span(kSeq, 120, 130));
        EXPECT_EQ(records[3].residues, span(kSeq, 300, 350));
        EXPECT_THAT(r.out, HasSubstr("\nSequences extracted.\n.Extracting all sequences...\n"));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
    }
}

TEST(Extrna, EndsNamesAndIntrons) {
    const std::string gb = genbank(rna_entry());
    struct Case {
        std::vector<std::string> words;
        std::map<std::string, std::string> env;
        std::vector<std::string> expected;
    } cases[] = {
        {{"S", "-5", "E", "5", "trnL"}, {}, {span(kSeq, 5, 35)}},
        {{"s", "1", "s", "3", "trnA"}, {}, {revcomp(span(kSeq, 68, 70))}},
        // Bases asked for before a linear entry's start are "-".
        {{"S", "-12", "E", "0", "trnL"}, {}, {"---" + span(kSeq, 1, 30)}},
        // With addseqg the genomic stretch, intron included.
        {{"S", "0", "E", "0", "trnI"}, {{"ADDSEQG", "TRUE"}}, {span(kSeq, 100, 130)}},
    };
    for (const auto& c : cases) EXPECT_EQ(extrna(gb, c.words, c.env), c.expected) << c.words[4];
}

TEST(Extrna, NamedSelectionLimitsAndFailures) {
    Entry many;
    many.name = "MANY";
    many.sequence = kSeq;
    for (int i = 0; i < 12; ++i)
        many.features.push_back({"tRNA", std::to_string(10 + 20 * i) + ".." + std::to_string(25 + 20 * i),
                                 {"/product=\"transfer RNA-Gly\""}});
    EXPECT_EQ(extrna(genbank(many), {"S", "0", "E", "0", "trnG"}).size(), 10u);

    auto missing = run_on(genbank(rna_entry()), {"extrna", "in", "out", "S", "0", "E", "0", "trnW"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.out, HasSubstr("No sequence extracted.\n"));

    for (auto args : {std::vector<std::string>{"extrna", "in", "out", "X", "0", "E", "0"},
                      {"extrna", "in", "out", "S", "0"}}) {
        auto usage = run_on(genbank(rna_entry()), args);
        EXPECT_EQ(usage.status, 1);
        EXPECT_THAT(usage.out, HasSubstr(sjis("使い方: extrna infile outfile start end <RNA_name>.\n")));
    }
    auto fasta = run_on(">a\nACGT\n", {"extrna", "in", "out", "S", "0", "E", "0"});
    EXPECT_EQ(fasta.status, 1);
    EXPECT_THAT(fasta.err, HasSubstr("This is not a GenBank or EMBL file.\n"));
    auto same = run_on(genbank(rna_entry()), {"extrna", "in", "in", "S", "0", "E", "0"});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.file("in"), genbank(rna_entry()));
}

}  // namespace
