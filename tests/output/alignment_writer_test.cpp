#include "output/alignment_writer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/console.hpp"
#include "output/output_test_support.hpp"

using testing::HasSubstr;

namespace {

using kavro::Collection;
using kavro::Writer;
using output_test::record;
using output_test::written;

class AlignmentWriter : public ::testing::Test {
protected:
    int line_length = 75;  // the NEXUS row length handed to the writer
};

Collection alignment(const std::vector<std::string>& names, std::size_t length) {
    Collection seqs;
    char letter = 'A';
    for (const auto& n : names) {
        std::string res;
        for (std::size_t k = 0; k < length; ++k) res += static_cast<char>(letter + k % 3);
        seqs.push_back(record(n, res));
        ++letter;
    }
    return seqs;
}

std::string pad(const std::string& s, std::size_t width) { return s + std::string(width - s.size(), ' '); }

TEST_F(AlignmentWriter, ClustalBlocksOfSixty) {
    const std::string long_name = "abcdefghijklmnopqrstuvwxyz123456789";  // 35 characters
    Collection seqs = alignment({"s1", long_name, "s3"}, 130);
    int result = -1;
    std::string text = written([&](Writer& w) { result = kavro::write_clustal(w, &seqs, 30); });
    EXPECT_EQ(result, 0);

    std::string expect = "CLUSTAL W MULTIPLE SEQUENCE ALIGNMENT (Output from KAVRO)\n\n\n";
    for (std::size_t c = 0; c < 130; c += 60) {
        for (const auto& rec : seqs)
            expect += pad(rec.name, 40) + rec.residues.substr(c, 60) + "\n";
        expect += "\n\n";
    }
    expect += "\n\n";
    EXPECT_EQ(text, expect);
    // The name column widens to the longest name: residue columns stay aligned.
    EXPECT_THAT(text, HasSubstr("abcdefghijklmnopqrstuvwxyz123456789     BCDBCD"));
    EXPECT_THAT(text, HasSubstr("\ns3" + std::string(38, ' ') + "CDECDECDEC\n\n\n"));
}

TEST_F(AlignmentWriter, ClustalShortEntryEndsEarlyAndControlsAreSkipped) {
    Collection seqs = alignment({"a", "b"}, 4);
    seqs[1].residues = "B\x01" "C";
    seqs[1].name = "b\tx";
    std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_clustal(w, &seqs, 3), 0); });
    EXPECT_EQ(text.substr(text.find("\n\n\n") + 3), "a       ABCA\nbx      BC\n\n\n\n\n");
}

TEST_F(AlignmentWriter, PhylipGroupsOfTen) {
    Collection seqs = alignment({"alpha", "a_name_longer_than_ten"}, 60);
    int result = -1;
    std::string text = written([&](Writer& w) { result = kavro::write_phylip(w, &seqs, 10); });
    EXPECT_EQ(result, 0);
    auto groups = [](const std::string& r, std::size_t from, std::size_t to) {
        std::string s;
        for (std::size_t g = from; g < to; g += 10) s += r.substr(g, 10) + (g + 10 < from + 50 ? " " : "");
        return s;
    };
    std::string expect = "2\t60\tI\n";
    expect += "alpha      " + groups(seqs[0].residues, 0, 50) + "\n";
    expect += "a_name_lon " + groups(seqs[1].residues, 0, 50) + "\n\n";
    expect += "           " + seqs[0].residues.substr(50) + " \n";
    expect += "           " + seqs[1].residues.substr(50) + " \n\n";
    EXPECT_EQ(text, expect);
    EXPECT_THAT(text, HasSubstr("alpha      ABCABCABCA BCABCABCAB CABCABCABC ABCABCABCA BCABCABCAB\n"));
}

TEST_F(AlignmentWriter, PhylipShortLastGroupHasNoBlank) {
    Collection seqs = alignment({"x"}, 55);
    std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_phylip(w, &seqs, 10), 0); });
    EXPECT_EQ(text.substr(text.rfind("\n\n", text.size() - 3) + 2), "           " + seqs[0].residues.substr(50) + "\n\n");
}

