#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "align/site_selection.hpp"
#include "support/alignments.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::StartsWith;

namespace {

using namespace kavro_test;

std::string thrice(const std::string& s) { return s + s + s; }

// Four entries whose five columns hold 0, 1, 2, 3 and 4 gaps, three times
// over (a PHYLIP alignment needs more than ten columns).
const AlignmentRows kGappy = {
    {"s1", thrice("AAAA-")}, {"s2", thrice("CCC--")}, {"s3", thrice("GG---")}, {"s4", thrice("T----")}};
const AlignmentRows kGapLevelHalf = {
    {"s1", thrice("AAA")}, {"s2", thrice("CCC")}, {"s3", thrice("GG-")}, {"s4", thrice("T--")}};
const AlignmentRows kGapFree = {{"s1", "AAA"}, {"s2", "CCC"}, {"s3", "GGG"}, {"s4", "TTT"}};

std::string columns(const std::string& residues, std::size_t from, std::size_t to) {
    return residues.substr(from - 1, to - from + 1);
}

AlignmentRows long_alignment() {
    AlignmentRows rows;
    for (int i = 0; i < 3; ++i) {
        std::string r;
        for (int j = 0; j < 300; ++j) r += "ACGT"[(j * (i + 1) + j / 7) % 4];
        rows.push_back({"seq" + std::to_string(i), r});
    }
    return rows;
}

struct GetcluCase {
    const char* label;
    std::vector<std::string> words;  // after "getclu in out"
    bool phylip_input;
    const char* written_start;  // how the output file begins
    AlignmentRows input;
    AlignmentRows expected;
};

TEST(Getclu, EachOptionWritesTheExpectedAlignment) {
    const AlignmentRows big = long_alignment();
    auto cut = [&](std::size_t from, std::size_t to) {
        AlignmentRows rows;
        for (const auto& [n, r] : big) rows.push_back({n, columns(r, from, to)});
        return rows;
    };
    const std::vector<GetcluCase> cases = {
        {"gap 0.5 keeps two gaps of four", {"gap", "0.5"}, false, "CLUSTAL", kGappy, kGapLevelHalf},
        {"gap 0 keeps gap-free columns", {"gap", "0"}, false, "CLUSTAL", kGappy, kGapFree},
        {"gap without level is level 0", {"gap"}, false, "CLUSTAL", kGappy, kGapFree},
        {"gap above 1 keeps all", {"gap", "1.5"}, false, "CLUSTAL", kGappy, kGappy},
        {"sort cuts names at _", {"sort"}, false, "CLUSTAL",
         {{"b_2", "ACGTACGTACGT"}, {"a_1", "CCGTACGTACGT"}, {"c", "GCGTACGTACGT"}},
         {{"a", "CCGTACGTACGT"}, {"b", "ACGTACGTACGT"}, {"c", "GCGTACGTACGT"}}},
        {"last-9 to last", {"last-9", "last"}, false, "CLUSTAL", big, cut(291, 300)},
        {"0 0 copies all", {"0", "0"}, false, "CLUSTAL", big, big},
        {"plain range", {"61", "130"}, false, "CLUSTAL", big, cut(61, 130)},
        {"relative end", {"100", "100+20"}, false, "CLUSTAL", big, cut(100, 120)},
        {"clustal to phylip", {"ph"}, false, "3\t300\tI\n", big, big},
        {"phylip to clustal", {"cl"}, true, "CLUSTAL", big, big},
        {"phylip gap stays phylip", {"gap", "1.5"}, true, "4\t15\tI\n", kGappy, kGappy},
        {"nexus", {"nex"}, false, "#NEXUS\nbegin data;\n   dimensions ntax=4 nchar=15;\n", kGappy, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> args = {"getclu", "in", "out"};
        args.insert(args.end(), c.words.begin(), c.words.end());
        auto r = run({.args = args, .files = {{"in", c.phylip_input ? phylip_text(c.input) : clustal_text(c.input)}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("Reading sequence...\n"));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
        EXPECT_THAT(r.file("out"), StartsWith(c.written_start)) << r.file("out").substr(0, 80);
        if (!c.expected.empty()) {
            EXPECT_EQ(read_back_alignment(r, "out"), c.expected);
        }
    }
}

TEST(Getclu, RefusalsEndWithStatusOneAndWriteNothing) {
    struct Refusal {
        std::vector<std::string> args;
        std::string in;
        std::string message;  // on standard error, or in the usage on standard output
    };
    const std::string aln = clustal_text(kGappy);
    const std::vector<Refusal> cases = {
        {{"getclu", "in", "out", "xx"}, aln, "Use correct option.\n"},
        {{"getclu", "in", "out", "ph"}, fasta_text(kGappy), "This is not a CLUSTAL or PHYLIP file.\n"},
        {{"getclu", "in", "out", "20", "30"}, aln, "Error of extraction positions: 20, 30\n"},
        {{"getclu", "in", "out", "8", "3"}, aln, "Error of extraction positions: 8, 3\n"},
        {{"getclu", "in", "out", "gap", "-0.1"}, aln, "Negative level setting in RemoveGaps.\nError in removing gaps.\n"},
        {{"getclu", "in", "out", "inf", "0.1-2.5"}, aln,
         "Unusual setting of min or max in SelectSitesByInf.\nError in selecting sites by information content.\n"},
        {{"getclu", "in", "out", "inf", "0.5"}, aln, "Unusual setting of min or max"},
        {{"getclu", "in", "out", "inf"}, aln, sjis("使い方: getclu infile outfile startpos endpos")},
        {{"getclu", "in", "out"}, aln, sjis("並べ直し: getclu infile outfile sort")},
        {{"getclu", "missing", "out", "sort"}, aln, "This is not a CLUSTAL or PHYLIP file.\n"},
        // The PHYLIP reader takes 11 columns and 2 entries at least: refused, not written unreadable.
        {{"getclu", "in", "out", "1", "10"}, phylip_text(kGappy),
         "A PHYLIP alignment needs at least 2 sequences and 11 sites; this one has 4 and 10.\n"},
        {{"getclu", "in", "out", "ph"}, clustal_text({{"a", "ACGTACGTACGT"}}),
         "A PHYLIP alignment needs at least 2 sequences and 11 sites; this one has 1 and 12.\n"},
        // Whole names that repeat cannot be told apart once sorted.
        {{"getclu", "in", "out", "sort"}, clustal_text({{"a", "ACGT"}, {"b", "ACGA"}, {"a", "ACGC"}}),
         "Name a is used twice: sorted rows could not be told apart.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[3 < c.args.size() ? 3 : 1]);
        auto r = run({.args = c.args, .files = {{"in", c.in}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err + r.out, HasSubstr(c.message)) << r.err;
        EXPECT_FALSE(r.exists("out"));
    }
}

// Twelve entries: column 1 all A (0 bits), column 2 half A half C (1 bit),
// columns 3 and 4 four letters evenly (2 bits). The whole alignment holds
// A 24, C 12, G 6, T 6 of 48: 1.75 bits.
AlignmentRows information_alignment() {
    AlignmentRows rows;
    const char* acgt = "ACGT";
    for (int i = 0; i < 12; ++i) {
        std::string r = {'A', i < 6 ? 'A' : 'C', acgt[i % 4], acgt[(i + 1) % 4]};
        rows.push_back({"e" + std::to_string(i), r});
    }
    return rows;
}

TEST(Getclu, InformationSelectionKeepsColumnsInTheRelativeRange) {
    struct Range {
        const char* range;
        std::string kept;  // columns of entry e7 ("ACTA") that stay
    };
    const std::vector<Range> cases = {{"0.5-1.0", "C"}, {"0-0.6", "AC"}, {"1.0-2.0", "TA"}, {"0-2", "ACTA"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range);
        auto r = run({.args = {"getclu", "in", "out", "inf", c.range},
                      .files = {{"in", clustal_text(information_alignment())}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("Information content of whole alignment: 1.750e+00\n"));
        auto rows = read_back_alignment(r, "out");
        ASSERT_EQ(rows.size(), 12u);
        EXPECT_EQ(rows[7].second, c.kept);
    }
    // Ten entries or fewer: every column is refused and none is kept.
    AlignmentRows few = information_alignment();
    few.resize(10);
    for (auto& row : few) row.second += "ACGTACGTACGT";
    auto r = run({.args = {"getclu", "in", "out", "inf", "0.0-1.0"}, .files = {{"in", clustal_text(few)}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.err, "Strange data in InfContent.\n"), 16u);
    EXPECT_THAT(r.out, HasSubstr("inf_min = 0.000000, inf_max = 1.000000\n"));
}

TEST(Getclu, InformationContentOfAText) {
    struct Case {
        const char* text;
        double bits;
    };
    const std::vector<Case> cases = {{"AAAAAAAAAAA", 0}, {"ACACACACACAC", 1}, {"AC-GT-ac-gt-", 2},
                                     {"BJOZ-*123456", 0}, {"ACGTACGTAC", -1}, {"AAAAAAAACCCCGGTT", 1.75}};
    std::vector<double> got;
    std::string messages;
    {
        CaptureConsole console;  // holds failure output too: check afterwards
        for (const auto& c : cases) got.push_back(kavro::information_content(c.text));
        messages = console.err();
    }
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_NEAR(got[i], cases[i].bits, 1e-12) << cases[i].text;
    EXPECT_EQ(messages, "Strange data in InfContent.\n");
}

TEST(Getclu, DialogAsksForTheKindOfWork) {
    struct Dialog {
        const char* input;
        const char* shown;
        std::string first_row;  // residues of s2 in the output; "" none written
    };
    const std::vector<Dialog> cases = {
        {"in\nout\ng\n0.5\n", "Enter maximum gap level to be allowed. 0.0 - 1.0\n", "CCCCCCCCC"},
        {"in\nout\ne\n2 4\n", "Type start position and end position\nUse a space between the values.\n", "CC-"},
        {"in\nout\nc\nph\n", "Choose output format. ph for Phylip, cl for clustal.\n", thrice("CCC--")},
        {"in\nout\ni\n0-2\n", "inf_min = 0.000000, inf_max = 2.000000\n", ""},
        {"in\nout\nz\n", "Type c, e, g, or i.\n", ""},
        {"in\nexit\n", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        auto r = run({.args = {"getclu"}, .input = c.input, .files = {{"in", clustal_text(kGappy)}}});
        EXPECT_THAT(r.out, HasSubstr(c.shown));
        if (c.first_row.empty()) continue;
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(read_back_alignment(r, "out")[1].second, c.first_row);
    }
}

// The names of a NEXUS matrix's first block, read as NEXUS readers do: a
// name in single quotes ('' for a quote) or up to the first blank; a row
// whose rest is not residues alone gives "?" instead of its name.
std::vector<std::string> nexus_matrix_names(const std::string& text) {
    std::vector<std::string> names;
    std::size_t at = text.find("   matrix\n");
    if (at == std::string::npos) return names;
    for (at += 10; at < text.size() && text[at] != '\n' && text[at] != ';';) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        std::string name;
        std::size_t k = 0;
        if (line[0] == '\'') {
            for (k = 1; k < line.size(); ++k) {
                if (line[k] == '\'' && k + 1 < line.size() && line[k + 1] == '\'') {
                    name += '\'';
                    ++k;
                } else if (line[k] == '\'') {
                    ++k;
                    break;
                } else {
                    name += line[k];
                }
            }
        } else {
            k = line.find(' ');
            name = line.substr(0, k);
        }
        const std::size_t rest = line.find_first_not_of(' ', k);
        if (rest != std::string::npos && line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-*?", rest) != std::string::npos)
            name = "?";
        names.push_back(name);
    }
    return names;
}

// Names and residues from the faults users met: bytes above 0x7E (one name
// of nothing else), names alike in their first ten characters, names alike
// before "_", NEXUS punctuation, and stops.
AlignmentRows hostile_alignment() {
    const std::vector<std::string> names = {"P\xC3\xA9rez_1",      "\xC3\xA9\xC3\xA9",   "AT3G20900.1-CDS", "AT3G20900.1-SEQ",
                                            "gi|17136534|ref",   "gi|17136536|ref",    "HBA_HUMAN",       "HBA_HORSE",
                                            "X01238.1/1-183",    "ENSG108691:ENST5809", "it's",           "HBB_HUMAN"};
    const std::string base = "MKTAYIAKQRQISFVKSHFSRQLEERLGLI";
    AlignmentRows rows;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string r = base.substr(i) + base.substr(0, i);
        r[3 + i] = '-';
        if (i % 3 == 0) r[20] = '*';
        rows.push_back({names[i], r});
    }
    return rows;
}

// Every alignment getclu writes, in every mode and from either input, reads
// back with all of its entries, told apart by their names.
TEST(Getclu, EveryWrittenAlignmentReadsBackWhole) {
    const AlignmentRows rows = hostile_alignment();
    const std::vector<std::vector<std::string>> modes = {{"cl"},  {"ph"},        {"nex"},       {"sort"},
                                                         {"gap", "0.5"}, {"inf", "0-2"}, {"2", "25"}};
    for (bool phylip_input : {false, true}) {
        for (const auto& mode : modes) {
            SCOPED_TRACE((phylip_input ? "phylip " : "clustal ") + mode[0]);
            std::vector<std::string> args = {"getclu", "in", "out"};
            args.insert(args.end(), mode.begin(), mode.end());
            auto r = run({.args = args, .files = {{"in", phylip_input ? phylip_text(rows) : clustal_text(rows)}}});
            ASSERT_EQ(r.status, 0) << r.err;
            std::vector<std::string> names;
            if (mode[0] == "nex") {
                names = nexus_matrix_names(r.file("out"));
            } else {
                for (const auto& [name, residues] : read_back_alignment(r, "out")) names.push_back(name);
            }
            EXPECT_EQ(names.size(), rows.size()) << r.file("out");
            EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), rows.size()) << r.file("out");
            EXPECT_EQ(std::count(names.begin(), names.end(), "?"), 0) << r.file("out");
            if (mode[0] == "cl" || mode[0] == "nex") {
                EXPECT_NE(std::find(names.begin(), names.end(), "P\xC3\xA9rez_1"), names.end());
                EXPECT_NE(std::find(names.begin(), names.end(), "\xC3\xA9\xC3\xA9"), names.end());
            }
        }
    }
    // Converted twice, through KAVRO's own readers: PHYLIP with stops to
    // CLUSTAL, and that CLUSTAL again.
    auto first = run({.args = {"getclu", "in.phy", "out.aln", "cl"}, .files = {{"in.phy", phylip_text(rows)}}});
    ASSERT_EQ(first.status, 0) << first.err;
    auto second = run({.args = {"getclu", "out.aln", "back.aln", "cl"}, .files = {{"out.aln", first.file("out.aln")}}});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(read_back_alignment(second, "back.aln"), read_back_alignment(first, "out.aln"));
}

// Sorting cuts names at "_" but keeps the whole name where the cut one would
// be shared or empty; the rows are ordered by the cut names.
TEST(Getclu, SortKeepsNamesThatTellRowsApart) {
    const std::string r = "ACGTACGTACGT";
    auto run_sort = run({.args = {"getclu", "in", "out", "sort"},
                         .files = {{"in", clustal_text({{"b_2", r}, {"HBA_HUMAN", r}, {"_x", r}, {"HBA_HORSE", r}})}}});
    ASSERT_EQ(run_sort.status, 0) << run_sort.err;
    std::vector<std::string> names;
    for (const auto& [name, residues] : read_back_alignment(run_sort, "out")) names.push_back(name);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], "_x");
    EXPECT_EQ(std::set<std::string>(names.begin() + 1, names.begin() + 3), (std::set<std::string>{"HBA_HUMAN", "HBA_HORSE"}));
    EXPECT_EQ(names[3], "b");
}

// Gap removal can leave no column: the rows are still written, names alone,
// so the entries read back (as CLUSTAL) and are listed (as NEXUS).
TEST(Getclu, AnAlignmentWithoutColumnsKeepsItsEntries) {
    const AlignmentRows all_gapped = {{"a", "A-C"}, {"b", "-C-"}, {"c", "AC-"}};
    auto r = run({.args = {"getclu", "in", "out", "gap", "0"}, .files = {{"in", clustal_text(all_gapped)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_back_alignment(r, "out"), (AlignmentRows{{"a", ""}, {"b", ""}, {"c", ""}}));
}

}  // namespace
