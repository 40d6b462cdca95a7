#pragma once
// The program's entry: banner, environment, and the three run modes.

#include "shell/command_line.hpp"

namespace kavro {

// Runs the program with the process arguments; returns the exit status.
int run_program(int argc, char** argv);
int dispatch_command(int count, CommandLine& words);
int split_command_line(const std::string& line, CommandLine& words);

}  // namespace kavro
