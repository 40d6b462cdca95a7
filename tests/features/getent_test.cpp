#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/feature_entries.hpp"
#include "support/gzip.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

namespace {

using namespace kavro_test;

Entry entry(const std::string& name, const std::string& accession, const std::string& organism,
            const std::string& more_accessions = "") {
    Entry e;
    e.name = name;
    e.accession = accession + more_accessions;
    e.organism = organism;
    e.sequence = bases(130, static_cast<unsigned>(name.size() + accession.size()));
    return e;
}

// Entries named prefix1..prefixN with short distinct residues.
std::string numbered_fasta(int n, const std::string& prefix = "seq") {
    std::string t;
    for (int i = 1; i <= n; ++i)
        t += ">" + prefix + std::to_string(i) + " entry " + std::to_string(i) + "\n" + bases(20, i) + "\n";
    return t;
}

const std::vector<Entry> kEntries = {
    entry("ENT", "X12344", "Escherichia coli"),
    entry("ENT2", "AB000002", "Bacillus subtilis", " X12345"),
    entry("ABC1", "X12345.2", "Escherichia coli"),
    entry("ABD9", "AB000004", "Homo sapiens"),
};

std::string genbank_db() {
    std::string t;
    for (const auto& e : kEntries) t += genbank(e);
    return t;
}

std::string embl_db() {
    std::string t;
    for (const auto& e : kEntries) t += embl(e);
    return t;
}

Result getent(const std::string& db, std::vector<std::string> selection,
              std::map<std::string, std::string> extra_files = {}) {
    std::vector<std::string> args = {"getent", "db", "out"};
    args.insert(args.end(), selection.begin(), selection.end());
    extra_files["db"] = db;
    return run({.args = args, .files = extra_files});
}

// Entries are copied exactly as they stand, in file order.
TEST(Getent, SearchSelectsWholeEntries) {
    struct Case {
        std::vector<std::string> words;
        std::vector<int> selected;  // indexes into kEntries
    } cases[] = {
        {{"ID=ENT"}, {0}},
        {{"ID=ENT2"}, {1}},
        {{"ID=ENT", "ID=ENT2"}, {0, 1}},  // a value inside another hides nothing
        {{"ID=AB#"}, {2, 3}},
        {{"ID=AB"}, {}},
        {{"AC=X12345"}, {1, 2}},  // secondary accession; versioned accession
        {{"AC=AB#"}, {1, 3}},
        {{"OS=coli"}, {0, 2}},
        {{"DE=\"entry ABD9\""}, {3}},  // the built EMBL entries have no DE line
        {{"NO=2,3"}, {1, 2}},
        {{"NO=3,last"}, {2, 3}},
        {{"XX=1", "ID=ABD9"}, {3}},  // an unknown word shows the usage; the rest still applies
        {{"ID=ENT", "ID=ENT"}, {0}},
    };
    for (const auto& db : {genbank_db(), embl_db()}) {
        const bool is_embl = db.starts_with("ID ");
        for (const auto& c : cases) {
            auto r = getent(db, c.words);
            ASSERT_EQ(r.status, 0) << c.words[0] << r.err;
            std::string expected;
            if (is_embl && c.words[0].starts_with("DE=")) continue;
            for (int i : c.selected) expected += is_embl ? embl(kEntries[i]) : genbank(kEntries[i]);
            EXPECT_EQ(r.file("out"), expected) << c.words[0] << (is_embl ? " EMBL" : " GenBank");
            EXPECT_TRUE(r.out.ends_with("\nTerminated.\n" + sjis("完了.\n")));
        }
    }
    auto r = getent(genbank_db(), {"NO=2,4"});
    EXPECT_EQ(count_of(r.out, "Start copying database No. "), 3u);
    EXPECT_NE(r.out.find("Start copying database No. 2: ENT2\n"), std::string::npos);
}

TEST(Getent, FastaHeadersAndUniqueMode) {
    const std::string db = ">abc description\nAAAA\n>x|abc|y\nCCCC\n>abcd other\nGGGG\n>q (abc)\nTTTT\n";
    auto r = getent(db, {"ID=abc"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("This is a FASTA file. Only ID is recognized.\n"), std::string::npos);
    EXPECT_EQ(r.file("out"), ">abc description\nAAAA\n>x|abc|y\nCCCC\n>q (abc)\nTTTT\n");
    EXPECT_EQ(getent(db, {"ID=abc#"}).file("out"), db);
    auto unique = getent(db, {"uniID=abc"});
    EXPECT_EQ(unique.file("out"), ">abc description\nAAAA\n");
    EXPECT_NE(unique.out.find("Unique mode: only a single sequence is retrieved for each ID.\n"), std::string::npos);
    // The entry name is the header's token from the match on.
    EXPECT_NE(r.out.find("Start copying database: abc\n"), std::string::npos);
}

// A PIR ">P1;" file is a FASTA database whose entry names follow the ";".
TEST(Getent, PirLayoutEntries) {
    const std::string a = ">P1;CCHU\ncytochrome c - human\nC;Species: Homo sapiens\nMGDVEKGKKI\nFIMK*\n";
    const std::string b = ">D1;DNA2\ntest DNA\nACGTACGT*\n";
    for (const auto& [words, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"ID=CCHU"}, a}, {{"ID=DNA2"}, b}, {{"NO=2,2"}, b}}) {
        auto r = getent(a + b, words);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.file("out"), expected) << words[0];
    }
    auto listed = getent(a + b, {"File=list"}, {{"list", "DNA2\n"}});
    EXPECT_EQ(listed.file("out"), ">DNA2 test DNA;\nACGTACGT\n\n") << listed.err;
}

