// Clear mode streams FASTA files record by record; it must give exactly what
// reading the whole collection, clearing its gaps and writing it gives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "convert/clear_fasta.hpp"
#include "core/conversions.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

// The collection route: read_multi_fasta, clear_gaps_all, names only, records
// of another kind than the first with residues emptied, write_fasta_all.
std::string by_collection(const kavro_test::TempDir& dir) {
    auto seqs = kavro::read_multi_fasta(dir / "in.fa", kavro::ResidueKind::Unknown);
    if (!seqs) return "(no collection)";
    EXPECT_EQ(kavro::clear_gaps_all(*seqs), 0);
    kavro::ResidueKind type = kavro::ResidueKind::Unknown;
    for (const auto& rec : *seqs) {
        if (rec.length == 0) continue;
        type = kavro::classify_residues(rec);
        break;
    }
    for (auto& rec : *seqs) {
        rec.definition.clear();
        if (kavro::classify_residues(rec) != type) {
            rec.residues.clear();
            rec.length = 0;
        }
    }
    EXPECT_TRUE(kavro::OutputTarget::create_empty(dir / "expected.fa"));
    EXPECT_EQ(kavro::write_fasta_all(dir / "expected.fa", *seqs, kavro::g_settings.line_length), 0);
    return dir.read("expected.fa");
}

std::string by_stream(const kavro_test::TempDir& dir) {
    kavro::TofastOptions opts;
    opts.input_path = dir / "in.fa";
    opts.output_path = dir / "streamed.fa";
    opts.clear_mode = true;
    EXPECT_EQ(kavro::clear_fasta_stream(opts), 0);
    return dir.read("streamed.fa");
}

void expect_same(const std::string& content) {
    kavro_test::TempDir dir;
    dir.write("in.fa", content);
    std::string expected, streamed;
    {
        kavro_test::CaptureConsole console;  // failures are reported once it is gone
        expected = by_collection(dir);
        streamed = by_stream(dir);
    }
    EXPECT_EQ(streamed, expected) << content.substr(0, 300);
}

TEST(ClearFastaStream, SameRecordsAsTheCollection) {
    const std::string long_name_eq = std::string(11, 'n') + "=" + std::string(33, 'd');
    const std::string long_name = std::string(45, 'x');
    const std::string cases[] = {
        ";file comment\n>s1 first\nacg-t ac\n;inner\nGT*a\n>s2 protein\nMKVLAAGIWEF\n>s3\nac gt\n",
        "text before\nACGT\n>a\nACGT\n>b\n\n>c\nAC\r\nGT\r\n",
        ">" + long_name_eq + " rest\nacgt\n>" + long_name + "\nacgt\n",
        ">long " + std::string(700, 'h') + "\nACGT\nTTTT\n>s2\nGGGG",
        // A piece that starts inside a long line is read on its own.
        ">s1\n" + std::string(512, 'A') + ">not a header\n>s2\nCC\n",
        ">s1\n" + std::string(1024, 'c') + ";x" + "\nAAA\n",
        ">only header",
        ">e\n>f\nACGT\n",
        ">p\nMKVLAAGIWEF\n>d\nACGT\n>q\nWWWWKKKK\n",
        ">; odd\n;c\nAC\n",
    };
    for (const std::string& c : cases) expect_same(c);
}

TEST(ClearFastaStream, SameRecordsOnRandomText) {
    std::mt19937 rng(20240101);
    const std::string alphabet = ">;\n\n\n  acgtACGTNn-*=MKW\r\t0";
    for (int round = 0; round < 40; ++round) {
        std::string text = ">";
        const int n = std::uniform_int_distribution<int>(0, 3000)(rng);
        for (int i = 0; i < n; ++i) text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        expect_same(text);
    }
}

