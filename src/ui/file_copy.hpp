#pragma once
// Text-file copying shared by cp, fcat and txtr.

#include <string>

#include "core/file_identity.hpp"
#include "core/writer.hpp"
#include "input/line_reader.hpp"

namespace kavro {

// Pieces of at most this many characters are copied at a time.
inline constexpr std::size_t kCopyPiece = 511;

// The reader hands a CR LF line end over as "\n". This gives the last piece
// read as it stands in the file, with its CR put back (in `scratch`).
std::string_view piece_as_in_file(const LineReader& in, std::string_view piece, std::string& scratch);

// Copies the rest of `in` to `out` unchanged, piece by piece; writes "." to
// standard output after every tenth piece and "\n" at the end. False after
// the reader's message when the input could not be read (a failed write
// shows when `out` is closed).
[[nodiscard]] bool copy_lines(LineReader& in, Writer& out);

// The copy of cp, txtr and fcat once both files are open: the rest of `in`
// into `dest` (a file emptied or appended to) with copy_lines, then the
// close. 0, or 1 after the reader's message or "Error in writing file: %s\n"
// naming dest_name.
[[nodiscard]] int copy_into(LineReader& in, Writer& dest, const std::string& dest_name);

// "Copying text file...", then source to destination (created or emptied).
// 1 after "Cannot open file: %s\n\n" when either cannot be opened, when
// both name the same file, or when the copy could not be written.
[[nodiscard]] int copy_text_file(const std::string& source, const std::string& destination);

}  // namespace kavro
