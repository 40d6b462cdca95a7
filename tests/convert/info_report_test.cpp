#include "convert/info_report.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "core/report_line.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"
#include "translate/codon_table.hpp"

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace {

using kavro::SequenceRecord;
using kavro::Writer;

using kavro_test::count_of;
using kavro_test::render;

SequenceRecord record(const std::string& name, const std::string& residues, kavro::ResidueKind type, const std::string& def = "") {
    return kavro_test::make_record(name, residues, type, def);
}



TEST(ReportLine, FieldsMatchPrintf) {
    // Every field as printf would write it, including exact halves (which
    // round to even), negative zero, values wider than their field and
    // integers of any sign.
    std::mt19937_64 rng(5);
    char expected[512];
    for (int i = 0; i < 200000; ++i) {
        const double v = static_cast<double>(static_cast<long>(rng() % 20000000) - 10000000) /
                         static_cast<double>(1 + rng() % 4096);
        const long n = static_cast<long>(rng() % 2000000) - 1000000;
        kavro::ReportLine line;
        line.fixed(v, 5, 2).ch('|').fixed(v, 6, 3).ch('|').fixed(v, 9, 4).ch('|').integer(n, 6).ch('|').integer(n, 0);
        std::snprintf(expected, sizeof expected, "%5.2f|%6.3f|%9.4f|%6ld|%ld", v, v, v, n, n);
        ASSERT_EQ(line.view(), expected) << v << " " << n;
    }
    for (double v : {0.125, 0.375, 3.125, 2.675, 1.005, 0.0005, 0.0015, -0.0, 999.0, 1e12, 100.0, 99.995, 12.5}) {
        kavro::ReportLine line;
        line.fixed(v, 6, 2).fixed(v, 6, 3).fixed(v, 9, 4);
        std::snprintf(expected, sizeof expected, "%6.2f%6.3f%9.4f", v, v, v);
        EXPECT_EQ(line.view(), expected) << v;
    }
}

TEST(InfoReport, NucleotideLayoutAndDefinition) {
    const auto d = record("d1", "AAAACCCGGT", kavro::ResidueKind::Dna, "a;b");
    EXPECT_EQ(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &d, true, '_'), 0); }),
              ">d1_a\nb\n"
              "   Data type: DNA.\n   Sequence length: 10.\n\n"
              "   A =      4,  40.00 %.\n   C =      3,  30.00 %.\n   G =      2,  20.00 %.\n   T =      1,  10.00 %.\n"
              "\n\n");
    // RNA reports U; a definition starting with a space gets no separator; a
    // newline in it becomes ";"; control characters are dropped.
    const auto r = record("r1", "acgu", kavro::ResidueKind::Rna, " x\ny\tz");
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &r, true, '_'), 0); });
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), ">r1 x;yz\n");
    EXPECT_THAT(text, HasSubstr("   U =      1,  25.00 %.\n\n\n"));
    // Without the flag only the name.
    EXPECT_EQ(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &r, false, '_'), 0); }).substr(0, 4), ">r1\n");
}

TEST(InfoReport, PercentagesRoundAsPrintfDoes) {
    // 1 of 32 is exactly 3.125 (rounds to even: 3.12); 1 of 3 and 2 of 3.
    const auto d = record("d", "A" + std::string(31, 'C'), kavro::ResidueKind::Dna);
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &d, false, ' '), 0); });
    EXPECT_THAT(text, HasSubstr("   A =      1,   3.12 %.\n   C =     31,  96.88 %.\n"));
    const auto t = record("t", "ACC", kavro::ResidueKind::Dna);
    EXPECT_THAT(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &t, false, ' '), 0); }), HasSubstr("   A =      1,  33.33 %.\n   C =      2,  66.67 %.\n"));
}

TEST(InfoReport, ProteinLayoutAndMolecularWeight) {
    const auto p = record("p1", "MK", kavro::ResidueKind::Protein);
    std::string expected = ">p1\n   Data type: protein.\n   Sequence length: 2.\n\n";
    for (char c : std::string("ACDEFGHIKLMNPQRSTVWY")) {
        const bool here = c == 'M' || c == 'K';
        expected += std::string("   ") + c + " =      " + (here ? "1,  50.00" : "0,   0.00") + " %.\n";
    }
    expected += "\n   Mol. Wt. =     277.38 \n\n\n";
    EXPECT_EQ(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &p, false, '_'), 0); }), expected);

    EXPECT_NEAR(kavro::molecular_weight(&p), 149.21 + 146.19 - 18.01528, 1e-9);
    const auto lower = record("p", "mkgw", kavro::ResidueKind::Protein);
    EXPECT_NEAR(kavro::molecular_weight(&lower), 149.21 + 146.19 + 75.07 + 204.22 - 3 * 18.01528, 1e-9);
    for (const char* bad : {"MKX", "MBK", "M-K", "M", "MU"}) {
        const auto r = record("p", bad, kavro::ResidueKind::Protein);
        EXPECT_EQ(kavro::molecular_weight(&r), 0.0) << bad;
    }
    EXPECT_EQ(kavro::molecular_weight(nullptr), 0.0);
    const auto x = record("px", "MKX", kavro::ResidueKind::Protein);
    EXPECT_THAT(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_info(w, &x, false, '_'), 0); }), HasSubstr("   Mol. Wt. =       0.00 \n"));
}