TEST(ClearFastaStream, ManyRecordsGiveTheProgressMarksOfBothPasses) {
    std::string text;
    for (int i = 0; i < 205; ++i) text += ">r" + std::to_string(i) + "\nacgt\n";
    kavro_test::TempDir dir;
    dir.write("in.fa", text);
    kavro_test::CaptureConsole console;
    by_stream(dir);
    std::string marks;
    for (int i = 0; i < 21; ++i) marks += "\b.";
    EXPECT_EQ(console.out(), marks + "\n");
    EXPECT_THAT(console.err(), HasSubstr("Reading sequences...\n...\n"));
}

// Streaming must not change what either console stream shows, nor its
// order when the data itself goes to standard output.

std::string many_records(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += ">r" + std::to_string(i) + "\nacgt\n";
    return text;
}

TEST(ClearFastaStream, MarksFollowTheReadingDotsOnOneStream) {
    // With the data on standard output both kinds of mark share standard
    // error: the reading dots come first, then the clearing marks.
    auto r = kavro_test::run({.args = {"tofast", "in.fa", "stdout"}, .files = {{"in.fa", many_records(205)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string marks;
    for (int i = 0; i < 21; ++i) marks += "\b.";
    EXPECT_THAT(r.err, HasSubstr("Reading sequences...\n...\n" + marks + "\nWriting sequences...\n\nTerminated.\n")) << r.err;
}

TEST(ClearFastaStream, FailuresKeepTheMessagesOfTheCollectionRoute) {
    // An output that cannot be created is found after reading, as the
    // collection is read, cleared and classified first.
    auto no_dir = kavro_test::run({.args = {"tofast", "in.fa", "nodir/out.fa"},
                                   .files = {{"in.fa", ">p\nMKVLAAGIWEF\n>q\nMKKW\n"}}});
    EXPECT_EQ(no_dir.status, 1);
    EXPECT_THAT(no_dir.err, HasSubstr("Reading sequences...\n.\nThis is a protein sequence.\nOutput is set to protein sequence.\n"
                                "Cannot open file: nodir/out.fa\n\nError in opening output file.\n"))
        << no_dir.err;
    EXPECT_THAT(no_dir.out, HasSubstr("\b.\n"));

    // A failing write reports as the batch writer does.
    auto full = kavro_test::run({.args = {"tofast", "in.fa", "/dev/full"}, .files = {{"in.fa", many_records(3)}}});
    EXPECT_EQ(full.status, 1);
    EXPECT_THAT(full.err, HasSubstr("Writing sequences...\nWriting error.\nTrouble in writing file: /dev/full\n"
                              "Error in writing sequence.\n"))
        << full.err;
}

}  // namespace

namespace {

TEST(ClassifyLetters, AgreesWithCompositionClassification) {
    std::mt19937 rng(7);
    const std::string pools[] = {"ACGT", "ACGU", "ACGTN", "ACGURY", "ACDEFGHIKLMNPQRSTUVWXY", "ACGTBJOZ", "UUUUXE",
                                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "BJOZ"};
    for (const std::string& pool : pools) {
        for (int round = 0; round < 300; ++round) {
            kavro::SequenceRecord rec;
            const int n = std::uniform_int_distribution<int>(0, 700)(rng);
            // Mostly one pool, sometimes a few letters from anywhere, to reach the 95 % borders.
            for (int i = 0; i < n; ++i) {
                const bool stray = std::uniform_int_distribution<int>(0, 40)(rng) == 0;
                rec.residues += stray ? static_cast<char>('A' + std::uniform_int_distribution<int>(0, 25)(rng))
                                      : pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
            }
            rec.length = n;
            ASSERT_EQ(kavro::classify_letters(rec.residues), kavro::classify_residues(rec)) << rec.residues;
        }
    }
    const std::string exact[] = {"ACGTACGTACGTACGTACGE", "ACGTACGTACGTACGTACGEE", "ACGTNNNNRY", "MKVLAAGIW", ""};
    for (const std::string& s : exact) {
        kavro::SequenceRecord rec;
        rec.residues = s;
        rec.length = static_cast<long>(s.size());
        EXPECT_EQ(kavro::classify_letters(s), kavro::classify_residues(rec)) << s;
    }
}

}  // namespace
