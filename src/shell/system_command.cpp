// system: hands its words to the operating system's command interpreter.
#include <cstdlib>

#include "core/console.hpp"
#include "ui/command_line.hpp"
#include "shell/runtime_settings.hpp"

namespace kavro {

int run_system_command(const std::string& command_line) {
    if (command_line.size() > kSystemCommandWidth) {
        err("The command line is longer than %zu characters and was not run.\n", kSystemCommandWidth);
        return 1;
    }
    // The command writes straight to our standard output: what we printed
    // before must be out first. A failed flush shows again at the run's end.
    static_cast<void>(flush_console());
    // A command that could not be run, or did not end with status 0, fails.
    int result = std::system(command_line.c_str());
    if (result != 0) {
        jerr("このシステムコマンドは実行できませんでした: %s.\n", command_line.c_str());
        return 1;
    }
    jerr("このコマンドはきちんと実行できました.: %s.\n", command_line.c_str());
    return 0;
}

int cmd_system(int count, CommandLine& words) {
    if (count < 2 || count > 10) return 1;
    if (words[0] != "system") return 0;
    std::string command_line;
    for (int i = 1; i < count; ++i) command_line += words[i] + " ";
    return run_system_command(command_line);
}

}  // namespace kavro
