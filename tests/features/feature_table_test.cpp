// The feature-table reader on entries built in memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "features/feature_sequences.hpp"
#include "features/feature_table.hpp"
#include "features/gene_names.hpp"
#include "input/formats.hpp"
#include "support/feature_entries.hpp"
#include "support/run_kavro.hpp"

using testing::StartsWith;
using testing::EndsWith;

using namespace kavro;
using namespace kavro_test;

namespace {

struct ReadResult {
    std::vector<std::string> definitions;  // "entry|definition|residues" per feature
    std::vector<SequenceRecord> entries;
    ReadOutcome last = ReadOutcome::Entry;
};

ReadResult read_all(const std::string& text, SeqFormat format, ExtractMode mode, FeatureOptions options = {}) {
    CaptureConsole console;
    options.progress_marks = false;
    LineReader in = LineReader::from_string(text);
    FeatureTableReader reader(in, format, options);
    ReadResult r;
    std::int64_t pos = 0;
    for (int guard = 0; guard < 50; ++guard) {
        SequenceRecord entry;
        Collection features;
        r.last = reader.read(entry, features, pos, mode);
        if (r.last != ReadOutcome::Entry) break;
        for (auto& f : features) r.definitions.push_back(f.name + "|" + f.definition + "|" + f.residues);
        r.entries.push_back(std::move(entry));
    }
    return r;
}

const std::string kSeq = bases(120);

}  // namespace

TEST(FeatureTable, DefinitionsAndNames) {
    struct Case {
        const char* what;
        Feature feature;
        ExtractMode mode;
        std::string expected;
    };
    const std::string tail = "; Escherichia coli;; AC=AB000001; ";
    const std::vector<Case> cases = {
        {"gene and product", {"CDS", "10..21", {"/gene=\"abcA\"", "/product=\"ABC protein\""}}, ExtractMode::Coding,
         "TESTSEQ|abcA 1 10  21 ABC protein" + tail + "|"},
        {"two-line join, complement",
         {"CDS", "complement(join(3..50,60..70,80..90,100..101,102..103,104..105,106..110))", {"/gene=\"xyzB\""}},
         ExtractMode::Coding,
         "TESTSEQ|xyzB 7 complement join 3  50 60  70 80  90 100  101 102  103 104  105 106  110 " + tail +
             "|"},
        {"locus tag and gene", {"CDS", "1..9", {"/gene=\"thrL\"", "/locus_tag=\"b0001\""}}, ExtractMode::Coding,
         "TESTSEQ|b0001=thrL 1 1  9 " + tail + "|"},
        {"locus tag alone", {"CDS", "1..9", {"/locus_tag=\"b0001\"", "/product=\"protein\""}}, ExtractMode::Coding,
         "TESTSEQ|b0001 1 1  9 protein" + tail + "|"},
        {"name guessed from product", {"CDS", "1..9", {"/product=\"similar to recA\""}}, ExtractMode::Coding,
         "TESTSEQ|similar_to_recA 1 1  9 similar to recA" + tail + "|"},
        {"protein mode drops the location", {"CDS", "1..9", {"/gene=\"abcA\"", "/translation=\"mk\"", }},
         ExtractMode::Protein, "TESTSEQ|abcA  " + tail + "|MK"},
        {"pseudo without gene", {"CDS", "1..9", {"/pseudo", "/product=\"hypothetical protein\""}}, ExtractMode::Coding,
         "TESTSEQ|pseudo 1 1  9 hypothetical protein" + tail + "|*"},
        {"pseudo after gene", {"CDS", "1..9", {"/gene=\"abcA\"", "/pseudo"}}, ExtractMode::Protein,
         "TESTSEQ|abcA_pseudo  " + tail + "|*"},
        {"tRNA named from product", {"tRNA", "5..20", {"/product=\"transfer RNA-Leu\""}}, ExtractMode::Rna,
         "TESTSEQ|trnL 1 5  20 transfer RNA-Leu" + tail + "|"},
        {"tRNA named from note", {"tRNA", "5..20", {"/product=\"tRNA-Leu\"", "/note=\"leucine tRNA\""}},
         ExtractMode::Rna, "TESTSEQ|RNA 1 5  20 tRNA-Leu" + tail + "|"},
        {"rRNA without locations", {"rRNA", "5..20", {"/gene=\"rrsA\""}}, ExtractMode::RnaWithoutLocations,
         "TESTSEQ|rrsA  " + tail + "|"},
    };
    for (const Case& c : cases) {
        Entry e{.features = {c.feature}, .sequence = kSeq};
        auto r = read_all(genbank(e), SeqFormat::Genbank, c.mode);
        ASSERT_EQ(r.definitions.size(), 1u) << c.what;
        EXPECT_EQ(r.definitions[0], c.expected) << c.what;
    }
}

