#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/console.hpp"
#include "core/sjis.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

TEST(Sjis, KnownByteSequences) {
    EXPECT_EQ(kavro::utf8_to_sjis("完了."), "\x8A\xAE\x97\xB9.");
    EXPECT_EQ(kavro::utf8_to_sjis("plain ASCII\n"), "plain ASCII\n");
    std::size_t missing = 0;
    EXPECT_EQ(kavro::utf8_to_sjis("\xF0\x9F\x98\x80", &missing), "?");  // not in the table
    EXPECT_EQ(missing, 1u);
}

TEST(Console, JapaneseLeavesAsShiftJisOnAPipe) {
    auto r = kavro_test::run({.args = {}, .input = "exit\n"});
    EXPECT_THAT(r.out, HasSubstr("\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93"));  // バージョン
}

}  // namespace
