// Inputs that are not plain files: gzip is inflated as it is read, pipes and
// FIFOs are read through a spooled copy that can be opened again; binary data
// is recognised; old Mac line ends are line ends.
#include "input/input_source.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <vector>
#include <unistd.h>

#include "core/program_exit.hpp"
#include "input/line_reader.hpp"
#include "support/feature_entries.hpp"
#include "support/gzip.hpp"
#include "support/run_kavro.hpp"

namespace {

using kavro::LineReader;

// Every line of an input opened by name, joined.
std::string read_all(const std::string& name) {
    auto in = LineReader::open(name);
    if (!in) return "(cannot open)";
    std::string text;
    std::string_view line;
    while (in->read_line(line)) text += line;
    return text;
}

const std::string kText = "LOCUS       X1 4 bp DNA\nORIGIN\n        1 acgt\n//\n";

// Numbered lines, `bytes` long or a little more: every line differs.
std::string numbered_lines(std::size_t bytes) {
    std::string text;
    for (long i = 0; text.size() < bytes; ++i) text += "line " + std::to_string(i) + " " + kavro_test::bases(50) + "\n";
    return text;
}

// The text as bgzip writes it: members of at most 64 KiB of text each.
std::string gzip_members(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); at += 65280) out += kavro_test::gzip_bytes(text.substr(at, 65280));
    return out;
}

TEST(InputSource, GzipFilesAreReadDecompressedAndAgain) {
    kavro_test::TempDir dir;
    const std::string big = numbered_lines(3'000'000);
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"one.gz", kavro_test::gzip_bytes(kText), kText},
        {"two.gz", kavro_test::gzip_bytes(kText) + kavro_test::gzip_bytes(kText), kText + kText},
        {"empty.gz", kavro_test::gzip_bytes(""), ""},
        {"bgzf.gz", gzip_members(big), big},  // members across the blocks inflated at a time
        {"big.gz", kavro_test::gzip_bytes(big), big},
        {"trailing.gz", kavro_test::gzip_bytes(kText) + "not a member\n", kText},
    };
    for (const auto& [name, bytes, expected] : cases) {
        dir.write(name, bytes);
        EXPECT_TRUE(read_all(dir / name) == expected) << name;
        EXPECT_TRUE(read_all(dir / name) == expected) << "second open of " << name;
        // Inflated as it is read: no copy is made.
        EXPECT_EQ(kavro::readable_path(dir / name), dir / name);
    }
    // A plain file is opened as it is.
    dir.write("plain", kText);
    EXPECT_EQ(kavro::readable_path(dir / "plain"), dir / "plain");
}

TEST(InputSource, DamagedGzipEndsTheProgram) {
    kavro_test::TempDir dir;
    const std::string whole = kavro_test::gzip_bytes(kText);
    std::string bad_crc = whole;
    bad_crc[bad_crc.size() - 8] ^= 1;
    const std::string big = kavro_test::gzip_bytes(numbered_lines(3'000'000));
    const std::string cases[] = {
        whole.substr(0, whole.size() / 2),
        whole.substr(0, 10) + std::string(40, 'x'),
        bad_crc,
        whole + whole.substr(0, 12),         // a second member cut short
        big.substr(0, big.size() * 4 / 5),   // cut short after blocks were read
    };
    for (const std::string& bytes : cases) {
        dir.write("bad.gz", bytes);
        int status = -1;
        std::string messages;
        {
            kavro_test::CaptureConsole console;
            try {
                read_all(dir / "bad.gz");
            } catch (const kavro::ProgramExit& e) {
                status = e.status;
            }
            messages = console.err();
        }
        EXPECT_EQ(status, 1) << bytes.size();
        EXPECT_EQ(messages, "This gzip file is damaged or cut short: " + (dir / "bad.gz") + "\n");
    }
}

// Entry walks and second passes seek back by offsets of the inflated data:
// into the blocks still held, past them to a saved point, and to the start.
TEST(InputSource, SeekingInGzipInputReadsTheSameLines) {
    kavro_test::TempDir dir;
    const std::string text = numbered_lines(6'000'000);
    std::vector<std::int64_t> starts;  // a line start every ~100 KB
    for (std::size_t at = 0; at + 100'000 < text.size(); at = text.find('\n', at + 100'000) + 1)
        starts.push_back(static_cast<std::int64_t>(at));
    for (const auto& bytes : {kavro_test::gzip_bytes(text), gzip_members(text)}) {
        dir.write("in.gz", bytes);
        auto in = LineReader::open(dir / "in.gz");
        ASSERT_TRUE(in);
        std::string_view line;
        while (in->read_line(line)) {}
        EXPECT_EQ(in->tell(), static_cast<std::int64_t>(text.size()));
        // From the end backwards, then back and forth.
        std::vector<std::int64_t> order(starts.rbegin(), starts.rend());
        for (std::size_t i = 0; i < starts.size(); i += 7) order.push_back(starts[(i * 31) % starts.size()]);
        for (std::int64_t at : order) {
            ASSERT_TRUE(in->seek(at));
            ASSERT_TRUE(in->read_line(line));
            const auto n = static_cast<std::size_t>(at);
            EXPECT_EQ(line, std::string_view(text).substr(n, text.find('\n', n) + 1 - n)) << at;
        }
        ASSERT_TRUE(in->seek(static_cast<std::int64_t>(text.size()) + 10));
        EXPECT_FALSE(in->read_line(line));
        ASSERT_TRUE(in->seek(0));
        std::string again;
        while (in->read_line(line)) again += line;
        EXPECT_TRUE(again == text);
        EXPECT_TRUE(in->finish());
    }
}

