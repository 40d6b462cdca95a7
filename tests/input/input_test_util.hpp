#pragma once
// Helpers for the reader tests: inputs written to a temporary file, and the
// standard error a call produced.

#include <string>

#include "core/settings.hpp"
#include "input/line_reader.hpp"
#include "support/run_kavro.hpp"

namespace input_test {

// A file holding the given bytes, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& content, const std::string& name = "input.txt")
        : path_(dir_ / name) {
        dir_.write(name, content);
    }
    const std::string& path() const { return path_; }

private:
    kavro_test::TempDir dir_;
    std::string path_;
};

// Runs f with the console captured; returns standard error.
template <class F>
std::string stderr_of(F&& f) {
    kavro_test::CaptureConsole console;
    f();
    return console.err();
}

// Puts the form setting back after a test that changed it.
struct FormReset {
    bool saved = kavro::g_settings.form;
    ~FormReset() { kavro::g_settings.form = saved; }
};

}  // namespace input_test
