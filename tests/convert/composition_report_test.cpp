#include "convert/composition_report.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "core/settings.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace {

using kavro::SequenceRecord;
using kavro::Writer;

using kavro_test::count_of;
using kavro_test::render;

SequenceRecord dna(const std::string& name, const std::string& residues) {
    return kavro_test::make_record(name, residues, kavro::ResidueKind::Dna);
}



const std::string kHeader =
    "    From \t    To  \tLength\t   T \t   C \t   A  \t   G \t  GC \t  AT  \tGC skew\tAT skew\tcumGCskew\tcumATskew\n\n";

TEST(BaseFractions, CountsNormalisingAndFailures) {
    kavro::BaseFractions f, g, h;
    int status[8];
    std::string messages;
    {
        kavro_test::CaptureConsole cap;
        status[0] = kavro::base_fractions("acgu", f);        // U counts with T
        status[1] = kavro::base_fractions("AACGTNNN", g);    // sum 0.625: normalised
        status[2] = kavro::base_fractions("ACNN", h);        // sum 0.5: too little
        status[3] = kavro::base_fractions("", h);
        // 19 of 20 (0.95) is strange too; the bounds are 0.95 < sum <= 1.01.
        status[4] = kavro::base_fractions(std::string(19, 'A') + "N", h);
        SequenceRecord empty = dna("e", ""), ns = dna("n", "NNNN");
        status[5] = kavro::record_base_fractions(&empty, h);
        status[6] = kavro::record_base_fractions(nullptr, h);
        status[7] = kavro::record_base_fractions(&ns, h);
        messages = cap.err();
    }
    EXPECT_EQ(status[0], 0);
    EXPECT_DOUBLE_EQ(f[kavro::BASE_T], 0.25);
    EXPECT_EQ(status[1], 0);
    EXPECT_DOUBLE_EQ(g[kavro::BASE_A], 0.4);
    EXPECT_DOUBLE_EQ(g[kavro::BASE_T] + g[kavro::BASE_C] + g[kavro::BASE_A] + g[kavro::BASE_G], 1.0);
    EXPECT_EQ(status[2], 1);
    EXPECT_EQ(status[3], 1);
    EXPECT_EQ(status[4], 0);
    EXPECT_EQ(status[5], 1);
    EXPECT_EQ(status[6], 1);
    EXPECT_EQ(status[7], 1);
    EXPECT_EQ(messages,
              "Strange composition.\nStrange composition.\nStrange composition.\n"
              "Strange composition.\nError in c_basecomp_seq.\n");
}

TEST(Skews, ValuesAndFailures) {
    EXPECT_DOUBLE_EQ(kavro::compute_gc_skew("GGGGGGCCAT"), 0.5);  // G .6, C .2, A .1, T .1
    EXPECT_DOUBLE_EQ(kavro::compute_at_skew("GGGGGGCCAT"), 0.0);
    EXPECT_DOUBLE_EQ(kavro::compute_at_skew("AAAT"), 0.5);
    // A denominator of at most 0.01 gives 0.
    EXPECT_EQ(kavro::compute_gc_skew(std::string(199, 'A') + "G"), 0.0);
    kavro_test::CaptureConsole cap;
    EXPECT_EQ(kavro::compute_at_skew("GGCC"), kavro::kSkewFailure);
    EXPECT_EQ(kavro::compute_gc_skew("ATTA"), kavro::kSkewFailure);
    EXPECT_EQ(kavro::compute_gc_skew("NNNN"), kavro::kSkewFailure);
    EXPECT_EQ(kavro::compute_at_skew("NNNN"), kavro::kSkewFailure);
    EXPECT_EQ(cap.err(),
              "Strange composition A+T in CountATSkew.\nStrange composition G+C in CountGCSkew.\n"
              "Strange composition.\nError in c_basecomp_seq in CountGCSkew.\n"
              "Strange composition.\nError in c_basecomp_seq in CountATSkew.\n");
}

