#include "core/writer.hpp"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <libdeflate.h>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kavro {

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

namespace {

// Standard error written directly: the console's writer may be the one failing.
bool write_all_to(int fd, const std::string& text) { return write_all(fd, text.data(), text.size()); }

long g_unchecked_failures = 0;

// libdeflate level 2: on sequence text it comes within 3% of gzip -6's size
// at twenty times its speed; level 3 takes a third longer for 5% less, level
// 6 ten times longer for 11% less.
constexpr int kGzipLevel = 2;

}  // namespace

// The compression of a gzip file. A full buffer is handed to a second thread,
// which compresses it as one gzip member and writes it, while the caller
// fills the next buffer: the two buffers take turns, so memory stays at two
// buffers and one compressed block. Where no thread can be started, blocks are
// compressed in the caller.
class Writer::GzipBlocks {
public:
    GzipBlocks(int fd, std::size_t capacity)
        : fd_(fd), capacity_(capacity), compressor_(libdeflate_alloc_compressor(kGzipLevel)) {}
    ~GzipBlocks() {
        stop();
        if (compressor_) libdeflate_free_compressor(compressor_);
    }
    GzipBlocks(const GzipBlocks&) = delete;
    GzipBlocks& operator=(const GzipBlocks&) = delete;

    // Takes the n bytes of buf as the next member; buf comes back as an empty
    // buffer of the same capacity (the one that the last block used).
    void submit(std::unique_ptr<char[]>& buf, std::size_t n) {
        if (n == 0) return;
        start();
        if (!worker_.joinable()) {
            compress_and_write(buf.get(), n);
            return;
        }
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !has_job_; });
        if (!spare_) spare_ = std::make_unique_for_overwrite<char[]>(capacity_);
        std::swap(buf, spare_);
        job_size_ = n;
        has_job_ = true;
        work_.notify_one();
    }
    // Waits until every block handed over has been written.
    void wait() {
        if (!worker_.joinable()) return;
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !has_job_; });
    }
    // The end of the file: a file that holds no member yet gets an empty one,
    // so that even an empty output is a valid gzip file.
    void finish() {
        stop();
        struct stat st {};
        if (!wrote_member_ && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0) {
            const char nothing = 0;
            compress_and_write(&nothing, 0);
        }
    }
    bool failed() {
        std::lock_guard lock(mutex_);
        return error_ != 0;
    }
    int error() {
        std::lock_guard lock(mutex_);
        return error_;
    }

private:
    void start() {
        if (started_) return;
        started_ = true;
        try {
            worker_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No second thread: compress in the caller.
        }
    }
    void stop() {
        if (!worker_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_one();
        worker_.join();
    }
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return has_job_ || stopping_; });
            if (!has_job_) return;
            lock.unlock();
            compress_and_write(spare_.get(), job_size_);
            lock.lock();
            has_job_ = false;
            idle_.notify_all();
        }
    }
    // One member. After a failure nothing more is written.
    void compress_and_write(const char* data, std::size_t n) {
        if (has_error()) return;
        if (!compressor_) {
            set_error(ENOMEM);
            return;
        }
        out_.resize(libdeflate_gzip_compress_bound(compressor_, capacity_ > n ? capacity_ : n));
        const std::size_t size = libdeflate_gzip_compress(compressor_, data, n, out_.data(), out_.size());
        if (size == 0) {
            set_error(EIO);
            return;
        }
        if (!write_all(fd_, out_.data(), size)) set_error(errno != 0 ? errno : EIO);
        wrote_member_ = true;
    }
    bool has_error() {
        std::lock_guard lock(mutex_);
        return error_ != 0;
    }
    void set_error(int e) {
        std::lock_guard lock(mutex_);
        if (error_ == 0) error_ = e;
    }

    int fd_;
    std::size_t capacity_;
    libdeflate_compressor* compressor_;
    std::vector<char> out_;
    bool wrote_member_ = false;
    bool started_ = false;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable work_, idle_;
    std::unique_ptr<char[]> spare_;  // the block being compressed, or the free buffer
    std::size_t job_size_ = 0;
    bool has_job_ = false;
    bool stopping_ = false;
    int error_ = 0;
};

// The buffer is taken at the first write, so opening and closing a file
// (as OutputTarget::create_empty does) costs no allocation.
Writer::Writer(int fd, bool owns_fd, std::size_t buffer_size)
    : fd_(fd), owns_(owns_fd), capacity_(buffer_size ? buffer_size : 1) {}

Writer::Writer() = default;

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
      used_(o.used_),
      gzip_(std::move(o.gzip_)) {
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
        gzip_ = std::move(o.gzip_);
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

std::optional<Writer> Writer::open_named(const std::string& path, int flags) {
    auto w = open_with(path, flags);
    if (!w) return w;
    w->name_ = path;
    if (names_gzip(path)) w->gzip_ = std::make_unique<GzipBlocks>(w->fd_, w->capacity_);
    return w;
}

std::optional<Writer> Writer::open_append(const std::string& path) {
    return open_named(path, O_WRONLY | O_CREAT | O_APPEND);
}

std::optional<Writer> Writer::open_truncate(const std::string& path) {
    return open_named(path, O_WRONLY | O_CREAT | O_TRUNC);
}

void Writer::drain() {
    const std::size_t left = used_;
    used_ = 0;
    if (left == 0) return;
    if (gzip_ && fd_ >= 0) {
        gzip_->submit(buf_, left);
        if (gzip_->failed()) note_gzip_failure();
        return;
    }
    if (fd_ < 0 || !write_all(fd_, buf_.get(), left)) note_failure();
}

void Writer::note_gzip_failure() {
    if (!failed_) error_number_ = gzip_->error();
    failed_ = true;
}

void Writer::note_failure() {
    if (!failed_) error_number_ = fd_ < 0 ? EBADF : errno;
    failed_ = true;
}

void Writer::write(std::string_view s) {
    if (!buf_) allocate();
    if (s.size() > size_ - used_) {
        drain();
        if (s.size() >= size_ && !gzip_) {
            // Larger than the buffer: hand it over directly.
            if (fd_ < 0 || !write_all(fd_, s.data(), s.size())) note_failure();
            return;
        }
    }
    // A gzip file takes a large piece buffer by buffer.
    while (s.size() > size_ - used_) {
        const std::size_t room = size_ - used_;
        std::memcpy(buf_.get() + used_, s.data(), room);
        used_ += room;
        s.remove_prefix(room);
        drain();
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
    if (gzip_) {
        gzip_->wait();
        if (gzip_->failed()) note_gzip_failure();
    }
    return !failed_;
}

bool Writer::close() {
    bool ok = flush();
    if (gzip_ && fd_ >= 0) {
        gzip_->finish();
        if (gzip_->failed()) {
            note_gzip_failure();
            ok = false;
        }
    }
    gzip_.reset();
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
