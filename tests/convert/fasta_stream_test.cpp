// tofast streams the FASTA jobs that handle each record alone; it must give
// exactly what reading the whole collection gives: the same output file, the
// same bytes on both console streams, the same status. The whole-collection
// route still runs when the output is the input file itself, which is how
// these tests reach it.
#include <gtest/gtest.h>

#include <random>

#include "convert/fasta_stream.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "shell/commands.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

namespace {

using kavro_test::TempDir;

struct Outcome {
    int status = -1;
    std::string out, err, file;
};

void replace_all(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// tofast IN OUT OPTION... in this process; file names in messages read "FILE".
Outcome tofast(const TempDir& dir, const std::string& in, const std::string& out, const std::vector<std::string>& option) {
    kavro::CommandLine words;
    words.set(0, "tofast");
    words.set(1, dir / in);
    words.set(2, dir / out);
    int count = 3;
    for (const std::string& w : option) words.set(count++, w);
    Outcome o;
    {
        kavro_test::CaptureConsole console;
        try {
            o.status = kavro::cmd_tofast(count, words);
        } catch (const kavro::ProgramExit& e) {
            o.status = e.status;
        }
        o.out = console.out();
        o.err = console.err();
    }
    for (std::string* text : {&o.out, &o.err}) {
        replace_all(*text, dir / in, "FILE");
        replace_all(*text, dir / out, "FILE");
    }
    o.file = dir.exists(out) ? dir.read(out) : "(none)";
    return o;
}

// The streamed run (in.fa to out.fa) against the whole collection (the
// file rewritten in place).
void expect_same(const std::string& text, const std::vector<std::string>& option) {
    TempDir dir;
    dir.write("in.fa", text);
    dir.write("io.fa", text);
    const Outcome streamed = tofast(dir, "in.fa", "out.fa", option);
    const Outcome whole = tofast(dir, "io.fa", "io.fa", option);
    const std::string label = (option.empty() ? "" : option[0]) + " on " + text.substr(0, 200);
    EXPECT_EQ(streamed.status, whole.status) << label;
    EXPECT_EQ(streamed.err, whole.err) << label;
    EXPECT_EQ(streamed.out, whole.out) << label;
    // A failed run leaves its output unfinished on either route.
    if (whole.status == 0) {
        EXPECT_EQ(streamed.file, whole.file) << label;
    }
}

const std::vector<std::vector<std::string>> kStreamedJobs = {
    {"c"}, {"r"}, {"d"}, {"mask"}, {"max", "21"}, {"min", "12"}, {"m"}, {"max", "5"},
    // Translation: frames on either strand, after a complement, another table.
    {"p"}, {"p", "3"}, {"p", "-2"}, {"p", "c"}, {"p", "1", "mito"},
    // Information reports: the full one, each item, the count, codon usage.
    {"i"}, {"i", "l"}, {"i", "s"}, {"i", "n"}, {"i", "#"}, {"i", "c"}, {"i", "c", "mito"},
    // A complement, then DNA to RNA or back.
    {"d", "c"}, {"r", "c"},
    // Sorting by name: each record copied from its offset.
    {"s"},
    // Composition windows, and sizes that cannot be used.
    {"b", "20", "7"}, {"b", "5", "5"}, {"b", "0", "3"},
};

// Random multi-FASTA text: records drawn from one residue pool per text
// (DNA, RNA, N-rich DNA, protein) with strays, empty records, long N and Q
// runs, comments, lower case, blanks and CR line ends.
std::string random_fasta(std::mt19937& rng) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string pools[] = {"ACGT", "acgtACGT", "ACGU", "ACGTNNNNNNNN", "MKVLAAGIWEFQ", "ACGTRYKM"};
    const std::string& pool = pools[pick(0, 5)];
    std::string text = pick(0, 4) == 0 ? "leading text\n" : "";
    const int records = pick(0, 3) == 0 ? pick(95, 230) : pick(1, 12);
    for (int r = 0; r < records; ++r) {
        text += ">s" + std::to_string(r) + (pick(0, 2) == 0 ? " some definition  with\tblanks" : "") + "\n";
        if (pick(0, 9) == 0) continue;  // no residues
        const int lines = pick(1, 5);
        for (int l = 0; l < lines; ++l) {
            const int n = pick(0, 90);
            for (int i = 0; i < n; ++i) {
                const int roll = pick(0, 200);
                if (roll == 0) {
                    text += std::string(static_cast<std::size_t>(pick(9, 40)), pick(0, 1) ? 'N' : 'Q');
                } else if (roll == 1) {
                    text += " -*";
                } else if (roll == 2) {
                    text += static_cast<char>('A' + pick(0, 25));
                } else {
                    text += pool[static_cast<std::size_t>(pick(0, static_cast<int>(pool.size()) - 1))];
                }
            }
            text += pick(0, 20) == 0 ? "\r\n" : "\n";
            if (pick(0, 30) == 0) text += ";comment\n";
        }
    }
    return text;
}

TEST(FastaStream, SameAsTheCollectionOnChosenTexts) {
    const std::string cases[] = {
        ">a\nACGTACGTNNNNNNNNNNNNNNACGT\n>b first\nacgtt\n",
        ">e\n>a\nACGT\n>b\nACGG\n",                         // an empty record before the first with residues
        ">p\nMKVLAAGIWEF\n>d\nACGT\n",                       // a protein collection
        ">d\nACGT\n>p\nMKVLAAGIWEFMKVLAAGIWEF\n>e\n",        // a protein and an empty record in DNA
        ">r\nACGUACGU\n>s\nUUUGGGQQQQQQQQQQQQQQA\n",         // RNA; a long Q run
        ">e\n>f\n",                                          // no residues at all
        ">long " + std::string(700, 'h') + "\n" + std::string(600, 'A') + "\n>x\nCC",
        // Equal names, text before the first header, a ">" that starts a piece inside a long line.
        "junk\n>b\nAC\n>a two\nGG\n>b\nTT\n>a\nCA\n>c\n" + std::string(512, 'A') + ">in line\nAC\n>a\n",
        "",
    };
    for (const std::string& c : cases)
        for (const auto& job : kStreamedJobs) expect_same(c, job);
}

TEST(FastaStream, SameAsTheCollectionOnRandomTexts) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 8; ++round) {
        const std::string text = random_fasta(rng);
        for (const auto& job : kStreamedJobs) expect_same(text, job);
    }
}