TEST(CompositionTable, ExactLayout) {
    const auto s = dna("s", "GGGGGGCCATGGGGGGCCAT");
    EXPECT_EQ(render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 10, 10), 0); }),
              "DNA info for s\n   Window size: 10; Slide size: 10.\n\n" + kHeader +
                  "       1\t      10\t    10\t10.00\t20.00\t10.00\t60.00\t80.00\t20.00\t 0.500\t 0.000\t 0.500\t 0.000\n"
                  "      11\t      20\t    10\t10.00\t20.00\t10.00\t60.00\t80.00\t20.00\t 0.500\t 0.000\t 1.000\t 0.000\n"
                  "\n"
                  "\t Deviation        \t\t 0.00\t 0.00\t 0.00\t 0.00\t 0.00\t 0.00\t 0.000\t 0.000\n"
                  "    Total accumulated\t          20\t10.00\t20.00\t10.00\t60.00\t80.00\t20.00\n"
                  "\t Total              \t\t10.00\t20.00\t10.00\t60.00\n\n\n");
}

TEST(CompositionTable, DeviationIsTheSampleDeviationOfEqualWindows) {
    const auto s = dna("s", "AAAAAAAAGCTTTTTTTTGC");  // T 0 then 0.8
    const std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 10, 10), 0); });
    EXPECT_THAT(text, HasSubstr("\t Deviation        \t\t56.57\t 0.00\t56.57\t 0.00\t 0.00\t 0.00\t 0.000\t 1.414\n"));
    EXPECT_THAT(text, HasSubstr("      11\t      20\t    10\t80.00\t10.00\t 0.00\t10.00\t20.00\t80.00\t 0.000\t-1.000\t 0.000\t 0.000\n"));
}

TEST(CompositionTable, WindowArithmetic) {
    std::string seq;
    for (int i = 0; i < 250; ++i) seq += "ACGT";
    const auto s = dna("s", seq);
    std::string text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 100, 100), 0); });
    EXPECT_EQ(count_of(text, "\t   100\t"), 10u);
    EXPECT_THAT(text, HasSubstr("     901\t    1000\t"));
    EXPECT_THAT(text, Not(HasSubstr("    1001\t")));
    EXPECT_THAT(text, HasSubstr("Total accumulated\t        1000\t"));

    text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 100, 50), 0); });
    EXPECT_EQ(count_of(text, "\t   100\t"), 19u);
    EXPECT_THAT(text, HasSubstr("     901\t    1000\t   100\t"));
    EXPECT_THAT(text, HasSubstr("     951\t    1000\t    50\t"));
    EXPECT_THAT(text, Not(HasSubstr("    1001\t")));

    // Shorter than the window: one window over the whole, no deviation.
    text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 5000, 10), 0); });
    EXPECT_THAT(text, HasSubstr("       1\t    1000\t  1000\t25.00"));
    EXPECT_THAT(text, Not(HasSubstr("Deviation")));
    EXPECT_THAT(text, Not(HasSubstr("Total accumulated")));
    EXPECT_THAT(text, HasSubstr("\t Total              \t\t25.00\t25.00\t25.00\t25.00\n"));

    // Slide larger than the window: windows leave gaps.
    text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 10, 300), 0); });
    EXPECT_THAT(text, HasSubstr("       1\t      10\t"));
    EXPECT_THAT(text, HasSubstr("     901\t     910\t"));
    EXPECT_EQ(count_of(text, "\t    10\t"), 4u);
}

TEST(CompositionTable, WindowOfNsGoesOnWithZeros) {
    const auto s = dna("s", "ACGTACGTAC" + std::string(10, 'N') + "ACGTACGTAC");
    std::string text, messages;
    {
        kavro_test::CaptureConsole cap;
        text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, 10, 10), 0); });
        messages = cap.err();
    }
    EXPECT_THAT(text, HasSubstr("      11\t      20\t    10\t 0.00\t 0.00\t 0.00\t 0.00\t 0.00\t 0.00\t999.000\t999.000\t998.800\t999.200\n"));
    EXPECT_THAT(text, HasSubstr("\t Total              \t\t20.00\t30.00\t30.00\t20.00\n"));
    EXPECT_EQ(messages,
              "Strange composition.\nError in c_basecomp_seq.\n"
              "Error in calculating residue composition in fwrite_Dinfo.\n"
              "The data are filled with zero, and then continue.\n"
              "Strange composition.\nError in c_basecomp_seq in CountGCSkew.\n"
              "Strange composition.\nError in c_basecomp_seq in CountATSkew.\n"
              "Error in calculating skew values in fwrite_Dinfo.\nBut we continue.\n"
              "Strange composition.\n");  // the whole record (20 of 30 are bases)
}

