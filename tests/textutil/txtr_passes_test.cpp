#include <gtest/gtest.h>

#include "textutil/txtr_passes.hpp"

namespace {

using namespace kavro::txtr;

// Runs a pass over the text in chunks of `chunk` bytes, as the file driver
// would, and returns its output.
std::string run(BytePass& pass, std::string_view text, std::size_t chunk = 1 << 16) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += chunk) pass.feed(text.substr(i, chunk), out);
    pass.finish(out);
    return out;
}

template <class Pass, class... Args>
void expect_same_for_any_chunking(std::string_view text, std::string_view expected, Args... args) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{1} << 16}) {
        Pass pass(args...);
        EXPECT_EQ(run(pass, text, chunk), expected) << "chunk " << chunk;
    }
}

TEST(TxtrPasses, RemoveNumbersDropsOnlyNumbersStandingAlone) {
    expect_same_for_any_chunking<RemoveNumbersPass>("  10 acgtacgt 20\n", "   acgtacgt \n");
    // A number ending at a visible character stays, as do digits inside a word.
    expect_same_for_any_chunking<RemoveNumbersPass>("12a A12 x\t34\n", "12a A12 x\t\n");
    // At the very start of the file, and at its very end after a blank.
    expect_same_for_any_chunking<RemoveNumbersPass>("5 acg 99", " acg ");
    // Tabs and line ends count as blanks.
    expect_same_for_any_chunking<RemoveNumbersPass>("1\n\t2\tac\n", "\n\t\tac\n");
}

TEST(TxtrPasses, ALongRunIsKeptAndReportedAtItsThirtyFirstDigit) {
    const std::string text = " " + std::string(kMaxHeldDigits, '7') + "1234 acg 5\n";
    std::vector<std::size_t> reported;
    RemoveNumbersPass pass;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 5) {
        pass.long_runs.clear();
        pass.feed(std::string_view(text).substr(i, 5), out);
        for (auto at : pass.long_runs) reported.push_back(i + at);
    }
    EXPECT_EQ(out, text.substr(0, text.size() - 2) + "\n");
    EXPECT_EQ(reported, std::vector<std::size_t>{1 + kMaxHeldDigits});
}

TEST(TxtrPasses, ReflowLowersDropsLineEndsAndBreaksAtTheWidth) {
    expect_same_for_any_chunking<ReflowPass>("ACG\r\nT\tA\n", "acg\nt a\n", 3L);
    expect_same_for_any_chunking<ReflowPass>("ACGTAC\n", "acg\ntac\n", 3L);
    expect_same_for_any_chunking<ReflowPass>("", "", 3L);
    EXPECT_EQ(ReflowPass(1).width(), kDefaultFlowWidth);
    EXPECT_EQ(ReflowPass(0).width(), kDefaultFlowWidth);
    EXPECT_EQ(ReflowPass(2).width(), 2);
}

TEST(TxtrPasses, LineEndsBecomeOneNewlineEach) {
    expect_same_for_any_chunking<LineEndPass>("a\r\nb\n\rc\rd\ne", "a\nb\nc\nd\ne");
    // Two of the same kind are two line ends; a pair after them is one more.
    expect_same_for_any_chunking<LineEndPass>("a\r\r\nb\n\nc", "a\n\nb\n\nc");
    expect_same_for_any_chunking<LineEndPass>("a\r", "a\n");
    expect_same_for_any_chunking<LineEndPass>("a\n\r", "a\n");
}

}  // namespace
