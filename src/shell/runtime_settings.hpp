#pragma once
// Run-time settings from the environment, and the operating-system command
// runner that system and "setvar system" share.

#include <cstddef>
#include <string>
#include <string_view>

namespace kavro {

// Longest command line handed to the operating system.
inline constexpr std::size_t kSystemCommandWidth = 511;

// PRINTLINE, ADDSEQG and SEQ_IMPORT, read once at start.
void read_environment_settings();

// Sets the line length from a text of digits only; false (nothing changed)
// for any other text, for 0 and for a value that does not fit.
[[nodiscard]] bool set_line_length_from_digits(std::string_view digits);

// Runs the command line with /bin/sh -c and reports the outcome on standard
// error. 0 whether or not the command succeeded; 1 (and nothing run) for a
// command line longer than kSystemCommandWidth.
[[nodiscard]] int run_system_command(const std::string& command_line);

}  // namespace kavro
