#include <gtest/gtest.h>

#include <initializer_list>

#include "convert/tofast_options.hpp"
#include "support/run_kavro.hpp"

using kavro::CommandLine;
using kavro::TofastOptions;

namespace {

struct Parsed {
    int status;
    TofastOptions opts;
    std::string err;
    std::string word3;
};

// Parses "tofast in.fa out.fa" followed by the given option and value words.
Parsed parse(std::initializer_list<const char*> options) {
    CommandLine words;
    int count = 0;
    for (const char* w : {"tofast", "in.fa", "out.fa"}) words.set(count++, w);
    for (const char* w : options) words.set(count++, w);
    Parsed p{};
    kavro_test::CaptureConsole console;
    p.status = kavro::parse_tofast_words(count, words, p.opts);
    p.err = console.err();
    p.word3 = words[3];
    return p;
}

TEST(TofastOptions, OptionWordIsReadByItsFirstLetter) {
    auto p = parse({"dna"});
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.opts.input_path, "in.fa");
    EXPECT_EQ(p.opts.output_path, "out.fa");
    EXPECT_EQ(p.opts.output_type, kavro::ResidueKind::Dna);
    EXPECT_EQ(parse({"R"}).opts.output_type, kavro::ResidueKind::Rna);
    EXPECT_EQ(parse({"R"}).word3, "r");  // lower-cased in place
    EXPECT_EQ(parse({"p"}).opts.output_type, kavro::ResidueKind::Protein);
    EXPECT_TRUE(parse({"c"}).opts.complement);
    EXPECT_TRUE(parse({"b"}).opts.composition);
    EXPECT_TRUE(parse({"Sort"}).opts.sort);
    EXPECT_TRUE(parse({"info"}).opts.info);
    EXPECT_EQ(parse({"info"}).opts.info_selector, 0);
}

TEST(TofastOptions, WordsBeginningWithMSelectMsMaskOrLimit) {
    EXPECT_TRUE(parse({"ms"}).opts.ms);
    EXPECT_TRUE(parse({"Msx"}).opts.ms);
    auto mask = parse({"Mask"});
    EXPECT_TRUE(mask.opts.mask);
    EXPECT_FALSE(mask.opts.limit);
    auto caps = parse({"MASK"});  // only the first letter is lowered: a limit word
    EXPECT_FALSE(caps.opts.mask);
    EXPECT_TRUE(caps.opts.limit);
    auto limit = parse({"max"});  // no value: the bound filters nothing
    EXPECT_TRUE(limit.opts.limit);
    EXPECT_EQ(limit.opts.min_length, 1);
    EXPECT_EQ(limit.opts.max_length, 0);
}

TEST(TofastOptions, UnknownOptionWordIsRefused) {
    for (const char* w : {"x", "o", "-", ""}) {
        auto p = parse({w});
        EXPECT_EQ(p.status, 1) << w;
        EXPECT_EQ(p.err, "Unknown argument 4. Exiting...\n") << w;
    }
}

TEST(TofastOptions, LengthBoundsNeedAtLeast21ForMaxAnd11ForMin) {
    auto max20 = parse({"max", "20"});
    EXPECT_EQ(max20.status, 0);
    EXPECT_FALSE(max20.opts.limit);
    EXPECT_EQ(max20.err, "Specify min or max. Proceed without this argumet.\n");
    auto max21 = parse({"MAX", "21"});
    EXPECT_TRUE(max21.opts.limit);
    EXPECT_EQ(max21.opts.max_length, 21);
    EXPECT_EQ(max21.opts.min_length, 0);
    EXPECT_EQ(max21.word3, "max");
    auto min10 = parse({"min", "10"});
    EXPECT_FALSE(min10.opts.limit);
    EXPECT_EQ(min10.err, "Specify min or max. Proceed without this argumet.\n");
    auto min11 = parse({"min", "11"});
    EXPECT_TRUE(min11.opts.limit);
    EXPECT_EQ(min11.opts.min_length, 11);
    EXPECT_EQ(min11.opts.max_length, 0);
    EXPECT_FALSE(parse({"maximum", "100"}).opts.limit);  // only "max" and "min" name a bound
    EXPECT_EQ(parse({"max", "1e3"}).err, "Unknown argument 4. Exiting...\n");
    // A bound beyond 32 bits is held at the largest 32-bit value, not wrapped.
    EXPECT_EQ(parse({"min", "99999999999999999999"}).opts.min_length, 2147483647);
}

