#include "output/presentation_form.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "output/exon_header.hpp"
#include "support/records.hpp"
#include "translate/translation.hpp"
#include "ui/exon_dialog.hpp"

using testing::HasSubstr;

namespace {

using kavro::PresentationExons;

// Two exons, ATGAAA and TTTTAG (M K F *), around a GT...AG intron.
const std::string kGene = "cccATGAAAgtaagtTTTTAGccccccccccccccc";

std::string describe(const PresentationExons& exons) {
    std::string d;
    for (const auto& e : exons)
        d += (d.empty() ? "" : " ") + std::string(e.complement ? "c" : "") + std::to_string(e.start) + "-" +
             std::to_string(e.end);
    return d;
}

// The exon list of a header, or the messages that refused it.
std::string parse(const std::string& header) {
    kavro_test::CaptureConsole cap;
    auto exons = kavro::parse_exon_header(header, 100);
    return exons ? describe(*exons) : "refused: " + cap.err();
}

TEST(ExonHeader, LocationsAndRefusals) {
    const std::pair<std::string, std::string> cases[] = {
        {"ntcA 1 91  100", "91-100"},
        {"nad7 3 join 10 20  30 40  50 60", "10-20 30-40 50-60"},
        {"g 1 complement 10 20", "c10-20"},
        {"g 2 complement join 10 20  30 40", "c30-40 c10-20"},
        {"g 2 join 10 20  complement 30 40", "10-20 c30-40"},
        {"g 1 <5 >50", "5-50"},
        {"g 1 X99:10 X99:20 AC=X99.1; more", "10-20"},
        {"g -2 join 1 2 3 4", "refused: The exon number must be 1 or more: -2\n"},
        {"g 0 5 10", "refused: The exon number must be 1 or more: 0\n"},
        {"g 1 0 50", "refused: Exon 0..50 lies outside the sequence of 100 bases.\n"},
        {"g 1 50 101", "refused: Exon 50..101 lies outside the sequence of 100 bases.\n"},
        {"g 1 60 50", "refused: Exon 60..50 starts after its end.\n"},
        {"g 2 10 20 30 40", "refused: \nError 1 of exon number in seq: g.\n Quiting exon_list. "},
        {"g 1 join 10 20", "refused: \nError 3 of exon number in seq: g.\n Quiting exon_list. "},
        {"g 2 join 10 20", "refused: \nFewer exons than the exon number in seq: g.\n Quiting exon_list. "},
        {"g 1 order 10 20",
         "refused: \nUnrecognizable word: order in exon_list.\nError 4 of exon number in seq: g.\n Quiting exon_list. "},
        {"g 1 10 abc", "refused: No valid end of exon in seq: g.\n Quiting exon_list. "},
        {"g 1 X99:10 X99:20", "refused: Unable to find the sequence with accession: X99\n"},
    };
    for (const auto& [header, expected] : cases) EXPECT_EQ(parse(header), expected) << header;
}

TEST(ExonHeader, TransSplicedOrder) {
    auto exons = [](std::initializer_list<kavro::PresentationExon> list) { return PresentationExons(list); };
    EXPECT_FALSE(kavro::exons_out_of_order(exons({{10, 20, false}, {30, 40, false}})));
    EXPECT_FALSE(kavro::exons_out_of_order(exons({{30, 40, true}, {10, 20, true}})));
    EXPECT_TRUE(kavro::exons_out_of_order(exons({{10, 20, false}, {5, 8, false}})));
    EXPECT_TRUE(kavro::exons_out_of_order(exons({{10, 20, false}, {30, 40, true}})));
    EXPECT_TRUE(kavro::exons_out_of_order(exons({{10, 20, true}, {30, 40, true}})));
    EXPECT_EQ(kavro::join_exons("aacgTTgg", exons({{3, 4, false}, {5, 6, true}}), false), "cgAA");
}

struct FormRun {
    int status;
    std::string text, out, err, definition;
};

// The presentation form of kGene with the header of an exon file (or, when
// it is empty, of the dialog answered by `answers`), at a line length of 30:
// the header, its exons, then the writer, as toprot runs them.
FormRun form(const std::string& exon_line, const std::string& answers = "") {
    kavro_test::TempDir dir;
    if (!exon_line.empty()) dir.write("exons", exon_line);
    auto rec = kavro_test::make_record("g", kGene, kavro::ResidueKind::Dna, "old definition");
    auto console = kavro::LineReader::from_string(answers);
    const kavro::ExonTranslator translate = [](const kavro::SequenceRecord& joined) -> std::optional<std::string> {
        return kavro::translate_record(joined, 1, "default", kavro::kProteinSuffix)->residues;
    };
    FormRun r{1, "", "", "", ""};
    kavro_test::CaptureConsole cap;
    if (kavro::make_header(rec, exon_line.empty() ? "" : dir / "exons", console) == 0) {
        const auto exons = kavro::parse_exon_header(rec.definition, static_cast<long>(rec.residues.size()));
        if (exons)
            r.text = kavro_test::render([&](kavro::Writer& w) {
                r.status = kavro::write_presentation_form(w, rec, *exons, "default", translate, 30);
            });
    }
    r.out = cap.out();
    r.err = cap.err();
    r.definition = rec.definition;
    return r;
}

const std::string kHead = "Output of KAVRO version 1.59.9\n>g\n";

TEST(PresentationForm, ExonsUpperIntronsLowerAminoAcidsUnderCodons) {
    FormRun r = form("gene 2 join 4 9  16 21\nsecond line is ignored\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.text, kHead +
                          "gene 2 join 4 9  16 21\n  Codon table file: default\n\n"
                          "cccATGAAAgtaagtTTTTAGccccccccc     30\n"
                          "   M  K        F  *                 3\n\n"
                          "cccccc                             36\n"
                          "\n\n");
    // A complementary exon is read from its end down: the amino acids stand
    // under the highest base of each codon.
    r = form("rev 1 complement 4 21");
    ASSERT_EQ(r.status, 0) << r.err;
    // complement of 21..4: CTAAAAACTTACTTTCAT = L K T Y F H
    EXPECT_EQ(r.text.substr(r.text.find("cccATG")),
              "cccATGAAAGTAAGTTTTTAGccccccccc     30\n"
              "     H  F  Y  T  K  L               6\n\n"
              "cccccc                             36\n\n\n");
}

TEST(PresentationForm, ExonFileRefusals) {
    const std::pair<std::string, std::string> cases[] = {
        {"gene x 4 9", "No exon number is indicated.\n"},
        {"gene 1 4 40", "Exon 4..40 lies outside the sequence of 36 bases.\n"},
        {"gene -1 4 9", "The exon number must be 1 or more: -1\n"},
        {"gene 2 join 16 21  4 9", "This might be trans-spliced. Abort to write pretty sequence.\n"},
    };
    for (const auto& [line, message] : cases) {
        FormRun r = form(line);
        EXPECT_EQ(r.status, 1) << line;
        EXPECT_THAT(r.err, HasSubstr(message)) << line << "\n" << r.err;
        EXPECT_EQ(r.text, "") << line;
    }
}

TEST(PresentationForm, ExonDialog) {
    // A start too near the end, a negative one, a "no", then the values.
    FormRun r = form("", "y\n\ngene\n1\n30\n-4\n5\nn\n4\ny\n21\ny\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.definition, "gene 1  4 21");
    EXPECT_THAT(r.out, HasSubstr("Do you wish to input exon data interactively?  Answer y or n. "
                         "What is the name of gene?  Number of exons?  Use 0 to abort."
                         "Start position of exon 1? Use 0 to abort. "
                         "This value exceeds sequence length. Type new value. "
                         "This value is outside the sequence. Type new value. "
                         "\n   TGAAAgtaagt\n   >\nIs this OK? y or n.Type new value. "
                         "\n   ATGAAAgtaag\n   >\nIs this OK? y or n."
                         "End position of exon 1? Use 0 to abort. "
                         "\n   taagtTTTTAG\n             >\nIs this OK? y or n."))
        << r.out;
    EXPECT_THAT(r.text, HasSubstr("cccATGAAAGTAAGTTTTTAGccccccccc "));
    // No, zero exons, 0 for a position, and the end of the input all stop.
    for (const std::string answers : {"n\n", "y\ngene\n0\n", "y\ngene\n2\n0\n", "y\ngene\n", "y\ngene\n1\n4\ny\n"}) {
        FormRun stopped = form("", answers);
        EXPECT_EQ(stopped.status, 1) << answers;
        EXPECT_EQ(stopped.text, "") << answers;
    }
    // An end near the sequence start shows the bases there are, the mark
    // still under the position.
    r = form("", "y\ng\n1\n2\ny\n5\ny\n");
    EXPECT_THAT(r.out, HasSubstr("\n         cccAT\n             >\n")) << r.out;
}

}  // namespace
