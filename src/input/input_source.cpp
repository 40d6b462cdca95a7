#include "input/input_source.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

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

// Decompresses the gzip stream of fd (one member or several, as bgzip and
// concatenated files have) into the spool.
void inflate_all(int fd, Spool& spool, const std::string& name) {
    z_stream z{};
    if (inflateInit2(&z, 15 + 16) != Z_OK) spool_failed(name, "zlib");
    auto in = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
    auto out = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
    bool damaged = false, ended = false;
    for (bool eof = false; !eof && !damaged;) {
        ssize_t n = ::read(fd, in.get(), kChunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            inflateEnd(&z);
            spool_failed(name, std::strerror(errno));
        }
        eof = n == 0;
        z.next_in = in.get();
        z.avail_in = static_cast<uInt>(n);
        while (z.avail_in > 0 && !damaged) {
            if (ended) {
                // Another member follows; bytes that are not one end the data.
                if (z.next_in[0] != 0x1F) {
                    z.avail_in = 0;
                    break;
                }
                inflateReset(&z);
                ended = false;
            }
            z.next_out = out.get();
            z.avail_out = kChunk;
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) ended = true;
            else if (rc != Z_OK && rc != Z_BUF_ERROR) damaged = true;
            const std::size_t produced = kChunk - z.avail_out;
            if (produced > 0 && !spool.write(reinterpret_cast<char*>(out.get()), produced)) {
                inflateEnd(&z);
                spool_failed(name, std::strerror(errno));
            }
            if (rc == Z_BUF_ERROR && produced == 0) break;  // needs more input
        }
    }
    inflateEnd(&z);
    if (damaged || !ended) {
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
            if (::lseek(spool->fd(), 0, SEEK_SET) < 0) spool_failed(name, std::strerror(errno));
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
