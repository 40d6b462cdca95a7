#pragma once
// Help: the usage text of each command, the help loop and the command list.

#include <span>
#include <string_view>

namespace kavro {

// A command or subject help knows, by its word or its menu number ("" when
// none), with its usage text (UTF-8).
struct HelpTopic {
    std::string_view word;
    std::string_view number;
    std::string_view usage;
};
std::span<const HelpTopic> help_topics();

// Writes the usage text of a command word or number to standard output, or
// "%s に対するヘルプはありません.\n" when there is none. Command handlers call
// this to print their own usage.
void show_help(std::string_view word);
void help_loop();

}  // namespace kavro
