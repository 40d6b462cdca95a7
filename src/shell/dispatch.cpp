// dispatch_command: echoes the arguments and calls the handler of the
// command word.
#include "core/console.hpp"
#include "shell/command_table.hpp"
#include "shell/shell.hpp"

namespace kavro {

int dispatch_command(int count, CommandLine& words) {
    for (int i = 1; i < count && i < kMaxWords; ++i) out("%s ", words[i].c_str());
    out("\n");
    const CommandRow* row = find_command(words[0]);
    if (!row) {
        err("Unknown command: %s\n", words[0].c_str());
        return 1;
    }
    count = apply_tofast_option(row->tofast_option, count, words);
    return row->handler(count, words);
}

}  // namespace kavro
