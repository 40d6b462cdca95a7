#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"
#include "support/feature_entries.hpp"

using testing::HasSubstr;
using testing::StartsWith;
using testing::EndsWith;
using testing::Not;

using namespace kavro;
using input_test::FormReset;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

enum class Kind { GenBank, Embl, Pir };

struct Entry {
    std::optional<SequenceRecord> rec;
    std::string err;
    std::int64_t position = 0;
};

Entry read_entry(Kind kind, const std::string& text, ResidueKind type = ResidueKind::Unknown, std::int64_t position = 0,
                 bool circular = false) {
    auto in = LineReader::from_string(text);
    Entry e;
    e.position = position;
    e.err = stderr_of([&] {
        if (kind == Kind::GenBank) e.rec = read_genbank_entry(in, e.position, type, nullptr, circular);
        if (kind == Kind::Embl) e.rec = read_embl_entry(in, e.position, type, nullptr, circular);
        if (kind == Kind::Pir) e.rec = read_pir_entry(in, e.position);
    });
    return e;
}

std::string genbank(const std::string& locus, const std::string& origin = "        1 acgtacgtac gtacgtacgt\n") {
    return kavro_test::genbank({.accession = "X00001",
                                .organism = "",
                                .locus = locus,
                                .definition = "Test entry,\n            second line.",
                                .origin = origin});
}

const std::string kHelpStart = "File format is strange. Reading might be aborted.\n\n";

TEST(GenBankEntry, HeaderDefinitionAndResidues) {
    FormReset reset;
    g_settings.form = false;
    auto e = read_entry(Kind::GenBank, genbank("ABC123        20 bp    DNA     linear   BCT 01-JAN-2000"));
    ASSERT_TRUE(e.rec) << e.err;
    EXPECT_EQ(e.rec->name, "ABC123");
    EXPECT_EQ(e.rec->definition, " Test entry,;            second line.;ACCESSION   X00001;");
    EXPECT_EQ(e.rec->residues, "ACGTACGTACGTACGTACGT");
    EXPECT_EQ(e.rec->length, 20);
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_EQ(e.rec->molecule, "DNA");
    EXPECT_EQ(e.rec->circular, 0);
    EXPECT_EQ(e.err, "");
}

TEST(GenBankEntry, CircularSwitchesFormOnlyWhileReading) {
    FormReset reset;
    g_settings.form = false;
    auto e = read_entry(Kind::GenBank, genbank("PLAS1          20 bp    DNA     circular BCT"));
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->circular, 1);
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_FALSE(g_settings.form);
    // Asked for, every entry is circular.
    e = read_entry(Kind::GenBank, genbank("LIN1          20 bp    DNA     linear BCT"), ResidueKind::Unknown, 0, true);
    EXPECT_EQ(e.rec->circular, 1);
    e = read_entry(Kind::Embl, "ID   L1 standard; DNA; PRO; 20 BP.\nSQ   Sequence\n     acgtacgtac gtacgtacgt 20\n//\n",
                   ResidueKind::Unknown, 0, true);
    ASSERT_TRUE(e.rec) << e.err;
    EXPECT_EQ(e.rec->circular, 1);
    // Restored on the null return too.
    g_settings.form = false;
    e = read_entry(Kind::GenBank, "LOCUS       C1  0 bp DNA circular\nORIGIN\n//\n");
    EXPECT_FALSE(e.rec);
    EXPECT_FALSE(g_settings.form);
}

