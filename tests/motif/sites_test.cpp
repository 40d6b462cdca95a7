#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "motif_support.hpp"

namespace {

using motif_test::count_of;
using motif_test::has;
using motif_test::sites;

// 100 residues, A 40, C 20, G 20, T 20; GATC at 1 and 5, AAC at 45 and its
// reverse complement GTT at 82.
const std::string kHandSequence =
    "GATCGATC" + std::string(38, 'A') + std::string(18, 'C') + std::string(18, 'G') + std::string(18, 'T');
const std::string kHandFasta = ">hand test\n" + kHandSequence.substr(0, 60) + "\n" + kHandSequence.substr(60) + "\n";

const std::string kRule(60, '*');
const std::string kHandComposition =
    "   A =     40,  40.00 %.   C =     20,  20.00 %.\n"
    "   G =     20,  20.00 %.   T =     20,  20.00 %.\n\n"
    "    AT =  60.00 %.    GC =  40.00 %.\n\n";

TEST(Sites, ReportsMatchesWithExpectedFrequencyAndProbability) {
    // e = fG fA fT fC = 0.2 x 0.4 x 0.2 x 0.2 = 0.0032 (GATC is its own
    // reverse complement: one strand); E = 0.32, V = 0.99680 x 0.32,
    // d = trunc(2 - 0.32) = 1, z = 1.77, P = 0.5 - T[17] = 0.04457.
    auto detailed = sites({"in.fa", "out.txt", "1", "gatc"}, kHandFasta);
    ASSERT_EQ(detailed.status, 0) << detailed.err;
    EXPECT_EQ(detailed.file("out.txt"),
              kRule + "\nSearch matching\n\n  Input file: in.fa.\n  Target motif: GATC.\n" + kRule + "\n\n" +
                  "  Sequence name: hand.       Length  : 100.     Data type: DNA.\n"
                  "  Key motif    : GATC.  Complementary: GATC.\n"
                  "\nMatching level= 1.00\n"
                  "      1 position=       1,  GATC\n"
                  "      2 position=       5,  GATC\n"
                  "\n----- Summary of motif search -----\n"
                  "  Total length of sequence: 100.\n"
                  "  Number of match:          2.\n"
                  "    Frequency:               0.0200000.\n\n" +
                  kHandComposition +
                  "    Estimated frequency:     0.0032000.\n"
                  "    Probability:   4.5e-02.\n\n" +
                  kRule + "\n");
    EXPECT_TRUE(has(detailed.out, "Reading sequence...\nmode: 1.\nThis is a FASTA file.\n"));
    EXPECT_TRUE(has(detailed.out, "\nTerminated.\n"));

    // AAC is not its own reverse complement: e = 0.4 x 0.4 x 0.2 + 0.2 x
    // 0.2 x 0.2 = 0.04; E = 4, V = 3.84, d = 2, z = 1.02, P = 0.5 - T[10].
    struct Case {
        const char* mode;
        std::string report;
    };
    const Case cases[] = {
        {"2", "in.fa\tAAC\t100\t2\t 0.0200000\t 40.00 % 0.0400000\n"},
        {"0", kRule + "\nSearch matching\n\n  Input file: in.fa.\n  Target motif: AAC.\n" + kRule + "\n\n" +
                  "\n----- Summary of motif search -----\n  Total length of sequence: 100.\n"
                  "  Number of match:          2.\n    Frequency:               0.0200000.\n\n" +
                  kHandComposition + "    Estimated frequency:     0.0400000.\n    Probability:   1.6e-01.\n\n" +
                  kRule + "\n"},
        {"7", ""},  // any other number searches as mode 0
    };
    for (const Case& c : cases) {
        auto r = sites({"in.fa", "out.txt", c.mode, "aac"}, kHandFasta);
        ASSERT_EQ(r.status, 0) << c.mode << r.err;
        EXPECT_EQ(r.file("out.txt"), c.report.empty() ? cases[1].report : c.report) << c.mode;
        EXPECT_TRUE(has(r.out, std::string("mode: ") + c.mode + ".\n"));
    }
    auto strands = sites({"in.fa", "out.txt", "1", "AAC"}, kHandFasta);
    EXPECT_TRUE(has(strands.file("out.txt"), "      1 position=      45,  AAC\n"
                                             "      2 position=      82,  GTT complementary\n"));
}

TEST(Sites, EveryCommandForm) {
    struct Case {
        std::vector<std::string> words;
        std::string input;
        std::string output;  // the report file, "" when the run fails
        std::string expect_out;
        std::string expect_err;
    };
    const std::string mode_question = "Mode? 0, short summary only; 1, detailed output; 2, table output; 3, auto. \n";
    const Case cases[] = {
        {{"in.fa", "out.txt", "2", "GATC", "0.99"}, "", "out.txt", "", ""},
        {{"in.fa", "out.txt", "2", "GATC"}, "", "out.txt", "", ""},
        {{"in.fa", "out.txt", "2"}, "GATC\n", "out.txt", "Type a sequence motif.\n\n", ""},
        {{"in.fa", "out.txt"}, "t\nGATC\n", "out.txt", mode_question, ""},
        {{}, "in.fa\ny\n2\nGATC\n", "in.fa.out", mode_question + "Type a sequence motif.\n\n", ""},
        {{"in.fa", "out.txt", "3"}, "4.4\n", "out.txt", "The two numbers should be separated by a dot.\n", ""},
        {{"in.fa", "out.txt"}, "5\n", "", mode_question, "No valid mode. Try again."},
        {{"in.fa"}, "", "", "sites infile outfile mode motif", ""},
        {{"in.fa", "out.txt", "1", "RY"}, "", "", "", "Motif too short.\n"},
        {{"in.fa", "out.txt", "1"}, std::string(511, 'A') + "\n", "", "", "Motif too long.\n"},
        {{"in.fa", "out.txt", "1", "GATC", "1.2"}, "", "out.txt", "", ""},
    };
    for (const Case& c : cases) {
        auto r = sites(c.words, kHandFasta, c.input);
        const std::string label = c.words.empty() ? "dialog" : c.words.back();
        EXPECT_TRUE(has(r.out, c.expect_out)) << label << r.out;
        EXPECT_TRUE(has(r.err, c.expect_err)) << label << r.err;
        if (c.output.empty()) {
            EXPECT_EQ(r.status, 1) << label;
            continue;
        }
        ASSERT_EQ(r.status, 0) << label << r.err;
        if (c.words.size() == 3 && c.words[2] == "3") {
            EXPECT_EQ(count_of(r.file(c.output), "\n"), 16u);
        } else if (c.words.size() == 5 && c.words[4] == "1.2") {
            // A level above 1.0 searches nothing.
            EXPECT_TRUE(has(r.file(c.output), "  Number of match:          0.\n"));
        } else {
            EXPECT_EQ(r.file(c.output), "in.fa\tGATC\t100\t2\t 0.0200000\t 40.00 % 0.0032000\n") << label;
        }
    }
}

// The number of matches the summary reports for a run.
std::string summary_count(const kavro_test::Result& r) {
    const std::string key = "Number of match:          ";
    const std::string text = r.file("out.txt");
    const std::size_t at = text.find(key);
    return at == std::string::npos ? "?" : text.substr(at + key.size(), text.find('.', at) - at - key.size());
}

TEST(Sites, LevelsAmbiguityOverlapsAndCircularSequences) {
    struct Case {
        std::string fasta;
        std::vector<std::string> words;  // motif and level
        std::map<std::string, std::string> env;
        std::string matches;
        std::vector<std::string> listed;  // lines the report holds
    };
    const std::string ten = "AAAAAGGGGG";
    const Case cases[] = {
        // GATC at 0.8: three levels, each needing all four letters.
        {kHandFasta, {"GATC", "0.8"}, {}, "2",
         {"Matching level= 1.00\n      1 position=       1,  GATC\n", "Matching level= 0.90\n",
          "Matching level= 0.80\n      1 position=       1,  GATC\n      2 position=       5,  GATC\n"}},
        // Ten letters at 0.8 accept two disagreements at the last level only.
        {">s\n" + ten + "TTT" + "AAACAGGGTG" + "TTT" + "AAAAAGGGGC\n", {ten, "0.8"}, {}, "5",
         {"Matching level= 0.90\n      1 position=       1,  AAAAAGGGGG\n      2 position=      27,  AAAAAGGGGC\n\n"
          "Matching level= 0.80\n      1 position=       1,  AAAAAGGGGG\n      2 position=       2,  AAAAGGGGGT\n"
          "      3 position=      14,  AAACAGGGTG\n      4 position=      26,  TAAAAAGGGG\n"}},
        {">s\nACGTAACGTCTTACGTGGG\n", {"acgtn"}, {}, "5",
         {"position=       1,  ACGTA\n", "position=       5,  AACGT complementary\n", ",  ACGTC\n"}},
        // Overlapping windows all count.
        {">s\nAAAAA\n", {"AAA"}, {}, "3", {"      3 position=       3,  AAA\n"}},
        // Lower case, gaps and digits are cleared before the search.
        {">s\nga-a1tt c\n", {"GAATTC"}, {}, "1", {"      1 position=       1,  GAATTC\n"}},
        {">s\nACGTTT\n", {"TTA"}, {{"CIRCULAR", "1"}}, "1", {"      1 position=       5,  TTA\n", "circular"}},
        {">s\nACGTTT\n", {"TTA"}, {{"CIRCULAR", "no"}}, "0", {}},
        // A circular sequence shorter than the motif wraps around once.
        {">s\nACG\n", {"ACGACG"}, {{"CIRCULAR", "true"}}, "1", {"      1 position=       1,  ACGACG\n"}},
        {">s\nACG\n", {"ACGACG"}, {}, "0", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = {"in.fa", "out.txt", "1"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        auto r = sites(words, c.fasta, "", c.env);
        ASSERT_EQ(r.status, 0) << c.words[0] << r.err;
        EXPECT_EQ(summary_count(r), c.matches) << c.words[0];
        for (const std::string& line : c.listed) EXPECT_TRUE(has(r.file("out.txt"), line)) << c.words[0] << "\n" << line;
    }
    // The longest motif, typed in the dialog (a command word holds only 99).
    auto longest = sites({"in.fa", "out.txt", "1"}, ">s\n" + std::string(600, 'A') + "\n", std::string(510, 'A') + "\n");
    EXPECT_EQ(summary_count(longest), "91");
    EXPECT_TRUE(has(longest.file("out.txt"), "     91 position=      91,  " + std::string(510, 'A') + "\n"));
    // Below 0.5 the matcher refuses each level; the summary counts the last.
    auto low = sites({"in.fa", "out.txt", "0", "GATC", "0.3"}, kHandFasta);
    ASSERT_EQ(low.status, 0);
    EXPECT_EQ(count_of(low.err, "Precision should be between 0.5 and 1.0.\n"), 2u);
    EXPECT_EQ(summary_count(low), "0");
}

TEST(Sites, ReadsEveryKindOfFileAndEachType) {
    const std::string protein = ">p1\nMKDELAKDELW\n>p2\nKDELKKK\n";
    const std::string rna = ">r\nAUGGCAUGCCAUGA\n";
    const std::string clustal = "CLUSTAL W (1.83) multiple sequence alignment\n\n\n"
                                "a               GAATTC--AC\nb               GGAATTCAAC\n\n";
    const std::string genbank = "LOCUS       G1    12 bp    DNA     linear   SYN 01-JAN-2000\n"
                                "DEFINITION  test.\nORIGIN\n        1 ggaattcaag tc\n//\n"
                                "LOCUS       G2    6 bp    DNA     linear   SYN 01-JAN-2000\n"
                                "DEFINITION  test.\nORIGIN\n        1 gaattc\n//\n";
    struct Case {
        std::string name, content, motif, announce, matches;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"in.fa", protein, "KDEL", "This is a FASTA file.\n", "3",
         {"    Data type: protein.\n", "   A =      1,   5.56 %.   C =      0,   0.00 %.\n", "   W =      1,   5.56 %."
                                                                                               "   Y =      0,   0.00 %.\n\n"}},
        {"in.fa", rna, "AUG", "This is a FASTA file.\n", "3", {"    Data type: RNA.\n", "   U =      3,  21.43 %.\n"}},
        {"in.aln", clustal, "GAATTC", "This is a CLUSTAL file.\n", "2", {"  Sequence name: b."}},
        {"in.gb", genbank, "GAATTC", "This is a GenBank file.\n", "2", {"  Sequence name: G2."}},
        {"in.txt", "ggaattcaa\n", "GAATTC", "", "1", {"    Data type: DNA.\n"}},
        {"in.embl", kavro_test::fixture("input/TRBG361.embl"), "GAATTC", "This is an EMBL file.\n", "1", {}},
        {"in.sw", kavro_test::fixture("input/prot.m-swiss"), "VWYA", "This is a SwissProt file.\n", "4",
         {"  Sequence name: SWISSM3."}},
        {"in.pir", kavro_test::fixture("input/prot.m-codata"), "VWYA", "This is a PIR file.\n", "4", {}},
    };
    for (const Case& c : cases) {
        auto r = sites({c.name, "out.txt", "1", c.motif}, c.content, "", {}, c.name);
        ASSERT_EQ(r.status, 0) << c.name << r.err;
        EXPECT_TRUE(has(r.out, c.announce)) << c.name;
        EXPECT_EQ(summary_count(r), c.matches) << c.name;
        for (const std::string& line : c.lines) EXPECT_TRUE(has(r.file("out.txt"), line)) << c.name << "\n" << line;
    }
}

TEST(Sites, PalindromeSurvey) {
    auto r = sites({"in.fa", "out.txt", "3", "4.6"}, ">s\nGAATTCAAGGATCC\n>t\nGAATTC\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rows = r.file("out.txt");
    EXPECT_EQ(count_of(rows, "\n"), 16u + 16u + 64u);
    EXPECT_TRUE(has(r.out, "in.fa\tSearching palindromic sequences.\nMinimum length is 4.\nMaximum length is 6.\n"));
    EXPECT_TRUE(has(r.out, "Searching 4-bases motifs...\n   TTAA\n   CTAG\n   ATAT\n"));
    EXPECT_TRUE(has(rows, "in.fa\t20\t 40.00 %\t4\tTTAA\t0\t 0.0000000\t"));
    EXPECT_TRUE(has(rows, "\t6\tGAATTC\t2\t 0.1000000\t"));
    EXPECT_TRUE(has(rows, "\t6\tGGATCC\t1\t 0.0500000\t"));
    EXPECT_TRUE(has(rows, "\t5\tTTNAA\t1\t"));
    // GATC only across the origin of a circular TCAAGA.
    auto circular = sites({"in.fa", "out.txt", "3", "4.4"}, ">s\nTCAAGA\n", "", {{"CIRCULAR", "1"}});
    EXPECT_TRUE(has(circular.out, "\tcircular genome: s sequence no.1.\n"));
    EXPECT_TRUE(has(circular.file("out.txt"), "\t4\tGATC\t1\t"));

    struct Case {
        std::string fasta, range, message;
    };
    const Case failures[] = {
        {">p\nMKVLAAGIWDEF\n", "4.5", "Mode 3 is valid for DNA sequences.\n"},
        {kHandFasta, "6.4", "Use correct minimum and maximum lengths.\n"},
        {kHandFasta, "2.4", "Use correct minimum and maximum lengths.\n"},
        {kHandFasta, "3.511", "Use correct minimum and maximum lengths.\n"},
        {kHandFasta, "3.2147483647", "Use correct minimum and maximum lengths.\n"},
        {">s\nGAATTC\n>p\nMKVLAAGIWDEF\n", "4.4",
         "Mode 3 is only compatible with DNA. Stop processing...\nError in writing motif sites in file: out.txt\n"},
    };
    for (const Case& c : failures) {
        auto f = sites({"in.fa", "out.txt", "3", c.range}, c.fasta);
        EXPECT_EQ(f.status, 1) << c.range;
        EXPECT_TRUE(has(f.err, c.message)) << c.range << f.err;
    }
}

// A range of more palindromes than can be written is refused before the
// input is read, naming the largest maximum that can finish; runs are bounded
// so that a survey that does not end fails instead of filling the disk.
TEST(Sites, PalindromeRangeThatCannotFinishIsRefused) {
    const std::string fasta = ">p\n" + std::string("GAATTCAAGGATCCTTGACGTCAGGCCTAGCTAGCATGCAAGCTTGGATCCCGGGAATT") + "\n";
    struct Case {
        std::string range, message;
    } cases[] = {
        {"3.40", "The largest maximum for minimum 3 is 19.\n"},
        {"20.21", "The largest maximum for minimum 20 is 20.\n"},
        {"22.30", "No survey from length 22 can finish; the largest length is 21.\n"},
    };
    for (const Case& c : cases) {
        auto r = kavro_test::run({.args = {"sites", "p.fa", "p.out", "3", c.range},
                                  .files = {{"p.fa", fasta}},
                                  .timeout_seconds = 20,
                                  .max_file_bytes = 4 << 20});
        EXPECT_EQ(r.status, 1) << c.range;
        EXPECT_TRUE(has(r.err, "palindromes (4^(k/2) for each length k): the survey cannot finish.\n" + c.message))
            << c.range << r.err;
        EXPECT_FALSE(has(r.out, "Searching 3-bases motifs")) << c.range;
    }
}

TEST(Sites, FailuresAndUndefinedStatisticsEndCleanly) {
    struct Case {
        std::string content;
        std::vector<std::string> words;
        int status;
        std::string err;
        std::string report;  // a line of the report
    };
    const std::string aborted = "Estimation of probability aborted because estimated frequency is too small.\n";
    const Case cases[] = {
        {">s\nGAATTC\n>p\nMKVLAAGIWDEF\n", {"1", "GAATTC"}, 1,
         "Data types seems mixed. Stop processing...\nError in writing motif sites in file: out.txt\n", ""},
        {"", {"1", "GAATTC"}, 1, "Unknown file format.\n", ""},
        {kavro_test::fixture("input/F2CXE6.txt"), {"1", "KDEL"}, 1,
         "This file is not compatible with this program: in.fa\n", ""},
        {">a\n\n>b\n\n", {"0", "GAATTC"}, 0, "Sequence lengh zero.\n", "    Frequency:               0.0000000.\n"},
        // A motif of N only is expected everywhere: no spread to measure.
        {kHandFasta, {"0", "NNNN"}, 0, "", "    Estimated frequency:     1.0000000.\n" + aborted},
        // Both strands of NNW together are expected more than once a window.
        {kHandFasta, {"0", "NNW"}, 0, "", "    Estimated frequency:     1.2000000.\n" + aborted},
        {kHandFasta, {"0", "GAXTC"}, 0, "", "    AT =  60.00 %.    GC =  40.00 %.\n\n" + aborted},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = {"in.fa", "out.txt"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        auto r = sites(words, c.content);
        EXPECT_EQ(r.status, c.status) << c.words[1] << r.err;
        EXPECT_TRUE(has(r.err, c.err)) << c.words[1] << r.err;
        if (c.report.empty()) continue;
        const std::string report = r.file("out.txt");
        EXPECT_TRUE(has(report, c.report)) << c.words[1] << "\n" << report;
        EXPECT_FALSE(has(report, "nan") || has(report, "inf")) << c.words[1];
    }
    // The output may not be the input: emptying it would lose the data.
    auto same = sites({"in.fa", "in.fa", "1", "GATC"}, kHandFasta);
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.file("in.fa"), kHandFasta);
    auto unwritable = sites({"in.fa", "no/such/dir/out.txt", "1", "GATC"}, kHandFasta);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(has(unwritable.err, "Error in opening output file.\n"));
    // A report on standard output keeps every message off it.
    auto piped = sites({"in.fa", "stdout", "2", "GATC"}, kHandFasta);
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, "in.fa\tGATC\t100\t2\t 0.0200000\t 40.00 % 0.0032000\n");
    EXPECT_TRUE(has(piped.err, "mode: 2.\n"));
}

}  // namespace
