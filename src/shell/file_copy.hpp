#pragma once
// Text-file copying shared by cp, fcat and txtr.

#include <string>

#include "core/writer.hpp"
#include "input/line_reader.hpp"

namespace kavro {

// Pieces of at most this many characters are copied at a time.
inline constexpr std::size_t kCopyPiece = 511;

// Copies the rest of `in` to `out` unchanged, piece by piece; writes "." to
// standard output after every tenth piece and "\n" at the end. Returns 0
// (a failed write shows when `out` is closed).
int copy_lines(LineReader& in, Writer& out);

// "Copying text file...", then source to destination (created or emptied).
// 1 after "Cannot open file: %s\n\n" when either cannot be opened, when
// both name the same file, or when the copy could not be written.
int copy_text_file(const std::string& source, const std::string& destination);

// True when both paths name one existing file (copying it onto itself
// would empty it before it is read).
bool same_file(const std::string& a, const std::string& b);

}  // namespace kavro