// Commands that walk entries and go back over them read a gzip file as they
// read the plain one; the large entry outgrows the blocks held in memory.
TEST(InputSource, CommandsReadGzipAsThePlainFile) {
    kavro_test::Entry big;
    big.name = "BIG";
    big.sequence = kavro_test::bases(4'000'000);
    big.features = {{"CDS", "join(1..90,4000..4299)", {"/gene=\"abcA\"", "/translation=\"MKV\""}},
                    {"tRNA", "3900000..3900070", {"/product=\"transfer RNA-Leu\""}}};
    big.accession = "AB000002";
    kavro_test::Entry small = big;
    small.name = "SMALL";
    small.accession = "AB000003";
    small.sequence = kavro_test::bases(5000, 3);
    // An exon in the large entry: read through a second reader seeking there.
    small.features[0].location = "join(10..99,AB000002.1:3999901..3999999)";
    small.features[1].location = "320..390";
    const std::string gb = kavro_test::genbank(small) + kavro_test::genbank(big) + kavro_test::genbank(small);
    const std::vector<std::string> commands[] = {
        {"genlist", "in", "out", "t"}, {"extcds", "in", "out"}, {"cdsnuc", "in", "out", "S", "0", "E", "0"},
        {"getent", "in", "out", "ID=BIG"},
    };
    for (const auto& args : commands) {
        auto plain = kavro_test::run({.args = args, .files = {{"in", gb}}});
        auto gz = kavro_test::run({.args = args, .files = {{"in", kavro_test::gzip_bytes(gb)}}});
        ASSERT_EQ(plain.status, 0) << args[0] << plain.err;
        EXPECT_NE(plain.file("out").size(), 0u) << args[0];
        EXPECT_EQ(gz.status, plain.status) << args[0];
        EXPECT_EQ(gz.out, plain.out) << args[0];
        EXPECT_EQ(gz.err, plain.err) << args[0];
        EXPECT_TRUE(gz.file("out") == plain.file("out")) << args[0];
    }
}

TEST(InputSource, PipesAndFifosAreReadOnceAndOpenedAgain) {
    kavro_test::TempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string pipe_name = "/dev/fd/" + std::to_string(fds[0]);
    const std::string big = numbered_lines(2'500'000);
    const std::string gz = kavro_test::gzip_bytes(big);
    std::thread writer([&] {
        int f = ::open(fifo.c_str(), O_WRONLY);
        EXPECT_EQ(::write(f, kText.data(), kText.size()), static_cast<ssize_t>(kText.size()));
        ::close(f);
        EXPECT_EQ(::write(fds[1], gz.data(), gz.size()), static_cast<ssize_t>(gz.size()));
        ::close(fds[1]);
    });
    // Detection opens an input, the reader opens it again: both see it all.
    EXPECT_EQ(read_all(fifo), kText);
    EXPECT_EQ(read_all(fifo), kText);
    EXPECT_TRUE(read_all(pipe_name) == big);  // a compressed stream from a pipe
    EXPECT_TRUE(read_all(pipe_name) == big);
    writer.join();
    ::close(fds[0]);
}

TEST(InputSource, BinaryIsTextWithControlCharacters) {
    const std::pair<std::string, bool> cases[] = {
        {">a\nACGT\r\n\t\f\v", false}, {"caf\xC3\xA9 \x1A", false}, {"", false},
        {std::string("AC\0GT", 5), true}, {"\x01\x02", true}, {"AC\x1BGT", true}, {"\x7F", true},
    };
    for (const auto& [text, binary] : cases) EXPECT_EQ(kavro::looks_binary(text), binary) << text;
}

TEST(InputSource, LoneCarriageReturnsEndLines) {
    const std::pair<std::string, std::string> cases[] = {
        {">a\rAC\rGT\r", ">a\n|AC\n|GT\n|"},
        {">a\r\nAC\r\n", ">a\n|AC\n|"},       // CR LF stays one line end
        {"AC\rGT\nTT\n", "AC\rGT\n|TT\n|"},   // a newline in the first block: CR is a character
    };
    for (const auto& [text, lines] : cases) {
        LineReader in = LineReader::from_string(text);
        std::string got;
        std::string_view piece;
        while (in.read_piece(piece, LineReader::kPiece)) got += std::string(piece) + "|";
        EXPECT_EQ(got, lines);
    }    // A first line longer than the first read block: its line end settles it.
    kavro_test::TempDir dir;
    dir.write("mac", std::string(LineReader::kBlockSize + 100, 'A') + "\rAC\rGT\r");
    auto in = LineReader::open(dir / "mac");
    ASSERT_TRUE(in);
    std::vector<std::string> got;
    std::string_view line;
    while (in->read_line(line)) got.emplace_back(line);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], "AC\n");
    EXPECT_EQ(got[2], "GT\n");
}

}  // namespace