TEST_F(AlignmentWriter, NexusLayoutAndNames) {
    line_length = 75;
    Collection seqs = alignment({"a=b", "seq2", "s3"}, 100);
    seqs[0].type = kavro::ResidueKind::Dna;
    seqs[0].length = 100;
    int result = -1;
    std::string text = written([&](Writer& w) { result = kavro::write_nexus(w, &seqs, 10, line_length); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(seqs[0].name, "a_b");  // the record keeps the new name
    std::string expect =
        "#NEXUS\nbegin data;\n   dimensions ntax=3 nchar=100;\n"
        "   format datatype=dna interleave=yes gap=-;\n   matrix\n";
    for (std::size_t c = 0; c < 100; c += 80) {
        for (const auto& rec : seqs) expect += pad(rec.name, 11) + rec.residues.substr(c, 80) + "\n";
        expect += "\n";
    }
    expect += ";\nend;\n";
    EXPECT_EQ(text, expect);

    line_length = 60;
    seqs[0].type = kavro::ResidueKind::Protein;
    text = written([&](Writer& w) { EXPECT_EQ(kavro::write_nexus(w, &seqs, 10, line_length), 0); });
    EXPECT_THAT(text, HasSubstr("datatype=protein "));
    EXPECT_THAT(text, HasSubstr("\na_b        " + seqs[0].residues.substr(0, 70) + "\n"));
    EXPECT_THAT(text, HasSubstr("\na_b        " + seqs[0].residues.substr(70) + "\n"));
    seqs[0].type = static_cast<kavro::ResidueKind>(7);
    text = written([&](Writer& w) { EXPECT_EQ(kavro::write_nexus(w, &seqs, 10, line_length), 0); });
    EXPECT_THAT(text, HasSubstr("datatype=unknown "));
}

TEST_F(AlignmentWriter, FileWrappersUseTheirNameWidths) {
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    Collection seqs = alignment({"a_rather_long_name", "b"}, 5);
    EXPECT_EQ(kavro::write_clustal_file(dir / "x.aln", &seqs), 0);
    EXPECT_THAT(dir.read("x.aln"), HasSubstr("\nb" + std::string(34, ' ') + "BCDBC\n"));
    EXPECT_EQ(kavro::write_phylip_file(dir / "x.phy", &seqs), 0);
    EXPECT_EQ(dir.read("x.phy"), "2\t5\tI\na_rather_l ABCAB\nb          BCDBC\n\n");
    EXPECT_EQ(kavro::write_nexus_file(dir / "x.nex", &seqs, line_length), 0);
    EXPECT_THAT(dir.read("x.nex"), HasSubstr("\nb" + std::string(18, ' ') + "BCDBC\n"));
    EXPECT_EQ(console.out(), "\bw\bw\bw");
    // The files are created anew.
    EXPECT_EQ(kavro::write_phylip_file(dir / "x.phy", &seqs), 0);
    EXPECT_EQ(dir.read("x.phy"), "2\t5\tI\na_rather_l ABCAB\nb          BCDBC\n\n");
    EXPECT_EQ(console.err(), "");
}

TEST_F(AlignmentWriter, WrapperFailures) {
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    Collection seqs = alignment({"a"}, 5);
    EXPECT_EQ(kavro::write_clustal_file(dir / "no/x.aln", &seqs), 1);
    EXPECT_EQ(kavro::write_phylip_file(dir / "x.phy", nullptr), 1);
    EXPECT_EQ(kavro::write_nexus_file("/dev/full", &seqs, line_length), 2);
    Collection none;  // an empty collection has no first entry to measure
    EXPECT_EQ(kavro::write_clustal_file(dir / "y.aln", &none), 1);
    EXPECT_EQ(console.err(), "Cannot open file: " + (dir / "no/x.aln") +
                                 "\nEmpty sequence.\nWriting error.\nTrouble in writing file: /dev/full\n"
                                 "Empty sequence.\n");
    EXPECT_EQ(console.out(), "");
    EXPECT_FALSE(dir.exists("x.phy"));
    EXPECT_FALSE(dir.exists("y.aln"));
}

TEST_F(AlignmentWriter, WritesTheWholeCollection) {
    Collection seqs = alignment({"a", "b", "c"}, 3);
    std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_phylip(w, &seqs, 10), 0); });
    EXPECT_EQ(text, "3\t3\tI\na          ABC\nb          BCD\nc          CDE\n\n");
}