TEST(InfoReport, FailuresAndItems) {
    kavro_test::CaptureConsole cap;
    const auto empty = record("e", "", kavro::ResidueKind::Dna);
    const auto d = record("d", "ACGT", kavro::ResidueKind::Dna);
    EXPECT_EQ(render([&](Writer& w) {
                  EXPECT_EQ(kavro::write_record_info(w, nullptr, true, '_'), 1);
                  EXPECT_EQ(kavro::write_record_info(w, &empty, true, '_'), 1);
                  EXPECT_EQ(kavro::write_info_item(w, nullptr, 'l'), 1);
                  EXPECT_EQ(kavro::write_info_item(w, &d, 'l'), 0);
                  EXPECT_EQ(kavro::write_info_item(w, &d, 's'), 0);
                  EXPECT_EQ(kavro::write_info_item(w, &d, 'n'), 0);
                  EXPECT_EQ(kavro::write_info_item(w, &d, '#'), 0);
              }),
              ">e\n4\nACGT\nd\nd\n");
    EXPECT_EQ(cap.err(), "Empty sequence.\nError in calculating residue composition in fwrite_info.\nEmpty sequence.\n");
}

TEST(CodonReport, PerRecordTable) {
    const std::string table = *kavro::select_codon_table("default");
    const auto d = record("c1", "ATGATGTAAAC", kavro::ResidueKind::Dna);  // 11 nt: ATG ATG TAA, 3 codons
    kavro::CodonCounts counts;
    counts.fill(7);
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_record_codon_usage(&w, &d, table, &counts), 0); });
    EXPECT_EQ(counts[11], 2);
    EXPECT_EQ(counts[34], 1);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[64], 0);
    EXPECT_THAT(text, StartsWith("c1: 11 nt\n\nF  UUU =      0,   0.00 %.\n"));
    EXPECT_THAT(text, HasSubstr("I  AUA =      0,   0.00 %.\nM  AUG =      2,  66.67 %.\n"));
    EXPECT_THAT(text, HasSubstr("*  UAA =      1,  33.33 %.\n"));
    EXPECT_EQ(count_of(text, "\n"), 2u + 64u + 1u);
    EXPECT_EQ(text.substr(text.size() - 28), "G  GGG =      0,   0.00 %.\n\n");

    // Codons with other characters are skipped; a record shorter than one
    // codon reports 0 per cent instead of dividing by zero.
    const auto n = record("n", "ATGNNNATG", kavro::ResidueKind::Dna);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, &n, table, &counts), 0);
    EXPECT_EQ(counts[11], 2);
    const auto tiny = record("t", "AT", kavro::ResidueKind::Dna);
    EXPECT_THAT(render([&](Writer& w) { EXPECT_EQ(kavro::write_record_codon_usage(&w, &tiny, table, &counts), 0); }), HasSubstr("F  UUU =      0,   0.00 %.\n"));

    kavro_test::CaptureConsole cap;
    const auto p = record("p", "MKV", kavro::ResidueKind::Protein);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, nullptr, table, &counts), 1);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, &d, table, nullptr), 1);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, &p, table, &counts), 1);
    EXPECT_EQ(cap.err(), "Empty sequence.\nEmpty code_count in fwrite_info3.\nSequence should be DNA in fwrite_info3.\n");
}

TEST(CodonReport, SummaryListings) {
    std::string table = *kavro::select_codon_table("default");
    table[0] = 'b';   // not among the summary's letters: first listing only
    table[63] = 'U';  // no blank line after the U and X groups
    table[62] = 'X';
    kavro::CodonCounts totals{};
    totals[11] = 2;  // AUG
    totals[34] = 1;  // UAA
    totals[0] = 1;   // UUU
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_codon_summary(w, table, totals, 4, 1), 0); });
    const std::string rule = "*****************************************\n";
    EXPECT_THAT(text, StartsWith(rule + "Total codon usage\n  4 codons in 1 sequences.\n\nb  UUU =      1,  25.00 %.\n"));
    EXPECT_THAT(text, HasSubstr("L  UUG =      0,   0.00 %.\n\nL  CUU"));
    EXPECT_THAT(text, HasSubstr("M  AUG =      2,  50.00 %.\n"));
    EXPECT_THAT(text, HasSubstr("U  GGG =      0,   0.00 %.\n" + rule + "\n" + rule +
                        "Total codon usage sorted by amino acids\n  4 codons in 1 sequences.\n\n*  UAA =      1,  25.00 %, 100.00 %.\n"
                        "*  UAG =      0,   0.00 %,   0.00 %.\n*  UGA =      0,   0.00 %,   0.00 %.\n\nA  GCU"));
    EXPECT_EQ(count_of(text, "UUU"), 1u);
    EXPECT_THAT(text, HasSubstr("M  AUG =      2,  50.00 %, 100.00 %.\n\nN  AAU"));
    EXPECT_THAT(text, HasSubstr("T  ACG =      0,   0.00 %,   0.00 %.\n\nU  GGG =      0,   0.00 %,   0.00 %.\nV  GUU"));
    EXPECT_THAT(text, HasSubstr("W  UGG =      0,   0.00 %,   0.00 %.\n\nX  GGA =      0,   0.00 %,   0.00 %.\n"
                        "Y  UAU =      0,   0.00 %,   0.00 %.\nY  UAC =      0,   0.00 %,   0.00 %.\n" + rule));
    EXPECT_EQ(text.substr(text.size() - rule.size() - 1), "\n" + rule);
    // No codons at all: 0 per cent rather than a division by zero.
    kavro::CodonCounts none{};
    EXPECT_THAT(render([&](Writer& w) { EXPECT_EQ(kavro::write_codon_summary(w, table, none, 0, 0), 0); }), HasSubstr("M  AUG =      0,   0.00 %,   0.00 %.\n"));
}

