#include "input/line_reader.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/console.hpp"
#include "input/input_source.hpp"

namespace kavro {

std::optional<LineReader> LineReader::open(const std::string& path) {
    // Pipes and standard input ("-") are read through a spooled copy.
    int fd = ::open(readable_path(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    LineReader r;
    r.fd_ = fd;
    r.owns_fd_ = true;
    r.name_ = path;
    // The file is read front to back: the kernel may read further ahead.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (starts_with_gzip_magic(fd))
        r.gzip_ = std::make_unique<GzipStream>(fd, path);
    else
        r.note_file_size();
    r.allocate(kBlockSize);
    return r;
}

LineReader LineReader::from_string(std::string data) {
    LineReader r;
    r.allocate(data.size());
    std::memcpy(r.buf_.get(), data.data(), data.size());
    r.filled_ = data.size();
    r.eof_ = true;
    r.settle_line_ends(0);
    return r;
}

LineReader LineReader::from_fd(int fd, bool console) {
    LineReader r;
    r.fd_ = fd;
    r.console_ = console;
    r.name_ = fd == 0 ? "standard input" : "descriptor " + std::to_string(fd);
    if (!console) r.note_file_size();
    r.allocate(console ? 4096 : kBlockSize);
    return r;
}

void LineReader::note_file_size() {
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) file_size_ = static_cast<std::int64_t>(st.st_size);
}

void LineReader::allocate(std::size_t size) {
    buf_ = std::make_unique_for_overwrite<char[]>(size);
    size_ = size;
}

LineReader::LineReader(LineReader&& o) noexcept { *this = std::move(o); }

LineReader& LineReader::operator=(LineReader&& o) noexcept {
    if (this != &o) {
        close_fd();
        fd_ = o.fd_;
        owns_fd_ = o.owns_fd_;
        console_ = o.console_;
        eof_ = o.eof_;
        error_ = o.error_;
        error_reported_ = o.error_reported_;
        gzip_ = std::move(o.gzip_);
        read_errno_ = o.read_errno_;
        name_ = std::move(o.name_);
        o.error_ = false;
        buf_ = std::move(o.buf_);
        size_ = o.size_;
        pos_ = o.pos_;
        filled_ = o.filled_;
        base_ = o.base_;
        file_size_ = o.file_size_;
        cr_line_ends_ = o.cr_line_ends_;
        piece_offset_ = o.piece_offset_;
        scratch_ = std::move(o.scratch_);
        o.fd_ = -1;
        o.owns_fd_ = false;
        o.size_ = o.pos_ = o.filled_ = 0;
    }
    return *this;
}

LineReader::~LineReader() {
    if (error_ && !error_reported_) (void)finish();
    gzip_.reset();
    close_fd();
}

bool LineReader::finish() {
    if (!error_) return true;
    if (!error_reported_) {
        err("Cannot read %s: %s.\n", name_.c_str(), std::strerror(read_errno_));
        error_reported_ = true;
    }
    return false;
}

void LineReader::close_fd() {
    gzip_.reset();
    if (owns_fd_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
    owns_fd_ = false;
}

bool LineReader::refill() {
    if (eof_ || fd_ < 0) {
        eof_ = true;
        return false;
    }
    // Keep the unread tail, move it to the front, and grow when it fills
    // the whole buffer (a line longer than the block).
    if (pos_ > 0) {
        std::memmove(buf_.get(), buf_.get() + pos_, filled_ - pos_);
        base_ += static_cast<std::int64_t>(pos_);
        filled_ -= pos_;
        pos_ = 0;
    }
    if (filled_ == size_) {
        auto bigger = std::make_unique_for_overwrite<char[]>(size_ * 2);
        std::memcpy(bigger.get(), buf_.get(), filled_);
        buf_ = std::move(bigger);
        size_ *= 2;
    }
    if (console_) flush_out();
    for (;;) {
        const ssize_t n = gzip_ ? gzip_->read(buf_.get() + filled_, size_ - filled_)
                                : ::read(fd_, buf_.get() + filled_, size_ - filled_);
        if (n < 0) {
            if (errno == EINTR) continue;
            read_errno_ = errno;
            error_ = true;
            eof_ = true;
            return false;
        }
        if (n == 0) {
            eof_ = true;
            return false;
        }
        const std::size_t from = filled_;
        filled_ += static_cast<std::size_t>(n);
        settle_line_ends(from);
        return true;
    }
}

// A CRLF line handed out as "...\n". The copy leaves the buffer as read, so
// a later seek back into it reads the same bytes again.
std::string_view LineReader::without_cr(const char* start, std::size_t chars) {
    scratch_.assign(start, chars);
    scratch_.back() = '\n';
    return scratch_;
}

// Old Mac files end their lines with a carriage return alone. The first data
// read that holds a line end settles it: a carriage return and no newline
// there means such a file,
// and from then on every carriage return read is a newline (byte for byte,
// so offsets stay those of the file).
void LineReader::settle_line_ends(std::size_t from) {
    char* data = buf_.get();
    if (cr_line_ends_ < 0) {
        // Undecided until a block holds a line end of either kind.
        if (filled_ == 0) return;
        const bool lf = std::memchr(data, '\n', filled_) != nullptr;
        const bool cr = !lf && std::memchr(data, '\r', filled_) != nullptr;
        if (!lf && !cr) return;
        cr_line_ends_ = cr ? 1 : 0;
        from = 0;
    }
    if (cr_line_ends_ == 0) return;
    for (char* p = data + from; (p = static_cast<char*>(std::memchr(p, '\r', filled_ - static_cast<std::size_t>(p - data))));)
        *p++ = '\n';
}

std::string_view LineReader::peek() {
    if (pos_ >= filled_ && !eof_) refill();
    return buffered();
}

bool LineReader::read_piece(std::string_view& piece, std::size_t limit) {
    if (limit == 0) limit = 1;
    for (;;) {
        std::size_t avail = filled_ - pos_;
        char* start = buf_.get() + pos_;
        std::size_t span = avail < limit + 1 ? avail : limit + 1;
        auto* nl = static_cast<char*>(span ? std::memchr(start, '\n', span) : nullptr);
        if (nl) {
            std::size_t bytes = static_cast<std::size_t>(nl - start) + 1;
            bool crlf = bytes >= 2 && nl[-1] == '\r';
            std::size_t chars = crlf ? bytes - 1 : bytes;
            if (chars <= limit) {
                piece_offset_ = tell();
                pos_ += bytes;
                piece = crlf ? without_cr(start, chars) : std::string_view(start, chars);
                return true;
            }
        }
        if (avail > limit || (avail == limit && eof_)) {
            piece_offset_ = tell();
            pos_ += limit;
            piece = std::string_view(start, limit);
            return true;
        }
        if (eof_ || !refill()) {
            avail = filled_ - pos_;
            if (avail == 0) return false;
            if (avail > limit) continue;
            piece_offset_ = tell();
            start = buf_.get() + pos_;
            pos_ += avail;
            piece = std::string_view(start, avail);
            return true;
        }
    }
}

bool LineReader::read_line(std::string_view& line) {
    std::size_t scanned = 0;
    for (;;) {
        char* start = buf_.get() + pos_;
        std::size_t avail = filled_ - pos_;
        auto* nl = static_cast<char*>(avail > scanned ? std::memchr(start + scanned, '\n', avail - scanned) : nullptr);
        if (nl) {
            std::size_t bytes = static_cast<std::size_t>(nl - start) + 1;
            bool crlf = bytes >= 2 && nl[-1] == '\r';
            piece_offset_ = tell();
            pos_ += bytes;
            line = crlf ? without_cr(start, bytes - 1) : std::string_view(start, bytes);
            return true;
        }
        scanned = avail;
        if (eof_ || !refill()) {
            avail = filled_ - pos_;
            if (avail == 0) return false;
            piece_offset_ = tell();
            start = buf_.get() + pos_;
            pos_ += avail;
            line = std::string_view(start, avail);
            return true;
        }
    }
}

bool LineReader::read_word(std::string& word, std::size_t max) {
    word.clear();
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    for (;;) {
        while (pos_ < filled_ && blank(buf_[pos_])) ++pos_;
        if (pos_ < filled_) break;
        if (!refill()) return false;
    }
    while (word.size() < max) {
        if (pos_ >= filled_ && !refill()) break;
        if (pos_ >= filled_) break;
        char c = buf_[pos_];
        if (blank(c)) break;
        word.push_back(c);
        ++pos_;
    }
    return true;
}

void LineReader::skip_rest_of_line() {
    for (;;) {
        char* start = buf_.get() + pos_;
        std::size_t avail = filled_ - pos_;
        auto* nl = static_cast<char*>(avail ? std::memchr(start, '\n', avail) : nullptr);
        if (nl) {
            pos_ += static_cast<std::size_t>(nl - start) + 1;
            return;
        }
        pos_ = filled_;
        if (!refill()) return;
    }
}

bool LineReader::seek(std::int64_t offset) {
    if (offset < 0) return false;
    if (offset >= base_ && offset <= base_ + static_cast<std::int64_t>(filled_)) {
        pos_ = static_cast<std::size_t>(offset - base_);
        return true;
    }
    if (fd_ < 0 || console_) return false;
    if (gzip_)
        gzip_->seek(offset);
    else if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0)
        return false;
    base_ = offset;
    pos_ = filled_ = 0;
    eof_ = false;
    return true;
}

std::int64_t LineReader::remaining_hint() const {
    if (fd_ < 0 || console_) return static_cast<std::int64_t>(filled_ - pos_);
    if (file_size_ < 0) return 0;
    std::int64_t left = file_size_ - tell();
    return left > 0 ? left : 0;
}

LineReader& stdin_reader() {
    static LineReader r = LineReader::from_fd(0, true);
    return r;
}

std::optional<LineReader> open_input(const std::string& path) {
    auto in = LineReader::open(path);
    if (!in) err("Cannot open file: %s\n\n", path.c_str());
    return in;
}

}  // namespace kavro
