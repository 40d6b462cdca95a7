#include "core/sjis.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace kavro {

namespace {

struct SjisRow {
    std::uint32_t code_point;
    std::uint16_t sjis;
};

constexpr SjisRow kTable[] = {
#include "core/sjis_table.inc"
};

// Decodes one UTF-8 sequence at s[i] and advances i past it. A malformed
// sequence sets ok to false and advances one byte, which is passed through.
std::uint32_t decode(std::string_view s, std::size_t& i, bool& ok) {
    auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    ok = false;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return b0;
    }
    std::uint32_t cp = b0 & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return b0;
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    i += extra + 1;
    ok = true;
    return cp;
}

}  // namespace

std::string utf8_to_sjis(std::string_view utf8, std::size_t* missing) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t miss = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        bool ok = false;
        std::uint32_t cp = decode(utf8, i, ok);
        if (!ok) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        auto it = std::lower_bound(std::begin(kTable), std::end(kTable), cp,
                                   [](const SjisRow& r, std::uint32_t v) { return r.code_point < v; });
        if (it == std::end(kTable) || it->code_point != cp) {
            out.push_back('?');
            ++miss;
            continue;
        }
        if (it->sjis > 0xFF) out.push_back(static_cast<char>(it->sjis >> 8));
        out.push_back(static_cast<char>(it->sjis & 0xFF));
    }
    if (missing) *missing = miss;
    return out;
}

}  // namespace kavro
