#include "msanal/msanal.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "support/records.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::StartsWith;
using testing::EndsWith;
using testing::Not;

namespace {

using kavro::SequenceRecord;

using kavro_test::count_of;

SequenceRecord protein(const std::string& name, const std::string& residues) {
    return kavro_test::make_record(name, residues, kavro::ResidueKind::Protein);
}

// A definition file: the rule, the output mode, the fragments and the peaks.
std::string definition(const std::string& nterm, const std::string& cterm, int output, int fragments,
                       const std::vector<std::string>& peaks, const std::string& extra = "") {
    std::string d = "# peptide-mass search\n\nTest search\n";
    d += nterm + "\tNterm\n" + cterm + "\tCterm\n0\tCarboxymethylation\n0\tMethionine oxidation\n";
    d += "500\tLower\n3500\tUpper\n0.2\tAllowance\n0\tDisplacement\n";
    d += std::to_string(output) + "\tOutput\n0.05\tMinCoverage2\n1\tMinMatch\n";
    d += extra;
    d += std::to_string(fragments) + "\tNumber of fragments\n";
    d += std::to_string(peaks.size()) + "\tNumber of peaks\n";
    for (const auto& p : peaks) d += p + "\n";
    return d + "//END\n";
}

struct MsRun {
    int status;
    std::string file, out, err;
};

MsRun run_search(const std::string& def, const kavro::Collection& proteins) {
    kavro_test::TempDir dir;
    dir.write("msdef", def);
    MsRun r;
    {
        kavro_test::CaptureConsole cap;
        auto hits = kavro::Writer::open_truncate(dir / "hits.txt");
        r.status = kavro::run_mass_search(dir / "msdef", *hits, proteins);
        EXPECT_TRUE(hits->close());
        r.out = cap.out();
        r.err = cap.err();
    }
    r.file = dir.exists("hits.txt") ? dir.read("hits.txt") : "";
    return r;
}

const std::string kTableHeader =
    "ID     \tlength\t match \tcoverage 2\tcoverage 1\tstart - end\t MW  \t  m/z \t diff  \tsequence      \t category \t weight\n\n";

// WWDEFHHR weighs 1211.52608619; its peak is given 0.1 heavier (with the proton).
const std::string kTrypticPeak = "1212.6361";

TEST(PeptideMass, SumsAndModifications) {
    EXPECT_NEAR(kavro::peptide_mass("WWDEFHHR"), 1211.52608619, 1e-8);
    EXPECT_NEAR(kavro::peptide_mass("wwdefhhr"), 1211.52608619, 1e-8);
    EXPECT_NEAR(kavro::peptide_mass("CK", true, false), 121.01975096 + 58.00548126 + 146.10552926 - 18.01056563, 1e-9);
    EXPECT_NEAR(kavro::peptide_mass("CK"), 121.01975096 + 146.10552926 - 18.01056563, 1e-9);
    EXPECT_NEAR(kavro::peptide_mass("MM", false, true), 2 * (149.05105096 + 15.99491563) - 18.01056563, 1e-9);
    for (const char* zero : {"K", "", "KX", "BK", "K-K", "KUK"}) EXPECT_EQ(kavro::peptide_mass(zero), 0.0) << zero;
}

TEST(MsDefinition, ReadAndEcho) {
    kavro_test::TempDir dir;
    dir.write("msdef", definition("0", "KR", 0, 0, {"1212.6361", "1001.01"}));
    auto def = kavro::read_msdef(dir / "msdef");
    ASSERT_TRUE(def.has_value());
    EXPECT_EQ(def->title, "Test search");
    EXPECT_EQ(kavro::MsDefinition::residue_set(def->cterm), "KR");
    EXPECT_EQ(kavro::MsDefinition::residue_set(def->nterm), "");
    EXPECT_EQ(kavro::MsDefinition::residue_set("KR0P"), "KR");
    {
        auto w = kavro::Writer::open_truncate(dir / "echo");
        kavro::write_msdef_echo(*w, *def);
        ASSERT_TRUE(w->close());
    }
    const std::string echo = dir.read("echo");
    EXPECT_EQ(echo,
              "Test search\n0\tNterm\nKR\tCterm\n0\tCarboxymethylation\n0\tMethionine oxidation\n"
              " 500.0000\tLower limit\n3500.0000\tUpper limit\n   0.2000\tAllowance\n   0.0000\tDisplacement\n"
              "0\tOutput (0: selected, 1: all)\n   0.0500\tMinCoverage2\n"
              "1\tMinMatch (minimum number of completely matched peaks)\n0\tNumber of fragments\n2\tNumber of peaks\n"
              "m/z (obs)\tm/z (corr)\n1212.6361\t1211.6261\n1001.0100\t1000.0000\n//END of msdef file\n\n");
    // The echo is itself a definition file that reads back the same.
    auto again = kavro::read_msdef(dir / "echo");
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->title, def->title);
    EXPECT_EQ(again->cterm, "KR");
    EXPECT_EQ(again->observed, def->observed);
    EXPECT_EQ(again->lower, 500.0);
    EXPECT_EQ(again->min_coverage2, 0.05);
}

