// End-to-end runs of tofast and the command words that reach it, over the
// three reading paths and every input format.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "convert/tofast_fixtures.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace fx = tofast_fixtures;

namespace {

kavro_test::Result run(std::vector<std::string> args, const std::string& name, const std::string& content,
                       std::map<std::string, std::string> env = {}) {
    return kavro_test::run({.args = std::move(args), .env = std::move(env), .files = {{name, content}}});
}


// ---- collection path ----

TEST(TofastCollection, ClearModeKeepsLettersOnlyAndDropsRecordsOfAnotherKind) {
    auto r = run({"tofast", "in.fa", "out.fa"}, "in.fa", fx::kMixedFasta);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("out.fa"), ">s1\nACGTACGTA\n\n>s3\nACGT\n\n");
    EXPECT_THAT(r.err, HasSubstr("Reading sequence...\nThis is a FASTA file.\nReading sequences...\n"));
    EXPECT_THAT(r.err, HasSubstr("Writing sequences...\n"));
    EXPECT_THAT(r.err, HasSubstr("\nTerminated.\n"));
}

TEST(TofastCollection, StdoutSendsTheDataToStandardOutputAndMessagesToStandardError) {
    for (const char* name : {"stdout", "STDOUT"}) {
        auto r = run({"tofast", "in.fa", name}, "in.fa", fx::kMixedFasta);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr(">s1\nACGTACGTA\n\n>s3\nACGT\n\n")) << r.out;
        EXPECT_THAT(r.out, Not(HasSubstr("\b"))) << "progress marks inside the data";
        EXPECT_THAT(r.out, Not(HasSubstr("Terminated")));
        EXPECT_THAT(r.err, HasSubstr("\nTerminated.\n"));
        EXPECT_FALSE(r.exists(name));
    }
}

TEST(TofastCollection, Clu2faKeepsTheGapsOfTheAlignmentAndWritesNamesOnly) {
    auto r = run({"clu2fa", "in.aln", "out.fa"}, "in.aln", fx::kClustal);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("This is a CLUSTAL file.\n"));
    EXPECT_EQ(r.file("out.fa"), ">s1\nACGT-ACGTA\n\n>s2\nACGTTACG-A\n\n");
}

TEST(TofastCollection, BrokenAlignmentEndsTheProgram) {
    auto r = run({"tofast", "in.aln", "out.fa"}, "in.aln",
                 "CLUSTAL W\n\ns1              ACGT\ns1              ACGT\n\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Error in reading file: in.aln\n"));
}

TEST(TofastCollection, SortOrdersByNameAndKeepsDefinitions) {
    auto r = run({"tofast", "in.fa", "out.fa", "s"}, "in.fa", ">b\nacgt\n>a\nGGcc\n>c desc\nTT\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("out.fa"), ">a\nGGcc\n\n>b\nacgt\n\n>c desc;\nTT\n\n");
}

TEST(TofastCollection, LengthBounds) {
    const std::string in = ">l5\nACGTA\n>l15\n" + std::string(15, 'A') + "\n>l21\n" + std::string(21, 'C') +
                           "\n>l30\n" + std::string(30, 'G') + "\n";
    auto names = [](const std::string& fasta) {
        std::string got;
        for (std::size_t p = fasta.find('>'); p != std::string::npos; p = fasta.find('>', p + 1))
            got += fasta.substr(p + 1, fasta.find('\n', p) - p - 1) + " ";
        return got;
    };
    auto max20 = run({"tofast", "in.fa", "out.fa", "max", "20"}, "in.fa", in);
    EXPECT_THAT(max20.err, HasSubstr("Specify min or max. Proceed without this argumet.\n"));
    EXPECT_EQ(names(max20.file("out.fa")), "l5 l15 l21 l30 ");
    EXPECT_EQ(names(run({"tofast", "in.fa", "out.fa", "max", "21"}, "in.fa", in).file("out.fa")), "l5 l15 l21 ");
    auto min10 = run({"tofast", "in.fa", "out.fa", "min", "10"}, "in.fa", in);
    EXPECT_THAT(min10.err, HasSubstr("Specify min or max."));
    EXPECT_EQ(names(min10.file("out.fa")), "l5 l15 l21 l30 ");
    EXPECT_EQ(names(run({"tofast", "in.fa", "out.fa", "min", "21"}, "in.fa", in).file("out.fa")), "l21 l30 ");
}

TEST(TofastCollection, MaskReplacesRunsOfTenOrMoreInsideASequence) {
    const std::string in = ">m\nAC" + std::string(9, 'N') + "GT" + std::string(10, 'N') + "AC" + std::string(12, 'N') + "\n";
    auto r = run({"tofast", "in.fa", "out.fa", "mask"}, "in.fa", in);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.file("out.fa"), ">m\nAC" + std::string(9, 'N') + "GTNx010xNAC" + std::string(12, 'N') + "\n\n");
}