TEST(Getent, SwissProtEntries) {
    const auto entry = [](const std::string& name, const std::string& ac, const std::string& os) {
        return "ID   " + name + "  Reviewed;  10 AA.\nAC   " + ac + ";\nDE   RecName: Full=Test protein " + name +
               ";\nOS   " + os + ".\nSQ   SEQUENCE   10 AA;  1100 MW;  0 CRC64;\n     ACDEFGHIKL\n//\n";
    };
    const std::string a = entry("ABC_HUMAN", "P12345; Q99999", "Homo sapiens");
    const std::string b = entry("ABC_MOUSE", "P54321", "Mus musculus");
    for (const auto& [words, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"ID=ABC_MOUSE"}, b}, {{"AC=Q99999"}, a}, {{"OS=musculus"}, b}, {{"DE=protein ABC_H"}, a},
             {{"ID=ABC_#"}, a + b}}) {
        auto r = getent(a + b, words);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.file("out"), expected) << words[0];
    }
}

TEST(Getent, CopyIsByteExact) {
    const std::string long_line = "DEFINITION  " + std::string(1500, 'x') + "\r\n";
    const std::string first = "LOCUS       ONE 4 bp DNA\r\n" + long_line + "ACCESSION   Q00001\r\nORIGIN\r\n 1 acgt\r\n//\r\n";
    const std::string second = "LOCUS       TWO 4 bp DNA\nACCESSION   Q00002\nORIGIN\n 1 acgt\n//";
    EXPECT_EQ(getent(first + second, {"AC=Q00001"}).file("out"), first);
    EXPECT_EQ(getent(first + second, {"ID=TWO"}).file("out"), second);
}

// A selecting AC, OS or DE line sends the walk back to its entry's start
// once: damaged entry starts, FASTA records holding such lines and GenBank
// entries holding a ">" line each end with the entry copied once. Runs are
// capped so that a walk that does not end fails instead of filling the disk.
TEST(Getent, SelectingLineActsOnce) {
    const std::string a1 = "LOCUS       A1 4 bp DNA\nACCESSION   Q00001\nORIGIN\n 1 acgt\n//\n";
    const std::string a2 = "LOCAS       A2 4 bp DNA\nACCESSION   Q00002\nORIGIN\n 1 acgt\n//\n";
    const std::string s1 = ">s1 first\nAC   X12345;\nDE   kinase\nOS   Homo sapiens\nACGT\n";
    const std::string s2 = ">s2 second\nCCCC\n";
    const std::string g1 = "LOCUS       G1 4 bp DNA\nDEFINITION  kinase.\n>not a header\nACCESSION   Q00003\n"
                           "SOURCE      E. coli\n  ORGANISM  Escherichia coli\nORIGIN\n 1 acgt\n//\n";
    const std::string g2 = "LOCUS       G2 4 bp DNA\nACCESSION   Q00004\nORIGIN\n 1 acgt\n//\n";
    struct Case {
        std::string db, word, expected;
    } cases[] = {
        {a1 + a2, "AC=Q00002", a2},
        {s1 + s2, "AC=X12345", s1},
        {s1 + s2, "DE=kinase", s1},
        {s1 + s2, "OS=sapiens", s1},
        {g1 + g2, "OS=coli", g1},
        {g1 + g2, "AC=Q00003", g1},
        {g1 + g2, "ID=G2", g2},
    };
    for (const Case& c : cases) {
        auto r = run({.args = {"getent", "db", "out", c.word},
                      .files = {{"db", c.db}},
                      .timeout_seconds = 20,
                      .max_file_bytes = 1 << 20});
        ASSERT_EQ(r.status, 0) << c.word << r.err;
        EXPECT_EQ(r.file("out"), c.expected) << c.word;
        EXPECT_EQ(count_of(r.out, "Start copying database"), 1u) << c.word;
    }
}

