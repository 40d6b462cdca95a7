#include "output/fasta_writer.hpp"

#include <gtest/gtest.h>

#include <random>

#include "core/console.hpp"
#include "output/output_test_support.hpp"

namespace {

using kavro::Collection;
using kavro::SequenceRecord;
using kavro::Writer;
using output_test::record;
using output_test::written;

class FastaWriter : public ::testing::Test {
protected:
    int line_length = 75;  // the residue line length handed to the writers

    std::string entry(SequenceRecord& rec, bool with_def = true, char sep = '_', int* result = nullptr) {
        return written([&](Writer& w) {
            int r = kavro::write_fasta_entry(w, rec, with_def, sep, line_length);
            if (result) *result = r;
        });
    }
};

TEST_F(FastaWriter, BreaksLinesAndEndsWithOneOrTwoEmptyLines) {
    line_length = 75;
    const std::string a75(75, 'A'), c75(75, 'C');
    auto r150 = record("s", a75 + c75);
    EXPECT_EQ(entry(r150, false), ">s\n" + a75 + "\n" + c75 + "\n\n\n");
    auto r151 = record("s", a75 + c75 + "G");
    EXPECT_EQ(entry(r151, false), ">s\n" + a75 + "\n" + c75 + "\nG\n\n");
    auto r10 = record("s", "ACGTACGTAC");
    EXPECT_EQ(entry(r10, false), ">s\nACGTACGTAC\n\n");
    auto empty = record("s", "");
    EXPECT_EQ(entry(empty, false), ">s\n\n\n");

    line_length = 4;
    auto r9 = record("s", "ACGTACGTA");
    EXPECT_EQ(entry(r9, false), ">s\nACGT\nACGT\nA\n\n");
    line_length = 0;  // cannot be set, but must not divide by zero
    auto r3 = record("s", "ACG");
    EXPECT_EQ(entry(r3, false), ">s\nA\nC\nG\n\n\n");
}

// Name bytes are data: a UTF-8 name stays whole; a name with nothing to
// write gets a placeholder, never an empty header.
TEST_F(FastaWriter, NamesKeepTheirBytesAndNeverGoEmpty) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"P\xC3\xA9rez_1", ">P\xC3\xA9rez_1\nACGT\n\n"}, {"\xC3\xA9", ">\xC3\xA9\nACGT\n\n"},
        {"a\tb", ">ab\nACGT\n\n"}, {"\x01", ">unnamed\nACGT\n\n"}, {"", ">unnamed\nACGT\n\n"}};
    for (const auto& [name, expected] : cases) {
        SequenceRecord rec = record(name, "ACGT");
        EXPECT_EQ(entry(rec, false), expected);
    }
}

TEST_F(FastaWriter, HeaderSeparatorAndDefinitionRules) {
    auto rec = record("s1", "AC", "test");
    EXPECT_EQ(entry(rec, true, '_'), ">s1_test\nAC\n\n");
    EXPECT_EQ(entry(rec, true, ' '), ">s1 test\nAC\n\n");
    EXPECT_EQ(entry(rec, false, '_'), ">s1\nAC\n\n");
    rec.definition = " test";  // a leading blank takes the separator's place
    EXPECT_EQ(entry(rec, true, '_'), ">s1 test\nAC\n\n");
    rec.definition = "";
    EXPECT_EQ(entry(rec, true, '_'), ">s1\nAC\n\n");
    rec.definition = "\rtest";
    EXPECT_EQ(entry(rec, true, '_'), ">s1test\nAC\n\n");
    rec.definition = "one\ntwo\nthree\n";
    EXPECT_EQ(entry(rec, true, '_'), ">s1_one;two;three;\nAC\n\n");
    rec.definition = "\n";  // a lone newline is dropped, no separator either
    EXPECT_EQ(entry(rec, true, '_'), ">s1\nAC\n\n");
    // Comment lines under a bare header: the name stays apart from them.
    rec.definition = "\n;c1\n";
    EXPECT_EQ(entry(rec, true, ' '), ">s1 ;;c1;\nAC\n\n");
    rec.name = "s\x01" "1\t";
    rec.definition = "a\tb\x7f" "c";
    EXPECT_EQ(entry(rec, true, '_'), ">s1_abc\nAC\n\n");
}

