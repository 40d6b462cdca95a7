// getent with fuzzed selection words (ID=, AC=, OS=, DE=, uniID=, NO=,
// File=, Group=, Split=) on a fuzzed database file. The first line holds
// the words; a second file (after "\n%%\n") is there for File= and Group=
// lists, named "list".
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"

using namespace kavro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, rest] = fuzz::split_line(text);
    auto [db, list] = fuzz::split_files(rest);
    std::vector<std::string> args = fuzz::words_of(line, 12);
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("db", db);
    ws.write("list", list);
    std::vector<std::string> words = {"getent", ws.path("db"), ws.path("out")};
    words.insert(words.end(), args.begin(), args.end());
    fuzz::run_command(cmd_getent, words);
    return 0;
}