TEST(TofastOptions, CompositionTakesWindowAndSlideAsTwoNumbers) {
    auto both = parse({"b", "100", "20"});
    EXPECT_EQ(both.status, 0);
    EXPECT_EQ(both.opts.window, 100);
    EXPECT_EQ(both.opts.slide, 20);
    auto one = parse({"b", "100"});
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err, "Unknown argument 5. Exiting...\n");
    EXPECT_EQ(parse({"b", "100", "x"}).err, "Unknown argument 4. Exiting...\n");
    auto none = parse({"b"});
    EXPECT_EQ(none.opts.window, 0);
    EXPECT_EQ(none.opts.slide, 0);
}

TEST(TofastOptions, ProteinTakesFrameAndCodonTable) {
    auto p = parse({"p", "5"});
    EXPECT_EQ(p.opts.frame, -2);
    EXPECT_EQ(parse({"p", "-1"}).opts.frame, -1);
    EXPECT_EQ(parse({"p", "3"}).opts.frame, 3);
    auto table = parse({"p", "-3", "mt"});
    EXPECT_EQ(table.opts.frame, -3);
    EXPECT_EQ(table.opts.codon_table, "mt");
    auto bad = parse({"p", "7"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "Set correct frame number 1 - 3 or -1 - -3.\n");
    auto comp = parse({"p", "c"});  // "c" is read before the frame
    EXPECT_TRUE(comp.opts.complement);
    EXPECT_EQ(comp.opts.frame, 1);
    // A long table file name is kept whole.
    std::string longname(80, 't');
    EXPECT_EQ(parse({"p", "1", longname.c_str()}).opts.codon_table, longname);
}

TEST(TofastOptions, StrandAndTypeValueWords) {
    auto dc = parse({"d", "c"});
    EXPECT_EQ(dc.opts.output_type, kavro::ResidueKind::Dna);
    EXPECT_TRUE(dc.opts.complement);
    EXPECT_FALSE(parse({"c", "n"}).opts.complement);
    auto cd = parse({"c", "d"});
    EXPECT_TRUE(cd.opts.complement);
    EXPECT_EQ(cd.opts.output_type, kavro::ResidueKind::Dna);
    EXPECT_EQ(parse({"s", "r"}).opts.output_type, kavro::ResidueKind::Rna);
    auto bad = parse({"d", "x"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "Unknown argument 5. Exiting...\n");
    // A sixth word only names a codon table for protein output.
    auto six = parse({"d", "c", "mt"});
    EXPECT_EQ(six.status, 0);
    EXPECT_EQ(six.opts.codon_table, "default");
}

TEST(TofastOptions, InfoSelectorCodonTableAndMsFile) {
    for (const char* sel : {"s", "l", "n", "c", "#"}) {
        auto p = parse({"i", sel});
        EXPECT_EQ(p.status, 0) << sel;
        EXPECT_EQ(p.opts.info_selector, sel[0]);
    }
    EXPECT_EQ(parse({"i", "seq"}).opts.info_selector, 's');
    EXPECT_EQ(parse({"i", "x"}).err, "Unknown argument 4. Exiting...\n");
    auto ms = parse({"ms", "msdef.txt"});
    EXPECT_EQ(ms.opts.ms_definition, "msdef.txt");
    auto codon = parse({"i", "c", "mt"});
    EXPECT_EQ(codon.opts.info_selector, 'c');
    EXPECT_EQ(codon.opts.codon_table, "mt");
}

}  // namespace