TEST(TofastCollection, ComplementAndRnaDnaConversions) {
    auto c = run({"tofast", "in.fa", "out.fa", "c"}, "in.fa", ">s1\naacgt\n");
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_THAT(c.err, HasSubstr("Converting to complementary sequence...\n"));
    EXPECT_THAT(c.file("out.fa"), HasSubstr(">s1_C"));
    EXPECT_THAT(c.file("out.fa"), HasSubstr("\nACGTT\n\n"));

    auto rna = run({"tofast", "in.fa", "out.fa", "r"}, "in.fa", ">s1\nacgtt\n");
    EXPECT_THAT(rna.file("out.fa"), HasSubstr(">s1_RNA"));
    EXPECT_THAT(rna.file("out.fa"), HasSubstr("\nACGUU\n\n"));
    auto dna = run({"tofast", "in.fa", "out.fa", "d"}, "in.fa", ">r1\nacguu\n");
    EXPECT_THAT(dna.file("out.fa"), HasSubstr(">r1_DNA"));
    EXPECT_THAT(dna.file("out.fa"), HasSubstr("\nACGTT\n\n"));
    auto same = run({"tofast", "in.fa", "out.fa", "d"}, "in.fa", ">s1\nacgtt\n");
    EXPECT_EQ(same.file("out.fa"), ">s1\nacgtt\n\n");
}

TEST(TofastCollection, ProteinRuleAndComplementOfANonNucleicFile) {
    auto p = run({"tofast", "in.fa", "out.fa", "c"}, "in.fa", ">p1\nMKVLAAGIWEF\n");
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_THAT(p.err, HasSubstr("This is a protein sequence.\nOutput is set to protein sequence.\n"
                           "Your option <complementary> is neglected.\n"));
    EXPECT_EQ(p.file("out.fa"), ">p1\nMKVLAAGIWEF\n\n");

    // Unknown type (too many U for a protein, too few ACGU for RNA): the program ends.
    auto u = run({"tofast", "in.fa", "out.fa", "c"}, "in.fa", ">u1\nUUUUXXXXEEEE\n");
    EXPECT_EQ(u.status, 1);
    EXPECT_THAT(u.err, HasSubstr("This is not a nucleic acid sequence file: in.fa\n"));
}

TEST(TofastCollection, UnwritableOutputIsReported) {
    auto r = run({"tofast", "in.fa", "nodir/out.fa"}, "in.fa", fx::kMixedFasta);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Cannot open file: nodir/out.fa\n\nError in opening output file.\n"));
}

TEST(TofastCollection, FailingWriteIsNotReportedAsSuccess) {
    auto r = run({"tofast", "in.fa", "/dev/full"}, "in.fa", fx::kMixedFasta);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Error in writing sequence.\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("Terminated")));
}

// ---- entry path ----

TEST(TofastEntries, ClearModeOnEveryDatabaseFormat) {
    struct Case {
        const char* content;
        const char* kind;
        const char* expected;
    };
    const Case cases[] = {
        {fx::kEmbl, "This is an EMBL file.\n", ">EMTEST1\nACGTACGTACGT\n\n>EMTEST2\nTTTTGGGG\n\n"},
        {fx::kSwissProt, "This is a SwissProt file.\n", ">SPTEST_HUMAN\nMKVLAAGIWEFH\n\n"},
        {fx::kUniProt, "This is a UniProt file.\n", ">UPTEST_MOUSE\nMKVLAAGIWEFH\n\n"},
        {fx::kPir, "This is a PIR file.\n", ">PIRT1\nMKVLAAGIWEFH\n\n"},
        {fx::kGenPept, "This is a GenBank protein file.\n", ">GPTEST1\nMKVLAAGIWEFH\n\n"},
    };
    for (const Case& c : cases) {
        auto r = run({"tofast", "in.dat", "out.fa"}, "in.dat", c.content);
        EXPECT_EQ(r.status, 0) << c.kind << r.err;
        EXPECT_THAT(r.err, HasSubstr(c.kind)) << r.err;
        EXPECT_EQ(r.file("out.fa"), c.expected) << c.kind;
        EXPECT_THAT(r.err, HasSubstr("\n\bw\nTerminated.\n")) << c.kind;
    }
}

