#include "output/output_target.hpp"

#include <gtest/gtest.h>

#include "support/run_kavro.hpp"

namespace kavro {
namespace {

TEST(OutputTarget, FileModesAndStdout) {
    kavro_test::TempDir dir;
    dir.write("f.txt", "old\n");
    {
        auto t = OutputTarget::open(dir / "f.txt", OutputTarget::Mode::Append);
        ASSERT_TRUE(t);
        EXPECT_FALSE(t->is_stdout());
        t->writer().write("more\n");
        EXPECT_TRUE(t->close());
        EXPECT_TRUE(t->close());
    }
    EXPECT_EQ(dir.read("f.txt"), "old\nmore\n");
    {
        auto t = OutputTarget::open(dir / "f.txt", OutputTarget::Mode::Truncate);
        ASSERT_TRUE(t);
        OutputTarget moved = std::move(*t);
        moved.writer().write("new\n");
    }  // closed by the destructor of the moved-to target
    EXPECT_EQ(dir.read("f.txt"), "new\n");
    EXPECT_FALSE(OutputTarget::open(dir / "no/such/dir", OutputTarget::Mode::Truncate));
    auto s = OutputTarget::open("stdout", OutputTarget::Mode::Truncate);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->is_stdout());
    EXPECT_TRUE(OutputTarget::names_stdout("STDOUT"));
    EXPECT_FALSE(OutputTarget::names_stdout("Stdout"));
}

TEST(OutputTarget, FailedCloseIsReported) {
    auto t = OutputTarget::open("/dev/full", OutputTarget::Mode::Truncate);
    ASSERT_TRUE(t);
    t->writer().write("x");
    EXPECT_FALSE(t->close());
}

TEST(OutputTarget, CreateEmptyEmptiesOrCreatesTheFile) {
    kavro_test::TempDir dir;
    dir.write("old.txt", "old contents");
    EXPECT_TRUE(OutputTarget::create_empty(dir / "old.txt"));
    EXPECT_EQ(dir.read("old.txt"), "");
    EXPECT_TRUE(OutputTarget::create_empty(dir / "new.txt"));
    EXPECT_TRUE(dir.exists("new.txt"));

    kavro_test::CaptureConsole cap;
    const std::string bad = dir / "no/such/dir.txt";
    EXPECT_FALSE(OutputTarget::create_empty(bad));
    EXPECT_EQ(cap.err(), "Cannot open file: " + bad + "\n\n");
}

}  // namespace
}  // namespace kavro
