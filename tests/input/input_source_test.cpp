// Inputs that are not plain files: gzip, pipes and FIFOs are read through a
// spooled copy that can be opened again; binary data is recognised; old Mac
// line ends are line ends.
#include "input/input_source.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include "core/program_exit.hpp"
#include "input/line_reader.hpp"
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

TEST(InputSource, GzipFilesAreReadDecompressedAndAgain) {
    kavro_test::TempDir dir;
    const std::pair<const char*, std::string> cases[] = {
        {"one.gz", kavro_test::gzip_bytes(kText)},
        {"two.gz", kavro_test::gzip_bytes(kText) + kavro_test::gzip_bytes(kText)},  // bgzip-style members
        {"empty.gz", kavro_test::gzip_bytes("")},
    };
    const std::string expected[] = {kText, kText + kText, ""};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        dir.write(cases[i].first, cases[i].second);
        EXPECT_EQ(read_all(dir / cases[i].first), expected[i]) << cases[i].first;
        EXPECT_EQ(read_all(dir / cases[i].first), expected[i]) << "second open of " << cases[i].first;
    }
    // A plain file is opened as it is.
    dir.write("plain", kText);
    EXPECT_EQ(kavro::readable_path(dir / "plain"), dir / "plain");
}

TEST(InputSource, DamagedGzipEndsTheProgram) {
    kavro_test::TempDir dir;
    const std::string whole = kavro_test::gzip_bytes(kText);
    for (const std::string& bytes : {whole.substr(0, whole.size() / 2), whole.substr(0, 10) + std::string(40, 'x')}) {
        dir.write("bad.gz", bytes);
        int status = -1;
        std::string messages;
        {
            kavro_test::CaptureConsole console;
            try {
                kavro::readable_path(dir / "bad.gz");
            } catch (const kavro::ProgramExit& e) {
                status = e.status;
            }
            messages = console.err();
        }
        EXPECT_EQ(status, 1);
        EXPECT_EQ(messages, "This gzip file is damaged or cut short: " + (dir / "bad.gz") + "\n");
    }
}

TEST(InputSource, PipesAndFifosAreReadOnceAndOpenedAgain) {
    kavro_test::TempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string pipe_name = "/dev/fd/" + std::to_string(fds[0]);
    const std::string gz = kavro_test::gzip_bytes(kText);
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
    EXPECT_EQ(read_all(pipe_name), kText);  // a compressed stream from a pipe
    EXPECT_EQ(read_all(pipe_name), kText);
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