// A feature ends at the next key line, the end of the table or the end line,
// even without /translation, in both layouts.
TEST(FeatureTable, FeaturesWithoutTranslationAreKept) {
    Entry e{.features = {{"CDS", "1..9", {"/gene=\"aaaA\""}},
                         {"gene", "20..40", {"/gene=\"bbbB\""}},
                         {"CDS", "20..40", {"/gene=\"bbbB\"", "/translation=\"MKV\""}},
                         {"tRNA", "50..60", {"/gene=\"trnX\""}},
                         {"CDS", "70..90", {"/gene=\"cccC\"", "/product=\"last one\""}}},
            .sequence = kSeq};
    for (SeqFormat format : {SeqFormat::Genbank, SeqFormat::Embl}) {
        const std::string text = format == SeqFormat::Genbank ? genbank(e) : embl(e);
        auto cds = read_all(text, format, ExtractMode::Protein);
        ASSERT_EQ(cds.definitions.size(), 3u) << static_cast<int>(format);
        EXPECT_THAT(cds.definitions[0], StartsWith("TESTSEQ|aaaA ")) << cds.definitions[0];
        EXPECT_THAT(cds.definitions[1], EndsWith("|MKV")) << cds.definitions[1];
        EXPECT_THAT(cds.definitions[2], StartsWith("TESTSEQ|cccC  last one")) << cds.definitions[2];
        auto rna = read_all(text, format, ExtractMode::Rna);
        ASSERT_EQ(rna.definitions.size(), 1u) << static_cast<int>(format);
        EXPECT_THAT(rna.definitions[0], StartsWith("TESTSEQ|trnX 1 50  60 ")) << rna.definitions[0];
        // The entry's sequence is read once features were found.
        ASSERT_EQ(cds.entries.size(), 1u);
        EXPECT_EQ(read_all(text, format, ExtractMode::Coding).entries[0].residues, kSeq);
    }
}

TEST(FeatureTable, EntryValuesAndEnds) {
    Entry first{.name = "FIRSTENTRYNAMEISLONG", .circular = true, .features = {{"CDS", "1..9", {}}},
                .sequence = kSeq};
    Entry second{.name = "SECOND", .accession = "", .organism = "", .features = {}, .sequence = bases(30)};
    const std::string text = genbank(first) + genbank(second);
    auto r = read_all(text, SeqFormat::Genbank, ExtractMode::Coding);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].name, "FIRSTENTRYNAMEISLONG");  // long modern names stay whole
    EXPECT_EQ(r.entries[0].accession, "AB000001");
    EXPECT_EQ(r.entries[0].circular, 1);
    EXPECT_EQ(r.entries[0].type, ResidueKind::Dna);
    // Nothing is carried over from the entry before.
    EXPECT_EQ(r.entries[1].accession, "");
    EXPECT_EQ(r.entries[1].organism, "");
    EXPECT_EQ(r.entries[1].residues, "");  // no CDS: the sequence is not read
    EXPECT_EQ(r.entries[1].length, 30);    // the header length
    EXPECT_EQ(r.last, ReadOutcome::EndOfInput);

    // A last "//" without a line end still ends its entry; a missing one is told.
    std::string no_newline = genbank(first);
    no_newline.pop_back();
    EXPECT_EQ(read_all(no_newline, SeqFormat::Genbank, ExtractMode::Coding).entries.size(), 1u);
    Entry open = first;
    open.end_line = false;
    EXPECT_EQ(read_all(genbank(first) + genbank(open), SeqFormat::Genbank, ExtractMode::Coding).last,
              ReadOutcome::MissingEndLine);
    EXPECT_EQ(read_all("junk\n", SeqFormat::Genbank, ExtractMode::Coding).last, ReadOutcome::EndOfInput);
}