TEST(Getent, RefusedRequests) {
    struct Case {
        std::vector<std::string> words;
        std::string message;
        std::string db;
    } cases[] = {
        {{"NO=a,2"}, "Check the number.\n", genbank_db()},
        {{"NO=2,"}, "Check the number.\n", genbank_db()},
        {{"Split=x"}, "In the split mode, use number after Split=.\n", numbered_fasta(20)},
        {{"Split=0"}, "The split number must be at least 1.\n", numbered_fasta(20)},
        {{"Split=1001"}, "The split number must be less than or equal to 1000.\n", numbered_fasta(20)},
        {{"Split=3"}, "Number of sequences must be more then ten times larger than the split number.\n",
         numbered_fasta(20)},
        {{"Split=2"}, "Only FASTA file can be processed in this mode.\n", genbank_db()},
        {{"ID=x"}, "This is not a GenBank, EMBL, SwissProt, Uniprot or FASTA file.\n",
         "CLUSTAL W (1.8) multiple sequence alignment\n\nA  ACGT\nB  ACGT\n"},
    };
    for (const auto& c : cases) {
        auto r = getent(c.db, c.words);
        EXPECT_EQ(r.status, 1) << c.words[0];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.words[0] << r.err;
    }
    // No selection at all, or too few words: the usage text.
    EXPECT_EQ(getent(genbank_db(), {"XX=1"}).status, 1);
    EXPECT_EQ(run({.args = {"getent", "db", "out"}}).status, 1);
    // The output may not be the database: it would be emptied before reading.
    auto same = run({.args = {"getent", "db", "./db", "ID=ENT"}, .files = {{"db", genbank_db()}}});
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("Output file ./db is the input file.\n"), std::string::npos);
    EXPECT_EQ(same.file("db"), genbank_db());
}

TEST(Getent, SplitWritesRoundedFiles) {
    auto r = getent(numbered_fasta(1000), {"Split=7"});
    ASSERT_EQ(r.status, 0) << r.err;
    // 1000 / 7 = 142 entries a file, rounded down to 100: ten files.
    EXPECT_NE(r.err.find("File will be split into 10 files.\nEach file contains 100 sequences, except the last "
                         "one.\n"),
              std::string::npos);
    EXPECT_NE(r.err.find("Done.\n"), std::string::npos);
    for (int k = 0; k < 10; ++k) {
        const std::string name = "out.0" + std::to_string(k);
        EXPECT_EQ(count_of(r.file(name), ">"), 100u) << name;
        EXPECT_TRUE(r.file(name).starts_with(">seq" + std::to_string(k * 100 + 1) + " entry")) << name;
    }
    EXPECT_FALSE(r.exists("out.10"));
    auto wide = getent(numbered_fasta(1500), {"Split=150"});
    EXPECT_TRUE(wide.exists("out.149") && wide.exists("out.000") && !wide.exists("out.150")) << wide.err;
    // A split file that is the database itself is refused before anything is written.
    auto onto = run({.args = {"getent", "db.00", "db", "Split=2"}, .files = {{"db.00", numbered_fasta(40)}}});
    EXPECT_EQ(onto.status, 1);
    EXPECT_EQ(onto.file("db.00"), numbered_fasta(40));
}

