#pragma once
// Inputs that are not plain text files. The readers open an input by name and
// may open it again or seek in it (format detection, entry walks), which a
// pipe, a FIFO or standard input cannot do: such an input is read once into a
// private temporary file (unlinked at once, so nothing is left behind), and
// every later open of the same name reads that copy. A gzip file (or a gzip
// stream so copied) is inflated as it is read, by GzipStream.
//
//   "-"                        standard input
//   a pipe, FIFO, character device (/dev/stdin, <(...))   spooled as it is
//   anything else (plain files, directories, missing names) opened as named

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kavro {

// The path to open for the input `name`: `name` itself, or the spooled copy
// ("/proc/self/fd/N"). A failed spool ends the program (status 1) after a
// message naming the input.
std::string readable_path(const std::string& name);

// True when the file open at fd starts with the gzip magic bytes 1F 8B.
bool starts_with_gzip_magic(int fd);

// The inflated bytes of the gzip data in a file: one member or several (as
// bgzip and concatenated files have); bytes after the last member that do
// not start another are not data. The data are inflated ahead of the reader
// in a second thread, a block at a time, and kept to a few blocks; a seek
// back restarts the inflate from the nearest saved point (the inflate state
// every megabyte or so, thinned out with distance), never from a copy of the
// whole file.
class GzipStream {
public:
    // Reads the file open at fd (not owned; it must stay open). `name` is
    // the input's name in messages.
    GzipStream(int fd, std::string name);
    ~GzipStream();
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    // Up to n inflated bytes into dst (fewer only at the end of the data):
    // 0 at the end, -1 on a failed read of the file (errno set). A damaged
    // or cut-short stream ends the program (status 1) with a message naming
    // the input.
    long read(char* dst, std::size_t n);
    // Moves to an offset of the inflated data; a later read there (or at
    // the end of the data, when it is past it) inflates what it needs.
    void seek(std::int64_t offset);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// True when the first bytes of a file hold a control character that no text
// has (NUL, or any below 0x20 other than tab, line ends, form feed and the
// DOS end-of-file mark, or DEL).
bool looks_binary(std::string_view first_block);

}  // namespace kavro