TEST(FeatureTable, GeneNameShapes) {
    for (const char* yes : {"recA", "dnaK", "abc", "ftsZ2", "ORF12", "yab-1"})
        EXPECT_TRUE(looks_like_gene_name(yes)) << yes;
    for (const char* no : {"protein", "kinase", "a12", "ab", "1abc", "abcdefghijklmnop", "ab$c"})
        EXPECT_FALSE(looks_like_gene_name(no)) << no;
    const std::vector<std::pair<std::string, std::string>> guesses = {
        {"similar to recA", "similar to recA"}, {"dnaK homolog", "dnaK homolog"}, {"Putative recA", "recA; putative"},
        {"recA gene", "recA"},   {"hypothetical protein", ""},   {"ORF12", "ORF12"},
        {"plasmid recA", ""},    {"similar to EST1234", ""},     {"DNA polymerase", "DNA"},
    };
    for (const auto& [text, want] : guesses) EXPECT_EQ(guess_gene_name(text).value_or(""), want) << text;
    EXPECT_EQ(trna_name("transfer RNA-Leu"), "trnL");
    EXPECT_EQ(trna_name("transfer RNA X"), "trn");
    EXPECT_EQ(trna_name("tRNA-Leu"), "");
}

// Cut or damaged entries end in a result or a message, never a crash or a
// read outside the sequence; every feature found can still be cut.
TEST(FeatureTable, DamagedInputEndsCleanly) {
    Entry e{.circular = true,
            .features = {{"CDS", "complement(join(5..30,100..>119))", {"/gene=\"aaaA\"", "/translation=\"MKV\""}},
                         {"tRNA", "join(110..120,1..4)", {"/product=\"transfer RNA-Gly\""}},
                         {"CDS", "<1..9999999999", {"/pseudo"}}},
            .sequence = kSeq};
    const std::string text = genbank(e) + embl(e);
    CaptureConsole console;
    unsigned x = 1;
    for (std::size_t cut = 0; cut < text.size(); cut += 7) {
        std::string damaged = text.substr(0, cut);
        x = x * 1103515245u + 12345u;
        if (cut % 2 && !damaged.empty()) damaged[x % damaged.size()] = "\n(<>.,:\" /"[x % 10];
        for (SeqFormat format : {SeqFormat::Genbank, SeqFormat::Embl})
            for (ExtractMode mode : {ExtractMode::Coding, ExtractMode::Rna, ExtractMode::Protein}) {
                LineReader in = LineReader::from_string(damaged);
                FeatureTableReader reader(in, format, {.progress_marks = false});
                SequenceRecord entry;
                Collection features;
                std::int64_t pos = 0;
                for (int n = 0; n < 5 && reader.read(entry, features, pos, mode) == ReadOutcome::Entry; ++n) {
                    RemoteSequences remote;
                    cut_feature_sequences(entry, features, 0, {'S', -20}, {'E', 20}, {}, remote);
                }
            }
    }
}

// The last feature before the sequence is kept in RNA mode too.
TEST(FeatureTable, LastRnaBeforeTheSequence) {
    Entry e{.features = {{"tRNA", "5..20", {"/gene=\"trnQ\""}}}, .sequence = kSeq};
    EXPECT_EQ(read_all(genbank(e), SeqFormat::Genbank, ExtractMode::Rna).definitions.size(), 1u);
    EXPECT_EQ(read_all(embl(e), SeqFormat::Embl, ExtractMode::Rna).definitions.size(), 1u);
}