// The FASTA writer's form of entry i of numbered_fasta.
std::string rewritten(int i) {
    return ">seq" + std::to_string(i) + " entry " + std::to_string(i) + ";\n" + bases(20, i) + "\n\n";
}

// The listed entries are copied from their offsets in a plain database; a
// gzip database is still read whole. Both must give the same files and
// messages.
TEST(Getent, ListModesSameFromOffsetsAsFromTheWholeDatabase) {
    const std::string db = "text before\n>b one\nACGT\n>a\r\nAC\r\nGT\r\n>b two\nTTTT\n>e\n>long " +
                           std::string(600, 'x') + "\n" + std::string(520, 'C') + ">in line\nGG\n" + numbered_fasta(120) +
                           ">last\nACGTN";
    const std::string list = "b\nlast\nseq120\nnone\ne\n" + std::string(530, 'z') + "\na\nb\nin\nlong\nseq7 more\n";
    const std::string groups = "b\nGroup A:\nseq3\nb\nGroup B\nlast\nnone\na\n";
    struct Case {
        std::string mode, list;
        std::vector<std::string> files;
    };
    const Case cases[] = {{"File=list", list, {"out"}}, {"Group=list", groups, {"out/GroupA", "out/GroupB"}}};
    for (const Case& c : cases) {
        auto plain = run({.args = {"getent", "db", "out", c.mode}, .files = {{"db", db}, {"list", c.list}}});
        auto whole = run({.args = {"getent", "db", "out", c.mode}, .files = {{"db", gzip_bytes(db)}, {"list", c.list}}});
        ASSERT_EQ(plain.status, 0) << c.mode << plain.err;
        EXPECT_EQ(plain.status, whole.status) << c.mode;
        EXPECT_EQ(plain.out, whole.out) << c.mode;
        EXPECT_EQ(plain.err, whole.err) << c.mode;
        for (const std::string& file : c.files) {
            ASSERT_TRUE(plain.exists(file) && whole.exists(file)) << file;
            EXPECT_EQ(plain.file(file), whole.file(file)) << file;
            EXPECT_NE(plain.file(file).find(">"), std::string::npos) << file;
        }
    }
}

TEST(Getent, ListAndGroupModes) {
    const std::string db = numbered_fasta(6);
    const std::string list = "seq2\n\nGroup A:\nseq5\nnone\nseq1\n";
    auto file_mode = getent(db, {"File=list"}, {{"list", list}});
    ASSERT_EQ(file_mode.status, 0) << file_mode.err;
    EXPECT_EQ(file_mode.file("out"), rewritten(2) + "Group A:\n" + rewritten(5) + rewritten(1));
    EXPECT_NE(file_mode.err.find("Sequence none was not found.\n"), std::string::npos);
    // The output may not replace the list it is made from.
    auto onto_list = getent(db, {"File=./out"}, {{"out", list}});
    EXPECT_EQ(onto_list.status, 1);
    EXPECT_EQ(onto_list.file("out"), list);

    const std::string groups = "seq2\nGroup A:\nseq5\nGroup B\nseq1\nseq3\n";
    auto group_mode = run({.args = {"getent", "db", "dir", "Group=list"}, .files = {{"db", db}, {"list", groups}}});
    ASSERT_EQ(group_mode.status, 0) << group_mode.err;
    EXPECT_EQ(group_mode.file("dir/GroupA"), rewritten(5));
    EXPECT_EQ(count_of(group_mode.file("dir/GroupB"), ">"), 2u);
    EXPECT_FALSE(group_mode.exists("GroupA"));
    EXPECT_NE(group_mode.out.find("Group B is being processed.\n"), std::string::npos);
    EXPECT_NE(group_mode.err.find("Sequence seq2 is listed before any Group line; skipped.\n"), std::string::npos);
    // A group file may not replace the database.
    auto onto = run({.args = {"getent", "GroupX", "dir", "Group=list"},
                     .files = {{"GroupX", db}, {"list", "Group X\nseq1\n"}}});
    EXPECT_EQ(onto.status, 1);
    EXPECT_EQ(onto.file("GroupX"), db);
}

}  // namespace
