#pragma once
// Inputs that are not plain files. The readers open an input by name and
// may open it again or seek in it (format detection, entry walks), which a
// pipe, a FIFO or standard input cannot do, and they read text, which a
// gzip file is not. Such an input is read once into a private temporary file
// (unlinked at once, so nothing is left behind), decompressed on the way
// when it is gzip, and every later open of the same name reads that copy.
//
//   "-"                        standard input
//   a pipe, FIFO, character device (/dev/stdin, <(...))   spooled as it is
//   a file starting with the gzip magic bytes 1F 8B       decompressed
//   anything else (plain files, directories, missing names) opened as named

#include <string>
#include <string_view>

namespace kavro {

// The path to open for the input `name`: `name` itself, or the spooled copy
// ("/proc/self/fd/N"). A damaged gzip stream or a failed spool ends the
// program (status 1) after a message naming the input.
std::string readable_path(const std::string& name);

// True when the first bytes of a file hold a control character that no text
// has (NUL, or any below 0x20 other than tab, line ends, form feed and the
// DOS end-of-file mark, or DEL).
bool looks_binary(std::string_view first_block);

}  // namespace kavro
