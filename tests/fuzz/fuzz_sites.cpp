// sites with a fuzzed mode, motif and match level on a fuzzed file: the
// first line is "mode motif [level]", the rest the file.
#include <cctype>
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"

using namespace kavro;

namespace {

// Palindrome search (mode 3) over a length range runs once per length, and
// lengths past the longest motif are refused one by one: such ranges are
// slow without being interesting.
bool long_range(const std::string& motif) {
    long number = 0;
    for (char c : motif) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number = number * 10 + (c - '0');
            if (number > 64) return true;
        } else {
            number = 0;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, file] = fuzz::split_line(text);
    std::vector<std::string> args = fuzz::words_of(line, 3);
    const Settings settings = fuzz::settings_from(args);
    if (args.size() < 2) return 0;
    if (args[0].find('3') != std::string::npos && long_range(args[1])) return 0;
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("in", file);
    std::vector<std::string> words = {"sites", ws.path("in"), ws.path("out")};
    words.insert(words.end(), args.begin(), args.end());
    fuzz::run_command(cmd_sites, words, &settings);
    return 0;
}
