#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "features/feature_output.hpp"
#include "support/feature_entries.hpp"

namespace {

using testing::HasSubstr;

using namespace kavro_test;
using namespace feature_test;

const std::string kSeq = bases(1000);

Entry cds_entry() {
    Entry e;
    e.name = "INTR";
    e.sequence = kSeq;
    e.features = {
        {"CDS", "join(101..200,301..400,501..600)", {"/gene=\"abcA\"", "/translation=\"MKV\""}},
        {"CDS", "complement(join(651..700,751..800))", {"/gene=\"abcB\"", "/translation=\"MKV\""}},
        {"CDS", "820..900", {"/gene=\"abcC\"", "/translation=\"MKV\""}},
        {"CDS", "join(905..910,912..920)", {"/gene=\"abcD\"", "/translation=\"MKV\""}},
    };
    return e;
}

TEST(Extint, IntronsOfBothStrandsInTheirOwnOrder) {
    for (const std::string& input : {genbank(cds_entry()), embl(cds_entry())}) {
        auto r = run_on(input, {"extint", "in", "out", "S", "0", "E", "0"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto records = fasta_records(r.file("out"));
        ASSERT_EQ(records.size(), 3u) << r.file("out");
        EXPECT_EQ(records[0].header, "INTR_abcA_intron_1");
        EXPECT_EQ(records[0].residues, span(kSeq, 201, 300));
        EXPECT_EQ(records[1].residues, span(kSeq, 401, 500));
        EXPECT_EQ(records[2].header, "INTR_abcB_intron_1");
        EXPECT_EQ(records[2].residues, revcomp(span(kSeq, 701, 750)));
        // A one-base intron has nothing between its ends.
        EXPECT_THAT(r.out, HasSubstr("k=0, a1=911, z1=911. Skipping AB000001 abcD intron 0.\n")) << r.out;
    }
}

TEST(Extint, EndsMoveIntoExonsOrInward) {
    struct Case {
        std::vector<std::string> ends;
        std::string expected;  // abcB's intron
        std::string first;     // abcA's first intron
    } cases[] = {
        {{"S", "-5", "E", "5"}, revcomp(span(kSeq, 696, 755)), span(kSeq, 196, 305)},
        {{"S", "0", "S", "9"}, revcomp(span(kSeq, 741, 750)), span(kSeq, 201, 210)},
        {{"E", "-9", "E", "0"}, revcomp(span(kSeq, 701, 710)), span(kSeq, 291, 300)},
        // Beyond the end of a linear entry: "-" for the missing bases.
        {{"S", "0", "E", "705"}, revcomp(span(kSeq, 1, 750)) + "-----", span(kSeq, 201, 1000) + "-----"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"extint", "in", "out"};
        args.insert(args.end(), c.ends.begin(), c.ends.end());
        auto all = run_on(genbank(cds_entry()), args);
        ASSERT_EQ(all.status, 0) << all.err;
        EXPECT_EQ(fasta_records(all.file("out"))[0].residues, c.first) << c.ends[1] << c.ends[3];
        args.push_back("abcB");
        auto named = run_on(genbank(cds_entry()), args);
        EXPECT_EQ(residues_of(named.file("out")), std::vector<std::string>{c.expected}) << c.ends[1] << c.ends[3];
    }
}

TEST(Extint, RefusedRequests) {
    auto usage = run_on(genbank(cds_entry()), {"extint", "in", "out", "S", "0", "X", "0"});
    EXPECT_EQ(usage.status, 1);
    EXPECT_THAT(usage.out, HasSubstr(sjis("使い方: extint infile outfile start end <cds_name>.\n")));
    auto same = run_on(genbank(cds_entry()), {"extint", "in", "./in", "S", "0", "E", "0"});
    EXPECT_EQ(same.status, 1);
    EXPECT_THAT(same.err, HasSubstr("Output file ./in is the input file.\n"));
    // A fill that no real request needs is refused, not built.
    auto far = run_on(genbank(cds_entry()), {"extint", "in", "out", "S", "-2000000000", "E", "0", "abcA"});
    EXPECT_EQ(far.status, 0);
    EXPECT_EQ(residues_of(far.file("out")), (std::vector<std::string>{"*", "*"}));
    // Dialog: "exit" as the CDS name leaves without error.
    auto dialog = kavro_test::run({.args = {"extint"}, .input = "in\nout\nS 0 E 0\nexit\n",
                                   .files = {{"in", genbank(cds_entry())}}});
    EXPECT_EQ(dialog.status, 0) << dialog.err;
}

}  // namespace
