#include "support/run_kavro.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/console.hpp"

namespace fs = std::filesystem;

namespace kavro_test {

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "kavro-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream f(*this / name, std::ios::binary);
    f << content;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream f(*this / name, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool TempDir::exists(const std::string& name) const { return fs::exists(*this / name); }

Result run(const Run& request) {
    Result r;
    r.dir = std::make_shared<TempDir>();
    for (const auto& [name, content] : request.files) r.dir->write(name, content);
    TempDir io;
    io.write("stdin", request.input);

    std::vector<std::string> env_strings = {"PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C"};
    for (const auto& [k, v] : request.env) env_strings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& s : env_strings) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> argv_strings = {KAVRO_BINARY};
    argv_strings.insert(argv_strings.end(), request.args.begin(), request.args.end());
    std::vector<char*> argv;
    for (auto& s : argv_strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int in = open((io / "stdin").c_str(), O_RDONLY);
        const std::string out_path = request.stdout_path.empty() ? io / "stdout" : request.stdout_path;
        int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int er = open((io / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || er < 0 || chdir(r.dir->path().c_str()) != 0) _exit(127);
        if (request.max_file_bytes > 0) {
            const rlimit limit{static_cast<rlim_t>(request.max_file_bytes), static_cast<rlim_t>(request.max_file_bytes)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(er, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(request.timeout_seconds);
    int wstatus = 0;
    for (;;) {
        pid_t done = waitpid(pid, &wstatus, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            r.timed_out = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!r.timed_out && WIFEXITED(wstatus)) r.status = WEXITSTATUS(wstatus);
    if (request.stdout_path.empty()) r.out = io.read("stdout");
    r.err = io.read("stderr");
    return r;
}

std::string fixture(const std::string& relative_path) {
    std::ifstream f(std::string(KAVRO_FIXTURES) + "/" + relative_path, std::ios::binary);
    if (!f) throw std::runtime_error("missing fixture " + relative_path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Converted here with iconv of its own, not with the program's converter,
// so that a fault there shows; a character CP932 lacks fails the test run.
std::string sjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter in iconv");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char* o = out.data();
    std::size_t o_left = out.size();
    const std::size_t r = iconv(cd, &in, &in_left, &o, &o_left);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible to CP932: " + utf8);
    out.resize(out.size() - o_left);
    return out;
}

CaptureConsole::CaptureConsole() {
    kavro::flush_console();
    saved_out_ = dup(1);
    saved_err_ = dup(2);
    int o = open((dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open((dir_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(o, 1);
    dup2(e, 2);
    close(o);
    close(e);
}

CaptureConsole::~CaptureConsole() {
    kavro::flush_console();
    dup2(saved_out_, 1);
    dup2(saved_err_, 2);
    close(saved_out_);
    close(saved_err_);
}

std::string CaptureConsole::out() {
    kavro::flush_console();
    return dir_.read("out");
}

std::string CaptureConsole::err() {
    kavro::flush_console();
    return dir_.read("err");
}

}  // namespace kavro_test
