#pragma once
// gzip bytes of a text, for tests of compressed input (one member each call;
// concatenate two results for a multi-member file).

#include <libdeflate.h>
#include <string>

namespace kavro_test {

inline std::string gzip_bytes(const std::string& text) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(6);
    std::string out(libdeflate_gzip_compress_bound(c, text.size()), '\0');
    out.resize(libdeflate_gzip_compress(c, text.data(), text.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

}  // namespace kavro_test
