#pragma once
// Help: the usage text of each command, the help loop and the command list.

#include <string_view>

namespace kavro {

// Writes the usage text of a command word or number to standard output, or
// "%s に対するヘルプはありません.\n" when there is none. Command handlers call
// this to print their own usage.
void show_help(std::string_view word);
void help_loop();

}  // namespace kavro
