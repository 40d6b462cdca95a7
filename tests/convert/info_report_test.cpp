#include "convert/info_report.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "convert/info_report_format.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"
#include "translate/codon_table.hpp"

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
    const std::string text = render([&](Writer& w) { kavro::write_record_info(w, &r, true, '_'); });
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), ">r1 x;yz\n");
    EXPECT_NE(text.find("   U =      1,  25.00 %.\n\n\n"), std::string::npos);
    // Without the flag only the name.
    EXPECT_EQ(render([&](Writer& w) { kavro::write_record_info(w, &r, false, '_'); }).substr(0, 4), ">r1\n");
}

TEST(InfoReport, PercentagesRoundAsPrintfDoes) {
    // 1 of 32 is exactly 3.125 (rounds to even: 3.12); 1 of 3 and 2 of 3.
    const auto d = record("d", "A" + std::string(31, 'C'), kavro::ResidueKind::Dna);
    const std::string text = render([&](Writer& w) { kavro::write_record_info(w, &d, false, ' '); });
    EXPECT_NE(text.find("   A =      1,   3.12 %.\n   C =     31,  96.88 %.\n"), std::string::npos);
    const auto t = record("t", "ACC", kavro::ResidueKind::Dna);
    EXPECT_NE(render([&](Writer& w) { kavro::write_record_info(w, &t, false, ' '); }).find("   A =      1,  33.33 %.\n   C =      2,  66.67 %.\n"),
              std::string::npos);
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
    EXPECT_NE(render([&](Writer& w) { kavro::write_record_info(w, &x, false, '_'); }).find("   Mol. Wt. =       0.00 \n"),
              std::string::npos);
}

TEST(InfoReport, FailuresAndItems) {
    kavro_test::CaptureConsole cap;
    const auto empty = record("e", "", kavro::ResidueKind::Dna);
    const auto d = record("d", "ACGT", kavro::ResidueKind::Dna);
    EXPECT_EQ(render([&](Writer& w) {
                  EXPECT_EQ(kavro::write_record_info(w, nullptr, true, '_'), 1);
                  EXPECT_EQ(kavro::write_record_info(w, &empty, true, '_'), 1);
                  EXPECT_EQ(kavro::write_info_item(w, nullptr, 'l'), 1);
                  kavro::write_info_item(w, &d, 'l');
                  kavro::write_info_item(w, &d, 's');
                  kavro::write_info_item(w, &d, 'n');
                  kavro::write_info_item(w, &d, '#');
              }),
              ">e\n4\nACGT\nd\nd\n");
    EXPECT_EQ(cap.err(), "Empty sequence.\nError in calculating residue composition in fwrite_info.\nEmpty sequence.\n");
}

TEST(CodonReport, PerRecordTable) {
    const std::string table = kavro::select_codon_table("default");
    const auto d = record("c1", "ATGATGTAAAC", kavro::ResidueKind::Dna);  // 11 nt: ATG ATG TAA, 3 codons
    kavro::CodonCounts counts;
    counts.fill(7);
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_record_codon_usage(&w, &d, table, &counts), 0); });
    EXPECT_EQ(counts[11], 2);
    EXPECT_EQ(counts[34], 1);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[64], 0);
    EXPECT_EQ(text.rfind("c1: 11 nt\n\nF  UUU =      0,   0.00 %.\n", 0), 0u);
    EXPECT_NE(text.find("I  AUA =      0,   0.00 %.\nM  AUG =      2,  66.67 %.\n"), std::string::npos);
    EXPECT_NE(text.find("*  UAA =      1,  33.33 %.\n"), std::string::npos);
    EXPECT_EQ(count_of(text, "\n"), 2u + 64u + 1u);
    EXPECT_EQ(text.substr(text.size() - 28), "G  GGG =      0,   0.00 %.\n\n");

    // Codons with other characters are skipped; a record shorter than one
    // codon reports 0 per cent instead of dividing by zero.
    const auto n = record("n", "ATGNNNATG", kavro::ResidueKind::Dna);
    kavro::write_record_codon_usage(nullptr, &n, table, &counts);
    EXPECT_EQ(counts[11], 2);
    const auto tiny = record("t", "AT", kavro::ResidueKind::Dna);
    EXPECT_NE(render([&](Writer& w) { kavro::write_record_codon_usage(&w, &tiny, table, &counts); }).find("F  UUU =      0,   0.00 %.\n"),
              std::string::npos);

    kavro_test::CaptureConsole cap;
    const auto p = record("p", "MKV", kavro::ResidueKind::Protein);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, nullptr, table, &counts), 1);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, &d, table, nullptr), 1);
    EXPECT_EQ(kavro::write_record_codon_usage(nullptr, &p, table, &counts), 1);
    EXPECT_EQ(cap.err(), "Empty sequence.\nEmpty code_count in fwrite_info3.\nSequence should be DNA in fwrite_info3.\n");
}