TEST(GenBankEntry, MoleculeAndUnitRules) {
    FormReset reset;
    // mRNA is kept whole in the record and read as DNA.
    auto e = read_entry(Kind::GenBank, genbank("M1   20 bp    mRNA    linear   PRI"));
    EXPECT_EQ(e.rec->molecule, "mRNA");
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_EQ(e.err, "");
    // Protein entries.
    e = read_entry(Kind::GenBank, genbank("P1   10 aa   linear   PLN", "        1 mkvlaagiwq\n"));
    EXPECT_EQ(e.rec->type, ResidueKind::Protein);
    EXPECT_EQ(e.err, "");
    e = read_entry(Kind::GenBank, genbank("P1   10 aa   linear   PLN", "        1 mkvlaagiwq\n"), ResidueKind::Dna);
    EXPECT_EQ(e.rec->type, ResidueKind::Protein);
    EXPECT_THAT(e.err, StartsWith("      P1   10 aa   linear   PLN\n" + kHelpStart));
    EXPECT_THAT(e.err, HasSubstr(kHelpStart));
    EXPECT_THAT(e.err, EndsWith("02-DEC-2002\n\nBut we try to continue.\n\n"));
    // Unit bp with a strange molecule word, or requested as protein: help, DNA.
    e = read_entry(Kind::GenBank, genbank("D1   20 bp    dna    linear   UNK"));
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_THAT(e.err, EndsWith("But we try to continue.\n\n"));
    e = read_entry(Kind::GenBank, genbank("D1   20 bp    DNA    linear   UNK"), ResidueKind::Protein);
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_THAT(e.err, EndsWith("But we try to continue.\n\n"));
    // Neither bp nor aa: the molecule word decides, else the request.
    e = read_entry(Kind::GenBank, genbank("R1   20 xx    RNA"));
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);  // the residues read as DNA
    e = read_entry(Kind::GenBank, genbank("R1   20 xx    RNA", "        1 acguacguac guacguacgu\n"));
    EXPECT_EQ(e.rec->type, ResidueKind::Unknown);
    e = read_entry(Kind::GenBank, genbank("R1   20 xx    zzz"), ResidueKind::Rna);
    EXPECT_EQ(e.rec->type, ResidueKind::Rna);
    // "circular" as the molecule word means DNA.
    e = read_entry(Kind::GenBank, genbank("C1   20 xx    circular"));
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_EQ(e.rec->molecule, "DNA");
    // A molecule word of 28 characters or more is not kept.
    e = read_entry(Kind::GenBank, genbank("C1   20 bp    " + std::string(28, 'm')));
    EXPECT_EQ(e.rec->molecule, "");
}

TEST(GenBankEntry, NameOver99CutAfterTheHelp) {
    const std::string name(105, 'N');
    auto e = read_entry(Kind::GenBank, genbank(name + " 20 bp    DNA     linear"));
    EXPECT_EQ(e.rec->name, name.substr(0, 99));
    EXPECT_THAT(e.err, StartsWith("      " + name + " 20 bp    DNA     linear\n" + kHelpStart)) << e.err;
    EXPECT_THAT(e.err, Not(HasSubstr("But we try")));
}

TEST(GenBankEntry, LengthWarningAndEmptyEntry) {
    auto e = read_entry(Kind::GenBank, genbank("L1   25 bp    DNA"));
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.err, "Sequence length is 25 in the header of file,\nbut 20 bases were read.\n");
    // No ORIGIN: nothing, after the warning.
    e = read_entry(Kind::GenBank, "LOCUS       L1   25 bp    DNA\nCONTIG      join(A:1..25)\n//\n");
    EXPECT_FALSE(e.rec);
    EXPECT_EQ(e.err, "Sequence length is 25 in the header of file,\nbut 0 bases were read.\n");
    EXPECT_EQ(e.position, 0);
    // No LOCUS line at all: the normal end, silent.
    e = read_entry(Kind::GenBank, "\n\n");
    EXPECT_FALSE(e.rec);
    EXPECT_EQ(e.err, "");
}

TEST(GenBankEntry, EveryPieceIsTestedSoADoubleSlashPieceEndsTheEntry) {
    // A residue line of 600 characters whose second piece starts with "//".
    std::string line = std::string(512, 'a') + "//" + std::string(86, 'c') + "\n";
    auto e = read_entry(Kind::GenBank, genbank("L1   20 bp    DNA", line + "        1 gggg\n"));
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->residues, std::string(512, 'A'));
}

