// The alignment commands on a fuzzed alignment file: the first line names
// the command (getclu, simtbl, splcod) and its words after the file names;
// the rest is the CLUSTAL, PHYLIP or FASTA file.
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"

using namespace kavro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, file] = fuzz::split_line(text);
    std::vector<std::string> args = fuzz::words_of(line, 4);
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("in", file);
    const std::string which = args.empty() ? "" : args[0];
    if (!args.empty()) args.erase(args.begin());
    if (which == "splcod") {
        fuzz::run_command(cmd_splcod, {"splcod", ws.path("in")});
        return 0;
    }
    std::vector<std::string> words = {which == "simtbl" ? "simtbl" : "getclu", ws.path("in"), ws.path("out")};
    words.insert(words.end(), args.begin(), args.end());
    fuzz::run_command(which == "simtbl" ? cmd_simtbl : cmd_getclu, words);
    return 0;
}
