#include "translate/translation.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "core/console.hpp"
#include "support/run_kavro.hpp"
#include "support/records.hpp"

using testing::HasSubstr;

namespace {

using kavro::SequenceRecord;
using kavro::translate_frame;

const std::string kStandard = *kavro::select_codon_table("default");

SequenceRecord dna(const std::string& name, const std::string& residues, const std::string& definition = "def") {
    return kavro_test::make_record(name, residues, kavro::ResidueKind::Dna, definition);
}

TEST(TranslateFrame, FramesAndLeftOverBases) {
    //                   frame 1: ATG GCC TGA A   frame 2: TGG CCT GAA   frame 3: GGC CTG A
    const std::string ten = "ATGGCCTGAA";
    EXPECT_EQ(*translate_frame(ten, 1, kStandard), "MA*");
    EXPECT_EQ(*translate_frame(ten, 2, kStandard), "WPE");
    EXPECT_EQ(*translate_frame(ten, 3, kStandard), "GL");
    // Stops are kept and translation goes on; lower case and U are bases.
    EXPECT_EQ(*translate_frame("uaaaugUGAaug", 1, kStandard), "*M*M");
    EXPECT_EQ(*translate_frame("ATGNNNAT-GGG", 1, kStandard), "M??G");
    EXPECT_EQ(*translate_frame("ATG", 3, kStandard), "");
    EXPECT_EQ(*translate_frame("ATGGCCTGA", 1, *kavro::builtin_codon_table("mt")), "MAW");
}

TEST(TranslateFrame, ShortTextsAndBadFrames) {
    kavro_test::CaptureConsole cap;
    EXPECT_EQ(*translate_frame("AT", 1, kStandard), "?");
    EXPECT_FALSE(translate_frame("ATGATG", 0, kStandard).has_value());
    EXPECT_FALSE(translate_frame("ATGATG", 4, kStandard).has_value());
    EXPECT_EQ(cap.err(), "Sequence too shortError in frame number.\nError in frame number.\n");
    // A table of the wrong size gives "?" for every codon, reported once.
    EXPECT_EQ(*translate_frame("ATGATGATG", 1, "FFLL"), "???");
    EXPECT_EQ(cap.err(), "Sequence too shortError in frame number.\nError in frame number.\nError in codon table.\n");
}

TEST(TranslateRecord, PlusAndMinusFrames) {
    const SequenceRecord src = dna("s1", "ATGGCCTGAAAC");  // reverse complement GTTTCAGGCCAT
    auto p1 = kavro::translate_record(src, 1, "default", kavro::kProteinSuffix);
    ASSERT_TRUE(p1.has_value());
    EXPECT_EQ(p1->name, "s1_ptn");
    EXPECT_EQ(p1->residues, "MA*N");
    EXPECT_EQ(p1->length, 4);
    EXPECT_EQ(p1->type, kavro::ResidueKind::Protein);
    EXPECT_EQ(p1->definition, "def; Translated sequence.");

    const std::pair<int, std::string> minus[] = {{-1, "VSGH"}, {-2, "FQA"}, {-3, "FRP"}};
    for (const auto& [frame, protein] : minus) {
        auto p = kavro::translate_record(src, frame, "default", "_x");
        ASSERT_TRUE(p.has_value()) << frame;
        EXPECT_EQ(p->name, "s1_C_x");
        EXPECT_EQ(p->residues, protein) << frame;
        EXPECT_EQ(p->definition, "def;Complementary for: s1.; Translated sequence.");
    }
    EXPECT_EQ(src.residues, "ATGGCCTGAAAC");  // the source is left alone
}

TEST(TranslateRecord, Failures) {
    kavro_test::CaptureConsole cap;
    auto short_one = kavro::translate_record(dna("tiny", "AC"), 1, "default", "_ptn");
    ASSERT_TRUE(short_one.has_value());
    EXPECT_EQ(short_one->residues, "?");
    EXPECT_EQ(cap.err(), "Sequence too short in: tiny.\n");

    SequenceRecord protein = dna("pep", "MKVLWDE");
    EXPECT_FALSE(kavro::translate_record(protein, -1, "default", "_ptn").has_value());
    EXPECT_FALSE(kavro::translate_record(dna("s", "ATGATG"), 5, "default", "_ptn").has_value());
    EXPECT_EQ(cap.err(),
              "Sequence too short in: tiny.\n"
              "This is not a nucleic acid sequence: pep.\nError in converting to complementary sequence.\n"
              "Error in frame number.\nUnable to translate.\n");
}

// A held sink keeps a record's lines, in order, off the console.
TEST(TranslateRecord, InPlaceLinesGoToTheSink) {
    struct Case {
        SequenceRecord rec;
        int frame, status;
        std::string residues, held;
    };
    const Case cases[] = {
        {dna("s", "ATGAAATAG"), 1, 0, "MK*", ""},
        {dna("tiny", "AC"), 2, 0, "?", "Sequence too short in: tiny.\n"},
        {dna("pep", "MKVLWDE"), -1, 1, "MKVLWDE",
         "This is not a nucleic acid sequence: pep.\nError in converting to complementary sequence.\n"},
    };
    for (Case c : cases) {
        kavro_test::CaptureConsole cap;
        std::string held;
        EXPECT_EQ(kavro::translate_record_in_place(c.rec, c.frame, kStandard, kavro::MessageSink(held)), c.status);
        EXPECT_EQ(c.rec.residues, c.residues);
        EXPECT_EQ(held, c.held);
        EXPECT_EQ(cap.err(), "");
    }
}

TEST(TranslateCollection, FramesLabelsAndProgress) {
    kavro::Collection seqs;
    for (int i = 0; i < 12; ++i) {
        std::string name = "n";
        name += std::to_string(i);
        seqs.push_back(dna(name, "ATGAAACCCGGGTTT"));
    }
    kavro_test::CaptureConsole cap;
    auto p = kavro::translate_collection(seqs, -2, "default");
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(p->size(), 12u);
    EXPECT_EQ((*p)[0].name, "n0_C_ptn");
    EXPECT_EQ((*p)[0].definition, "Frame -2 ");
    EXPECT_EQ((*p)[11].residues, "NPGF");  // AAACCCGGGTTTCAT, second frame
    EXPECT_EQ(cap.out(), "..\n");          // after records 0 and 10

    seqs[3].residues = "MKWMKW";  // protein among DNA: its complement fails
    seqs[3].length = 6;
    EXPECT_FALSE(kavro::translate_collection(seqs, -1, "default").has_value());
    EXPECT_THAT(cap.err(), HasSubstr("Error of translation in sequence: n3.\n"));
}

TEST(TranslateCollection, DotsStayOutOfDataOnStandardOutput) {
    // While the translated data goes to standard output, the progress dots
    // go to standard error.
    kavro::Collection seqs{dna("a", "ATGAAA"), dna("b", "ATGCCC")};
    kavro_test::CaptureConsole cap;
    kavro::set_messages_to_stderr(true);
    const int status = kavro::translate_collection_in_place(seqs, 1, "default");
    kavro::set_messages_to_stderr(false);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(cap.out(), "");
    EXPECT_EQ(cap.err(), ".\n");
}

}  // namespace
