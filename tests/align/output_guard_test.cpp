#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/alignments.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

using namespace kavro_test;

// Every alignment tool refuses an output that is one of its inputs, under
// any path, before it empties or writes anything: the inputs stay whole.
TEST(AlignmentOutputGuard, OutputNamedLikeAnInputIsRefused) {
    const std::string aln = clustal_text({{"a", "MKTAYIAKQRQISFVK"}, {"b", "MKTAYIAKQRQLSFVK"}});
    const std::string fa = fasta_text({{"a", "ATGAAAACTGCTTATATTGCTAAACAACGTCAAATTTCTTTTGTAAAA"},
                                       {"b", "ATGAAAACTGCTTATATTGCTAAACAACGTCAACTTTCTTTTGTAAAA"}});
    struct Case {
        std::vector<std::string> args;
        std::string output;
    };
    const std::vector<Case> cases = {
        {{"getclu", "prot.aln", "prot.aln", "5", "10"}, "prot.aln"},
        {{"getclu", "prot.aln", "./prot.aln", "gap", "0.5"}, "./prot.aln"},
        {{"getclu", "prot.aln", "prot.aln", "cl"}, "prot.aln"},
        {{"getclu", "prot.aln", "prot.aln", "sort"}, "prot.aln"},
        {{"getclu"}, "prot.aln"},
        {{"simtbl", "prot.aln", "prot.aln"}, "prot.aln"},
        {{"simtbl", "cds.fa", "./cds.fa", "nr"}, "./cds.fa"},
        {{"simtbl", "cds.fa", "cds.fa", "list"}, "cds.fa"},
        {{"nucaln", "prot.aln", "cds.fa", "prot.aln"}, "prot.aln"},
        {{"nucaln", "prot.aln", "cds.fa", "./cds.fa"}, "./cds.fa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.output);
        // The dialog form answers the prompts: input, output, then the kind of work.
        const std::string dialog = c.args.size() == 1 ? "prot.aln\nprot.aln\nc\ncl\n" : "";
        auto r = run({.args = c.args, .input = dialog, .files = {{"prot.aln", aln}, {"cds.fa", fa}}});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err, HasSubstr("Output file " + c.output + " is the input file.\n"));
        EXPECT_EQ(r.file("prot.aln"), aln);
        EXPECT_EQ(r.file("cds.fa"), fa);
    }
}

}  // namespace
