#include "core/writer.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kavro {

namespace {

// Writes all n bytes, retrying short and interrupted writes; false on error.
bool write_all(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        ssize_t k = ::write(fd, p, n);
        if (k < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

// Standard error written directly: the console's writer may be the one failing.
bool write_all_to(int fd, const std::string& text) { return write_all(fd, text.data(), text.size()); }

long g_unchecked_failures = 0;

}  // namespace

// The buffer is taken at the first write, so opening and closing a file
// (as OutputTarget::create_empty does) costs no allocation.
Writer::Writer(int fd, bool owns_fd, std::size_t buffer_size)
    : fd_(fd), owns_(owns_fd), capacity_(buffer_size ? buffer_size : 1) {}

long Writer::unchecked_failures() { return g_unchecked_failures; }
void Writer::count_unchecked_failure() { ++g_unchecked_failures; }

Writer::Writer(Writer&& o) noexcept
    : fd_(o.fd_),
      owns_(o.owns_),
      failed_(o.failed_),
      error_number_(o.error_number_),
      name_(std::move(o.name_)),
      capacity_(o.capacity_),
      buf_(std::move(o.buf_)),
      size_(o.size_),
      used_(o.used_) {
    o.size_ = 0;
    o.fd_ = -1;
    o.owns_ = false;
    o.used_ = 0;
}

Writer& Writer::operator=(Writer&& o) noexcept {
    if (this != &o) {
        close_unchecked();
        fd_ = o.fd_;
        owns_ = o.owns_;
        failed_ = o.failed_;
        error_number_ = o.error_number_;
        name_ = std::move(o.name_);
        capacity_ = o.capacity_;
        buf_ = std::move(o.buf_);
        size_ = o.size_;
        o.size_ = 0;
        used_ = o.used_;
        o.fd_ = -1;
        o.owns_ = false;
        o.used_ = 0;
    }
    return *this;
}

Writer::~Writer() { close_unchecked(); }

void Writer::close_unchecked() noexcept {
    if (!owns_ || fd_ < 0) {
        // Standard output and error: their failures show in flush_console().
        if (used_ > 0) drain();
        return;
    }
    if (close()) return;
    ++g_unchecked_failures;
    const std::string text = "Cannot write " + (name_.empty() ? "a file" : name_) + ": " +
                             std::strerror(error_number_ != 0 ? error_number_ : EIO) + ".\n";
    (void)write_all_to(2, text);
}

static std::optional<Writer> open_with(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return std::nullopt;
    return Writer(fd, true);
}

std::optional<Writer> Writer::open_append(const std::string& path) {
    auto w = open_with(path, O_WRONLY | O_CREAT | O_APPEND);
    if (w) w->name_ = path;
    return w;
}

std::optional<Writer> Writer::open_truncate(const std::string& path) {
    auto w = open_with(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (w) w->name_ = path;
    return w;
}

void Writer::drain() {
    const std::size_t left = used_;
    used_ = 0;
    if (left == 0) return;
    if (fd_ < 0 || !write_all(fd_, buf_.get(), left)) note_failure();
}

void Writer::note_failure() {
    if (!failed_) error_number_ = fd_ < 0 ? EBADF : errno;
    failed_ = true;
}

void Writer::write(std::string_view s) {
    if (!buf_) allocate();
    if (s.size() > size_ - used_) {
        drain();
        if (s.size() >= size_) {
            // Larger than the buffer: hand it over directly.
            if (fd_ < 0 || !write_all(fd_, s.data(), s.size())) note_failure();
            return;
        }
    }
    std::memcpy(buf_.get() + used_, s.data(), s.size());
    used_ += s.size();
}

void Writer::vprintf(const char* fmt, va_list ap) {
    char small[512];
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) {
        failed_ = true;
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        write(std::string_view(small, static_cast<std::size_t>(n)));
        return;
    }
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), fmt, ap);
    write(std::string_view(big.data(), static_cast<std::size_t>(n)));
}

void Writer::printf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
}

bool Writer::flush() {
    if (used_ > 0) drain();
    return !failed_;
}

bool Writer::close() {
    bool ok = flush();
    if (owns_ && fd_ >= 0) {
        if (::close(fd_) != 0) {
            if (ok) error_number_ = errno;
            ok = false;
            failed_ = true;
        }
    }
    fd_ = -1;
    owns_ = false;
    return ok;
}

}  // namespace kavro
