// The edge cases every reader shares: empty input, no final newline, CRLF
// line ends, a line longer than a piece, a stray NUL byte, binary garbage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "input/all_readers.hpp"
#include "input/input_test_util.hpp"

using testing::HasSubstr;

using namespace input_test;

namespace {

// A small valid input per reader; "@" marks a spot inside residue text.
struct Sample {
    Reader reader;
    std::string text;
    bool nul_dropped;  // a NUL in residue text is dropped like any control
};

const std::vector<Sample>& samples() {
    static const std::vector<Sample> s = {
        // Format detection refuses a file with a NUL in its first block: binary.
        {Reader::Detect, ">s1 x\nAC@GT\n", false},
        {Reader::Raw, "ACGT\nAC@GT\n", true},
        {Reader::Fasta, ">s1 x\nACGT\nAC@GT\n", true},
        {Reader::Nbrf, "CODE  P1\nNAME  a protein\nSEQUENCE\n  1 M K @V L\nEND\n", true},
        {Reader::MultiFasta, ">s1 x\nACGT\nAC@GT\n>s2\nGGGG\n", true},
        // A NUL inside a CLUSTAL residue word is a strange character.
        {Reader::Clustal, "CLUSTAL W multiple sequence alignment\n\nseqA            AC-GT\nseqB            AC@GTT\n\n", false},
        {Reader::Phylip, " 2 12 I\nseqA  ACGTAC\nseqB  ACG@TAC\n\nACGTAC\nACGTAC\n", true},
        {Reader::GenBank,
         "LOCUS       ABC   8 bp    DNA   BCT\nDEFINITION  d.\nORIGIN\n        1 acgt@acgt\n//\n"
         "LOCUS       DEF   4 bp    DNA   BCT\nORIGIN\n        1 tttt\n//\n",
         true},
        {Reader::Embl,
         "ID   ABC standard; DNA; PRO; 8 BP.\nDE   d.\nSQ   Sequence\n     acgt@acgt\n//\n"
         "ID   DEF standard; DNA; PRO; 4 BP.\nSQ   Sequence\n     tttt\n//\n",
         true},
        {Reader::Pir, "ENTRY   P1\nTITLE  t\nSEQUENCE\n  1 M K @V L\n///\nENTRY   P2\nSEQUENCE\n  1 A A\n///\n", true},
    };
    return s;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}

Outcome run_text(Reader reader, const std::string& text) {
    TempFile f(text);
    Outcome o;
    stderr_of([&] { o = run_reader(reader, f.path()); });
    if (reader == Reader::Raw) o.names.clear();  // the raw reader names the record after its file
    return o;
}

class SharedEdges : public ::testing::TestWithParam<Sample> {
protected:
    const Sample& sample() const { return GetParam(); }
    std::string base() const { return replace_all(sample().text, "@", ""); }
};

TEST_P(SharedEdges, ValidSampleReads) {
    Outcome o = run_text(sample().reader, base());
    EXPECT_TRUE(o.ok);
    if (sample().reader == Reader::Detect) {
        EXPECT_EQ(o.code, kavro::SeqFormat::Fasta);
    }
}

TEST_P(SharedEdges, EmptyInputEndsCleanly) {
    Outcome o = run_text(sample().reader, "");
    switch (sample().reader) {
        case Reader::Raw:
        case Reader::Fasta:
        case Reader::Nbrf:
            ASSERT_TRUE(o.ok);  // a record without residues; the caller decides
            EXPECT_EQ(o.residues[0], "");
            break;
        case Reader::MultiFasta:
            EXPECT_TRUE(o.ok);
            EXPECT_TRUE(o.residues.empty());
            break;
        default: EXPECT_FALSE(o.ok);
    }
}

TEST_P(SharedEdges, NoFinalNewlineReadsTheSame) {
    std::string text = base();
    text.pop_back();
    Outcome a = run_text(sample().reader, base()), b = run_text(sample().reader, text);
    EXPECT_EQ(a.ok, b.ok);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.names, b.names);
    EXPECT_EQ(a.residues, b.residues);
}

TEST_P(SharedEdges, CrLfLineEndsReadTheSame) {
    Outcome a = run_text(sample().reader, base()), b = run_text(sample().reader, replace_all(base(), "\n", "\r\n"));
    EXPECT_EQ(a.ok, b.ok);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.names, b.names);
    EXPECT_EQ(a.residues, b.residues);
}

TEST_P(SharedEdges, LineLongerThanAPieceIsSafe) {
    std::string text = replace_all(sample().text, "@", std::string(600, 'A'));
    Outcome o = run_text(sample().reader, text);
    // Readers that take residue text whatever the line length keep all of it.
    switch (sample().reader) {
        case Reader::Raw:
        case Reader::Fasta:
        case Reader::MultiFasta:
        case Reader::GenBank:
        case Reader::Embl:
            ASSERT_TRUE(o.ok);
            EXPECT_THAT(o.residues[0], HasSubstr(std::string(600, 'A')));
            break;
        default: break;
    }
}

TEST_P(SharedEdges, StrayNulByte) {
    Outcome a = run_text(sample().reader, base());
    Outcome b = run_text(sample().reader, replace_all(sample().text, "@", std::string(1, '\0')));
    if (sample().nul_dropped) {
        EXPECT_EQ(a.ok, b.ok);
        EXPECT_EQ(a.residues, b.residues);
    } else {
        EXPECT_FALSE(b.ok);
    }
}

TEST_P(SharedEdges, BinaryGarbageEndsCleanly) {
    std::mt19937 rng(20240601u + static_cast<unsigned>(sample().reader));
    for (int round = 0; round < 3; ++round) {
        std::string junk(4000 + 3000 * round, '\0');
        for (char& c : junk) c = static_cast<char>(rng() & 0xFF);
        run_text(sample().reader, junk);
        run_text(sample().reader, base() + junk);
        run_text(sample().reader, junk + base());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReader, SharedEdges, ::testing::ValuesIn(samples()),
                         [](const ::testing::TestParamInfo<Sample>& info) { return reader_name(info.param.reader); });

}  // namespace