TEST(TofastEntries, GenBankClearModeBreaksLinesAtTheLineLength) {
    auto r = run({"tofast", "in.gb", "out.fa"}, "in.gb", fx::kGenBank);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("This is a GenBank file.\n"));
    EXPECT_THAT(r.err, HasSubstr("GBTEST1, GBTEST2, \n"));
    EXPECT_EQ(r.file("out.fa"), ">GBTEST1\nAACGTACGTACGTACGTACG\n\n>GBTEST2\n" + std::string(68, 'G') +
                                    std::string(7, 'T') + "\nTTTTT\n\n");
}

TEST(TofastEntries, DefinitionIsSqueezedAndCutToTwoLines) {
    auto r = run({"tofast", "in.gb", "out.fa", "d"}, "in.gb", fx::kGenBank);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.file("out.fa"), HasSubstr(">GBTEST1 Test entry one,; second line.;")) << r.file("out.fa");

    auto narrow = run({"tofast", "in.gb", "out.fa", "d"}, "in.gb", fx::kGenBank, {{"PRINTLINE", "10"}});
    ASSERT_EQ(narrow.status, 0) << narrow.err;
    const std::string out = narrow.file("out.fa");
    EXPECT_EQ(out.substr(0, out.find('\n')), ">GBTEST1 Test entry one,; se");  // 20 characters
    EXPECT_THAT(out, HasSubstr("\nAACGTACGTA\nCGTACGTACG\n\n\n"));
}

TEST(TofastEntries, ComplementIsNeglectedFromTheFirstProteinEntryOn) {
    auto r = run({"complement", "in.gb", "out.fa"}, "in.gb", fx::kGenBankWithProtein);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = r.file("out.fa");
    EXPECT_THAT(out, HasSubstr(">DNA1_C")) << out;
    EXPECT_THAT(out, HasSubstr("\nCGGGGTTTTT\n\n"));
    EXPECT_THAT(out, HasSubstr(">PROT1 a protein.;\nMKVLAAGIWEFH\n\n"));
    EXPECT_THAT(out, HasSubstr(">DNA2 third.;\nAAAAACCCCG\n\n"));
    EXPECT_THAT(r.err, HasSubstr("Your option <complementary> is neglected.\n"));
}

TEST(TofastEntries, ToRnaConvertsEveryEntry) {
    for (const char* word : {"toRNA", "torna"}) {
        auto r = run({word, "in.gb", "out.fa"}, "in.gb", fx::kGenBank);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.file("out.fa"), HasSubstr(">GBTEST1_RNA"));
        EXPECT_THAT(r.file("out.fa"), HasSubstr("\nAACGUACGUACGUACGUACG\n\n"));
    }
}

TEST(TofastEntries, StdoutOutput) {
    auto r = run({"tofast", "in.gb", "stdout"}, "in.gb", fx::kGenBank);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr(">GBTEST1\nAACGTACGTACGTACGTACG\n\n>GBTEST2\n"));
    EXPECT_FALSE(r.exists("stdout"));
}

TEST(TofastEntries, MsNeedsAFastaFile) {
    auto r = run({"tofast", "in.gb", "out.fa", "ms", "msdef"}, "in.gb", fx::kGenBank);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Only a FASTA file can be analyzed in the ms mode.\n"));
}

TEST(TofastEntries, OutputFailures) {
    auto open = run({"tofast", "in.gb", "nodir/out.fa"}, "in.gb", fx::kGenBank);
    EXPECT_EQ(open.status, 1);
    EXPECT_THAT(open.err, HasSubstr("Cannot open file: nodir/out.fa\n"));
    auto full = run({"tofast", "in.gb", "/dev/full"}, "in.gb", fx::kGenBank);
    EXPECT_EQ(full.status, 1);
    EXPECT_THAT(full.err, HasSubstr("Trouble in writing file: /dev/full\n"));
    EXPECT_THAT(full.err, Not(HasSubstr("Terminated")));
}

// ---- single path ----

TEST(TofastSingle, RawFileIsClearedOfSpacesAndDigits) {
    auto r = run({"tofast", "in.txt", "out.fa"}, "in.txt", fx::kRaw);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Data type is DNA\nGaps were cleared.\n"));
    EXPECT_EQ(r.file("out.fa"), ">in.txt\nACGTACGTACGT\n\n");
    EXPECT_THAT(r.err, HasSubstr("\nTerminated.\n"));
}

TEST(TofastSingle, NbrfEntryIsAProtein) {
    auto r = run({"tofast", "in.pir", "out.fa", "c"}, "in.pir", fx::kNbrf);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Your option <complementary> is neglected.\n"));
    EXPECT_THAT(r.err, HasSubstr("Data type is protein\n"));
    EXPECT_EQ(r.file("out.fa"), ">NBT1\nMKVLAAGIWEFH\n\n");
}

