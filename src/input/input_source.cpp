#include "input/input_source.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <map>
#include <new>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/writer.hpp"

namespace kavro {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// A temporary file that no name reaches: created, unlinked, and kept open
// for the rest of the run; it is reopened through /proc/self/fd.
class Spool {
public:
    Spool() {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/kavro-input-XXXXXX";
        fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ >= 0) ::unlink(pattern.c_str());
    }
    ~Spool() {
        if (fd_ >= 0) ::close(fd_);
    }
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

    bool write(const char* data, std::size_t n) { return write_all(fd_, data, n); }

private:
    int fd_ = -1;
};

// Spooled copies by the key of their source, for the rest of the run.
std::map<std::string, std::unique_ptr<Spool>>& spools() {
    static std::map<std::string, std::unique_ptr<Spool>> m;
    return m;
}

[[noreturn]] void spool_failed(const std::string& name, const char* why) {
    err("Cannot read file: %s (%s)\n", name.c_str(), why);
    end_program(1);
}

// Reads fd to its end into the spool.
void copy_all(int fd, Spool& spool, const std::string& name) {
    auto buf = std::make_unique_for_overwrite<char[]>(kChunk);
    for (;;) {
        ssize_t n = ::read(fd, buf.get(), kChunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            spool_failed(name, std::strerror(errno));
        }
        if (n == 0) return;
        if (!spool.write(buf.get(), static_cast<std::size_t>(n))) spool_failed(name, std::strerror(errno));
    }
}

// A pipe, FIFO or device read to its end into a spool kept for the run.
std::string spool_stream(int fd, const std::string& key, const std::string& name) {
    auto& known = spools();
    if (auto it = known.find(key); it != known.end()) return it->second->path();
    auto spool = std::make_unique<Spool>();
    if (!spool->ok()) spool_failed(name, std::strerror(errno));
    copy_all(fd, *spool, name);
    std::string path = spool->path();
    known.emplace(key, std::move(spool));
    return path;
}

constexpr std::size_t kInputBlock = 1 << 18;   // compressed bytes read at a time
constexpr std::size_t kOutputBlock = 1 << 20;  // inflated bytes handed over at a time
constexpr std::size_t kSkipBlock = 1 << 16;    // inflated and dropped at a time on a seek forward
// A saved point costs the 32 KiB window and the inflate state (about 40 KB).
// One is saved every megabyte; past kMaxPoints the older ones are thinned out
// evenly, so a seek back costs at most a megabyte of inflating within the
// last kDensePoints megabytes, and about a 32nd of the way further back.
constexpr std::int64_t kPointSpan = 1 << 20;
constexpr std::size_t kMaxPoints = 96;
constexpr std::size_t kDensePoints = 32;

// A zlib inflate state: zlib keeps a pointer back to the z_stream, so it
// stays at one address for its life.
struct InflateState {
    InflateState() = default;
    ~InflateState() {
        if (live) inflateEnd(&z);
    }
    InflateState(const InflateState&) = delete;
    InflateState& operator=(const InflateState&) = delete;
    z_stream z{};
    bool live = false;
};

std::unique_ptr<InflateState> new_inflate_state() {
    auto s = std::make_unique<InflateState>();
    // 15 + 16: a 32 KiB window and the gzip wrapper, whose CRC and size are checked.
    if (inflateInit2(&s->z, 15 + 16) != Z_OK) throw std::bad_alloc();
    s->live = true;
    return s;
}

std::unique_ptr<InflateState> copy_of(InflateState& from) {
    auto s = std::make_unique<InflateState>();
    if (inflateCopy(&s->z, &from.z) != Z_OK) throw std::bad_alloc();
    s->live = true;
    return s;
}

enum class InflateStatus { More, End, Damaged, ReadFailed };

// Where inflating can start again without the data before it.
struct SavedPoint {
    std::int64_t out = 0;  // offset in the inflated data
    std::int64_t in = 0;   // offset in the file of the next compressed byte
    bool in_member = false;
    std::unique_ptr<InflateState> state;
};

// The inflate of one gzip file, front to back, with saved points to go back.
class Inflater {
public:
    explicit Inflater(int fd)
        : fd_(fd), input_(std::make_unique_for_overwrite<unsigned char[]>(kInputBlock)), state_(new_inflate_state()) {}

    std::int64_t offset() const { return out_; }
    InflateStatus status() const { return status_; }
    int read_errno() const { return read_errno_; }

