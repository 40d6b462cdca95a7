// extcds and cdsnuc run end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/feature_entries.hpp"
#include "support/records.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

using namespace kavro_test;

// Sequence of every FASTA entry of a text by its header line.
std::map<std::string, std::string> fasta_by_header(const std::string& text) {
    std::map<std::string, std::string> m;
    std::string header;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(at, nl - at);
        if (line.starts_with(">"))
            header = line;
        else
            m[header] += line;
        at = nl + 1;
    }
    return m;
}

// The sequence whose header starts with `prefix` ("" when none).
std::string seq_of(const std::string& text, const std::string& prefix) {
    for (const auto& [h, s] : fasta_by_header(text))
        if (h.starts_with(prefix)) return s;
    return "";
}

const std::string kSeqA = bases(600, 1);
const std::string kSeqB = bases(300, 2);

const Entry kEntryA{
    .name = "ENTA",
    .accession = "AB000001",
    .features = {{"CDS", "10..30", {"/gene=\"dnaA\"", "/translation=\"MKV\""}},
                 {"CDS", "complement(join(100..120,200..230))", {"/gene=\"dnaA2\"", "/translation=\"MAA\""}},
                 {"CDS", "<300..>350", {"/gene=\"parT\""}},
                 {"CDS", "join(400..410,AB000002.1:5..20)", {"/gene=\"remO\"", "/translation=\"MR\""}}},
    .sequence = kSeqA};
const Entry kEntryB{.name = "ENTB",
                    .accession = "AB000002",
                    .features = {{"CDS", "1..60", {"/gene=\"dnaA\"", "/translation=\"MEEP\""}}},
                    .sequence = kSeqB};
const std::string kFile = genbank(kEntryA) + genbank(kEntryB);

Result run_with(std::vector<std::string> args, std::map<std::string, std::string> env = {}, std::string input = "") {
    return run({.args = args, .input = input, .env = env, .files = {{"in.gb", kFile}, {"in.embl", embl(kEntryA)}}});
}

}  // namespace

