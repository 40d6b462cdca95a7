#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/conversions.hpp"
#include "core/settings.hpp"
#include "core/console.hpp"
#include "support/run_kavro.hpp"
#include "support/records.hpp"

using testing::HasSubstr;

using kavro::Collection;
using kavro::SequenceRecord;

namespace {

SequenceRecord record(const std::string& name, const std::string& residues, kavro::ResidueKind type) {
    return kavro_test::make_record(name, residues, type, " def");
}

Collection collection(std::size_t n, const std::string& residues, kavro::ResidueKind type) {
    Collection c;
    for (std::size_t i = 0; i < n; ++i) c.push_back(record("s" + std::to_string(i), residues, type));
    return c;
}

TEST(ToRnaToDna, UpperCaseLettersAndSwapTAndU) {
    auto r = record("s1", "acgtTn-*Rx9", kavro::ResidueKind::Dna);
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::to_rna(r), 0);
    EXPECT_EQ(r.residues, "ACGUUN-*RX9");
    EXPECT_EQ(r.length, 11);
    EXPECT_EQ(r.type, kavro::ResidueKind::Rna);
    EXPECT_EQ(r.name, "s1_RNA");
    EXPECT_EQ(r.definition, " def; Converted to RNA.");
    EXPECT_EQ(console.err(), "");

    EXPECT_EQ(kavro::to_dna(r), 0);
    EXPECT_EQ(r.residues, "ACGTTN-*RX9");
    EXPECT_EQ(r.type, kavro::ResidueKind::Dna);
    EXPECT_EQ(r.name, "s1_RNA_DNA");
    EXPECT_EQ(r.definition, " def; Converted to RNA.; Converted to DNA.");
}

TEST(ToRnaToDna, RefuseTheWrongTypeAndLeaveTheRecordAlone) {
    kavro_test::CaptureConsole console;
    for (kavro::ResidueKind type : {kavro::ResidueKind::Unknown, kavro::ResidueKind::Rna, kavro::ResidueKind::Protein}) {
        auto r = record("x", "acgt", type);
        EXPECT_EQ(kavro::to_rna(r), 1);
        EXPECT_EQ(r.residues, "acgt");
        EXPECT_EQ(r.name, "x");
    }
    auto d = record("y", "acgu", kavro::ResidueKind::Dna);
    EXPECT_EQ(kavro::to_dna(d), 1);
    EXPECT_EQ(d.residues, "acgu");
    EXPECT_EQ(console.err(), "This is not DNA.\nThis is not DNA.\nThis is not DNA.\nThis is not RNA.\n");
}

TEST(BatchConversions, MarkRecordsZeroTenTwentyAndEndWithANewline) {
    auto seqs = collection(21, "acgt", kavro::ResidueKind::Dna);
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::to_rna_all(seqs), 0);
    EXPECT_EQ(console.out(), "\b.\b.\b.\n");
    EXPECT_EQ(console.err(), "");
    for (const auto& r : seqs) EXPECT_EQ(r.residues, "ACGU");

    EXPECT_EQ(kavro::to_dna_all(seqs), 0);
    for (const auto& r : seqs) {
        EXPECT_EQ(r.residues, "ACGT");
        EXPECT_EQ(r.type, kavro::ResidueKind::Dna);
    }
}

TEST(BatchConversions, MarksGoToStandardErrorWhileDataGoesToStandardOutput) {
    auto seqs = collection(2, "acgt", kavro::ResidueKind::Dna);
    kavro_test::CaptureConsole console;
    kavro::set_messages_to_stderr(true);
    EXPECT_EQ(kavro::to_rna_all(seqs), 0);
    kavro::set_messages_to_stderr(false);
    EXPECT_EQ(console.out(), "");
    EXPECT_EQ(console.err(), "\b.\n");
}

TEST(BatchConversions, StopAtTheFirstFailure) {
    Collection seqs = {record("a", "acgt", kavro::ResidueKind::Dna), record("b", "acgu", kavro::ResidueKind::Rna),
                       record("c", "acgt", kavro::ResidueKind::Dna)};
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::to_rna_all(seqs), 1);
    EXPECT_EQ(seqs[0].residues, "ACGU");
    EXPECT_EQ(seqs[2].residues, "acgt");
    EXPECT_THAT(console.err(), HasSubstr("This is not DNA.\n"));
}

TEST(BatchConversions, TouchEveryRecordOfTheCollection) {
    auto seqs = collection(3, "acgt", kavro::ResidueKind::Dna);
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::to_rna_all(seqs), 0);
    EXPECT_EQ(seqs[2].residues, "ACGU");
    EXPECT_EQ(kavro::to_dna_all(seqs), 0);
    EXPECT_EQ(seqs[2].residues, "ACGT");
}

TEST(BatchConversions, ComplementAndClearGapsWorkRecordByRecord) {
    Collection seqs = {record("s1", "aacgt", kavro::ResidueKind::Dna), record("s2", "ac-g t*", kavro::ResidueKind::Dna)};
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::clear_gaps_all(seqs), 0);
    EXPECT_EQ(seqs[1].residues, "ACGT");
    EXPECT_EQ(seqs[1].length, 4);
    EXPECT_EQ(kavro::complement_all(seqs), 0);
    EXPECT_EQ(seqs[0].residues, "ACGTT");
    EXPECT_EQ(seqs[0].name, "s1_C");
    EXPECT_EQ(seqs[1].residues, "ACGT");
}

TEST(BatchConversions, ComplementNamesTheRecordItCannotTurn) {
    Collection seqs = {record("p1", "MKVLAAGIW", kavro::ResidueKind::Protein)};
    kavro_test::CaptureConsole console;
    EXPECT_EQ(kavro::complement_all(seqs), 1);
    EXPECT_THAT(console.err(), HasSubstr("Error in converting to complementary in sequence: p1.\n"));
    EXPECT_EQ(seqs[0].residues, "MKVLAAGIW");
}

}  // namespace