    // Inflates up to n bytes into dst; fewer only when status() is no longer More.
    std::size_t fill(char* dst, std::size_t n) {
        save_point();
        z_stream& z = state_->z;
        std::size_t got = 0;
        while (got < n && status_ == InflateStatus::More) {
            if (!in_member_) {
                // Another member follows only where its magic bytes stand.
                while (z.avail_in < 2 && more_input()) {}
                if (z.avail_in < 2 || z.next_in[0] != 0x1F || z.next_in[1] != 0x8B) {
                    end_with(InflateStatus::End);
                    break;
                }
                inflateReset(&z);
                in_member_ = true;
            }
            if (z.avail_in == 0 && !more_input()) {
                end_with(InflateStatus::Damaged);  // cut short inside a member
                break;
            }
            const std::size_t room = std::min<std::size_t>(n - got, std::size_t{1} << 30);
            z.next_out = reinterpret_cast<Bytef*>(dst + got);
            z.avail_out = static_cast<uInt>(room);
            const int rc = inflate(&z, Z_NO_FLUSH);
            got += room - z.avail_out;
            if (rc == Z_STREAM_END) {
                in_member_ = false;
            } else if (rc == Z_MEM_ERROR) {
                out_ += static_cast<std::int64_t>(got);
                throw std::bad_alloc();
            } else if (rc != Z_OK && !(rc == Z_BUF_ERROR && z.avail_in == 0)) {
                status_ = InflateStatus::Damaged;
            }
        }
        out_ += static_cast<std::int64_t>(got);
        return got;
    }

    // Goes to an offset of the inflated data: from the nearest saved point
    // before it (or the start) when that is nearer than here, then forward
    // by inflating and dropping.
    void move_to(std::int64_t offset) {
        auto after = std::upper_bound(points_.begin(), points_.end(), offset,
                                      [](std::int64_t at, const SavedPoint& p) { return at < p.out; });
        if (offset < out_ || (after != points_.begin() && (after - 1)->out > out_)) {
            if (after == points_.begin()) {
                state_ = new_inflate_state();
                in_end_ = 0;
                in_member_ = false;
                out_ = 0;
            } else {
                SavedPoint& p = *(after - 1);
                state_ = copy_of(*p.state);
                in_end_ = p.in;
                in_member_ = p.in_member;
                out_ = p.out;
            }
            state_->z.next_in = input_.get();
            state_->z.avail_in = 0;
            status_ = InflateStatus::More;
        }
        if (out_ < offset && !skip_) skip_ = std::make_unique_for_overwrite<char[]>(kSkipBlock);
        while (out_ < offset && status_ == InflateStatus::More)
            fill(skip_.get(), static_cast<std::size_t>(std::min<std::int64_t>(kSkipBlock, offset - out_)));
    }

private:
    void end_with(InflateStatus s) {
        if (status_ == InflateStatus::More) status_ = s;
    }

    // Reads more compressed bytes after those not yet inflated; false at the
    // end of the file or on a failed read (status ReadFailed).
    bool more_input() {
        z_stream& z = state_->z;
        const std::size_t keep = z.avail_in;
        if (keep > 0 && z.next_in != input_.get()) std::memmove(input_.get(), z.next_in, keep);
        z.next_in = input_.get();
        for (;;) {
            const ssize_t r = ::pread(fd_, input_.get() + keep, kInputBlock - keep, static_cast<off_t>(in_end_));
            if (r < 0) {
                if (errno == EINTR) continue;
                read_errno_ = errno;
                status_ = InflateStatus::ReadFailed;
                return false;
            }
            in_end_ += r;
            z.avail_in = static_cast<uInt>(keep + static_cast<std::size_t>(r));
            return r > 0;
        }
    }

    void save_point() {
        const std::int64_t last = points_.empty() ? 0 : points_.back().out;
        if (status_ != InflateStatus::More || out_ - last < kPointSpan) return;
        std::unique_ptr<InflateState> copy;
        try {
            copy = copy_of(*state_);
        } catch (const std::bad_alloc&) {
            return;  // no point here: a seek back goes further back
        }
        const std::int64_t in = in_end_ - static_cast<std::int64_t>(state_->z.avail_in);
        points_.push_back({out_, in, in_member_, std::move(copy)});
        // Before the newest kDensePoints, points stand at least far_span_
        // apart, a span doubled whenever they are still too many.
        while (points_.size() > kMaxPoints) {
            const std::size_t dense_from = points_.size() - kDensePoints;
            std::size_t kept = 1;
            for (std::size_t i = 1; i < points_.size(); ++i) {
                if (i < dense_from && points_[i].out - points_[kept - 1].out < far_span_) continue;
                if (kept != i) points_[kept] = std::move(points_[i]);
                ++kept;
            }
            points_.resize(kept);
            if (points_.size() > kMaxPoints) far_span_ *= 2;
        }
    }

    int fd_;
    std::unique_ptr<unsigned char[]> input_;
    std::unique_ptr<InflateState> state_;
    std::unique_ptr<char[]> skip_;
    std::int64_t in_end_ = 0;  // file offset just past the bytes read into input_
    std::int64_t out_ = 0;     // inflated bytes so far
    bool in_member_ = false;   // false between members (and before the first)
    InflateStatus status_ = InflateStatus::More;
    int read_errno_ = 0;
    std::vector<SavedPoint> points_;  // by offset
    std::int64_t far_span_ = kPointSpan;
};

}  // namespace

