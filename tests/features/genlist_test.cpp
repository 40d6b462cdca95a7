#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "features/feature_output.hpp"
#include "support/feature_entries.hpp"

namespace {

using testing::HasSubstr;

using namespace kavro_test;
using namespace feature_test;

Entry listed_entry(const std::string& name) {
    Entry e;
    e.name = name;
    e.sequence = bases(600);
    e.features = {
        {"CDS", "join(1..100,201..300)", {"/gene=\"abcA\"", "/product=\"ABC\"", "/translation=\"MKV\""}},
        {"tRNA", "320..390", {"/product=\"transfer RNA-Leu\""}},
        {"CDS", "complement(10..500)", {"/gene=\"xyzB\"", "/translation=\"MKV\""}},
    };
    return e;
}

// An entry whose sequence block was left out.
std::string without_sequence(const std::string& entry) {
    return entry.substr(0, entry.find("ORIGIN\n")) + "//\n";
}

TEST(Genlist, NamesPerEntry) {
    Entry bare = listed_entry("BARE");
    bare.features.clear();
    const std::string gb = genbank(listed_entry("ONE")) + without_sequence(genbank(listed_entry("NOSEQ"))) +
                           genbank(bare) + genbank(listed_entry("TWO"));
    const std::string expected = "The genes in the file: ONE are: abcA, xyzB.\n.\n"
                                 "The genes in the file: TWO are: abcA, xyzB.\n";
    auto to_stdout = run_on(gb, {"genlist", "in"});
    ASSERT_EQ(to_stdout.status, 0) << to_stdout.err;
    EXPECT_EQ(to_stdout.out, expected);  // the data alone: messages go to standard error
    EXPECT_THAT(to_stdout.err, HasSubstr("Reading sequence...\n"));
    Entry embl_entry = listed_entry("ONE");
    auto to_file = run_on(embl(embl_entry), {"genlist", "in", "out"});
    EXPECT_EQ(to_file.file("out"), "The genes in the file: ONE are: abcA, xyzB.\n");
}

TEST(Genlist, GeneTable) {
    auto r = run_on(genbank(listed_entry("ONE")), {"genlist", "in", "out", "t"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string tail = "; Escherichia coli;; AC=AB000001; ";
    EXPECT_EQ(r.file("out"), "#GTF\nOrganism: Escherichia coli ONE\nType: type_unknown \nSize: 600 \nContigs: 0\n\n"
                             "definition of format:\n\nname\ttype\torient\tstart\tstop\tlength\tdescription\n"
                             "abcA_1\tCDS\tF\t       1\t     100\t      99\t\"Exon 1 ABC" + tail + "\"\n"
                             "abcA_2\tCDS\tF\t     201\t     300\t      99\t\"Exon 2 ABC" + tail + "\"\n"
                             "xyzB\tCDS\tR\t     500\t      10\t     490\t" + tail + "\n\n"
                             "trnL\tRNA\tF\t     320\t     390\t      70\ttransfer RNA-Leu" + tail + "\n\n");
}

TEST(Genlist, EmblTableKeepsTheLastRna) {
    // The tRNA is the last feature before the sequence block ("XX", "SQ").
    Entry e = listed_entry("ONE");
    std::swap(e.features[1], e.features[2]);
    auto r = run_on(embl(e), {"genlist", "in", "out", "t"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.file("out"), HasSubstr("\ntrnL\tRNA\tF\t     320\t     390\t      70\ttransfer RNA-Leu;")) << r.file("out");
}

TEST(Genlist, FastaAndFailures) {
    const std::string fa = ">one first entry\nACGTACGT\n>two\nAC\n";
    auto list = run_on(fa, {"genlist", "in", "out"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.file("out"), "\nThis is a list of sequences in the file: in.\n\n"
                                "ID=one, 8 residues,  first entry.\nID=two, 2 residues, .\n");
    auto table = run_on(fa, {"genlist", "in", "out", "T"});
    EXPECT_EQ(table.status, 1);
    EXPECT_THAT(table.err, HasSubstr("Table output is not available for a FASTA file.\n"));
    // An output that cannot be written falls back to the console.
    auto console = run_on(genbank(listed_entry("ONE")), {"genlist", "in", "no/such/dir/out"});
    EXPECT_EQ(console.status, 0);
    EXPECT_THAT(console.err, HasSubstr("Cannot open file: no/such/dir/out\nOutput to console.\n"));
    EXPECT_THAT(console.out, HasSubstr("The genes in the file: ONE are: abcA, xyzB.\n"));
    auto same = run_on(genbank(listed_entry("ONE")), {"genlist", "in", "in"});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.file("in"), genbank(listed_entry("ONE")));
    auto clustal = run_on("CLUSTAL W (1.8) multiple sequence alignment\n\nA  ACGT\nB  ACGT\n", {"genlist", "in"});
    EXPECT_EQ(clustal.status, 1);
    EXPECT_THAT(clustal.err, HasSubstr("This is not a GenBank, EMBL, or FASTA file.\n"));
    EXPECT_EQ(run_on(fa, {"genlist", "-h"}).status, 1);
}

}  // namespace
