#pragma once
// End-to-end test helper: runs the built kavro binary in a fresh temporary
// directory with the given words, standard input, environment and input
// files, and returns its status, both streams and the directory, so a test can
// read the files it wrote.
//
//   auto r = kavro_test::run({.args = {"tofast", "in.gb", "out.fa"},
//                             .files = {{"in.gb", kGenBankText}}});
//   EXPECT_EQ(r.status, 0);
//   EXPECT_EQ(r.file("out.fa"), ">ABC\nACGT\n\n");

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavro_test {

// A temporary directory removed (with everything in it) on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
};

struct Run {
    std::vector<std::string> args;           // words after the program name
    std::string input;                       // standard input
    std::map<std::string, std::string> env;  // added to a minimal environment
    std::map<std::string, std::string> files;  // created in the directory first
    int timeout_seconds = 60;
    // When set, a run that writes a file (or stream) past this size is
    // stopped, so a test of a run that might not end stays bounded.
    long long max_file_bytes = 0;
    std::string stdout_path;  // standard output to this file instead (e.g. /dev/full)
};

struct Result {
    int status = -1;  // exit status; -1 if it did not exit normally (crash, timeout)
    bool timed_out = false;
    std::string out;  // standard output, bytes as written
    std::string err;  // standard error
    std::shared_ptr<TempDir> dir;

    std::string file(const std::string& name) const { return dir->read(name); }
    bool exists(const std::string& name) const { return dir->exists(name); }
};

Result run(const Run& request);

// The bytes of a fixture shipped under tests/fixtures.
std::string fixture(const std::string& relative_path);

// UTF-8 text as the program writes it to a pipe (Shift_JIS).
std::string sjis(const std::string& utf8);

// Redirects file descriptors 1 and 2 into temporary files for in-process
// tests of code that prints through the console helpers.
class CaptureConsole {
public:
    CaptureConsole();
    ~CaptureConsole();
    // Flushes the console and returns what was written so far.
    std::string out();
    std::string err();

private:
    int saved_out_ = -1, saved_err_ = -1;
    TempDir dir_;
};

}  // namespace kavro_test
