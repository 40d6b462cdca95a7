// A directory given where a file is read: every command that reads says which
// input failed and why, and ends with status 1.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/line_reader.hpp"
#include "msanal/msanal.hpp"
#include "support/run_kavro.hpp"
#include "translate/codon_table.hpp"

namespace {

using testing::HasSubstr;

constexpr const char* kDirectoryUnreadable = "Cannot read .: Is a directory.\n";

TEST(ReadFailure, EveryReadingCommandFailsOnADirectory) {
    const std::vector<std::vector<std::string>> commands = {
        {"cp", ".", "out"},
        {"fcat", "a.fa", "."},
        {"tofast", ".", "out"},
        {"tofast", ".", "out", "dna"},
        {"getseq2", ".", "out", "1", "2", "n"},
        {"seqcat", ".", "a.fa", "out"},
        {"seqcat", "a.fa", ".", "out"},
        {"chname", ".", "out"},
        {"txtr", ".", "out", "1"},
        {"txtr", ".", "out", "CR"},
        {"txtr", ".", "out", "c1-2"},
        {"toprot", ".", "out"},
        {"extcds", ".", "out"},
        {"simtbl", ".", "out"},
        {"nucaln", ".", "a.fa", "out"},
        {"getclu", ".", "out", "1", "4"},
        {"splcod", "."},
        {"sites", ".", "out", "s", "GAATTC"},
    };
    for (const auto& args : commands) {
        auto r = kavro_test::run({.args = args, .files = {{"a.fa", ">a\nACGT\n"}}});
        std::string shown;
        for (const std::string& word : args) shown += word + " ";
        EXPECT_EQ(r.status, 1) << shown;
        EXPECT_THAT(r.err, HasSubstr(kDirectoryUnreadable)) << shown;
    }
}

TEST(ReadFailure, FileReadersAndTheLineReaderReportIt) {
    kavro_test::CaptureConsole console;
    EXPECT_FALSE(kavro::read_msdef("."));
    EXPECT_FALSE(kavro::read_codon_table_file("."));
    auto in = kavro::LineReader::open(".");
    ASSERT_TRUE(in);
    std::string_view piece;
    EXPECT_FALSE(in->read_piece(piece));
    EXPECT_FALSE(in->finish());
    EXPECT_FALSE(in->finish());  // said once
    EXPECT_EQ(console.err(), std::string(kDirectoryUnreadable) + kDirectoryUnreadable + kDirectoryUnreadable);

    auto text = kavro::LineReader::from_string("line\n");
    while (text.read_piece(piece)) {
    }
    EXPECT_TRUE(text.finish());
}

}  // namespace