TEST(FastaStream, OnlyJobsOfSingleRecordsStream) {
    struct Case {
        void (*set)(kavro::TofastOptions&);
        bool streams;
    };
    const Case cases[] = {
        {[](kavro::TofastOptions&) {}, true},
        {[](kavro::TofastOptions& o) { o.complement = true; }, true},
        {[](kavro::TofastOptions& o) { o.output_type = kavro::ResidueKind::Rna; }, true},
        {[](kavro::TofastOptions& o) { o.sort = true; }, false},  // no input file: it cannot be read at offsets
        {[](kavro::TofastOptions& o) { o.info = true; }, true},
        {[](kavro::TofastOptions& o) { o.info = true, o.info_selector = 'c'; }, true},
        {[](kavro::TofastOptions& o) { o.info = true, o.info_selector = 'c', o.codon_table = "table.txt"; }, true},
        {[](kavro::TofastOptions& o) { o.info = true, o.info_selector = 'c', o.codon_table = ""; }, false},
        {[](kavro::TofastOptions& o) { o.info = true, o.info_selector = '#'; }, true},
        {[](kavro::TofastOptions& o) { o.composition = true; }, true},
        {[](kavro::TofastOptions& o) { o.ms = true; }, false},  // no input file: it cannot be read twice
        {[](kavro::TofastOptions& o) { o.output_type = kavro::ResidueKind::Protein; }, true},
        {[](kavro::TofastOptions& o) { o.output_type = kavro::ResidueKind::Protein, o.codon_table = "table.txt"; }, true},
        {[](kavro::TofastOptions& o) { o.clear_mode = true; }, false},
        {[](kavro::TofastOptions& o) { o.complement = true, o.output_type = kavro::ResidueKind::Dna; }, true},
    };
    for (const Case& c : cases) {
        kavro::TofastOptions opts;
        c.set(opts);
        EXPECT_EQ(kavro::fasta_job_streams(opts), c.streams);
    }
}

