#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "align/codon_matcher.hpp"
#include "support/alignments.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;

namespace {

using namespace kavro_test;

// One codon per amino acid (and TAA for a stop).
std::string codon_of(char aa) {
    static const std::string letters = "ACDEFGHIKLMNPQRSTVWY*";
    static const char* codons[] = {"GCT", "TGT", "GAT", "GAA", "TTT", "GGT", "CAT", "ATT", "AAA", "CTT", "ATG",
                                   "AAT", "CCT", "CAA", "CGT", "TCT", "ACT", "GTT", "TGG", "TAT", "TAA"};
    return codons[letters.find(aa)];
}

std::string encode(const std::string& protein) {
    std::string dna;
    for (char aa : protein)
        if (aa != '-') dna += codon_of(aa);
    return dna;
}

// The row expected for an aligned protein whose residues' codons are, in
// order, the triplets of `codons`.
std::string codon_row(const std::string& aligned, const std::string& codons) {
    std::string row;
    std::size_t c = 0;
    for (char aa : aligned) {
        if (aa == '-') {
            row += "---";
        } else {
            row += codons.substr(c, 3);
            c += 3;
        }
    }
    return row;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const std::string kP1 = "MKTAYIAKQRQISFVKSHFSRQLEERLGLIEV";
const std::string kP2 = "MSDNGPQNQRNAPRITFGGPSDSTGSNQNGER";
const std::string kA1 = "--" + kP1.substr(0, 16) + "---" + kP1.substr(16) + "--";
const std::string kA2 = kP2.substr(0, 8) + "-----" + kP2.substr(8) + "--";

struct NucalnCase {
    const char* label;
    std::string dna1;      // DNA of the first protein, as written to the file
    std::string expected1; // its row in the output
};

TEST(Nucaln, PlacesEachCodonUnderItsResidue) {
    const std::string exact = encode(kP1) + "TAA";
    std::string one_error = encode(kP1);
    one_error.replace(3 * 4, 3, "CCC");  // residue 5 (Y) read as P
    std::string late_error = encode(kP1);
    late_error.replace(3 * 20, 3, "CCC");  // residue 21 (R), 14 columns before the end
    std::string shifted = encode(kP1);
    shifted.insert(3 * 14, "G");  // one base too many inside codon 15
    std::string missing = encode(kP1) + "TAA";
    missing.erase(3 * 14 + 1, 1);  // GTT (V) loses a base: GTA, then AAT...
    std::string missing_row = encode(kP1);
    // V as GTA; K, found again one codon back, shows the A that GTA took as "-".
    missing_row.replace(3 * 14, 6, "GTA-aa");
    std::string inner_stop = encode(kP1);
    inner_stop.replace(3 * 10, 3, "TAG");  // a stop facing residue 11 (Q)
    std::string early_stop = encode(kP1);
    early_stop.replace(3 * 29, 3, "TGA");  // a stop facing the third-last residue
    const std::vector<NucalnCase> cases = {
        {"exact, stop after", exact, codon_row(kA1, exact)},
        {"five bases before the start", "ACGTA" + exact, codon_row(kA1, exact)},
        {"lower-case input keeps its case", lower(exact), codon_row(kA1, lower(exact))},
        {"one sequencing error", one_error,
         codon_row(kA1, one_error.substr(0, 12) + "ccc" + one_error.substr(15))},
        // A mismatch whose look-ahead reaches the gapped end writes the rest
        // of the row in lower case.
        {"error near a gapped end", late_error,
         codon_row(kA1, late_error.substr(0, 60) + lower(late_error.substr(60)))},
        {"frame shift", shifted, codon_row(kA1, encode(kP1))},
        {"one base missing", missing, codon_row(kA1, missing_row)},
        {"stop inside the protein", inner_stop, codon_row(kA1, inner_stop)},
        {"stop near the end", early_stop, codon_row(kA1.substr(0, kA1.size() - 5), early_stop) + std::string(15, '-')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const AlignmentRows proteins = {{"seqA=clone1", kA1}, {"seqB", kA2}};
        auto r = run({.args = {"nucaln", "aa.aln", "nuc.fa", "out.aln"},
                      .files = {{"aa.aln", clustal_text(proteins)},
                                {"nuc.fa", fasta_text({{"seqB", encode(kP2)}, {"seqA", c.dna1}, {"seqA", "ACGT"}})}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("Reading aa alignment ...\nReading nucleic acid sequences...\n"));
        EXPECT_THAT(r.out, HasSubstr("Writing sequences...\n"));
        EXPECT_THAT(r.out, HasSubstr("\nTerminated.\n"));
        const AlignmentRows rows = read_back_alignment(r, "out.aln");
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].first, "seqA=clone1");
        EXPECT_EQ(rows[0].second, c.expected1);
        // No stop codon and gap columns after the last residue: padded.
        EXPECT_EQ(rows[1].second, codon_row(kA2, encode(kP2)));
    }
}

std::string without_gaps(const std::string& row) {
    std::string s;
    for (char c : row)
        if (c != '-') s += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A base missing from the DNA: the next search starts one codon back, and
// the codon found there must not take a base a written codon already holds.
TEST(Nucaln, RowsNeverRepeatABaseOfTheDna) {
    struct Case {
        std::string protein;  // aligned
        std::string dna;      // one base missing
        std::string exact;    // the DNA of a second row
    };
    // ...M M S F H Y... as ATG ATG AGT TTC CAC TAC, with one C of TTCCAC lost.
    const std::string head = encode("GCQIHYGSTCKANDL"), tail = encode("NDHSAIVR") + "TAA";
    std::string missing = encode(kP1) + "TAA";
    missing.erase(3 * 14 + 1, 1);
    const std::vector<Case> cases = {
        {"GCQIHYGSTCKANDLMMSFHYNDHSA-IVR", head + "ATGATGAGTTTCACTAC" + tail, head + "ATGATGAGTTTCCACTAC" + tail},
        {kA1, missing, encode(kP1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.protein);
        auto r = run({.args = {"nucaln", "aa.aln", "nuc.fa", "out.aln"},
                      .files = {{"aa.aln", clustal_text({{"p1", c.protein}, {"p2", c.protein}})},
                                {"nuc.fa", fasta_text({{"p1", c.dna}, {"p2", c.exact}})}}});
        ASSERT_EQ(r.status, 0) << r.err;
        const AlignmentRows rows = read_back_alignment(r, "out.aln");
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].second.size(), 3 * c.protein.size());
        EXPECT_THAT(c.dna, HasSubstr(without_gaps(rows[0].second))) << rows[0].second;
    }
}

TEST(Nucaln, FailuresNameTheirCause) {
    struct Failure {
        const char* label;
        std::vector<std::string> args;
        std::string aa, nuc;
        std::string message;
    };
    const std::string aln = clustal_text({{"seqA", kA1}, {"seqB", kA2}});
    const std::string dna = fasta_text({{"seqA", encode(kP1)}, {"seqB", encode(kP2)}});
    const std::string nine = "MKTAYIAKQ";
    const std::vector<Failure> cases = {
        {"short protein", {}, clustal_text({{"seqA", nine + "----"}, {"seqB", kA2.substr(0, 13)}}),
         fasta_text({{"seqA", encode(nine)}, {"seqB", encode(kP2)}}), "Unable to find matching position for seqA.\n"},
        {"short dna", {}, aln, fasta_text({{"seqA", encode(kP1).substr(0, 90)}, {"seqB", encode(kP2)}}),
         "Unable to find matching position for seqA.\nLength of mseq_out is 0, while 3 x seqlen1 = 117.\n"},
        {"files swapped", {"nucaln", "nuc.fa", "aa.aln", "out.aln"}, aln, dna, "File formats are not correct.\n"},
        {"too few dna", {}, aln, fasta_text({{"seqA", encode(kP1)}}),
         "Not enough number of sequences in the nucleic acid sequence file.\n"},
        {"name missing", {}, aln, fasta_text({{"seqA", encode(kP1)}, {"seqC", encode(kP2)}}),
         "Cannot find a correct nucleic acid sequence for seqB.\n"},
        {"dna alignment", {}, clustal_text({{"a", encode(kP1)}, {"b", encode(kP1)}}), dna,
         "This is not an amino acid alignment.\n"},
        {"protein as dna", {}, aln, fasta_text({{"seqA", kP1}, {"seqB", kP2}}), "These are not DNA sequences.\n"},
        {"missing file", {"nucaln", "none.aln", "nuc.fa", "out.aln"}, aln, dna, "Unknown file format.\n"},
        {"word count", {"nucaln", "aa.aln"}, aln, dna, sjis("使い方: nucaln aa.aln nuc.fa out.aln <editing>.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto args = c.args.empty() ? std::vector<std::string>{"nucaln", "aa.aln", "nuc.fa", "out.aln"} : c.args;
        auto r = run({.args = args, .files = {{"aa.aln", c.aa}, {"nuc.fa", c.nuc}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err + r.out, HasSubstr(c.message)) << r.err;
        EXPECT_THAT(r.out, Not(HasSubstr("Terminated")));
    }
}

TEST(Nucaln, DialogAndEditingWord) {
    const std::string aln = clustal_text({{"seqA", kA1}, {"seqB", kA2}});
    const std::string dna = fasta_text({{"seqA", encode(kP1)}, {"seqB", encode(kP2)}});
    struct Form {
        std::vector<std::string> args;
        std::string input;
    };
    const std::vector<Form> forms = {
        {{"nucaln"}, "aa.aln\nnuc.fa\nout.aln\n"},
        {{"nucaln", "aa.aln", "nuc.fa"}, "out.aln\n"},
        {{"nucaln", "aa.aln", "nuc.fa", "out.aln", "TRUE"}, ""},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.args.size());
        auto r = run({.args = f.args, .input = f.input, .files = {{"aa.aln", aln}, {"nuc.fa", dna}}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(read_back_alignment(r, "out.aln").size(), 2u);
    }
    auto r = run({.args = {"nucaln", "aa.aln", "nuc.fa"}, .input = "exit\n", .files = {{"aa.aln", aln}}});
    EXPECT_EQ(r.status, 1);
}

TEST(Nucaln, WindowNeedsMoreThanTheThresholdAndSkipsStops) {
    struct Case {
        const char* window;
        const char* translation;
        double threshold;
        long start;
    };
    const std::vector<Case> cases = {
        {"MKTAYIAKQR", "XXMKTAYIAKQR", 0.9, 3},          // all ten agree
        {"MKTAYIAKQR", "XXMKTAYIAKQW", 0.9, 0},          // nine are not more than 0.9
        {"MKTAYIAKQR", "XXMKTAYIAKQW", 0.8, 3},          // nine are more than 0.8
        {"MKTAYIAKQR", "MKT*AYIAKQR", 0.9, 0},           // the stop costs its residue
        {"MKTAYIAKQR", "MKT*AYIAKQR", 0.8, 1},           // and the rest is read one codon on
        {"MKTAYIAKQR", "MKTAYIAKQ", 0.5, 0},             // shorter than the window
        {"MKTAYIAKQR", "MKTAYIAKQR", 0.4, 0},            // threshold out of range
    };
    for (const auto& c : cases)
        EXPECT_EQ(kavro::find_window(c.window, c.translation, c.threshold), c.start) << c.translation << " " << c.threshold;
}

}  // namespace
