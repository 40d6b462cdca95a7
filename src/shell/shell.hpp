#pragma once
// The program's entry: banner, environment, and the three run modes.

#include "ui/command_line.hpp"

namespace kavro {

// Runs the program with the process arguments; returns the exit status.
[[nodiscard]] int run_program(int argc, char** argv);
[[nodiscard]] int dispatch_command(int count, CommandLine& words);
// True when the command on these words writes its data to standard output.
[[nodiscard]] bool command_writes_to_stdout(int count, const CommandLine& words);
[[nodiscard]] int split_command_line(const std::string& line, CommandLine& words);

}  // namespace kavro