TEST(CodonReport, SummaryListings) {
    std::string table = kavro::select_codon_table("default");
    table[0] = 'b';   // not among the summary's letters: first listing only
    table[63] = 'U';  // no blank line after the U and X groups
    table[62] = 'X';
    kavro::CodonCounts totals{};
    totals[11] = 2;  // AUG
    totals[34] = 1;  // UAA
    totals[0] = 1;   // UUU
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_codon_summary(w, table, totals, 4, 1), 0); });
    const std::string rule = "*****************************************\n";
    EXPECT_EQ(text.rfind(rule + "Total codon usage\n  4 codons in 1 sequences.\n\nb  UUU =      1,  25.00 %.\n", 0), 0u);
    EXPECT_NE(text.find("L  UUG =      0,   0.00 %.\n\nL  CUU"), std::string::npos);
    EXPECT_NE(text.find("M  AUG =      2,  50.00 %.\n"), std::string::npos);
    EXPECT_NE(text.find("U  GGG =      0,   0.00 %.\n" + rule + "\n" + rule +
                        "Total codon usage sorted by amino acids\n  4 codons in 1 sequences.\n\n*  UAA =      1,  25.00 %, 100.00 %.\n"
                        "*  UAG =      0,   0.00 %,   0.00 %.\n*  UGA =      0,   0.00 %,   0.00 %.\n\nA  GCU"),
              std::string::npos);
    EXPECT_EQ(count_of(text, "UUU"), 1u);
    EXPECT_NE(text.find("M  AUG =      2,  50.00 %, 100.00 %.\n\nN  AAU"), std::string::npos);
    EXPECT_NE(text.find("T  ACG =      0,   0.00 %,   0.00 %.\n\nU  GGG =      0,   0.00 %,   0.00 %.\nV  GUU"),
              std::string::npos);
    EXPECT_NE(text.find("W  UGG =      0,   0.00 %,   0.00 %.\n\nX  GGA =      0,   0.00 %,   0.00 %.\n"
                        "Y  UAU =      0,   0.00 %,   0.00 %.\nY  UAC =      0,   0.00 %,   0.00 %.\n" + rule),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - rule.size() - 1), "\n" + rule);
    // No codons at all: 0 per cent rather than a division by zero.
    kavro::CodonCounts none{};
    EXPECT_NE(render([&](Writer& w) { kavro::write_codon_summary(w, table, none, 0, 0); }).find("M  AUG =      0,   0.00 %,   0.00 %.\n"),
              std::string::npos);
}

TEST(CodonReport, RelativeUsageWithinAnAminoAcid) {
    const std::string table = kavro::select_codon_table("default");
    kavro::CodonCounts totals{};
    totals[kavro::codon_usage("CUG")] = 1;
    totals[kavro::codon_usage("UUA")] = 2;  // leucine: 1 + 2 = 3
    const std::string text = render([&](Writer& w) { kavro::write_codon_summary(w, table, totals, 6, 2); });
    EXPECT_NE(text.find("L  UUA =      2,  33.33 %,  66.67 %.\n"), std::string::npos);
    EXPECT_NE(text.find("L  CUG =      1,  16.67 %,  33.33 %.\n"), std::string::npos);
}

class CollectionReports : public ::testing::Test {
protected:
    void TearDown() override { kavro::g_settings.write_to_stdout = false; }
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
    EXPECT_NE(dir.read("full.txt").find(">b_x\n   Data type: DNA."), std::string::npos);
    EXPECT_EQ(kavro::write_codon_info_all(dir / "codon.txt", seqs, "default"), 0);
    const std::string codon = dir.read("codon.txt");
    EXPECT_EQ(codon.substr(0, 11), "a: 6 nt\n\nF ");
    EXPECT_NE(codon.find("c: 3 nt\n"), std::string::npos);
    EXPECT_NE(codon.find("  5 codons in 3 sequences.\n"), std::string::npos);
    EXPECT_NE(codon.find("M  AUG =      3,  60.00 %, 100.00 %.\n"), std::string::npos);
}

TEST_F(CollectionReports, StandardOutputGetsOnlyTheSummary) {
    kavro::g_settings.write_to_stdout = true;
    std::string text;
    int status = -1;
    {
        kavro_test::CaptureConsole cap;  // the checks' own messages must not land in it
        status = kavro::write_codon_info_all(dir / "unused", seqs, "mt");
        text = cap.out();
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text.find(" nt\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, 42), "*****************************************\n");
    EXPECT_NE(text.find("W  UGA =      1,  20.00 %, 100.00 %.\n"), std::string::npos);
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
