// toprot with a fuzzed switch and codon table on a fuzzed sequence file;
// the presentation form ("p") reads its exons from a second fuzzed file.
// First line "switch [table]", then the sequence file, then "\n%%\n" and
// the exon file.
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"

using namespace kavro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, rest] = fuzz::split_line(text);
    auto [seq, exons] = fuzz::split_files(rest);
    std::vector<std::string> args = fuzz::words_of(line, 2);
    const Settings settings = fuzz::settings_from(args);
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("in", seq);
    ws.write("exons", exons);
    // "p" alone would ask for the exons: the fuzzed exon file is always given.
    if (!args.empty() && !args[0].empty() && args[0][0] == 'p') args[0] = "p" + ws.path("exons");
    std::vector<std::string> words = {"toprot", ws.path("in"), ws.path("out")};
    words.insert(words.end(), args.begin(), args.end());
    fuzz::run_command(cmd_toprot, words, &settings);
    return 0;
}