TEST(EntryWalk, TwoEntriesByPositionThenNull) {
    for (Kind kind : {Kind::GenBank, Kind::Embl, Kind::Pir}) {
        std::string one, two;
        if (kind == Kind::GenBank) {
            one = genbank("FIRST   20 bp DNA");
            two = genbank("SECOND   20 bp DNA", "        1 ttttt\n");
        } else if (kind == Kind::Embl) {
            one = "ID   FIRST standard; DNA; PRO; 20 BP.\nSQ   Sequence 20 BP;\n     acgtacgtac gtacgtacgt 20\n//\n";
            two = "ID   SECOND standard; DNA; PRO; 5 BP.\nSQ   Sequence\n     ttttt\n//\n";
        } else {
            one = "ENTRY      FIRST\nTITLE  t1\nSEQUENCE\n  1 A C G T\n///\n";
            two = "ENTRY      SECOND\nSEQUENCE\n  1 T T T T T\n///\n";
        }
        std::string text = one + two + "\n";
        auto in = LineReader::from_string(text);
        std::int64_t pos = 0;
        std::optional<SequenceRecord> a, b, c;
        std::string e = stderr_of([&] {
            auto read = [&](std::int64_t& p) {
                if (kind == Kind::GenBank) return read_genbank_entry(in, p, kavro::ResidueKind::Unknown);
                if (kind == Kind::Embl) return read_embl_entry(in, p, kavro::ResidueKind::Unknown);
                return read_pir_entry(in, p);
            };
            a = read(pos);
            EXPECT_EQ(pos, static_cast<std::int64_t>(one.size()));
            b = read(pos);
            EXPECT_EQ(pos, static_cast<std::int64_t>(one.size() + two.size()));
            c = read(pos);
        });
        ASSERT_TRUE(a);
        ASSERT_TRUE(b);
        EXPECT_EQ(a->name, "FIRST");
        EXPECT_EQ(b->name, "SECOND");
        EXPECT_EQ(b->residues.substr(0, 4), "TTTT");
        EXPECT_FALSE(c);
        // Reading the first entry again from its position gives it again.
        pos = 0;
        stderr_of([&] {
            auto again = kind == Kind::Pir ? read_pir_entry(in, pos) : kind == Kind::Embl ? read_embl_entry(in, pos, kavro::ResidueKind::Unknown)
                                                                                           : read_genbank_entry(in, pos, kavro::ResidueKind::Unknown);
            ASSERT_TRUE(again);
            EXPECT_EQ(again->residues, a->residues);
        });
    }
}

TEST(EntryWalk, BadPositionIsASeekError) {
    for (Kind kind : {Kind::GenBank, Kind::Embl, Kind::Pir}) {
        auto e = read_entry(kind, "anything\n", ResidueKind::Unknown, -5);
        EXPECT_FALSE(e.rec);
        EXPECT_EQ(e.err, "File seek error.\n");
    }
}

TEST(EmblEntry, Layouts) {
    FormReset reset;
    g_settings.form = false;
    const std::string body = "AC   X1;\nDE   A test entry\nOS   Homo sapiens\nKW   skipped\nSQ   Sequence\n     acgtacgtac gtacgtacgt 20\n//\n";
    // SV layout: the molecule word decides the type.
    auto e = read_entry(Kind::Embl, "ID   X56734; SV 1; linear; mRNA; STD; PLN; 20 BP.\n" + body);
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->name, "X56734");
    EXPECT_EQ(e.rec->type, ResidueKind::Rna);
    EXPECT_EQ(e.rec->definition, "AC   X1;;A test entry;Homo sapiens;");
    EXPECT_EQ(e.rec->residues, "ACGTACGTACGTACGTACGT");
    EXPECT_EQ(e.err, "");
    e = read_entry(Kind::Embl, "ID   AE017046; SV 1; circular; genomic DNA; STD; PRO; 20 BP.\n" + body, ResidueKind::Protein);
    EXPECT_EQ(e.rec->type, ResidueKind::Dna);
    EXPECT_EQ(e.rec->circular, 1);
    EXPECT_FALSE(g_settings.form);
    EXPECT_EQ(e.err, "");
    // Old layout: molecule kept, type as requested.
    e = read_entry(Kind::Embl, "ID   SC10H5 standard; DNA; PRO; 20 BP.\n" + body);
    EXPECT_EQ(e.rec->molecule, "DNA");
    EXPECT_EQ(e.rec->type, ResidueKind::Unknown);
    EXPECT_EQ(e.err, "");
    e = read_entry(Kind::Embl, "ID   PBR322 standard; circular DNA; SYN; 20 BP.\n" + body);
    EXPECT_EQ(e.rec->circular, 1);
    EXPECT_EQ(e.err, "");
    // UniProt: protein whatever was requested.
    e = read_entry(Kind::Embl, "ID   O23729_BRACA   Reviewed;   20 AA.\n" + body, ResidueKind::Dna);
    EXPECT_EQ(e.rec->name, "O23729_BRACA");
    EXPECT_EQ(e.rec->type, ResidueKind::Protein);
    EXPECT_EQ(e.err, "");
    // SwissProt.
    e = read_entry(Kind::Embl, "ID   100K_RAT  STANDARD;  PRT;   20 AA.\n" + body);
    EXPECT_EQ(e.rec->molecule, "PRT");
    EXPECT_EQ(e.err, "");
}