TEST(MsDefinition, KeysDefaultsAndShortPeakLists) {
    kavro_test::TempDir dir;
    // Defaults for the keys left out; a modification switched on by "1";
    // fewer peak lines than announced before //END.
    dir.write("msdef", "A title that is longer than the room it has: " + std::string(80, 'x') +
                           "\n1\tCarboxymethylation\n3\tNumber of peaks\n1500.5\n\n# a comment\n2000\n//END\n");
    auto def = kavro::read_msdef(dir / "msdef");
    ASSERT_TRUE(def.has_value());
    EXPECT_EQ(def->title.size(), kavro::kTitleWidth);
    EXPECT_TRUE(def->carboxymethylation);
    EXPECT_FALSE(def->met_oxidation);
    EXPECT_EQ(def->lower, 1000.0);
    EXPECT_EQ(def->upper, 3500.0);
    EXPECT_EQ(def->allowance, 0.2);
    EXPECT_EQ(def->min_match, 1);
    EXPECT_EQ(def->observed, (std::vector<double>{1500.5, 2000.0}));
    // A wild count keeps the peaks that follow.
    dir.write("wild", "T\n2000000000\tNumber of peaks\n1500.5\n//END\n");
    def = kavro::read_msdef(dir / "wild");
    ASSERT_TRUE(def.has_value());
    EXPECT_EQ(def->observed, (std::vector<double>{1500.5}));

    kavro_test::CaptureConsole cap;
    EXPECT_FALSE(kavro::read_msdef(dir / "none").has_value());
    EXPECT_EQ(cap.err(), "Cannot open file: " + (dir / "none") + "\n\n");
}

TEST(MsRealloc, GrowsAndClears) {
    std::vector<kavro::MsHit> hits(3);
    hits[2].weight = 5;
    EXPECT_TRUE(kavro::grow_mass_hits("p", hits, 3, 6));
    ASSERT_EQ(hits.size(), 6u);
    EXPECT_EQ(hits[2].weight, 5);
    EXPECT_EQ(hits[5].weight, 0);
    EXPECT_TRUE(kavro::grow_mass_hits("p", hits, 6, 4));  // not larger: unchanged
    EXPECT_EQ(hits.size(), 6u);
    kavro_test::CaptureConsole cap;
    EXPECT_FALSE(kavro::grow_mass_hits("p", hits, 6, -1));
    EXPECT_EQ(cap.err(), "Strange value in MSrealloc.\n");
}

TEST(MsSearch, TrypticPeptideIsACompleteMatch) {
    const auto r = run_search(definition("0", "KR", 0, 0, {kTrypticPeak}),
                              {protein("prot1", "MSTAGKWWDEFHHRGGGGGGG"), protein("single", "GGGGGKRWWDEFHHGG")});
    EXPECT_EQ(r.status, 0);
    const std::size_t table = r.file.find(kTableHeader);
    ASSERT_NE(table, std::string::npos);
    // WWDEFHHR, found after K (category 1) and ending with R (category 2).
    // The isomer RWWDEFHH of "single" matches at one end only and is dropped.
    EXPECT_EQ(r.file.substr(table + kTableHeader.size()),
              "prot1\t21\t1\t   0.3810\t   0.3810\t7-14\t1211.5261\t1211.6261\t   0.1000\tWWDEFHHR\t3\t2\n\n");
    EXPECT_EQ(r.out, "\nNumber 0: prot1 coverage2=   0.3810, coverage1=   0.3810\n");
    EXPECT_EQ(r.err, "\r0\r1max_i1=1, max_i2=2\nsize of mslist0=248\n");
}