TEST(TofastSingle, ComplementAndRnaOfARawSequence) {
    auto c = run({"tofast", "in.txt", "out.fa", "r", "c"}, "in.txt", "aacgt\n");
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(c.file("out.fa"), ">in.txt_C_RNA\nACGUU\n\n");
    auto bad = run({"tofast", "in.txt", "out.fa", "c"}, "in.txt", "UUUUXXXXEEEE\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.err, HasSubstr("This is not a nucleic acid sequence: in.txt\n"));
}

TEST(TofastSingle, StdoutAndOutputFailures) {
    auto r = run({"tofast", "in.txt", "STDOUT"}, "in.txt", fx::kRaw);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr(">in.txt\nACGTACGTACGT\n\n"));
    auto open = run({"tofast", "in.txt", "nodir/out.fa"}, "in.txt", fx::kRaw);
    EXPECT_EQ(open.status, 1);
    EXPECT_THAT(open.err, HasSubstr("Cannot open file: nodir/out.fa\n"));
    auto full = run({"tofast", "in.txt", "/dev/full"}, "in.txt", fx::kRaw);
    EXPECT_EQ(full.status, 1);
    EXPECT_THAT(full.err, HasSubstr("Error in writing sequence.\n"));
}

// ---- an output that is the input ----

TEST(TofastInPlace, OutputNamingTheInputNeverLosesIt) {
    // FASTA and single files are read whole before the output is emptied.
    auto fasta = run({"tofast", "in.fa", "./in.fa"}, "in.fa", fx::kMixedFasta);
    ASSERT_EQ(fasta.status, 0) << fasta.err;
    EXPECT_EQ(fasta.file("in.fa"), ">s1\nACGTACGTA\n\n>s3\nACGT\n\n");
    auto raw = run({"tofast", "in.txt", "in.txt"}, "in.txt", fx::kRaw);
    ASSERT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(raw.file("in.txt"), ">in.txt\nACGTACGTACGT\n\n");
    // Database files are read while written: refused, the input kept.
    auto gb = run({"tofast", "in.gb", "in.gb"}, "in.gb", fx::kGenBank);
    EXPECT_EQ(gb.status, 1);
    EXPECT_THAT(gb.err, HasSubstr("The output file is the input file: in.gb\n"));
    EXPECT_EQ(gb.file("in.gb"), fx::kGenBank);
}

// ---- command forms and failures before reading ----

TEST(TofastCommand, WrongWordCountsShowTheUsage) {
    for (std::vector<std::string> args : {std::vector<std::string>{"tofast", "in.fa"},
                                          std::vector<std::string>{"tofast", "a", "b", "c", "d", "e", "f"}}) {
        auto r = run(args, "in.fa", fx::kMixedFasta);
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.out, HasSubstr(kavro_test::sjis("使い方: tofast infile outfile"))) << r.out;
        EXPECT_FALSE(r.exists("b"));
    }
}

TEST(TofastCommand, UnreadableInputEndsTheProgram) {
    auto missing = run({"tofast", "none.fa", "out.fa"}, "in.fa", "");
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("Unknown file format.\n"));
    EXPECT_FALSE(missing.exists("out.fa"));
    auto empty = run({"tofast", "in.fa", "out.fa"}, "in.fa", "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_THAT(empty.err, HasSubstr("Empty file.\n"));
    EXPECT_THAT(empty.err, HasSubstr("Unknown file format.\n"));
}

TEST(TofastCommand, NumberAliasAndComplementAlias) {
    auto four = run({"4", "in.fa", "out.fa"}, "in.fa", fx::kMixedFasta);
    ASSERT_EQ(four.status, 0) << four.err;
    EXPECT_EQ(four.file("out.fa"), ">s1\nACGTACGTA\n\n>s3\nACGT\n\n");
    auto comple = run({"comple", "in.fa", "out.fa", "d", "n"}, "in.fa", ">s1\naacgt\n");
    ASSERT_EQ(comple.status, 0) << comple.err;  // words after the names give way to "c"
    EXPECT_THAT(comple.file("out.fa"), HasSubstr("\nACGTT\n\n"));
}

TEST(TofastCommand, UnknownOptionStopsBeforeReading) {
    auto r = run({"tofast", "in.fa", "out.fa", "x"}, "in.fa", fx::kMixedFasta);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Unknown argument 4. Exiting...\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("Reading sequence")));
    EXPECT_FALSE(r.exists("out.fa"));
}

}  // namespace
