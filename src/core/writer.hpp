#pragma once
// Buffered output over a POSIX file descriptor. Every file the program writes,
// and standard output and error, go through one of these: bytes collect in a
// large buffer and leave in big write(2) calls. A failed write is remembered
// and reported by flush()/close() instead of being ignored.
//
// close() is the checked end of a file. A writer that still holds its file
// when it is destroyed or assigned over closes it there; should that close
// fail, "Cannot write NAME: REASON.\n" goes to standard error and the
// failure is counted in unchecked_failures(), which the top level turns into
// exit status 1: no failed write goes unnoticed.
//
// A file whose name ends in ".gz" is written gzip-compressed: each buffer
// that leaves is compressed as a gzip member of its own, so memory stays
// bounded, and appending to such a file adds members (gzip readers read
// concatenated members as one stream).

#include <cstdarg>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kavro {

// Writes all n bytes to the descriptor, retrying short and interrupted
// writes; false (errno set) on error.
[[nodiscard]] bool write_all(int fd, const char* p, std::size_t n);

class Writer {
public:
    static constexpr std::size_t kBufferSize = 1 << 20;

    Writer();
    Writer(int fd, bool owns_fd, std::size_t buffer_size = kBufferSize);
    Writer(Writer&& other) noexcept;
    Writer& operator=(Writer&& other) noexcept;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer();

    // fopen(path, "a")-like: created if missing, every write goes to the end.
    static std::optional<Writer> open_append(const std::string& path);
    // fopen(path, "w")-like: created or emptied.
    static std::optional<Writer> open_truncate(const std::string& path);
    // True for the file names written gzip-compressed.
    static bool names_gzip(std::string_view path) { return path.size() > 3 && path.ends_with(".gz"); }

    void put(char c) {
        if (used_ == size_) {
            if (!buf_) allocate();
            else drain();
        }
        buf_[used_++] = c;
    }
    void write(std::string_view s);
    void write(const char* s, std::size_t n) { write(std::string_view(s, n)); }
    [[gnu::format(printf, 2, 3)]] void printf(const char* fmt, ...);
    void vprintf(const char* fmt, va_list ap);

    // Write pending bytes; false if this or any earlier write failed.
    bool flush();
    // Flush and close (when owned); false if anything failed.
    [[nodiscard]] bool close();
    // The file's name in messages.
    const std::string& name() const { return name_; }
    // Failures found only when a writer was destroyed or assigned over.
    static long unchecked_failures();
    // For owners of a writer (an output target) that close it on their own
    // destruction: counts a failure found there.
    static void count_unchecked_failure();
    bool failed() const { return failed_; }
    bool is_open() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    bool compressed() const { return gzip_ != nullptr; }

private:
    class GzipBlocks;
    static std::optional<Writer> open_named(const std::string& path, int flags);
    void drain();
    void note_failure();
    void note_gzip_failure();
    // The close of a destructor or a move-assignment, reported and counted
    // when it fails.
    void close_unchecked() noexcept;
    void allocate() {
        buf_ = std::make_unique_for_overwrite<char[]>(capacity_);
        size_ = capacity_;
    }

    int fd_ = -1;
    bool owns_ = false;
    bool failed_ = false;
    int error_number_ = 0;
    std::string name_;
    std::size_t capacity_ = kBufferSize;
    std::unique_ptr<char[]> buf_;  // not zero-filled: only written bytes are read
    std::size_t size_ = 0;
    std::size_t used_ = 0;
    std::unique_ptr<GzipBlocks> gzip_;  // set for a gzip file
};

}  // namespace kavro
