// The dialogs of the feature commands, run with their answers on standard input.
#include <gtest/gtest.h>

#include "features/feature_output.hpp"
#include "support/feature_entries.hpp"

namespace {

using namespace kavro_test;
using namespace feature_test;

TEST(FeatureDialogs, AnswersBecomeArguments) {
    Entry e;
    e.name = "DLG";
    e.sequence = bases(300);
    e.features = {{"CDS", "join(11..50,101..150)", {"/gene=\"abcA\"", "/translation=\"MKV\""}},
                  {"tRNA", "200..260", {"/product=\"transfer RNA-Leu\""}}};
    struct Case {
        std::string command, answers, output;
        std::vector<std::string> residues;  // of the output file
        int status;
    } cases[] = {
        {"extrna", "in\nout\nQ 0 E 0\nS -1 E 1\nall\n", "out", {span(e.sequence, 199, 261)}, 0},
        {"extrna", "in\nout\nS 0 E 0\nexit\n", "out", {}, 1},
        {"extint", "in\nout\nS 0 E 0\nabcA\n", "out", {span(e.sequence, 51, 100)}, 0},
        {"noncod", "in\ny\n1\n", "in.out",
         {span(e.sequence, 1, 10), span(e.sequence, 51, 100), span(e.sequence, 151, 199),
          span(e.sequence, 261, 300)},
         0},
        {"genlist", "in\nlist\n", "list", {}, 0},
    };
    for (const auto& c : cases) {
        auto r = kavro_test::run({.args = {c.command}, .input = c.answers, .files = {{"in", genbank(e)}}});
        EXPECT_EQ(r.status, c.status) << c.command << r.err;
        if (c.status != 0) continue;
        if (c.command == "genlist")
            EXPECT_EQ(r.file(c.output), "The genes in the file: DLG are: abcA.\n");
        else
            EXPECT_EQ(residues_of(r.file(c.output)), c.residues) << c.command;
    }
}

}  // namespace
