#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/run_kavro.hpp"
#include "textutil/textutil_support.hpp"

using testing::HasSubstr;
using testing::StartsWith;
using testing::EndsWith;
using testing::Not;

namespace {

using kavro_test::run;
using namespace textutil_test;

const std::string kBases = make_bases(1000);
const std::string kCircular = genbank("PLASMID1", kBases, true);
const std::string kLinear = genbank("LINEAR1", kBases, false);

kavro_test::Result getseq2(const std::string& entry, std::vector<std::string> positions_and_strand) {
    std::vector<std::string> args = {"getseq2", "in.gb", "out.fa"};
    args.insert(args.end(), positions_and_strand.begin(), positions_and_strand.end());
    return run({.args = args, .files = {{"in.gb", entry}}});
}

TEST(Getseq2, StretchOfALinearEntry) {
    auto r = getseq2(kLinear, {"100", "200", "n"});
    ASSERT_EQ(r.status, 0) << r.err;
    Fasta f = parse_fasta(r.file("out.fa"));
    EXPECT_EQ(f.residues, upper(kBases.substr(99, 101)));
    // The definition is cut to 50 characters before the extraction note.
    EXPECT_EQ(f.header, ">LINEAR1 A synthetic test molecule whose definition is lon_Extracted from 100 to 200; ");
    EXPECT_THAT(r.out, HasSubstr("Reading sequence...\nData type is DNA\nGaps were cleared.\nSequence extracted.\n"));
    EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n" + kDone));
    EXPECT_THAT(r.out, Not(HasSubstr("circular genome")));
}

TEST(Getseq2, PositionExpressionsAndLast) {
    EXPECT_EQ(parse_fasta(getseq2(kLinear, {"last-99", "last", "n"}).file("out.fa")).residues,
              upper(kBases.substr(900)));
    // An end beyond the entry stops at its last residue.
    EXPECT_EQ(parse_fasta(getseq2(kLinear, {"990", "5000", "n"}).file("out.fa")).residues,
              upper(kBases.substr(989)));
    // Positions count the residues left once gaps, blanks and digits are gone.
    auto gapped = run({.args = {"getseq2", "g.fa", "o.fa", "last-3", "last", "n"},
                       .files = {{"g.fa", ">g1\nAC-GT ACGT 12\nttaa\n"}}});
    EXPECT_EQ(parse_fasta(gapped.file("o.fa")).residues, "TTAA");
}

TEST(Getseq2, CircularStretchAcrossTheOrigin) {
    const std::string expected = upper(kBases.substr(950) + kBases.substr(0, 50));
    for (auto positions : {std::vector<std::string>{"951", "50", "n"}, {"-49", "1050", "n"}}) {
        auto r = getseq2(kCircular, positions);
        ASSERT_EQ(r.status, 0) << r.err;
        Fasta f = parse_fasta(r.file("out.fa"));
        EXPECT_EQ(f.residues, expected);
        EXPECT_THAT(f.header, EndsWith("_Extracted from 951 to 1000;  Sequence added until 50. ")) << f.header;
        EXPECT_THAT(r.out, HasSubstr("\nThis is a circular genome: PLASMID1.\n"));
    }
}

TEST(Getseq2, StrangePositionsEndTheProgram) {
    auto r = getseq2(kLinear, {"200", "100", "n"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Strange positions. start=200, end=100.\n"));
    EXPECT_THAT(r.out, Not(HasSubstr(kFailed)));
    EXPECT_FALSE(r.exists("out.fa"));
    EXPECT_THAT(getseq2(kLinear, {"0", "10", "n"}).err, HasSubstr("Strange positions. start=0, end=10.\n"));
}

TEST(Getseq2, ComplementaryStrand) {
    auto r = getseq2(kLinear, {"1", "12", "c"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string forward = upper(kBases.substr(0, 12)), reverse;
    for (auto it = forward.rbegin(); it != forward.rend(); ++it)
        reverse += *it == 'A' ? 'T' : *it == 'C' ? 'G' : *it == 'G' ? 'C' : 'A';
    Fasta f = parse_fasta(r.file("out.fa"));
    EXPECT_EQ(f.residues, reverse);
    EXPECT_THAT(f.header, StartsWith(">LINEAR1_C ")) << f.header;
    EXPECT_THAT(r.out, HasSubstr("Converting to complementary sequence...\n"));

    auto protein = run({.args = {"getseq2", "p.fa", "out.fa", "2", "4", "c"},
                        .files = {{"p.fa", ">prot1 a protein\nMKVLAAGIWQ\n"}}});
    ASSERT_EQ(protein.status, 0) << protein.err;
    EXPECT_THAT(protein.out, HasSubstr("Data type is protein\n"));
    EXPECT_THAT(protein.out, HasSubstr("No attempt to make complementary sequence.\n"));
    EXPECT_EQ(parse_fasta(protein.file("out.fa")).residues, "KVL");
}

TEST(Getseq2, StrandWordsFromTheQuestionAndFromTheCommandLine) {
    const std::string fasta = ">s1\nAACC\n";
    // Five words: the question has no line ends; "comp" chooses the other strand.
    auto asked = run({.args = {"getseq2", "s.fa", "o.fa", "1", "4"}, .input = "comp\n", .files = {{"s.fa", fasta}}});
    EXPECT_THAT(asked.out, HasSubstr("Normal strand or complementary strand?Type n[ormal] or c[omp].Reading sequence"));
    EXPECT_EQ(parse_fasta(asked.file("o.fa")).residues, "GGTT");
    // Six words: only "c" itself chooses the complementary strand.
    auto sixth = run({.args = {"getseq2", "s.fa", "o.fa", "1", "4", "comp"}, .files = {{"s.fa", fasta}}});
    EXPECT_EQ(parse_fasta(sixth.file("o.fa")).residues, "AACC");
}

TEST(Getseq2, Dialog) {
    auto r = run({.args = {"getseq2"}, .input = "y\ny\n2 3\nc\n", .files = {{"infile", ">s1\nAACCGT\n"}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Type start position and end position\nUse a space between the values.\n"));
    EXPECT_THAT(r.out, HasSubstr("Normal strand or complementary strand?\nType n[ormal] or c[omp].\n"));
    EXPECT_EQ(parse_fasta(r.file("infile.out")).residues, "GT");

    auto quit = run({.args = {"getseq2"}, .input = "y\ny\n2\n", .files = {{"infile", ">s1\nAACCGT\n"}}});
    EXPECT_EQ(quit.status, 1);
    EXPECT_FALSE(quit.timed_out);
}

TEST(Getseq2, Failures) {
    auto missing = run({.args = {"getseq2", "none.fa", "o.fa", "1", "2", "n"}});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("Unknown file format.\n"));

    auto no_dir = run({.args = {"getseq2", "in.gb", "nodir/o.fa", "1", "2", "n"}, .files = {{"in.gb", kLinear}}});
    EXPECT_EQ(no_dir.status, 1);
    EXPECT_THAT(no_dir.err, HasSubstr("Error in opening output file: nodir/o.fa.\n"));
    EXPECT_THAT(no_dir.out, HasSubstr(kFailed));

    EXPECT_THAT(run({.args = {"getseq2", "a", "b"}}).out, HasSubstr(kavro_test::sjis("使い方: getseq2 infile outfile")));
}

TEST(Getseq2, CircularSettingIsGivenBackWhenTheOutputFails) {
    // Script mode runs both lines: the second entry is linear again, so its
    // stretch across the origin is refused.
    auto r = run({.files = {{"kavro.cf", "getseq2 c.gb nodir/o.fa 951 50 n\ngetseq2 l.gb o2.fa 951 50 n\n"},
                            {"c.gb", kCircular},
                            {"l.gb", kLinear}}});
    EXPECT_THAT(r.err, HasSubstr("Error in opening output file: nodir/o.fa.\n"));
    EXPECT_THAT(r.err, HasSubstr("Strange positions. start=951, end=50.\n"));
    EXPECT_FALSE(r.exists("o2.fa"));
}

}  // namespace

namespace {

// A position that is not a number is refused, not read as 0 (which would
// wrap a circular entry).
TEST(Getseq2, PositionsThatAreNotNumbersAreRefused) {
    const std::pair<std::string, std::string> cases[] = {{"abc", "20"}, {"10", "2x"}, {"1e5", "20"}};
    for (const auto& [start, end] : cases) {
        auto r = getseq2(kCircular, {start, end, "n"});
        EXPECT_EQ(r.status, 1) << start << " " << end;
        EXPECT_THAT(r.err, HasSubstr("This is not a position: ")) << r.err;
        EXPECT_FALSE(r.exists("out.fa"));
    }
}

}  // namespace

namespace {

// A FASTA entry is read as the FASTA reader reads it: text before the
// header skipped, comment lines joining the definition, "//" ending the
// entry, a second entry announced and left; only letters count.
TEST(Getseq2, FastaEntriesReadWithoutHoldingThem) {
    struct Case {
        std::string text, start, end, strand, written, err;
    };
    const Case cases[] = {
        {"junk\n>q1 quirks\nAC-gt*1\n;note\nTTGG\n//\nCCCC\n", "2", "7", "c",
         ">q1_C quirks;;note;;Data type was automatically set to:_Extracted from 2 to 7; ;Complementary for: q1.\n"
         "CAAACG\n\n",
         ""},
        {">m1 one\nACGTACGTAC\n>m2 two\nGGGG\n", "last-3", "0", "n",
         ">m1 one;;Data type was automatically set to: DNA_Extracted from 7 to 10; \nGTAC\n\n",
         "This seems to be a multi-fasta file. Stop reading.\n"},
    };
    for (const Case& c : cases) {
        auto r = run({.args = {"getseq2", "a.fa", "o.fa", c.start, c.end, c.strand}, .files = {{"a.fa", c.text}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.file("o.fa"), c.written);
        EXPECT_EQ(r.err, c.err);
    }
}

// An index FILE.fai beside a FASTA file gives the same stretch as reading
// the file; one that names another entry or another place is not used, and
// nothing is ever written beside the data.
TEST(Getseq2, IndexBesideTheFastaFile) {
    std::string bases;
    for (int i = 0; i < 250; ++i) bases += "ACGTTGCA"[(i * 7 + i / 3) % 8];
    std::string text = ">chrA an indexed chromosome\n";
    for (std::size_t i = 0; i < bases.size(); i += 60) text += bases.substr(i, 60) + "\n";
    const std::string header_bytes = std::to_string(std::string(">chrA an indexed chromosome\n").size());
    const std::string good = "chrA\t250\t" + header_bytes + "\t60\t61\n";
    const std::vector<std::vector<std::string>> positions = {
        {"1", "60", "n"}, {"59", "130", "c"}, {"last-99", "last", "n"}, {"240", "900", "c"}, {"100", "99", "n"}};
    for (const auto& words : positions) {
        std::vector<std::string> args = {"getseq2", "in.fa", "o.fa"};
        args.insert(args.end(), words.begin(), words.end());
        auto plain = run({.args = args, .files = {{"in.fa", text}}});
        for (const std::string& index : {good, "chrB\t250\t" + header_bytes + "\t60\t61\n", std::string("chrA\t250\t3\t60\t61\n")}) {
            auto indexed = run({.args = args, .files = {{"in.fa", text}, {"in.fa.fai", index}}});
            EXPECT_EQ(indexed.status, plain.status) << words[0] << index;
            EXPECT_EQ(indexed.out, plain.out) << words[0] << index;
            EXPECT_EQ(indexed.err, plain.err) << words[0] << index;
            if (plain.status == 0) {
                EXPECT_EQ(indexed.file("o.fa"), plain.file("o.fa")) << words[0] << index;
            }
        }
        EXPECT_FALSE(plain.exists("in.fa.fai"));
    }
    // The index is what gives the length: one that states 200 residues
    // makes "last" the 200th.
    auto trusted = run({.args = {"getseq2", "in.fa", "o.fa", "last-9", "last", "n"},
                        .files = {{"in.fa", text}, {"in.fa.fai", "chrA\t200\t" + header_bytes + "\t60\t61\n"}}});
    EXPECT_EQ(parse_fasta(trusted.file("o.fa")).residues, bases.substr(190, 10));
}

}  // namespace
