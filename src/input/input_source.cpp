#include "input/input_source.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <libdeflate.h>
#include <sys/mman.h>

#include "core/console.hpp"
#include "core/program_exit.hpp"

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

    bool write(const char* data, std::size_t n) {
        while (n > 0) {
            ssize_t w = ::write(fd_, data, n);
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            data += w;
            n -= static_cast<std::size_t>(w);
        }
        return true;
    }

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

// A file mapped into memory, read-only; unmapped on destruction.
class MappedInput {
public:
    explicit MappedInput(int fd) {
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_size <= 0) return;
        size_ = static_cast<std::size_t>(st.st_size);
        void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            size_ = 0;
            return;
        }
        ::madvise(p, size_, MADV_SEQUENTIAL);
        data_ = static_cast<const unsigned char*>(p);
    }
    ~MappedInput() {
        if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
    }
    MappedInput(const MappedInput&) = delete;
    MappedInput& operator=(const MappedInput&) = delete;
    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

// The spool file mapped for writing, grown on demand (sparse until written).
class MappedOutput {
public:
    explicit MappedOutput(int fd) : fd_(fd) {}
    ~MappedOutput() { unmap(); }
    MappedOutput(const MappedOutput&) = delete;
    MappedOutput& operator=(const MappedOutput&) = delete;

    bool reserve(std::size_t capacity) {
        unmap();
        if (::ftruncate(fd_, static_cast<off_t>(capacity)) != 0) return false;
        void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (p == MAP_FAILED) return false;
        data_ = static_cast<unsigned char*>(p);
        capacity_ = capacity;
        return true;
    }
    // Unmaps and cuts the file to the bytes written.
    bool finish(std::size_t used) {
        unmap();
        return ::ftruncate(fd_, static_cast<off_t>(used)) == 0;
    }
    unsigned char* data() { return data_; }
    std::size_t capacity() const { return capacity_; }

private:
    void unmap() {
        if (data_) ::munmap(data_, capacity_);
        data_ = nullptr;
    }
    int fd_;
    unsigned char* data_ = nullptr;
    std::size_t capacity_ = 0;
};

// The decompressed size a gzip file announces in its last four bytes is
// the size modulo 4 GiB of its last member only. The first room reserved is
// that, or four times the compressed size when more (the file is sparse
// until written, so unused room costs nothing); a member that does not fit
// doubles it.
std::size_t first_guess(const MappedInput& in) {
    const unsigned char* t = in.data() + in.size() - 4;
    const std::size_t announced = static_cast<std::size_t>(t[0]) | static_cast<std::size_t>(t[1]) << 8 |
                                  static_cast<std::size_t>(t[2]) << 16 | static_cast<std::size_t>(t[3]) << 24;
    return std::max(announced, 4 * in.size()) + 4096;
}

// Decompresses the gzip data of fd (one member or several, as bgzip and
// concatenated files have) into the spool, straight into its mapped pages.
// libdeflate decompresses whole members from memory, about twice as fast as
// a streaming inflate.
void inflate_all(int fd, Spool& spool, const std::string& name) {
    MappedInput in(fd);
    if (!in.data() || in.size() < 18) {
        err("This gzip file is damaged or cut short: %s\n", name.c_str());
        end_program(1);
    }
    struct Decompressor {
        libdeflate_decompressor* d = libdeflate_alloc_decompressor();
        ~Decompressor() {
            if (d) libdeflate_free_decompressor(d);
        }
    } dec;
    MappedOutput out(spool.fd());
    if (!dec.d || !out.reserve(first_guess(in))) spool_failed(name, std::strerror(errno));
    std::size_t in_pos = 0, out_pos = 0;
    bool damaged = false;
    while (in_pos < in.size()) {
        // Bytes after the last member that do not start another are not data.
        if (in_pos > 0 && (in.size() - in_pos < 2 || in.data()[in_pos] != 0x1F || in.data()[in_pos + 1] != 0x8B)) break;
        std::size_t in_used = 0, out_used = 0;
        const libdeflate_result rc =
            libdeflate_gzip_decompress_ex(dec.d, in.data() + in_pos, in.size() - in_pos, out.data() + out_pos,
                                          out.capacity() - out_pos, &in_used, &out_used);
        if (rc == LIBDEFLATE_INSUFFICIENT_SPACE) {
            // Room for this member, twice over: few members need a retry.
            if (!out.reserve(out.capacity() * 2)) spool_failed(name, std::strerror(errno));
            continue;
        }
        if (rc != LIBDEFLATE_SUCCESS) {
            damaged = true;
            break;
        }
        in_pos += in_used;
        out_pos += out_used;
    }
    if (!out.finish(out_pos)) spool_failed(name, std::strerror(errno));
    if (damaged) {
        err("This gzip file is damaged or cut short: %s\n", name.c_str());
        end_program(1);
    }
}

bool gzip_magic(int fd) {
    unsigned char magic[2];
    return ::pread(fd, magic, 2, 0) == 2 && magic[0] == 0x1F && magic[1] == 0x8B;
}

// The spool made from fd (positioned at its start): the decompressed data of
// a gzip file, or a copy of a stream (decompressed too when it is gzip).
std::string spool_from(int fd, bool gzip_file, const std::string& key, const std::string& name) {
    auto& known = spools();
    if (auto it = known.find(key); it != known.end()) return it->second->path();
    auto spool = std::make_unique<Spool>();
    if (!spool->ok()) spool_failed(name, std::strerror(errno));
    if (gzip_file) {
        inflate_all(fd, *spool, name);
    } else {
        copy_all(fd, *spool, name);
        if (gzip_magic(spool->fd())) {
            // A compressed stream from a pipe: decompressed from the copy.
            auto plain = std::make_unique<Spool>();
            if (!plain->ok()) spool_failed(name, std::strerror(errno));
            inflate_all(spool->fd(), *plain, name);
            spool = std::move(plain);
        }
    }
    std::string path = spool->path();
    known.emplace(key, std::move(spool));
    return path;
}

}  // namespace

std::string readable_path(const std::string& name) {
    if (name == "-") return spool_from(STDIN_FILENO, false, "-", "-");
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return name;
    if (S_ISREG(st.st_mode)) {
        int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return name;
        std::string path = name;
        if (gzip_magic(fd)) {
            // The same file (by device, inode, size and time) is decompressed once.
            const std::string key = "gz:" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
                                    std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
                                    std::to_string(st.st_mtim.tv_nsec);
            try {
                path = spool_from(fd, true, key, name);
            } catch (...) {
                ::close(fd);
                throw;
            }
        }
        ::close(fd);
        return path;
    }
    // A pipe, FIFO or device: read once, under its name.
    const std::string key = "stream:" + name;
    if (auto it = spools().find(key); it != spools().end()) return it->second->path();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return name;
    try {
        std::string path = spool_from(fd, false, key, name);
        ::close(fd);
        return path;
    } catch (...) {
        ::close(fd);
        throw;
    }
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
