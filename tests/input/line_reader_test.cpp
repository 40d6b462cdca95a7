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

namespace {

// What a fast path takes with buffered()/skip() is gone for the pieces that
// follow, and the offsets count it.
TEST(LineReader, SkippingBufferedBytes) {
    auto r = LineReader::from_string("one\ntwo\nthree\n");
    std::string_view p;
    ASSERT_TRUE(r.read_piece(p));
    EXPECT_EQ(r.buffered(), "two\nthree\n");
    r.skip(4);
    EXPECT_EQ(r.tell(), 8);
    ASSERT_TRUE(r.read_piece(p));
    EXPECT_EQ(p, "three\n");
    EXPECT_EQ(r.piece_offset(), 8);
    EXPECT_EQ(r.buffered(), "");
    ASSERT_TRUE(r.seek(4));
    EXPECT_EQ(r.buffered(), "two\nthree\n");
}

// A file longer than one block: the buffer holds at most a block ahead, and
// a line across the block end still comes whole.
TEST(LineReader, BufferedBytesOfAFileAcrossBlocks) {
    kavro_test::TempDir dir;
    std::string line = std::string(99, 'x') + "\n";
    std::string text;
    while (text.size() < 2 * LineReader::kBlockSize + 50) text += line;
    dir.write("f", text);
    auto r = LineReader::open(dir / "f");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->remaining_hint(), static_cast<std::int64_t>(text.size()));
    std::string_view p;
    std::size_t lines = 0;
    for (;;) {
        std::string_view ahead = r->buffered();
        EXPECT_LE(ahead.size(), LineReader::kBlockSize);
        std::size_t whole = ahead.size() - ahead.size() % line.size();
        if (ahead.substr(0, whole) != std::string_view(text).substr(static_cast<std::size_t>(r->tell()), whole)) FAIL();
        r->skip(whole);
        lines += whole / line.size();
        if (!r->read_piece(p, 512)) break;
        ASSERT_EQ(p, line);
        ++lines;
    }
    EXPECT_EQ(lines, text.size() / line.size());
    EXPECT_EQ(r->remaining_hint(), 0);
}

}  // namespace

namespace {

// A line longer than the block makes the buffer grow; what was read stays.
TEST(LineReader, LineLongerThanTheBlock) {
    kavro_test::TempDir dir;
    std::string big(2 * LineReader::kBlockSize + 123, 'q');
    big[LineReader::kBlockSize] = 'm';
    dir.write("f", "head\n" + big + "\ntail\n");
    auto r = LineReader::open(dir / "f");
    ASSERT_TRUE(r);
    std::string_view p;
    ASSERT_TRUE(r->read_line(p));
    EXPECT_EQ(p, "head\n");
    ASSERT_TRUE(r->read_line(p));
    EXPECT_EQ(p, big + "\n");
    ASSERT_TRUE(r->read_piece(p));
    EXPECT_EQ(p, "tail\n");
    EXPECT_FALSE(r->read_piece(p));
    ASSERT_TRUE(r->seek(5 + LineReader::kBlockSize));
    ASSERT_TRUE(r->read_piece(p, 3));
    EXPECT_EQ(p, "mqq");
}

}  // namespace