TEST(EmblEntry, StrangeIdLines) {
    const std::string body = "SQ   Sequence\n     acgt\n//\n";
    auto e = read_entry(Kind::Embl, "ID   100K_RAT  STANDARD;  PRT;   4 AA.\n" + body, ResidueKind::Dna);
    EXPECT_FALSE(e.rec);
    EXPECT_THAT(e.err, StartsWith("This is a protein sequence.\n" + kHelpStart));
    e = read_entry(Kind::Embl, "ID   X1 standard; XXX; UNC; 4 BP.\n" + body);
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.err, "\nStrange ID line, but we continue.\n  X1 standard  XXX  UNC  4 BP.\n\n");
    e = read_entry(Kind::Embl, "ID   AE000001;\n" + body);
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->name, "AE000001");
    EXPECT_THAT(e.err, StartsWith(kHelpStart));
    EXPECT_THAT(e.err, HasSubstr("\nStrange ID line, but we continue.\n  AE000001 \n\n"));
    EXPECT_THAT(e.err, EndsWith("Sequence length is 0 in the header of file,\nbut 4 bases were read.\n"));
    // A name over 99 characters is cut to 99 after the help.
    const std::string name(100, 'I');
    e = read_entry(Kind::Embl, "ID   " + name + "  IPI;  PRT;  4 AA.\n" + body);
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->name, name.substr(0, 99));
    EXPECT_THAT(e.err, StartsWith("\n  " + name + "  IPI   PRT   4 AA.\n\n" + kHelpStart));
    EXPECT_THAT(e.err, EndsWith("But we continue.\n"));
}

TEST(PirEntry, TitleSequenceAndFailures) {
    auto e = read_entry(Kind::Pir, "\\\\\\\nENTRY   CCHU  #type complete\nTITLE   cytochrome c\nDATE   x\nSEQUENCE\n    5   10\n  1 G D V E K\n///\n", ResidueKind::Dna);
    ASSERT_TRUE(e.rec);
    EXPECT_EQ(e.rec->name, "CCHU");
    EXPECT_EQ(e.rec->definition, "  cytochrome c;DATE   x;");
    EXPECT_EQ(e.rec->residues, "GDVEK");
    EXPECT_EQ(e.rec->type, ResidueKind::Protein);
    EXPECT_FALSE(read_entry(Kind::Pir, "ENTRY   CCHU\nTITLE  no sequence\n///\n").rec);
    EXPECT_FALSE(read_entry(Kind::Pir, "ENTRY   \nSEQUENCE\n G D\n///\n").rec);
    const std::string name(101, 'P');
    e = read_entry(Kind::Pir, "ENTRY   " + name + "\nSEQUENCE\n G D\n///\n");
    EXPECT_EQ(e.rec->name, name.substr(0, 99));
    EXPECT_EQ(e.err, "File format is strange. But we continue.\n  " + name + "\n");
}

}  // namespace
