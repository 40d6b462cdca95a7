#pragma once
// gzip bytes of a text, for tests of compressed input (one member each call;
// concatenate two results for a multi-member file), and the reverse for tests
// of compressed output.

#include <libdeflate.h>
#include <optional>
#include <string>

namespace kavro_test {

inline std::string gzip_bytes(const std::string& text) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(6);
    std::string out(libdeflate_gzip_compress_bound(c, text.size()), '\0');
    out.resize(libdeflate_gzip_compress(c, text.data(), text.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

// The text of gzip data of one member or several, as gzip -d gives it, and
// the number of members; nothing when the data are not whole valid gzip.
struct Gunzipped {
    std::string text;
    int members = 0;
};

inline std::optional<Gunzipped> gunzip(const std::string& data) {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    Gunzipped result;
    std::string room(1 << 16, '\0');
    std::size_t pos = 0;
    bool ok = data.size() >= 18;
    while (ok && pos < data.size()) {
        std::size_t in_used = 0, out_used = 0;
        const libdeflate_result rc = libdeflate_gzip_decompress_ex(d, data.data() + pos, data.size() - pos,
                                                                   room.data(), room.size(), &in_used, &out_used);
        if (rc == LIBDEFLATE_INSUFFICIENT_SPACE) {
            room.resize(room.size() * 2);
            continue;
        }
        ok = rc == LIBDEFLATE_SUCCESS;
        result.text.append(room, 0, out_used);
        pos += in_used;
        ++result.members;
    }
    libdeflate_free_decompressor(d);
    if (!ok) return std::nullopt;
    return result;
}

}  // namespace kavro_test