// Name bytes are data: bytes above 0x7E stay, control bytes go, and a name
// with nothing left is never written empty (the row would read as a
// separator line and its entry would be lost).
TEST_F(AlignmentWriter, NamesKeepTheirBytesAndNeverGoEmpty) {
    Collection seqs = alignment({"P\xC3\xA9rez_1", "\xC3\xA9\xC3\xA9", "\x01\x02", "b"}, 12);
    std::string clustal, phylip, nexus, messages;
    {
        kavro_test::CaptureConsole console;
        clustal = written([&](Writer& w) { EXPECT_EQ(kavro::write_clustal(w, &seqs, 30), 0); });
        phylip = written([&](Writer& w) { EXPECT_EQ(kavro::write_phylip(w, &seqs, 10), 0); });
        nexus = written([&](Writer& w) { EXPECT_EQ(kavro::write_nexus(w, &seqs, 10, line_length), 0); });
        messages = console.err();
    }
    EXPECT_THAT(clustal, HasSubstr("\nP\xC3\xA9rez_1" + std::string(27, ' ') + "ABC"));
    EXPECT_THAT(clustal, HasSubstr("\n\xC3\xA9\xC3\xA9" + std::string(31, ' ') + "BCD"));
    EXPECT_THAT(clustal, HasSubstr("\nunnamed_3" + std::string(26, ' ') + "CDE"));
    EXPECT_THAT(phylip, HasSubstr("\nP\xC3\xA9rez_1   ABC"));
    EXPECT_THAT(phylip, HasSubstr("\nunnamed_3  CDE"));
    EXPECT_THAT(nexus, HasSubstr("\n\xC3\xA9\xC3\xA9       BCD"));
    const std::string note = "Entry 3 has no name: written as unnamed_3.\n";
    EXPECT_EQ(messages, note + note + note);
}

// PHYLIP names hold ten characters; names that would repeat once cut are
// renamed (and said so) so that the rows stay apart.
TEST_F(AlignmentWriter, PhylipNamesStayDistinctWithinTheirWidth) {
    kavro_test::CaptureConsole console;
    Collection seqs = alignment({"AT3G20900.1-CDS", "AT3G20900.1-SEQ", "AT3G2090_2", "gi|17136534|ref", "gi|17136536|ref",
                                 "AT3G20900.1-XYZ"},
                                12);
    const std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_phylip(w, &seqs, 10), 0); });
    std::vector<std::string> names;
    for (std::size_t at = text.find('\n') + 1; at < text.size() && text[at] != '\n'; at = text.find('\n', at) + 1)
        names.push_back(text.substr(at, 10));
    EXPECT_EQ(names, (std::vector<std::string>{"AT3G20900.", "AT3G2090_3", "AT3G2090_2", "gi|1713653", "gi|17136_2",
                                               "AT3G2090_4"}));
    EXPECT_EQ(console.err(),
              "PHYLIP names hold 10 characters: AT3G20900.1-SEQ is written as AT3G2090_3.\n"
              "PHYLIP names hold 10 characters: gi|17136536|ref is written as gi|17136_2.\n"
              "PHYLIP names hold 10 characters: AT3G20900.1-XYZ is written as AT3G2090_4.\n");
}

// NEXUS punctuation in a name would split it: such names go in single
// quotes, an embedded quote doubled, and the name field widens to hold them.
TEST_F(AlignmentWriter, NexusQuotesNamesWithPunctuation) {
    Collection seqs = alignment({"X01238.1/1-183", "ENSG00000108691:ENST00000580907", "it's", "plain_name"}, 4);
    const std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_nexus(w, &seqs, 10, line_length), 0); });
    const std::size_t width = 34;  // the longest name with its quotes, and a blank
    EXPECT_THAT(text, HasSubstr("\n'X01238.1/1-183'" + std::string(width - 16, ' ') + "ABCA\n"));
    EXPECT_THAT(text, HasSubstr("\n'ENSG00000108691:ENST00000580907' BCDB\n"));
    EXPECT_THAT(text, HasSubstr("\n'it''s'" + std::string(width - 7, ' ') + "CDEC\n"));
    EXPECT_THAT(text, HasSubstr("\nplain_name" + std::string(width - 10, ' ') + "DEFD\n"));
}

TEST_F(AlignmentWriter, NoColumnsStillListsTheRows) {
    Collection seqs = alignment({"a", "b"}, 0);
    const std::string clustal = written([&](Writer& w) { EXPECT_EQ(kavro::write_clustal(w, &seqs, 3), 0); });
    EXPECT_EQ(clustal.substr(clustal.find("\n\n\n") + 3), "a       \nb       \n\n\n\n\n");
    const std::string nexus = written([&](Writer& w) { EXPECT_EQ(kavro::write_nexus(w, &seqs, 3, line_length), 0); });
    EXPECT_EQ(nexus.substr(nexus.find("matrix\n") + 7), "a   \nb   \n\n;\nend;\n");
}

}  // namespace