TEST(CompositionTable, FailuresStopTheCollection) {
    kavro::Collection seqs{dna("ok", "ACGTACGTAC"), dna("gc", "ACGTACGTACGGCCGGCCGG"), dna("later", "ACGTACGTAC")};
    std::string text, messages;
    {
        kavro_test::CaptureConsole cap;
        text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition_all(w, seqs, 10, 10), 1); });
        SequenceRecord protein = dna("p", "MKVW");
        protein.type = kavro::ResidueKind::Protein;
        render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &protein, 10, 10), 1); });
        messages = cap.err();
    }
    EXPECT_THAT(text, HasSubstr("DNA info for gc\n"));
    EXPECT_THAT(text, HasSubstr("       1\t      10\t"));
    EXPECT_THAT(text, Not(HasSubstr("later")));
    EXPECT_EQ(messages,
              "Strange composition A+T in CountATSkew.\nError in calculating skew values in fwrite_Dinfo.\n"
              "Error in Mfwrite_Dinfo. Sequence No. 1.\nThis is not a DNA sequence. Skipping...\n");
}

// The table as a plain reference would compute it: every window cut out and
// measured afresh with the text functions.
std::string reference_rows(const std::string& seq, long window, long slide) {
    std::string rows;
    const long length = static_cast<long>(seq.size());
    long n = length < window ? 0 : length / slide;
    double cum_gc = 0, cum_at = 0;
    long from = 1, to = window;
    for (long i = 0; i <= n && from <= length; ++i, from += slide, to += slide) {
        if (to > length) {
            to = length;
            if (i < n) n = i;
        }
        const std::string w = seq.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
        kavro::BaseFractions f;
        if (kavro::base_fractions(w, f) != 0) f.fill(0);
        const double gs = kavro::compute_gc_skew(w), as = kavro::compute_at_skew(w);
        const long L = to - from + 1;
        cum_gc += static_cast<double>(L) * gs;
        cum_at += static_cast<double>(L) * as;
        char line[256];
        std::snprintf(line, sizeof line, "%8ld\t%8ld\t%6ld\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%6.3f\t%6.3f\t%6.3f\t%6.3f\n",
                      from, to, L, f[0] * 100, f[1] * 100, f[2] * 100, f[3] * 100, (f[1] + f[3]) * 100,
                      (f[0] + f[2]) * 100, gs, as, cum_gc / static_cast<double>(L), cum_at / static_cast<double>(L));
        rows += line;
    }
    return rows;
}

TEST(CompositionTable, SlidingCountsMatchRecountedWindows) {
    std::mt19937 rng(7);
    const char alphabet[] = "ACGTACGTACGTacgtN";
    std::string seq;
    for (int i = 0; i < 3000; ++i) seq += alphabet[rng() % 17];
    const auto s = dna("r", seq);
    for (auto [window, slide] : {std::pair{100L, 10L}, {50L, 50L}, {30L, 70L}, {1000L, 1L}, {2999L, 2L}, {64L, 63L}}) {
        std::string text, expected;
        {
            kavro_test::CaptureConsole cap;  // windows with N print "Strange composition."
            text = render([&](Writer& w) { EXPECT_EQ(kavro::write_window_composition(w, &s, window, slide), 0); });
            expected = reference_rows(seq, window, slide);
        }
        const std::size_t begin = text.find(kHeader) + kHeader.size();
        const std::size_t end = text.find("\n\n", begin);
        EXPECT_EQ(text.substr(begin, end + 1 - begin), expected) << window << " " << slide;
    }
}

TEST(CompositionTable, CollectionOutput) {
    kavro_test::TempDir dir;
    kavro::Collection seqs{dna("a", "ACGTACGTAC"), dna("b", "GGGACCCCAT")};
    dir.write("out.txt", "x\n");
    EXPECT_EQ(kavro::write_window_composition_report(dir / "out.txt", seqs, 5, 5), 0);
    const std::string text = dir.read("out.txt");
    EXPECT_THAT(text, StartsWith("x\nDNA info for a\n   Window size: 5; Slide size: 5.\n"));
    EXPECT_THAT(text, HasSubstr("DNA info for b\n"));

    std::string console;
    {
        kavro_test::CaptureConsole cap;
        EXPECT_EQ(kavro::write_window_composition_report({dir / "unused", true}, seqs, 5, 5), 0);
        console = cap.out();
    }
    EXPECT_EQ(console, text.substr(2));
    EXPECT_FALSE(dir.exists("unused"));
}

}  // namespace