TEST_F(FastaWriter, NewlinesAndControlCharactersInResidues) {
    line_length = 10;
    // A newline off a break position is written, counted and becomes "-".
    auto rec = record("s", "AC\nGT");
    int result = -1;
    EXPECT_EQ(entry(rec, false, '_', &result), ">s\nAC\nGT\n\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(rec.residues, "AC-GT");

    // At a break position the break is the newline: written once, counted
    // and replaced; a skipped control character still counts for j.
    line_length = 3;
    auto odd = record("s", "AB\x01" "CD\nEFG");
    odd.length = 8;
    EXPECT_EQ(entry(odd, false, '_', &result), ">s\nAB\nCD\nEFG\n\n\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(odd.residues, "AB\x01" "CD-EFG");
}

// The rules one character at a time, to hold the run-based writer against.
std::string reference_residues(std::string res, std::size_t line, long* count) {
    std::string out;
    *count = 0;
    for (std::size_t j = 0; j < res.size(); ++j) {
        char c = res[j];
        if (c >= 0x20 && c < 0x7f) {
            out += c;
            ++*count;
        }
        if ((j + 1) % line == 0) {
            out += '\n';
            if (c == '\n') ++*count;
        } else if (c == '\n') {
            out += '\n';
            ++*count;
        }
    }
    return out;
}

TEST_F(FastaWriter, RunWritingMatchesTheCharacterRules) {
    std::mt19937 rng(7);
    const std::string alphabet = "ACGTNacgtn-*\n\t\x01\x80\xff";
    for (int line : {1, 2, 3, 7, 60, 75, 200}) {
        line_length = line;
        for (int round = 0; round < 30; ++round) {
            // Clean texts (written line by line), rare and frequent faults;
            // some lengths a multiple of the line length.
            const unsigned per_mille = round % 3 == 0 ? 0 : round % 3 == 1 ? 3 : 100;
            std::string res(round % 5 == 0 ? line * (1 + rng() % 5) : rng() % 700, 'A');
            for (char& c : res) {
                unsigned pick = rng() % 1000;
                c = pick >= per_mille ? "ACGT"[pick % 4] : alphabet[rng() % alphabet.size()];
            }
            long count = 0;
            std::string expect = ">s\n" + reference_residues(res, static_cast<std::size_t>(line), &count) + "\n\n";
            auto rec = record("s", res);
            rec.length = count;
            int result = -1;
            ASSERT_EQ(entry(rec, false, '_', &result), expect) << "line " << line << " round " << round;
            ASSERT_EQ(result, 0);
        }
    }
}

TEST_F(FastaWriter, LengthMismatchAndNullRecord) {
    kavro_test::CaptureConsole console;
    auto rec = record("s", "ACGT");
    rec.length = 5;
    int result = -1;
    EXPECT_EQ(entry(rec, false, '_', &result), ">s\nACGT");
    EXPECT_EQ(result, 3);
    EXPECT_EQ(console.err(), "Error in sequence length.\n");

    std::string text = written([&](Writer& w) { result = kavro::write_fasta_entry(w, nullptr, true, '_', line_length); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(text, "");
    EXPECT_EQ(console.err(), "Error in sequence length.\nEmpty sequence.\n");
}

TEST_F(FastaWriter, FileWrapperAppendsAndReports) {
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    auto a = record("a", "AC", "first");
    auto b = record("b", "GT");
    EXPECT_EQ(kavro::write_fasta_file(dir / "out.fa", &a, true, ' ', line_length), 0);
    EXPECT_EQ(kavro::write_fasta_file(dir / "out.fa", &b, false, ' ', line_length), 0);
    EXPECT_EQ(dir.read("out.fa"), ">a first\nAC\n\n>b\nGT\n\n");
    EXPECT_EQ(console.out(), "\bw\bw");

    b.length = 3;
    EXPECT_EQ(kavro::write_fasta_file(dir / "bad.fa", &b, false, ' ', line_length), 3);
    EXPECT_EQ(kavro::write_fasta_file(dir / "no/such/dir.fa", &a, true, ' ', line_length), 1);
    EXPECT_EQ(kavro::write_fasta_file(dir / "x.fa", nullptr, true, ' ', line_length), 1);
    EXPECT_EQ(kavro::write_fasta_file("/dev/full", &a, true, ' ', line_length), 2);
    EXPECT_EQ(console.err(), "Error in sequence length.\nTrouble in writing file: " + (dir / "bad.fa") +
                                 "\nCannot open file: " + (dir / "no/such/dir.fa") +
                                 "\nEmpty sequence.\nWriting error.\nTrouble in writing file: /dev/full\n");
    EXPECT_EQ(console.out(), "\bw\bw");
    EXPECT_FALSE(dir.exists("x.fa"));
}

Collection sample_batch() {
    Collection batch;
    batch.push_back(record("short", std::string(20, 'A'), "d1"));
    batch.push_back(record("empty", ""));
    batch.push_back(record("mid", std::string(50, 'C')));
    batch.push_back(record("long", std::string(120, 'G')));
    return batch;
}

std::string fasta(const std::string& name, const std::string& res) {
    return ">" + name + "\n" + res + "\n\n";
}

TEST_F(FastaWriter, BatchFiltersByLength) {
    line_length = 200;
    Collection batch = sample_batch();
    const std::string s = fasta("short_d1", std::string(20, 'A'));
    const std::string m = fasta("mid", std::string(50, 'C'));
    const std::string l = fasta("long", std::string(120, 'G'));
    auto run = [&](long min, long max) {
        return written([&](Writer& w) { EXPECT_EQ(kavro::write_fasta_batch(w, batch, min, max, line_length), 0); });
    };
    EXPECT_EQ(run(0, 0), s + m + l);
    EXPECT_EQ(run(100, 0), l);
    EXPECT_EQ(run(0, 50), s + m);
    EXPECT_EQ(run(30, 100), s + m + l);  // both limits given: no filter
    EXPECT_EQ(run(-10, 0), s + m + l);   // a negative minimum filters nothing
}

TEST_F(FastaWriter, BatchMarksLongRunsInItsRecords) {
    kavro_test::CaptureConsole console;
    Collection batch;
    batch.push_back(record("r", "AC" + std::string(12, 'N') + "GT" + std::string(10, 'Q') + "A"));
    batch.push_back(record("keep", std::string(9, 'N') + "A"));
    std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_fasta_batch(w, batch, -10, -10, line_length), 0); });
    EXPECT_EQ(text, fasta("r", "ACNx012xNGTQx010xQA") + fasta("keep", std::string(9, 'N') + "A"));
    EXPECT_EQ(batch[0].length, 19);
    EXPECT_EQ(console.out(), "x012x\nx010x\n");
}

TEST_F(FastaWriter, BatchFileAppendsOrGoesToStandardOutput) {
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    line_length = 75;
    Collection batch;
    batch.push_back(record("a", "ACGT"));
    EXPECT_EQ(kavro::write_fasta_all(dir / "out.fa", batch, line_length), 0);
    EXPECT_EQ(kavro::write_fasta_batch_file(dir / "out.fa", batch, 10, 0, line_length), 0);
    EXPECT_EQ(kavro::write_fasta_all(dir / "out.fa", batch, line_length), 0);
    EXPECT_EQ(dir.read("out.fa"), fasta("a", "ACGT") + fasta("a", "ACGT"));
    EXPECT_EQ(console.out(), "");

    EXPECT_EQ(kavro::write_fasta_all({dir / "stdout", true}, batch, line_length), 0);
    EXPECT_EQ(console.out(), fasta("a", "ACGT"));
    EXPECT_FALSE(dir.exists("stdout"));

    EXPECT_EQ(kavro::write_fasta_all(dir / "no/dir.fa", batch, line_length), 1);
    EXPECT_EQ(kavro::write_fasta_range_file(dir / "no/dir.fa", batch, 0, 1, line_length), 1);
    const std::string cannot = "Cannot open file: " + (dir / "no/dir.fa") + "\n\n";
    EXPECT_EQ(console.err(), cannot + cannot);
}

TEST_F(FastaWriter, FailedBatchWriteIsReportedAsFailure) {
    kavro_test::CaptureConsole console;
    Collection batch;
    batch.push_back(record("a", "ACGT"));
    EXPECT_EQ(kavro::write_fasta_all("/dev/full", batch, line_length), 1);
    EXPECT_EQ(console.err(), "Writing error.\nTrouble in writing file: /dev/full\n");
}

TEST_F(FastaWriter, RangeIsClampedToTheBatch) {
    kavro_test::TempDir dir;
    Collection batch;
    for (const char* n : {"a", "b", "c"}) batch.push_back(record(n, "AC", "x"));
    EXPECT_EQ(kavro::write_fasta_range_file(dir / "r.fa", batch, 1, 10, line_length), 0);
    EXPECT_EQ(dir.read("r.fa"), fasta("b_x", "AC") + fasta("c_x", "AC"));
    std::string text = written([&](Writer& w) { EXPECT_EQ(kavro::write_fasta_range(w, batch, -5, 1, line_length), 0); });
    EXPECT_EQ(text, fasta("a_x", "AC"));
    text = written([&](Writer& w) { EXPECT_EQ(kavro::write_fasta_range(w, batch, 2, 2, line_length), 0); });
    EXPECT_EQ(text, "");
}

}  // namespace

namespace {

// A full device: every entry would fail; the batch says so once and stops.
TEST(FastaWriterFailure, FailedOutputIsReportedOnceAndTheBatchStops) {
    Collection batch;
    for (int i = 0; i < 2000; ++i) batch.push_back(output_test::record("s" + std::to_string(i), std::string(600, 'A')));
    for (auto write : {+[](Writer& w, Collection& b) { static_cast<void>(kavro::write_fasta_batch(w, b, 0, 0, 75)); },
                       +[](Writer& w, Collection& b) { static_cast<void>(kavro::write_fasta_range(w, b, 0, 2000, 75)); }}) {
        std::string messages;
        {
            kavro_test::CaptureConsole console;
            auto full = Writer::open_append("/dev/full");
            ASSERT_TRUE(full);
            write(*full, batch);
            EXPECT_FALSE(full->close());
            messages = console.err();
        }
        EXPECT_EQ(messages, "Writing error.\n");
    }
}

}  // namespace