TEST(MsSearch, OutputAllListsSingleEndHits) {
    const auto r = run_search(definition("0", "KR", 1, 0, {kTrypticPeak}),
                              {protein("single", "GGGGGKRWWDEFHHGG"), protein("prot1", "MSTAGKWWDEFHHRGGGGGGG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file, HasSubstr(kTableHeader + "single\t16\t0\t   0.0000\t   0.5000\t7-14\t1211.5261\t1211.6261\t   0.1000\tRWWDEFHH\t1\t1\n"));
    // Without a complete match the slot is not taken: it keeps no name, and
    // the next protein shows the same slot number.
    EXPECT_EQ(r.out, "\nNumber 0:  coverage2=   0.0000, coverage1=   0.5000\n"
                     "\nNumber 0: prot1 coverage2=   0.3810, coverage1=   0.3810\n");
}

TEST(MsSearch, NtermRuleCategories) {
    // PWWDEFHHR starts with P (category 4) and ends right before P (8).
    const auto r = run_search(definition("P", "0", 0, 0, {"1309.6889"}), {protein("n", "GGGGGGPWWDEFHHRPGG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file, HasSubstr("n\t18\t1\t   0.5000\t   0.5000\t7-15\t1308.5789\t1308.6789\t   0.1000\tPWWDEFHHR\t12\t2\n"))
        << r.file;
}

TEST(MsSearch, DisplacementAndAllowance) {
    // The displacement moves every computed mass: 0.19 from the peak still
    // matches, 0.21 does not.
    const auto near = run_search(definition("0", "KR", 0, 0, {kTrypticPeak}, "0.09\tDisplacement\n"),
                                 {protein("p", "MSTAGKWWDEFHHRGGGGGGG")});
    EXPECT_THAT(near.file, HasSubstr("7-14\t1211.6161\t1211.6261\t   0.0100\t"));
    const auto far = run_search(definition("0", "KR", 0, 0, {kTrypticPeak}, "-0.11\tDisplacement\n"),
                                {protein("p", "MSTAGKWWDEFHHRGGGGGGG")});
    EXPECT_THAT(far.file, Not(HasSubstr("7-14")));
    const auto inside = run_search(definition("0", "KR", 0, 0, {kTrypticPeak}, "-0.09\tDisplacement\n"),
                                   {protein("p", "MSTAGKWWDEFHHRGGGGGGG")});
    EXPECT_THAT(inside.file, HasSubstr("7-14\t1211.4361\t1211.6261\t   0.1900\t"));
}

TEST(MsSearch, LeftWalkMassIsThePeptideMass) {
    // A peptide grown leftwards from its K weighs exactly what peptide_mass
    // gives for its text: with both limits set to that very value it is
    // still within them.
    const double mass = kavro::peptide_mass("WWDEFHHK");
    char limits[128];
    std::snprintf(limits, sizeof limits, "%.17g\tLower\n%.17g\tUpper\n", mass, mass);
    const auto r = run_search(definition("0", "K", 1, 0, {"1184.53"}, limits), {protein("p", "MSTAGGWWDEFHHKG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file, HasSubstr("p\t15\t0\t   0.0000\t   0.5333\t7-14\t1183.5199\t1183.5200\t   0.0001\tWWDEFHHK\t2\t1\n"))
        << r.file;
}

TEST(MsSearch, PeaksThatAreNotNumbersNeverMatch) {
    // A "nan" peak matches nothing and must not hide the peaks around it.
    const auto r = run_search(definition("0", "KR", 0, 0, {"2001.01", "1001.01", "nan", kTrypticPeak}),
                              {protein("prot1", "MSTAGKWWDEFHHRGGGGGGG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.file, HasSubstr("7-14\t1211.5261\t1211.6261\t   0.1000\tWWDEFHHR\t3\t2\n")) << r.file;
}

TEST(MsSearch, HitLimits) {
    // Each repeat of WWDEFHHK is found twice (after a K and ending with K).
    // One peak keeps at most 20 fragments: 20 hits leave the hit room at 21,
    // more than allowed; a 21st hit is refused at once.
    const std::string peak = "1184.6299";  // WWDEFHHK + 1.01 + 0.1
    std::string ten = "K", eleven;
    for (int i = 0; i < 10; ++i) ten += "WWDEFHHK";
    eleven = ten + "WWDEFHHK";
    auto r = run_search(definition("0", "K", 0, 0, {peak}), {protein("ten", ten)});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Too many matches. i2=21.\n"));
    r = run_search(definition("0", "K", 0, 0, {peak}), {protein("eleven", eleven)});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Too many hits. Change parameters to get fewer hits.\n"));
    // A larger "Number of fragments" lets them through.
    r = run_search(definition("0", "K", 0, 100, {peak}), {protein("eleven", eleven)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.file, "\tWWDEFHHK\t3\t2\n"), 11u);
    EXPECT_THAT(r.file, HasSubstr("eleven\t89\t11\t   0.9888\t   0.9888\t2-9\t"));
}

TEST(MsSearch, SlotListGrows) {
    kavro::Collection many(101, protein("p", "MSTAGKWWDEFHHRGGGGGGG"));
    const auto r = run_search(definition("0", "KR", 0, 0, {kTrypticPeak}), many);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.out, "\nNumber "), 101u);
    EXPECT_THAT(r.out, HasSubstr("\nNumber 100: p"));
    EXPECT_EQ(count_of(r.out, "ms_num is being increased from 100 to 110.\n"), 1u);
    EXPECT_THAT(r.err, HasSubstr("max_i1=100, max_i2=2\n"));
}

TEST(MsSearch, UnreadableDefinitionAndFailedOutput) {
    kavro_test::TempDir dir;
    dir.write("msdef", definition("0", "KR", 0, 0, {kTrypticPeak}));
    auto out = kavro::Writer::open_truncate(dir / "out");
    auto full = kavro::Writer::open_truncate("/dev/full");
    int missing = -1, unwritable = 1;
    std::string said;
    {
        kavro_test::CaptureConsole cap;
        missing = kavro::run_mass_search(dir / "none", *out, {});
        if (full) unwritable = kavro::run_mass_search(dir / "msdef", *full, {});
        said = cap.err();
    }
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(unwritable, 1);  // the echo and the table cannot be written
    EXPECT_THAT(said, testing::StartsWith("Cannot open file: " + (dir / "none") + "\n\n"));
    EXPECT_TRUE(out->close());
    if (full) {
        EXPECT_THAT(said, testing::EndsWith("\nUnable to write output file.\n"));
        EXPECT_FALSE(full->close());
    }
}

}  // namespace
