#pragma once
// The one line reader of the program. It reads a file (or standard input, or
// a string in tests) in large blocks and hands out fgets-style pieces: a
// piece ends after a newline or after `limit` characters, whichever comes
// first, so a physical line longer than the limit arrives as several pieces
// (the readers' rules apply per piece). Offsets are 64-bit byte offsets in
// the file, so entries can be walked by position in files of any size.
//
// Files are read as text: a carriage return right before a newline is
// dropped (the piece ends in "\n" alone), so CRLF files read like LF files;
// in a file whose first block has carriage returns and no newline (old Mac
// line ends) every carriage return ends a line.
//
// A file opened by name may be a pipe or standard input ("-"): it is then
// read from a spooled copy; a gzip file is inflated as it is read, and its
// offsets are those of the inflated data (input/input_source.hpp).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kavro {

class GzipStream;

class LineReader {
public:
    static constexpr std::size_t kBlockSize = 1 << 18;
    // The usual piece limits: most readers take 512 characters at a time,
    // the shell and the text utilities 511.
    static constexpr std::size_t kPiece = 512;
    static constexpr std::size_t kShortPiece = 511;

    // Opens a file for reading; nothing if it cannot be opened.
    static std::optional<LineReader> open(const std::string& path);
    // Reads from a string (tests, in-memory data).
    static LineReader from_string(std::string data);
    // Reads from a descriptor it does not own (standard input). With
    // console set, standard output is flushed before every blocking read so
    // that prompts appear before the program waits.
    static LineReader from_fd(int fd, bool console);

    LineReader(LineReader&& other) noexcept;
    LineReader& operator=(LineReader&& other) noexcept;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // Next piece of at most `limit` characters (limit >= 1), ending after a
    // newline when one comes first. The view stays valid until the next call.
    // False at end of input (or on a read error: see error()).
    bool read_piece(std::string_view& piece, std::size_t limit = kPiece);
    // Next whole line, however long, with its newline (if any).
    bool read_line(std::string_view& line);
    // scanf("%Ns")-style: skips white space (newlines included) and reads a
    // word of at most max characters; the rest stays for the next read.
    // False at end of input.
    bool read_word(std::string& word, std::size_t max);
    // Discards the rest of the current input line, its newline included.
    void skip_rest_of_line();

    // Offset of the next byte to be read, and of the start of the last piece.
    std::int64_t tell() const { return base_ + static_cast<std::int64_t>(pos_); }
    std::int64_t piece_offset() const { return piece_offset_; }
    // The bytes read ahead and not yet handed out; they may end inside a
    // line. A reader with a fast path for whole lines of a known layout
    // takes them from here and moves past what it used with skip(n)
    // (n <= buffered().size()); the next piece starts after them.
    std::string_view buffered() const { return {buf_.get() + pos_, filled_ - pos_}; }
    void skip(std::size_t n) { pos_ += n; }
    // The bytes read ahead, reading the first block when none are: a look
    // at the start of the input that consumes nothing.
    std::string_view peek();

    // Moves to a byte offset; false if the input cannot seek there.
    bool seek(std::int64_t offset);

    // Bytes left to read when the input is a plain regular file (by its size
    // when it was opened), else 0: a hint for reserving room before reading.
    std::int64_t remaining_hint() const;

    bool eof() const { return eof_ && pos_ >= filled_; }
    bool error() const { return error_; }

    // Every place that reads an input ends with this check: true when every
    // read succeeded; after a failed read it writes "Cannot read NAME:
    // REASON.\n" (the system's reason) to standard error and returns false,
    // and the caller fails with status 1. A reader dropped with a failed
    // read that nobody checked writes the message when it is destroyed, so
    // the failure never goes unsaid.
    [[nodiscard]] bool finish();
    // The name the messages give the input.
    const std::string& name() const { return name_; }

private:
    LineReader() = default;
    // Reads more input after pos_; false when nothing more could be read.
    bool refill();
    void close_fd();
    std::string_view without_cr(const char* start, std::size_t chars);
    // A buffer of `size` bytes, not zero-filled: read() fills what is used.
    void allocate(std::size_t size);
    void note_file_size();
    void settle_line_ends(std::size_t from);

    int fd_ = -1;
    bool owns_fd_ = false;
    std::unique_ptr<GzipStream> gzip_;  // reads fd_ when it holds gzip data
    bool console_ = false;
    bool eof_ = false;
    bool error_ = false;
    bool error_reported_ = false;
    int read_errno_ = 0;
    std::string name_;
    std::unique_ptr<char[]> buf_;
    std::size_t size_ = 0;    // bytes allocated in buf_
    std::size_t pos_ = 0;     // next unread byte in buf_
    std::size_t filled_ = 0;  // bytes of buf_ holding data
    std::int64_t base_ = 0;   // file offset of buf_[0]
    std::int64_t piece_offset_ = 0;
    std::int64_t file_size_ = -1;  // regular files opened by path
    std::string scratch_;  // the current piece when its CR was dropped
    int cr_line_ends_ = -1;  // 1: lone carriage returns end lines; -1: not yet known
};

// The program's standard input (console prompts, menu mode).
LineReader& stdin_reader();

// Opens a file to read, or says "Cannot open file: %s\n\n" on standard
// error and gives nothing: the one wording of an input that cannot be opened.
[[nodiscard]] std::optional<LineReader> open_input(const std::string& path);

}  // namespace kavro