// The inflated data in blocks: the one being read, the one before it (a seek
// back into it costs nothing) and the one after it, which another thread
// inflates while the reader works on this one. Only that thread touches the
// Inflater and the block it fills while it runs; every other access comes
// after waiting for it.
struct GzipStream::Impl {
    struct Block {
        std::unique_ptr<char[]> data;
        std::int64_t start = 0;
        std::size_t size = 0;
        InflateStatus status = InflateStatus::More;  // More: data follow the block
        int read_errno = 0;
        bool valid = false;

        std::int64_t end() const { return start + static_cast<std::int64_t>(size); }
        bool holds(std::int64_t at) const { return valid && at >= start && at < end(); }
    };

    Impl(int fd, std::string input_name) : inflater(fd), name(std::move(input_name)) {}
    ~Impl() {
        if (pending.valid()) pending.wait();
    }

    void fill(Block& b) {
        if (!b.data) b.data = std::make_unique_for_overwrite<char[]>(kOutputBlock);
        b.start = inflater.offset();
        b.size = inflater.fill(b.data.get(), kOutputBlock);
        b.status = inflater.status();
        b.read_errno = inflater.read_errno();
        b.valid = true;
    }

    void wait() {
        if (pending.valid()) pending.get();
    }

    // The block to fill next: one that holds nothing, else the oldest that is
    // not being read.
    std::size_t spare() const {
        std::size_t pick = blocks.size();
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (static_cast<int>(i) == current) continue;
            if (!blocks[i].valid) return i;
            if (pick == blocks.size() || blocks[i].start < blocks[pick].start) pick = i;
        }
        return pick;
    }

    // Makes `current` the block holding `pos`, inflating it when no block does.
    void locate() {
        wait();
        current = -1;
        for (std::size_t i = 0; i < blocks.size(); ++i)
            if (blocks[i].holds(pos)) current = static_cast<int>(i);
        if (current < 0) {
            const std::size_t b = spare();
            if (inflater.offset() != pos) inflater.move_to(pos);
            fill(blocks[b]);
            current = static_cast<int>(b);
        }
        read_ahead();
    }

    // Starts inflating the block after the current one when the inflate
    // stands right after it.
    void read_ahead() {
        const Block& now = blocks[static_cast<std::size_t>(current)];
        if (now.status != InflateStatus::More || inflater.offset() != now.end()) return;
        Block& next = blocks[spare()];
        next.valid = false;
        try {
            pending = std::async(std::launch::async, [this, &next] { fill(next); });
        } catch (const std::system_error&) {
            // No thread to be had: the block is inflated when it is read.
        }
    }

    Inflater inflater;
    std::string name;
    std::array<Block, 3> blocks;
    int current = -1;           // the block holding pos, or -1
    std::int64_t pos = 0;       // offset of the next byte handed out
    std::future<void> pending;  // the block being filled ahead
};

GzipStream::GzipStream(int fd, std::string name) : impl_(std::make_unique<Impl>(fd, std::move(name))) {}

GzipStream::~GzipStream() = default;

long GzipStream::read(char* dst, std::size_t n) {
    Impl& s = *impl_;
    for (;;) {
        if (s.current >= 0) {
            const Impl::Block& b = s.blocks[static_cast<std::size_t>(s.current)];
            if (b.holds(s.pos)) {
                const std::size_t at = static_cast<std::size_t>(s.pos - b.start);
                const std::size_t k = std::min(n, b.size - at);
                std::memcpy(dst, b.data.get() + at, k);
                s.pos += static_cast<std::int64_t>(k);
                return static_cast<long>(k);
            }
            if (b.status != InflateStatus::More && s.pos >= b.end()) {
                if (b.status == InflateStatus::Damaged) {
                    err("This gzip file is damaged or cut short: %s\n", s.name.c_str());
                    end_program(1);
                }
                if (b.status == InflateStatus::ReadFailed) {
                    errno = b.read_errno;
                    return -1;
                }
                return 0;
            }
        }
        s.locate();
    }
}

void GzipStream::seek(std::int64_t offset) {
    impl_->pos = offset;
    impl_->current = -1;
}

std::string readable_path(const std::string& name) {
    if (name == "-") return spool_stream(STDIN_FILENO, "-", "-");
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)) return name;
    // A pipe, FIFO or device: read once, under its name.
    const std::string key = "stream:" + name;
    if (auto it = spools().find(key); it != spools().end()) return it->second->path();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return name;
    try {
        std::string path = spool_stream(fd, key, name);
        ::close(fd);
        return path;
    } catch (...) {
        ::close(fd);
        throw;
    }
}

bool starts_with_gzip_magic(int fd) {
    unsigned char magic[2];
    return ::pread(fd, magic, 2, 0) == 2 && magic[0] == 0x1F && magic[1] == 0x8B;
}

bool looks_binary(std::string_view first_block) {
    for (unsigned char c : first_block) {
        if (c >= 0x20 && c != 0x7F) continue;
        if (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A) continue;
        return true;
    }
    return false;
}

}  // namespace kavro
