#include <gtest/gtest.h>

#include <random>

#include "core/sequence.hpp"
#include "support/run_kavro.hpp"
#include "support/records.hpp"

namespace {

using namespace kavro;

SequenceRecord make(std::string name, std::string residues, std::string definition = "def") {
    return kavro_test::make_record(name, residues, kavro::ResidueKind::Unknown, definition);
}

kavro::ResidueKind type_of(const std::string& residues) { return classify_residues(make("x", residues)); }

TEST(SeqClassify, Thresholds) {
    EXPECT_EQ(type_of("ACGTACGT"), ResidueKind::Dna);
    EXPECT_EQ(type_of("ACGUACGU"), ResidueKind::Rna);
    EXPECT_EQ(type_of("acgu-acgu"), ResidueKind::Rna);
    EXPECT_EQ(type_of("MKVLAAGIW"), ResidueKind::Protein);
    EXPECT_EQ(type_of("ACGTNNNNRY"), ResidueKind::Dna);
    EXPECT_EQ(type_of("ACGTACGTACGTACGTACGE"), ResidueKind::Dna);     // 19 of 20: exactly 95 %
    EXPECT_EQ(type_of("ACGTACGTACGTACGTACGEE"), ResidueKind::Protein); // 19 of 21
    EXPECT_EQ(type_of("MKUVLUW"), ResidueKind::Unknown);              // two U, neither 95 % test
    EXPECT_EQ(type_of("MKUVLW"), ResidueKind::Protein);               // a single U is a protein
    EXPECT_EQ(type_of("ACGUNNNNRY"), ResidueKind::Rna);               // the RNA 95 % test comes first
    EXPECT_EQ(type_of("--12**"), ResidueKind::Dna);                   // no counted letter at all
    EXPECT_EQ(type_of(""), ResidueKind::Unknown);
}

TEST(SeqClassify, OnlyTheFirstLengthResiduesCount) {
    SequenceRecord r = make("x", "ACGTMKVLW");
    r.length = 4;
    EXPECT_EQ(classify_residues(r), ResidueKind::Dna);
    r.length = 0;
    EXPECT_EQ(classify_residues(r), ResidueKind::Unknown);
}

TEST(SeqClassify, NullRecordIsRefusedWithItsMessage) {
    kavro_test::CaptureConsole cap;
    EXPECT_EQ(classify_residues(nullptr), ResidueKind::Unknown);
    EXPECT_EQ(cap.err(), "This is not a valid sequence in c_comp.\n");
}

TEST(SeqComposition, SlotsAndResults) {
    Composition comp;
    zero_composition(comp);
    EXPECT_EQ(count_composition(nullptr, 3, comp), 1);
    EXPECT_EQ(count_composition("", 3, comp), 2);
    EXPECT_EQ(count_composition("ACGT", 0, comp), 2);
    EXPECT_EQ(count_composition("aAyB-1 \n\x01", 10, comp), 0);
    EXPECT_EQ(comp[1], 2);   // A, a
    EXPECT_EQ(comp[22], 1);  // y
    EXPECT_EQ(comp[0], 4);   // B, "-", "1", " "; control characters nowhere
    long total = 0;
    for (long c : comp) total += c;
    EXPECT_EQ(total, 7);
    SequenceRecord r = make("x", "MKV");
    EXPECT_EQ(count_seq_composition(&r, comp), 0);
    EXPECT_EQ(comp[composition_slot('M')], 1);
    EXPECT_EQ(count_seq_composition(nullptr, comp), 1);
    r.length = 0;
    EXPECT_EQ(count_seq_composition(&r, comp), 2);
}

TEST(SeqComplement, EveryLetterOfBothTables) {
    const std::string source = "*ACDGHKMNRSTUWYBV";
    std::string dna, rna, lower;
    for (char c : source) {
        dna += complement_base(c, false);
        rna += complement_base(c, true);
        lower += complement_base(static_cast<char>(c == '*' ? c : c + 32), false);
    }
    EXPECT_EQ(dna, "*TGHCDMKNYSAAWRVB");
    EXPECT_EQ(rna, "*UGHCDMKNYSAAWRVB");
    EXPECT_EQ(lower, dna);
    for (char c : std::string("EFIJLOPQXZ-.0 \n")) EXPECT_EQ(complement_base(c, false), '*') << c;
    EXPECT_EQ(complement_base('\x80', true), '*');
    EXPECT_EQ(complement_base('\0', true), '*');
}

TEST(SeqComplement, BlocksAgreeWithTheLetterTable) {
    // Lengths around the 16-byte blocks taken from both ends; texts of the
    // common letters only, with now and then any other byte.
    std::mt19937 rng(5);
    const std::string common = "ACGTUNacgtun";
    for (const std::size_t size : {0UL, 1UL, 15UL, 16UL, 31UL, 32UL, 33UL, 63UL, 64UL, 65UL, 1000UL, 4099UL}) {
        for (const bool rna : {false, true}) {
            for (const unsigned stray_per_mille : {0U, 5U, 300U}) {
                std::string text(size, 'A');
                for (char& c : text)
                    c = rng() % 1000 < stray_per_mille ? static_cast<char>(rng() % 256) : common[rng() % common.size()];
                std::string expected;
                for (auto it = text.rbegin(); it != text.rend(); ++it) expected += complement_base(*it, rna);
                reverse_complement_text(text, rna);
                ASSERT_EQ(text, expected) << size << (rna ? " RNA " : " DNA ") << stray_per_mille;
            }
        }
    }
}

TEST(SeqComplement, ReverseComplementAndNames) {
    SequenceRecord r = make("s1", "aacgt", "my gene");
    r.type = ResidueKind::Unknown;
    ASSERT_EQ(complement_seq(r), 0);
    EXPECT_EQ(r.residues, "ACGTT");
    EXPECT_EQ(r.name, "s1_C");
    EXPECT_EQ(r.definition, "my gene;Complementary for: s1.");
    EXPECT_EQ(r.length, 5);
    EXPECT_EQ(r.type, ResidueKind::Unknown);  // type is left alone

    SequenceRecord u = make("r", "acgu");
    ASSERT_EQ(complement_seq(u), 0);
    EXPECT_EQ(u.residues, "ACGU");

    SequenceRecord odd = make("o", "AAC-GTT");  // odd length, gap in the middle
    ASSERT_EQ(complement_seq(odd), 0);
    EXPECT_EQ(odd.residues, "AAC*GTT");
    SequenceRecord mid = make("m", "ACGTA");
    ASSERT_EQ(complement_seq(mid), 0);
    EXPECT_EQ(mid.residues, "TACGT");
    SequenceRecord one = make("m", "G");
    ASSERT_EQ(complement_seq(one), 0);
    EXPECT_EQ(one.residues, "C");
}

TEST(SeqComplement, RefusalsChangeNothing) {
    kavro_test::CaptureConsole cap;
    SequenceRecord p = make("prot", "MKVLAAGIW");
    EXPECT_EQ(complement_seq(p), 1);
    EXPECT_EQ(p.residues, "MKVLAAGIW");
    EXPECT_EQ(p.name, "prot");
    SequenceRecord shorter = make("bad", "ACGTACGT");
    shorter.length = 6;
    EXPECT_EQ(complement_seq(shorter), 1);
    SequenceRecord longer = make("bad2", "ACGT");
    longer.length = 9;
    EXPECT_EQ(complement_seq(longer), 1);
    EXPECT_EQ(longer.residues, "ACGT");
    EXPECT_EQ(longer.name, "bad2");
    EXPECT_EQ(cap.err(),
              "This is not a nucleic acid sequence: prot.\n"
              "Error in sequence file: bad.\n"
              "Error in sequence file: bad2.\n");
}

TEST(SeqGaps, ClearGaps) {
    SequenceRecord r = make("g", "ac-g t*");
    ASSERT_EQ(clear_gaps(r), 0);
    EXPECT_EQ(r.residues, "ACGT");
    EXPECT_EQ(r.length, 4);

    kavro_test::CaptureConsole cap;
    SequenceRecord bad = make("g", "ACGTAC");
    bad.length = 3;
    EXPECT_EQ(clear_gaps(bad), 1);
    EXPECT_EQ(bad.length, 3);
    EXPECT_EQ(cap.err(), "Error in sequence length.\n6,3");
}

TEST(SeqCopy, HeaderAndFullCopies) {
    SequenceRecord r = make("n", "ACGTACGTAC", "d");
    r.type = ResidueKind::Dna;
    r.circular = 1;
    r.set_accession("AB000001");
    r.set_organism("Homo sapiens");
    r.set_molecule("mRNA");
    SequenceRecord h = copy_record_header(r);
    EXPECT_EQ(h.name, "n");
    EXPECT_EQ(h.definition, "d");
    EXPECT_EQ(h.accession, "AB000001");
    EXPECT_EQ(h.organism, "Homo sapiens");
    EXPECT_EQ(h.molecule, "");
    EXPECT_EQ(h.residues, "");
    EXPECT_EQ(h.length, 10);
    EXPECT_EQ(h.type, ResidueKind::Dna);
    EXPECT_EQ(h.circular, 1);

    SequenceRecord full = copy_record(r);
    EXPECT_EQ(full.residues, "ACGTACGTAC");
    full.residues[0] = 'T';
    EXPECT_EQ(r.residues[0], 'A');
}

TEST(SeqJoinCut, AppendAndCut) {
    SequenceRecord a = make("a", "ACG");
    SequenceRecord b = make("b", "TT");
    ASSERT_EQ(append_residues(a, b), 0);
    EXPECT_EQ(a.residues, "ACGTT");
    EXPECT_EQ(a.length, 5);
    SequenceRecord none = make("z", "");
    ASSERT_EQ(append_residues(a, none), 0);
    EXPECT_EQ(a.length, 5);

    ASSERT_EQ(cut_residues(a, -3, 99), 0);  // both ends brought inside
    EXPECT_EQ(a.residues, "ACGTT");
    ASSERT_EQ(cut_residues(a, 2, 3), 0);
    EXPECT_EQ(a.residues, "CG");
    EXPECT_EQ(a.length, 5);  // left to the caller

    kavro_test::CaptureConsole cap;
    SequenceRecord c = make("c", "ACGT");
    EXPECT_EQ(cut_residues(c, 5, 9), 1);
    EXPECT_EQ(cut_residues(c, 3, 2), 1);
    EXPECT_EQ(c.residues, "ACGT");
    EXPECT_EQ(cap.err(), "Error of extraction positions: 5, 9\nError of extraction positions: 3, 2\n");
}

TEST(SeqExtract, StretchAndDefinition) {
    SequenceRecord r = make("n", "ACGTACGTAC", "my def");
    r.type = ResidueKind::Dna;
    r.circular = 1;
    r.set_accession("X1");
    std::optional<SequenceRecord> part = extract_seq(r, 3, 100);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->residues, "GTACGTAC");
    EXPECT_EQ(part->length, 8);
    EXPECT_EQ(part->definition, "my def_Extracted from 3 to 10; ");
    EXPECT_EQ(part->name, "n");
    EXPECT_EQ(part->type, ResidueKind::Dna);
    EXPECT_EQ(part->circular, 0);
    EXPECT_EQ(part->accession, "");

    part = extract_seq(r, -5, 2);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->residues, "AC");
    EXPECT_EQ(part->definition, "my def_Extracted from 1 to 2; ");

    kavro_test::CaptureConsole cap;
    EXPECT_FALSE(extract_seq(r, 11, 12));
    EXPECT_FALSE(extract_seq(r, 4, 3));
    EXPECT_EQ(cap.err(), "Error of extraction positions: 11, 12\nError of extraction positions: 4, 3\n");
}

TEST(SeqPlaceholder, EmptySlot) {
    SequenceRecord p = new_placeholder_seq();
    EXPECT_EQ(p.length, 1);
    EXPECT_EQ(p.type, ResidueKind::Unknown);
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.residues, "");
    EXPECT_EQ(p.accession, "");
}

}  // namespace