// A codon table from a file: the same output as the collection's; a table
// that cannot be used is read before the output is opened and leaves it as
// it was.
TEST(FastaStream, CodonTableFileReadBeforeTheOutput) {
    TempDir tables;
    std::string table;
    for (char c : std::string("FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG")) table += c + std::string("\n");
    tables.write("my.code", table);
    tables.write("short.code", table.substr(2));
    const std::string text = ">a\nATGGCATGAAAT\n>b\nATGAAACCCGGGTTTTAA\n>c\n";
    for (const std::string job : {"p", "i"}) {
        const std::vector<std::string> words = job == "p" ? std::vector<std::string>{"p", "1", tables / "my.code"}
                                                          : std::vector<std::string>{"i", "c", tables / "my.code"};
        expect_same(text, words);
        TempDir dir;
        dir.write("in.fa", text);
        dir.write("out.fa", "kept\n");
        const Outcome bad = tofast(dir, "in.fa", "out.fa", {words[0], words[1], tables / "short.code"});
        EXPECT_EQ(bad.status, 1) << job;
        EXPECT_EQ(bad.file, "kept\n") << job;
        EXPECT_NE(bad.err.find("The codon table is in an unknown format.\nCodon table file: " + tables / "short.code" + " is not found.\n"),
                  std::string::npos)
            << job << bad.err;
    }
}

// The mass search reads the file twice, the second time one protein at a
// time: the report and the console lines are the collection's.
TEST(FastaStream, MassSearchSameAsTheCollection) {
    TempDir defs;
    defs.write("msdef", "Test search\n0\tNterm\nKR\tCterm\n500\tLower\n2\tNumber of peaks\n1212.6361\n860.4\n//END\n");
    std::string proteins = "leading text\n";
    for (int i = 0; i < 130; ++i)
        proteins += ">p" + std::to_string(i) + " protein\nMKWWDEFHHRAGK" + std::string(static_cast<std::size_t>(i % 7), 'L') +
                    "DEFKRPPWYK\n" + (i % 50 == 3 ? ">empty\n" : "");
    const std::string texts[] = {proteins, ">d\nACGTACGT\n", ""};
    for (const std::string& text : texts) {
        expect_same(text, {"ms", defs / "msdef"});
        expect_same(text, {"ms", defs / "none"});
    }
}

// With the data on standard output the marks and announcements share
// standard error with the messages, in the order the collection prints them.
TEST(FastaStream, DataOnStandardOutputKeepsTheMessageOrder) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += ">r" + std::to_string(i) + "\nACGTNNNNNNNNNNNNGT\n";
    std::string announcements;
    for (int i = 0; i < 25; ++i) announcements += "x012x\n";
    const std::string marks = "\b.\b.\b.\n";
    struct Case {
        std::string option, tail;
    };
    const Case cases[] = {
        {"c", ".\nConverting to complementary sequence...\n" + marks + "Writing sequences...\n\nTerminated.\n"},
        {"r", ".\n" + marks + "Writing sequences...\n\nTerminated.\n"},
        {"mask", ".\nWriting sequences...\n" + announcements + "\nTerminated.\n"},
        {"p", ".\nWriting sequences...\n...\n\nTerminated.\n"},
    };
    for (const Case& c : cases) {
        const auto streamed = kavro_test::run({.args = {"tofast", "in.fa", "stdout", c.option}, .files = {{"in.fa", text}}});
        // The collection's output, written to a file, is what standard output carries.
        const auto whole = kavro_test::run({.args = {"tofast", "in.fa", "in.fa", c.option}, .files = {{"in.fa", text}}});
        ASSERT_EQ(streamed.status, 0) << streamed.err;
        EXPECT_EQ(streamed.out, whole.file("in.fa")) << c.option;
        EXPECT_NE(streamed.err.find("Reading sequences...\n" + c.tail), std::string::npos) << c.option << "\n" << streamed.err;
    }
}

}  // namespace

namespace {

// Outputs that fail are reported where the whole-collection route reports
// them: one that cannot be created after the reading and the pass, a write
// that fails after "Writing sequences...", once.
TEST(FastaStream, FailingOutputsKeepTheCollectionMessages) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += ">r" + std::to_string(i) + "\nACGTACGTACGTACGTACGT\n";
    struct Case {
        std::string output, expected;
    };
    const Case cases[] = {
        {"nodir/out.fa", "Converting to complementary sequence...\nCannot open file: nodir/out.fa\n\n"
                         "Error in opening output file.\n"},
        {"/dev/full", "Converting to complementary sequence...\nWriting sequences...\nWriting error.\n"
                      "Trouble in writing file: /dev/full\nError in writing sequence.\n"},
    };
    for (const Case& c : cases) {
        const auto r = kavro_test::run({.args = {"tofast", "in.fa", c.output, "c"}, .files = {{"in.fa", text}}});
        EXPECT_EQ(r.status, 1) << c.output;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.output << "\n" << r.err;
        EXPECT_EQ(kavro_test::count_of(r.err, "Writing error."), c.output == "/dev/full" ? 1U : 0U);
    }
}

}  // namespace
