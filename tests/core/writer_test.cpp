#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "core/writer.hpp"
#include "support/gzip.hpp"
#include "support/run_kavro.hpp"

using kavro::Writer;

namespace {

TEST(Writer, MixesSmallPiecesLargeBlocksAndFormats) {
    kavro_test::TempDir dir;
    {
        auto w = Writer::open_truncate(dir / "out");
        ASSERT_TRUE(w);
        w->put('>');
        w->write("abc");
        w->printf("%5.2f|%ld\n", 3.14159, 42L);
        w->write(std::string(3 << 20, 'x'));  // larger than the buffer
        w->printf("%s", std::string(2000, 'y').c_str());  // longer than the format buffer
        EXPECT_TRUE(w->close());
    }
    std::string got = dir.read("out");
    EXPECT_EQ(got.substr(0, 14), ">abc 3.14|42\nx");
    EXPECT_EQ(got.size(), 13 + (3u << 20) + 2000);
}

TEST(Writer, AppendKeepsWhatIsThere) {
    kavro_test::TempDir dir;
    dir.write("f", "first\n");
    {
        auto w = Writer::open_append(dir / "f");
        ASSERT_TRUE(w);
        w->write("second\n");
    }
    EXPECT_EQ(dir.read("f"), "first\nsecond\n");
}

TEST(Writer, ReportsAFailedWrite) {
    int fd = open("/dev/full", O_WRONLY);
    if (fd < 0) GTEST_SKIP() << "no /dev/full";
    Writer w(fd, true);
    w.write("data");
    EXPECT_FALSE(w.flush());
    EXPECT_TRUE(w.failed());
    EXPECT_FALSE(w.close());
}

// A failed close that nobody checked, by the destructor or by assigning
// another writer over it, is reported with the file's name and counted.
TEST(Writer, UncheckedCloseFailureIsReportedAndCounted) {
    if (!Writer::open_truncate("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::vector<std::function<void()>> endings = {
        [] { Writer::open_truncate("/dev/full")->write("data"); },
        [] {
            auto w = Writer::open_truncate("/dev/full");
            w->write("data");
            *w = Writer();
        },
        [] {
            auto w = Writer::open_truncate("/dev/full");
            w->write("data");
            Writer moved(std::move(*w));
        },
    };
    for (std::size_t i = 0; i < endings.size(); ++i) {
        const long before = Writer::unchecked_failures();
        kavro_test::CaptureConsole console;
        endings[i]();
        EXPECT_EQ(Writer::unchecked_failures(), before + 1) << "ending " << i;
        EXPECT_EQ(console.err(), "Cannot write /dev/full: No space left on device.\n") << "ending " << i;
    }
    // A checked close is the caller's to report.
    const long before = Writer::unchecked_failures();
    {
        auto w = Writer::open_truncate("/dev/full");
        w->write("data");
        EXPECT_FALSE(w->close());
    }
    EXPECT_EQ(Writer::unchecked_failures(), before);
}

TEST(Writer, OpeningAMissingDirectoryFails) {
    EXPECT_FALSE(Writer::open_truncate("/nonexistent-dir/x"));
}

}  // namespace

namespace {

// A ".gz" name gives gzip in members of one buffer each: small pieces, a
// piece larger than the buffer and formatted text come back whole.
TEST(WriterGzip, NameEndingInGzWritesMembersThatReadBackWhole) {
    kavro_test::TempDir dir;
    std::string expected;
    {
        auto w = Writer::open_truncate(dir / "out.fa.gz");
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->compressed());
        for (int k = 0; k < 20000; ++k) {
            w->printf(">s%d\n", k);
            w->write("ACGTTGCA\n");
            w->put('\n');
            expected += ">s" + std::to_string(k) + "\nACGTTGCA\n\n";
        }
        const std::string big(3 * Writer::kBufferSize + 17, 'N');
        w->write(big);
        expected += big;
        EXPECT_TRUE(w->flush());
        w->write("end\n");
        expected += "end\n";
        EXPECT_TRUE(w->close());
    }
    const auto got = kavro_test::gunzip(dir.read("out.fa.gz"));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->text, expected);
    EXPECT_GE(got->members, 4);
    EXPECT_LT(dir.read("out.fa.gz").size(), expected.size() / 4);
}

// Commands create their output empty, then append to it (once or per
// record): the empty file is already valid gzip, and each append adds
// members. Other names stay plain.
TEST(WriterGzip, CreateEmptyThenAppendStaysValidGzip) {
    kavro_test::TempDir dir;
    ASSERT_TRUE(Writer::open_truncate(dir / "x.gz")->close());
    auto empty = kavro_test::gunzip(dir.read("x.gz"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, "");
    for (const char* part : {">a\nAC\n", ">b\nGT\n"}) {
        auto w = Writer::open_append(dir / "x.gz");
        ASSERT_TRUE(w);
        w->write(part);
        EXPECT_TRUE(w->close());
    }
    const auto got = kavro_test::gunzip(dir.read("x.gz"));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->text, ">a\nAC\n>b\nGT\n");
    for (const char* plain : {"x.fa", "x.gzip", ".gz/y", "gz"}) {
        SCOPED_TRACE(plain);
        EXPECT_FALSE(Writer::names_gzip(plain));
    }
    auto w = Writer::open_truncate(dir / "x.fa");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->compressed());
}

// A block that cannot be written fails the writer as a plain write does.
TEST(WriterGzip, FailedBlockWriteIsReported) {
    kavro_test::TempDir dir;
    if (::symlink("/dev/full", (dir / "full.gz").c_str()) != 0) GTEST_SKIP() << "no symlink";
    auto w = Writer::open_truncate(dir / "full.gz");
    if (!w) GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(w->compressed());
    w->write(std::string(2 * Writer::kBufferSize + 5, 'A'));
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->failed());
}

}  // namespace
