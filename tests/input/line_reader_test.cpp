#include <gtest/gtest.h>

#include "input/line_reader.hpp"
#include "support/run_kavro.hpp"

using kavro::LineReader;

namespace {

std::vector<std::string> pieces(std::string data, std::size_t limit) {
    auto r = LineReader::from_string(std::move(data));
    std::vector<std::string> got;
    std::string_view p;
    while (r.read_piece(p, limit)) got.emplace_back(p);
    return got;
}

TEST(LineReader, SplitsLongLinesIntoPiecesOfTheLimit) {
    std::string line(1100, 'a');
    auto got = pieces(line + "\nxy\n", 512);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].size(), 512u);
    EXPECT_EQ(got[1].size(), 512u);
    EXPECT_EQ(got[2], std::string(76, 'a') + "\n");
    EXPECT_EQ(got[3], "xy\n");
}

TEST(LineReader, ExactLimitLineLeavesItsNewlineForTheNextPiece) {
    auto got = pieces(std::string(511, 'c') + "\n", 511);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1], "\n");
}

TEST(LineReader, CrLfReadsAsLf) {
    auto got = pieces("ab\r\ncd\r\n\r\nlast", 512);
    EXPECT_EQ(got, (std::vector<std::string>{"ab\n", "cd\n", "\n", "last"}));
    // A CRLF counts as one character against the limit.
    got = pieces("abc\r\n", 4);
    EXPECT_EQ(got, (std::vector<std::string>{"abc\n"}));
}

TEST(LineReader, OffsetsAndSeek) {
    auto r = LineReader::from_string("one\ntwo\nthree\n");
    std::string_view p;
    ASSERT_TRUE(r.read_piece(p));
    EXPECT_EQ(r.tell(), 4);
    ASSERT_TRUE(r.read_piece(p));
    EXPECT_EQ(r.piece_offset(), 4);
    ASSERT_TRUE(r.seek(0));
    ASSERT_TRUE(r.read_piece(p));
    EXPECT_EQ(p, "one\n");
    ASSERT_TRUE(r.seek(8));
    ASSERT_TRUE(r.read_line(p));
    EXPECT_EQ(p, "three\n");
    EXPECT_FALSE(r.read_line(p));
}

TEST(LineReader, WordsLikeScanf) {
    auto r = LineReader::from_string("  first second\n\n third_is_long\n");
    std::string w;
    ASSERT_TRUE(r.read_word(w, 31));
    EXPECT_EQ(w, "first");
    r.skip_rest_of_line();
    ASSERT_TRUE(r.read_word(w, 5));
    EXPECT_EQ(w, "third");
    ASSERT_TRUE(r.read_word(w, 31));
    EXPECT_EQ(w, "_is_long");
    EXPECT_FALSE(r.read_word(w, 31));
}

}  // namespace

namespace {

TEST(LineReader, CrLfLinesReadTheSameAfterSeekingBack) {
    auto r = LineReader::from_string("ab\r\ncd\r\n");
    std::string_view p;
    std::vector<std::string> first, again;
    while (r.read_piece(p)) first.emplace_back(p);
    ASSERT_TRUE(r.seek(0));
    while (r.read_piece(p)) again.emplace_back(p);
    EXPECT_EQ(first, (std::vector<std::string>{"ab\n", "cd\n"}));
    EXPECT_EQ(again, first);
    ASSERT_TRUE(r.seek(0));
    ASSERT_TRUE(r.read_line(p));
    EXPECT_EQ(p, "ab\n");
    EXPECT_EQ(r.tell(), 4);
}

TEST(LineReader, PieceOffsetsOfALongLineAndAFile) {
    kavro_test::TempDir dir;
    std::string text = std::string(1030, 'x') + "\nend\n";
    dir.write("f", text);
    auto r = LineReader::open(dir / "f");
    ASSERT_TRUE(r);
    std::string_view p;
    std::vector<std::int64_t> offsets;
    while (r->read_piece(p)) offsets.push_back(r->piece_offset());
    EXPECT_EQ(offsets, (std::vector<std::int64_t>{0, 512, 1024, 1031}));
    ASSERT_TRUE(r->seek(1031));
    ASSERT_TRUE(r->read_piece(p));
    EXPECT_EQ(p, "end\n");
}

}  // namespace