TEST(Extcds, FormsAndTable) {
    auto all = run_with({"extcds", "in.gb", "out.fa"});
    ASSERT_EQ(all.status, 0) << all.err;
    const std::string fa = all.file("out.fa");
    EXPECT_EQ(fasta_by_header(fa).size(), 4u);
    EXPECT_EQ(seq_of(fa, ">ENTA_dnaA  ; Escherichia coli;; AC=AB000001; "), "MKV");
    EXPECT_THAT(all.err, HasSubstr("No translation for ENTA parT.\n"));
    EXPECT_THAT(all.out, HasSubstr("Reading sequence...\n"));

    // One name, whole words only: dnaA in both entries, never dnaA2.
    auto one = run_with({"extcds", "in.gb", "out.fa", "dnaA"});
    EXPECT_EQ(fasta_by_header(one.file("out.fa")).size(), 2u);
    EXPECT_EQ(seq_of(one.file("out.fa"), ">ENTB_dnaA"), "MEEP");
    auto none = run_with({"extcds", "in.gb", "out.fa", "zzzZ"});
    EXPECT_THAT(none.err, HasSubstr("No CDS: zzzZ in database: ENTA.\n"));

    auto exons = run_with({"extcds", "in.gb", "out.fa", "exoninf"});
    EXPECT_THAT(exons.file("out.fa"), HasSubstr(">ENTA_dnaA2 2 complement join 100  120 200  230 ; "));

    auto table = run_with({"extcds", "in.gb", "root", "t"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_THAT(table.file("root.fa"), HasSubstr(">root_dnaA  ; Escherichia coli;; AC=AB000001; \nMKV\n"));
    EXPECT_THAT(table.file("root.p.table"), HasSubstr("root_dnaA\t3\t ; Escherichia coli;; AC=AB000001; \n"));
    EXPECT_EQ(count_of(table.file("root.p.table"), "\n"), 4u);

    auto embl_run = run_with({"extcds", "in.embl", "out.fa"});
    EXPECT_EQ(seq_of(embl_run.file("out.fa"), ">ENTA_dnaA2"), "MAA");
}

TEST(Cdsnuc, ArgumentsAndModes) {
    const std::string dnaA = span(kSeqA, 10, 30);
    const std::string dnaA2 = revcomp(span(kSeqA, 200, 230)) + revcomp(span(kSeqA, 100, 120));
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::string header, want;
    };
    const std::vector<Case> cases = {
        {"whole", {"S", "0", "E", "0"}, {}, ">ENTA_dnaA 1 10  30 ", dnaA},
        {"minus strand join", {"S", "0", "E", "0"}, {}, ">ENTA_dnaA2 ", dnaA2},
        {"upstream fill", {"S", "-12", "E", "0"}, {}, ">ENTA_dnaA ", "---" + span(kSeqA, 1, 30)},
        {"first codon", {"s", "1", "s", "3"}, {}, ">ENTA_dnaA ", span(kSeqA, 10, 12)},
        {"partial ends keep the feature", {"S", "0", "E", "0"}, {}, ">ENTA_parT ", span(kSeqA, 300, 350)},
        {"partial end with an offset", {"S", "-3", "E", "0"}, {}, ">ENTA_parT ", "*"},
        {"remote exon imported", {"S", "0", "E", "0"}, {}, ">ENTA_remO ", span(kSeqA, 400, 410) + span(kSeqB, 5, 20)},
        {"remote exon refused", {"S", "0", "E", "0"}, {{"SEQ_IMPORT", "false"}}, ">ENTA_remO ", ""},
        {"introns with addseqg", {"S", "-2", "E", "2"}, {{"ADDSEQG", "TRUE"}}, ">ENTA_dnaA2 ",
         revcomp(span(kSeqA, 98, 232))},
        {"split", {"split"}, {}, ">ENTA_dnaA2 ", revcomp(span(kSeqA, 200, 230)) + "xxxxx" + revcomp(span(kSeqA, 100, 120))},
        {"by name, as a substring", {"S", "0", "E", "0", "dnaA2"}, {}, ">ENTA_dnaA2 ", dnaA2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"cdsnuc", "in.gb", "out.fa"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        auto r = run_with(args, c.env);
        EXPECT_EQ(r.status, 0) << c.what << r.err;
        EXPECT_EQ(seq_of(r.file("out.fa"), c.header), c.want) << c.what;
    }
    // A name selects every definition that holds it; both entries contribute.
    EXPECT_EQ(fasta_by_header(run_with({"cdsnuc", "in.gb", "out.fa", "S", "0", "E", "0", "dnaA"}).file("out.fa")).size(), 3u);
    // A name that no CDS holds is said, not passed over in silence.
    auto none = run_with({"cdsnuc", "in.gb", "out.fa", "S", "0", "E", "0", "noSuchGene"});
    EXPECT_EQ(none.status, 0);
    EXPECT_THAT(none.err, HasSubstr("No CDS: noSuchGene in file: in.gb."));
    // EMBL input and standard output.
    auto std_out = run_with({"cdsnuc", "in.embl", "stdout", "S", "0", "E", "0"});
    EXPECT_EQ(seq_of(std_out.out, ">ENTA_dnaA2 "), dnaA2);
    EXPECT_THAT(std_out.err, HasSubstr("Terminated."));
}

TEST(FeatureCommands, DialogsAndFailures) {
    auto ext = run_with({"extcds"}, {}, "in.gb\nout.fa\ndnaA\n");
    EXPECT_EQ(ext.status, 0) << ext.err;
    EXPECT_EQ(fasta_by_header(ext.file("out.fa")).size(), 2u);
    auto nuc = run_with({"cdsnuc"}, {}, "in.gb\nout.fa\nX 0 E 0\nS -3 E 0\nall\n");
    EXPECT_EQ(nuc.status, 0) << nuc.err;
    EXPECT_EQ(seq_of(nuc.file("out.fa"), ">ENTA_dnaA "), span(kSeqA, 7, 30));
    EXPECT_EQ(count_of(nuc.out, sjis("これら４個のデータの間にはスペースを入れてください。\n")), 2u);
    EXPECT_EQ(run_with({"cdsnuc"}, {}, "in.gb\nout.fa\nS 0 E 0\nexit\n").status, 0);

    struct Failure {
        const char* what;
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::string message;
    };
    Entry open = kEntryB;
    open.end_line = false;
    const std::vector<Failure> failures = {
        {"usage", {"extcds", "in.gb"}, {}, ""},
        {"bad reference", {"cdsnuc", "in.gb", "out.fa", "X", "0", "E", "0"}, {}, ""},
        {"split with addseqg", {"cdsnuc", "in.gb", "out.fa", "split"}, {{"ADDSEQG", "1"}}, ""},
        {"output is the input", {"extcds", "in.gb", "in.gb"}, {}, "Output file in.gb is the input file.\n"},
        {"output is the input", {"cdsnuc", "in.gb", "./in.gb", "S", "0", "E", "0"}, {}, "is the input file.\n"},
        {"protein file", {"extcds", "prot.gb", "out.fa"}, {}, "This is not a GenBank or EMBL file.\n"},
        {"missing end line", {"extcds", "open.gb", "out.fa"}, {}, "\nEnd tag // is missing.\n"},
        {"missing end line", {"cdsnuc", "open.gb", "out.fa", "S", "0", "E", "0"}, {}, "\nEnd tag // is missing.\n"},
        {"EMBL line without FT", {"extcds", "bad.embl", "out.fa"}, {}, "\nNo FT tag in EMBL file:XY.\nError in extracting CDS\n"},
        {"offset beyond 32 bits", {"cdsnuc", "in.gb", "out.fa", "S", "-99999999999", "E", "0"}, {}, "out of range"},
    };
    const std::string prot = "LOCUS       P1   3 aa    linear   BCT\nORIGIN\n        1 mkv\n//\n";
    std::string bad_embl = embl(kEntryA);
    bad_embl.replace(bad_embl.find("FT   CDS"), 2, "XY");
    for (const Failure& f : failures) {
        auto r = run({.args = f.args, .env = f.env,
                      .files = {{"in.gb", kFile}, {"prot.gb", prot}, {"open.gb", genbank(kEntryA) + genbank(open)}, {"bad.embl", bad_embl}}});
        EXPECT_EQ(r.status, 1) << f.what;
        EXPECT_THAT(r.err, HasSubstr(f.message)) << f.what << "\n" << r.err;
        EXPECT_EQ(r.file("in.gb"), kFile) << f.what;
    }
}

TEST(Cdsnuc, CircularEntriesAndSettingsAcrossCommands) {
    const std::string seq = bases(3000, 5);
    const Entry circular{.name = "PLAS",
                         .circular = true,
                         .features = {{"CDS", "join(2951..3000,1..40)", {"/gene=\"repA\""}},
                                      {"CDS", "complement(2990..20)", {"/gene=\"repB\""}}},
                         .sequence = seq};
    auto r = run({.args = {"cdsnuc", "c.gb", "out.fa", "S", "-5", "E", "0"}, .files = {{"c.gb", genbank(circular)}}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(seq_of(r.file("out.fa"), ">PLAS_repA "), span(seq, 2946, 3000) + span(seq, 1, 40));
    EXPECT_EQ(seq_of(r.file("out.fa"), ">PLAS_repB "), revcomp(span(seq, 2990, 3000) + span(seq, 1, 25)));

    // extcds switches seq_import off for the rest of a script: no index after it.
    auto script = run({.files = {{"in.gb", kFile},
                                 {"kavro.cf", "cdsnuc in.gb a.fa S 0 E 0\nextcds in.gb b.fa\ncdsnuc in.gb c.fa S 0 E 0\n"}}});
    EXPECT_EQ(count_of(script.out, "Making index...\n"), 1u);
    EXPECT_EQ(seq_of(script.file("c.fa"), ">ENTA_remO "), "");
}

namespace {

using kavro_test::bases;
using kavro_test::count_of;
using kavro_test::Entry;
using kavro_test::genbank;
using kavro_test::run;
using kavro_test::span;

// Every white-space byte of a feature name becomes "_", so the name stays
// one word for every command that splits a definition; a feature whose
// location cannot be read is reported and not written empty.
TEST(FeatureCommands, WhiteSpaceInNamesAndUnreadableLocations) {
    const std::string seq = bases(120, 3);
    Entry e{.name = "TESTSEQ",
            .features = {{"CDS", "join(10..30,40..60)", {"/gene=\"ab\tc\""}}, {"CDS", "70..90", {"/gene=\"de f\""}}},
            .sequence = seq};
    const std::string named = genbank(e);
    const auto on = [](const std::string& input, std::vector<std::string> args) {
        return run({.args = args, .files = {{"in", input}}});
    };

    auto cds = on(named, {"cdsnuc", "in", "out", "S", "0", "E", "0"});
    ASSERT_EQ(cds.status, 0) << cds.err;
    EXPECT_EQ(seq_of(cds.file("out"), ">TESTSEQ_ab_c 2 join 10 "), span(seq, 10, 30) + span(seq, 40, 60));
    EXPECT_EQ(seq_of(cds.file("out"), ">TESTSEQ_de_f 1 70 "), span(seq, 70, 90));

    auto introns = on(named, {"extint", "in", "out", "S", "0", "E", "0"});
    ASSERT_EQ(introns.status, 0) << introns.err;
    EXPECT_EQ(seq_of(introns.file("out"), ">TESTSEQ_ab_c_intron_1"), span(seq, 31, 39));

    auto table = on(named, {"genlist", "in", "out", "t"});
    ASSERT_EQ(table.status, 0) << table.err;
    const std::string rows = table.file("out");
    for (const std::string row : {"ab_c_1\tCDS\tF\t", "ab_c_2\tCDS\tF\t", "de_f\tCDS\tF\t"})
        EXPECT_THAT(rows, HasSubstr("\n" + row)) << rows;

    auto noncoding = on(named, {"noncod", "in", "out"});
    ASSERT_EQ(noncoding.status, 0) << noncoding.err;
    const std::string kept = noncoding.file("out");
    EXPECT_EQ(count_of(kept, ">"), 3u) << kept;
    EXPECT_EQ(seq_of(kept, ">TESTSEQ_NonCoding_2"), span(seq, 61, 69));

    e.features.push_back({"CDS", "95..x99", {"/gene=\"bad\""}});
    auto bad = on(genbank(e), {"cdsnuc", "in", "out", "S", "0", "E", "0"});
    EXPECT_EQ(bad.status, 0) << bad.err;
    EXPECT_THAT(bad.err, HasSubstr("\nError in making exon list. Skipping TESTSEQ bad.\n"));
    EXPECT_EQ(count_of(bad.file("out"), ">"), 2u) << bad.file("out");
    EXPECT_EQ(count_of(bad.file("out"), "bad"), 0u);
}

}  // namespace