TEST(CodonReport, RelativeUsageWithinAnAminoAcid) {
    const std::string table = *kavro::select_codon_table("default");
    kavro::CodonCounts totals{};
    totals[kavro::codon_usage("CUG")] = 1;
    totals[kavro::codon_usage("UUA")] = 2;  // leucine: 1 + 2 = 3
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_codon_summary(w, table, totals, 6, 2), 0); });
    EXPECT_THAT(text, HasSubstr("L  UUA =      2,  33.33 %,  66.67 %.\n"));
    EXPECT_THAT(text, HasSubstr("L  CUG =      1,  16.67 %,  33.33 %.\n"));
}

class CollectionReports : public ::testing::Test {
protected:
    kavro_test::TempDir dir;
    kavro::Collection seqs{record("a", "ATGAAA", kavro::ResidueKind::Dna), record("b", "ATGTGA", kavro::ResidueKind::Dna, "x"),
                           record("c", "ATG", kavro::ResidueKind::Dna)};
};

TEST_F(CollectionReports, AppendToTheOutputFile) {
    dir.write("out.txt", "before\n");
    EXPECT_EQ(kavro::write_info_item_all(dir / "out.txt", seqs, '#'), 0);
    EXPECT_EQ(kavro::write_info_item_all(dir / "out.txt", seqs, 'l'), 0);
    EXPECT_EQ(dir.read("out.txt"), "before\n3\n6\n6\n3\n");
    EXPECT_EQ(kavro::write_info_all(dir / "full.txt", seqs), 0);
    EXPECT_THAT(dir.read("full.txt"), HasSubstr(">b_x\n   Data type: DNA."));
    EXPECT_EQ(kavro::write_codon_info_all(dir / "codon.txt", seqs, "default"), 0);
    const std::string codon = dir.read("codon.txt");
    EXPECT_EQ(codon.substr(0, 11), "a: 6 nt\n\nF ");
    EXPECT_THAT(codon, HasSubstr("c: 3 nt\n"));
    EXPECT_THAT(codon, HasSubstr("  5 codons in 3 sequences.\n"));
    EXPECT_THAT(codon, HasSubstr("M  AUG =      3,  60.00 %, 100.00 %.\n"));
}

TEST_F(CollectionReports, StandardOutputGetsOnlyTheSummary) {
    std::string text;
    int status = -1;
    {
        kavro_test::CaptureConsole cap;  // the checks' own messages must not land in it
        status = kavro::write_codon_info_all({dir / "unused", true}, seqs, "mt");
        text = cap.out();
    }
    EXPECT_EQ(status, 0);
    EXPECT_THAT(text, Not(HasSubstr(" nt\n")));
    EXPECT_EQ(text.substr(0, 42), "*****************************************\n");
    EXPECT_THAT(text, HasSubstr("W  UGA =      1,  20.00 %, 100.00 %.\n"));
    EXPECT_FALSE(dir.exists("unused"));
}

TEST_F(CollectionReports, Failures) {
    kavro_test::CaptureConsole cap;
    EXPECT_EQ(kavro::write_codon_info_all(dir / "x", seqs, ""), 1);
    EXPECT_EQ(kavro::write_info_all(dir / "no/such/dir", seqs), 1);
    seqs[1].type = kavro::ResidueKind::Protein;
    EXPECT_EQ(kavro::write_codon_info_all(dir / "x", seqs, "default"), 1);
    EXPECT_EQ(cap.err(),
              "No valid codon_file.\nCannot open file: " + (dir / "no/such/dir") +
                  "\n\nSequence should be DNA in fwrite_info3.\nError in getting code_count in Mfwrite_info3.\n"
                  "Unable to write output file.\n");
}

}  // namespace
