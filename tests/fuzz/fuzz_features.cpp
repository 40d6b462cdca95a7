// The feature-table reader and the location layer through the feature
// commands: the first line names the command (extcds, cdsnuc, extrna,
// extint, noncod, genlist) and its words after the file names; the rest is
// the GenBank or EMBL file.
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"

using namespace kavro;

namespace {

struct Command {
    const char* word;
    CommandHandler handler;
};
const Command kCommands[] = {{"extcds", cmd_extcds}, {"cdsnuc", cmd_cdsnuc}, {"extrna", cmd_extrna},
                             {"extint", cmd_extint}, {"noncod", cmd_noncod}, {"genlist", cmd_genlist}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, file] = fuzz::split_line(text);
    std::vector<std::string> args = fuzz::words_of(line, 8);
    const Settings settings = fuzz::settings_from(args);
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("in", file);

    const Command* chosen = nullptr;
    if (!args.empty())
        for (const Command& c : kCommands)
            if (args[0] == c.word) chosen = &c;
    if (!args.empty()) args.erase(args.begin());
    for (const Command& c : kCommands) {
        if (chosen && chosen != &c) continue;
        std::vector<std::string> words = {c.word, ws.path("in"), ws.path("out")};
        words.insert(words.end(), args.begin(), args.end());
        fuzz::run_command(c.handler, words, &settings);
    }
    return 0;
}
