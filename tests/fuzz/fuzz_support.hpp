#pragma once
// Shared pieces of the libFuzzer targets: one private work directory per
// process (removed at exit), the fuzzed input cut into words and files,
// commands run in-process through their handlers, and checks that abort
// with a message so that libFuzzer keeps the input.
//
// Input layout of the command targets: the first line holds the words
// (space-separated), the rest is the file; targets that need two files cut
// the rest at the first "\n%%\n".

#include <dirent.h>
#include <sanitizer/common_interface_defs.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "ui/command_line.hpp"

namespace fuzz {

// Where check failures are written: standard error as it was at start-up
// (libFuzzer's -close_fd_mask sends fd 2 to /dev/null later).
inline int& report_fd() {
    static int fd = 2;
    return fd;
}

[[noreturn]] inline void fail(const char* file, int line, const std::string& what) {
    const std::string text = std::string("FUZZ CHECK FAILED ") + file + ":" + std::to_string(line) + ": " + what + "\n";
    [[maybe_unused]] const ssize_t written = write(report_fd(), text.data(), text.size());
    std::abort();
}

#define FUZZ_CHECK(cond, what)                                          \
    do {                                                                \
        if (!(cond)) ::fuzz::fail(__FILE__, __LINE__, std::string(what)); \
    } while (0)

class Workspace {
public:
    static Workspace& get() {
        static Workspace w;
        return w;
    }
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    void write(const std::string& name, std::string_view bytes) const {
        std::ofstream f(path(name), std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read(const std::string& name) const {
        std::ifstream f(path(name), std::ios::binary);
        if (!f) return "(none)";
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
    bool exists(const std::string& name) const { return access(path(name).c_str(), F_OK) == 0; }
    // Empties the directory (commands may have written files of any name).
    void clear() const { remove_tree(dir_, false); }

private:
    Workspace() {
        const char* tmp = std::getenv("TMPDIR");
        std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/kavro-fuzz-XXXXXX";
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data())) fail(__FILE__, __LINE__, "mkdtemp");
        dir_ = buf.data();
        // Relative names a command makes up land here too.
        if (chdir(dir_.c_str()) != 0) fail(__FILE__, __LINE__, "chdir");
    }
    ~Workspace() { remove_tree(dir_, true); }
    static void remove_tree(const std::string& d, bool self) {
        if (DIR* h = opendir(d.c_str())) {
            std::vector<std::string> names;
            while (dirent* e = readdir(h)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") names.push_back(n);
            }
            closedir(h);
            for (const auto& n : names) {
                const std::string p = d + "/" + n;
                if (unlink(p.c_str()) != 0) remove_tree(p, true);
            }
        }
        if (self) rmdir(d.c_str());
    }
    std::string dir_;
};

// Called from LLVMFuzzerInitialize: keeps the real standard error for
// reports, caps the size of any file written, gives commands an empty standard input (dialogs end at once) and
// makes the work directory.
// The command-line paths made absolute, since the work directory becomes
// the current one (libFuzzer reads and writes them later).
inline void absolute_paths(int* argc, char*** argv) {
    static std::vector<std::string> kept;
    kept.reserve(static_cast<std::size_t>(*argc) * 2);
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return;
    for (int i = 1; i < *argc; ++i) {
        std::string arg = (*argv)[i];
        std::size_t value = 0;
        if (arg.rfind("-artifact_prefix=", 0) == 0 || arg.rfind("-exact_artifact_path=", 0) == 0)
            value = arg.find('=') + 1;
        else if (!arg.empty() && arg[0] == '-')
            continue;
        if (value >= arg.size() || arg[value] == '/') continue;
        kept.push_back(arg.substr(0, value) + cwd + "/" + arg.substr(value));
        (*argv)[i] = kept.back().data();
    }
}

inline void init(int* argc, char*** argv) {
    absolute_paths(argc, argv);
    report_fd() = dup(2);
    // Sanitizer reports go to the real standard error even while a target
    // captures fds 1 and 2.
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::uintptr_t>(report_fd())));
    // A run that writes without end meets a file-size limit (a write error)
    // instead of filling the disk; it then shows as a timeout.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 64u << 20;
    setrlimit(RLIMIT_FSIZE, &limit);
    const int null_fd = open("/dev/null", O_RDONLY);
    if (null_fd >= 0) {
        dup2(null_fd, 0);
        close(null_fd);
    }
    Workspace::get();
}

// The first line and the rest.
inline std::pair<std::string_view, std::string_view> split_line(std::string_view data) {
    const std::size_t nl = data.find('\n');
    if (nl == std::string_view::npos) return {data, {}};
    return {data.substr(0, nl), data.substr(nl + 1)};
}

// Cut at the first "\n%%\n" (the second part empty when there is none).
inline std::pair<std::string_view, std::string_view> split_files(std::string_view data) {
    const std::size_t at = data.find("\n%%\n");
    if (at == std::string_view::npos) return {data, {}};
    return {data.substr(0, at + 1), data.substr(at + 4)};
}

inline std::vector<std::string> words_of(std::string_view line, std::size_t max_words) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size() && words.size() < max_words) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ') ++j;
        if (j > i) words.emplace_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

// Runs a handler with these words (word 0 the command word), as the
// dispatcher would; the settings come back as they were.
inline int run_command(kavro::CommandHandler handler, const std::vector<std::string>& words,
                       const kavro::Settings* settings = nullptr) {
    const kavro::Settings saved = kavro::g_settings;
    if (settings) kavro::g_settings = *settings;
    kavro::CommandLine line;
    int count = 0;
    for (const std::string& w : words) {
        if (count >= kavro::kMaxWords) break;
        line.set(count++, w);
    }
    int status;
    try {
        status = handler(count, line);
    } catch (const kavro::ProgramExit& e) {
        status = e.status;
    }
    // The console may point at a closed or full stream after a run: only the
    // flush matters here, not its result.
    static_cast<void>(kavro::flush_console());
    kavro::set_messages_to_stderr(false);
    kavro::g_settings = saved;
    return status;
}

// Words "@addseqg", "@noimport", "@circular" and "@line=N" set those
// settings for the run and are taken out of the words.
inline kavro::Settings settings_from(std::vector<std::string>& words) {
    kavro::Settings s = kavro::g_settings;
    std::vector<std::string> rest;
    for (const std::string& w : words) {
        if (w == "@addseqg") s.addseqg = true;
        else if (w == "@noimport") s.seq_import = false;
        else if (w == "@circular") s.form = true;
        else if (w.rfind("@line=", 0) == 0) s.line_length = std::max(1, std::atoi(w.c_str() + 6) % 1000);
        else rest.push_back(w);
    }
    words = rest;
    return s;
}

}  // namespace fuzz

// Every target starts the same way: absolute paths, the file-size limit, the
// work directory. (Each target is one file, so this is defined once.)
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::init(argc, argv);
    return 0;
}
