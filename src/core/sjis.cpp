#include "core/sjis.hpp"

#include <cerrno>
#include <iconv.h>

namespace kavro {

namespace {

// The converter is opened on first use and kept for the whole run.
class Cp932Converter {
public:
    Cp932Converter() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932Converter() {
        if (ok()) iconv_close(cd_);
    }
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

Cp932Converter& converter() {
    static Cp932Converter c;
    return c;
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when none starts there.
std::size_t utf8_length(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const std::size_t n = b0 >= 0xF0 && b0 < 0xF8 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

}  // namespace

std::string utf8_to_sjis(std::string_view utf8, std::size_t* missing) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t miss = 0;
    Cp932Converter& conv = converter();
    char buffer[256];
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80 || !conv.ok()) {
            // ASCII is the same in both; without a converter every other
            // character is missing.
            const std::size_t n = c < 0x80 ? 0 : utf8_length(utf8, i);
            if (n == 0) {
                out.push_back(static_cast<char>(c));
                ++i;
            } else {
                out.push_back('?');
                ++miss;
                i += n;
            }
            continue;
        }
        // A run of non-ASCII bytes goes to iconv in one call.
        std::size_t end = i;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x80) ++end;
        char* in = const_cast<char*>(utf8.data() + i);
        std::size_t in_left = end - i;
        while (in_left > 0) {
            char* o = buffer;
            std::size_t o_left = sizeof buffer;
            const std::size_t r = iconv(conv.get(), &in, &in_left, &o, &o_left);
            out.append(buffer, static_cast<std::size_t>(o - buffer));
            if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // EILSEQ or EINVAL: a character CP932 lacks becomes "?", a byte
            // that is no UTF-8 passes as it is.
            const std::size_t at = static_cast<std::size_t>(in - utf8.data());
            const std::size_t n = utf8_length(utf8, at);
            if (n == 0) {
                out.push_back(*in);
                ++in;
                --in_left;
            } else {
                out.push_back('?');
                ++miss;
                in += n;
                in_left -= n;
            }
            iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
        }
        i = end;
    }
    if (missing) *missing = miss;
    return out;
}

}  // namespace kavro
