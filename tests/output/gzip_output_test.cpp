// Output names ending in ".gz": every command that writes sequence data
// writes gzip that decompresses to exactly what it writes under a plain name,
// and that KAVRO reads back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/alignments.hpp"
#include "support/feature_entries.hpp"
#include "support/gzip.hpp"
#include "support/run_kavro.hpp"

namespace {

using namespace kavro_test;

const std::string kSeq = bases(600);

std::string genome() {
    Entry e;
    e.name = "GZSEQ";
    e.sequence = kSeq;
    e.features = {
        {"CDS", "31..120", {"/gene=\"abcA\"", "/translation=\"MKVLAAGGTTRRWWYYNNDDCCEEQQHHI\""}},
        {"CDS", "join(201..260,301..390)", {"/gene=\"abcB\"", "/translation=\"MKVL\""}},
        {"tRNA", "complement(450..520)", {"/gene=\"trnA\"", "/product=\"tRNA-Ala\""}},
    };
    return genbank(e);
}

const AlignmentRows kProteins = {{"p1", "MKTAYIAKQR--QISFVKSHFS"}, {"p2", "MSDNGPQNQRNAPRITFGGPSD"}};

// The coding sequence of an aligned protein, one codon per amino acid.
std::string coding(const std::string& aligned) {
    static const std::string letters = "ADFGIKMNPQRSTY";
    static const char* codons[] = {"GCT", "GAT", "TTT", "GGT", "ATT", "AAA", "ATG",
                                   "AAT", "CCT", "CAA", "CGT", "TCT", "ACT", "TAT"};
    std::string dna;
    for (char aa : aligned) {
        if (aa == '-') continue;
        dna += aa == 'V' ? "GTT" : aa == 'H' ? "CAT" : codons[letters.find(aa)];
    }
    return dna;
}

std::map<std::string, std::string> input_files() {
    return {{"in.gb", genome()},
            {"in2.gb", genome()},
            {"in.fa", ">s1 first\nACGTACGTAC\n>s2\nGGGTTTAAAC\n"},
            {"aa.aln", clustal_text(kProteins)},
            {"nuc.fa", fasta_text({{"p1", coding(kProteins[0].second)}, {"p2", coding(kProteins[1].second)}})}};
}

TEST(GzipOutput, EveryDataCommandWritesGzipEqualToItsPlainOutput) {
    // OUT stands for the output name.
    const std::vector<std::vector<std::string>> commands = {
        {"tofast", "in.gb", "OUT"},
        {"tofast", "in.fa", "OUT", "c"},
        {"complement", "in.gb", "OUT"},
        {"toRNA", "in.gb", "OUT"},
        {"clu2fa", "aa.aln", "OUT"},
        {"getseq2", "in.gb", "OUT", "10", "100", "c"},
        {"seqcat", "in.gb", "in2.gb", "OUT"},
        {"chname", "in.fa", "OUT", "s2", "renamed"},
        {"toprot", "in.gb", "OUT", "6"},
        {"extcds", "in.gb", "OUT"},
        {"cdsnuc", "in.gb", "OUT", "split"},
        {"cdsnuc", "in.gb", "OUT", "S", "-5", "E", "5"},
        {"extrna", "in.gb", "OUT", "S", "0", "E", "0"},
        {"extint", "in.gb", "OUT", "S", "0", "E", "0"},
        {"noncod", "in.gb", "OUT", "0"},
        {"getent", "in.gb", "OUT", "ID=GZSEQ"},
        {"genlist", "in.gb", "OUT", "t"},
        {"getclu", "aa.aln", "OUT", "2", "4"},
        {"nucaln", "aa.aln", "nuc.fa", "OUT"},
        {"sites", "in.gb", "OUT", "1", "acgt"},
        {"simtbl", "aa.aln", "OUT"},
    };
    for (const auto& words : commands) {
        std::string shown;
        for (const auto& w : words) shown += w + " ";
        SCOPED_TRACE(shown);
        auto with_output = [&](const std::string& name) {
            kavro_test::Run request{.files = input_files()};
            for (const auto& w : words) request.args.push_back(w == "OUT" ? name : w);
            return run(request);
        };
        const Result plain = with_output("out.txt");
        const Result packed = with_output("out.txt.gz");
        ASSERT_EQ(plain.status, 0) << plain.err;
        EXPECT_EQ(packed.status, 0) << packed.err;
        ASSERT_FALSE(plain.file("out.txt").empty());
        const auto got = gunzip(packed.file("out.txt.gz"));
        ASSERT_TRUE(got) << "not valid gzip";
        EXPECT_EQ(got->text, plain.file("out.txt"));
    }
}

// KAVRO reads its own gzip output, and an output named as the input is
// still refused.
TEST(GzipOutput, ReadsItsOwnGzipAndRefusesTheInputAsOutput) {
    auto r = run({.args = {"extcds", "in.gb", "p.fa.gz"}, .files = input_files()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string written = r.dir->read("p.fa.gz");
    auto back = run({.args = {"tofast", "p.fa.gz", "back.fa"}, .files = {{"p.fa.gz", written}}});
    auto direct = run({.args = {"tofast", "p.fa", "back.fa"}, .files = {{"p.fa", gunzip(written)->text}}});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.file("back.fa"), direct.file("back.fa"));

    const std::string packed_input = gzip_bytes(genome());
    for (const char* command : {"tofast", "extcds"}) {
        SCOPED_TRACE(command);
        auto same = run({.args = {command, "in.gb.gz", "in.gb.gz"}, .files = {{"in.gb.gz", packed_input}}});
        EXPECT_EQ(same.status, 1);
        EXPECT_EQ(same.file("in.gb.gz"), packed_input);
    }
}

// "stdout" stays plain text.
TEST(GzipOutput, StandardOutputStaysPlain) {
    auto r = run({.args = {"tofast", "in.fa", "stdout"}, .files = input_files()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, testing::StartsWith(">s1"));
}

}  // namespace
