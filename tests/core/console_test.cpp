#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/console.hpp"
#include "core/sjis.hpp"
#include "support/run_kavro.hpp"

using testing::HasSubstr;

namespace {

// Expected bytes written out by hand from code page 932.
TEST(Sjis, KnownByteSequences) {
    const std::pair<const char*, const char*> cases[] = {
        {"完了.", "\x8A\xAE\x97\xB9."},
        {"plain ASCII\n", "plain ASCII\n"},
        {"これら４個", "\x82\xB1\x82\xEA\x82\xE7\x82\x53\x8C\xC2"},
        {"5'側エクソン", "5'\x91\xA4\x83\x47\x83\x4E\x83\x5C\x83\x93"},
        {"記載した", "\x8B\x4C\x8D\xDA\x82\xB5\x82\xBD"},
        {"以下に例を", "\x88\xC8\x89\xBA\x82\xC9\x97\xE1\x82\xF0"},
        {"＜〜－＞", "\x81\x83\x81\x60\x81\x7C\x81\x84"},
    };
    for (const auto& [utf8, bytes] : cases) {
        std::size_t missing = 9;
        EXPECT_EQ(kavro::utf8_to_sjis(utf8, &missing), bytes) << utf8;
        EXPECT_EQ(missing, 0u) << utf8;
    }
    std::size_t missing = 0;
    EXPECT_EQ(kavro::utf8_to_sjis("a\xF0\x9F\x98\x80" "b", &missing), "a?b");  // no CP932 character
    EXPECT_EQ(missing, 1u);
    EXPECT_EQ(kavro::utf8_to_sjis("\xFF\xE5x", &missing), "\xFF\xE5x");  // no UTF-8: bytes pass
    EXPECT_EQ(missing, 0u);
}

// The string literals of one C++ source text (comments and character
// literals skipped), as written between their quotes.
std::vector<std::string> string_literals(const std::string& src) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < src.size(); ++i) {
        if (src.compare(i, 2, "//") == 0) {
            i = src.find('\n', i);
            if (i == std::string::npos) break;
        } else if (src.compare(i, 2, "/*") == 0) {
            i = src.find("*/", i + 2);
            if (i == std::string::npos) break;
            ++i;
        } else if (src[i] == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(src[i - 1])))) {
            for (++i; i < src.size() && src[i] != '\''; ++i)
                if (src[i] == '\\') ++i;
        } else if (src[i] == '"') {
            std::string lit;
            for (++i; i < src.size() && src[i] != '"'; ++i) {
                if (src[i] == '\\') lit += src[i++];
                lit += src[i];
            }
            found.push_back(lit);
        }
    }
    return found;
}

// Every Japanese text of the program converts to code page 932: none
// would print as "?".
TEST(Sjis, EveryJapaneseLiteralOfTheProgramConverts) {
    std::size_t japanese = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KAVRO_SOURCES)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".hpp" && ext != ".inc") continue;
        std::ifstream f(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << f.rdbuf();
        for (const std::string& lit : string_literals(text.str())) {
            if (std::all_of(lit.begin(), lit.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
                continue;
            ++japanese;
            EXPECT_NO_THROW(kavro_test::sjis(lit)) << entry.path() << ": " << lit;
            std::size_t missing = 0;
            kavro::utf8_to_sjis(lit, &missing);
            EXPECT_EQ(missing, 0u) << entry.path() << ": " << lit;
        }
    }
    EXPECT_GT(japanese, 300u) << "the scan found too few texts";
}

TEST(Console, JapaneseLeavesAsShiftJisOnAPipe) {
    auto r = kavro_test::run({.args = {}, .input = "exit\n"});
    EXPECT_THAT(r.out, HasSubstr("\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93"));  // バージョン
}

}  // namespace
