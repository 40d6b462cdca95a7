#pragma once
// UTF-8 to Shift_JIS (code page 932) for the program's own Japanese texts,
// through the C library's iconv (glibc ships the CP932 converter).

#include <string>
#include <string_view>

namespace kavro {

// Converts UTF-8 text to Shift_JIS. ASCII passes unchanged; a character that
// code page 932 lacks becomes "?" (and counts as missing); a byte that starts
// no UTF-8 character passes unchanged.
std::string utf8_to_sjis(std::string_view utf8, std::size_t* missing = nullptr);

}  // namespace kavro
