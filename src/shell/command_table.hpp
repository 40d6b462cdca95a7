#pragma once
// The command table: one row per command, read by the dispatcher and by the
// tests. A command word is found by any of its words or by its
// number, compared exactly and case-sensitively.

#include <array>
#include <span>
#include <string_view>

#include "ui/command_line.hpp"

namespace kavro {

struct CommandRow {
    // The words that call the command; words[0] is also the word help knows
    // it by. Unused places are "".
    std::array<std::string_view, 4> words;
    std::string_view number;  // number alias from the menus, "" when none
    CommandHandler handler;
    // complement and toRNA are tofast with this option letter put in word 3
    // ('\0': the words go to the handler unchanged).
    char tofast_option;
    // The word that names the command's output when the command can write
    // its data to standard output ("stdout" or "STDOUT" there); 0 when it
    // cannot. The shell then sends its own texts to standard error.
    int data_output_word;
};

std::span<const CommandRow> command_table();

// The row a command word or number calls; nullptr when none ("" never matches).
const CommandRow* find_command(std::string_view word);

// The complement/toRNA form of tofast: with an input and an output name
// given, the words become "infile outfile <option>" and the count 4; with
// either missing, count and words stay as they are (tofast then asks).
[[nodiscard]] int apply_tofast_option(char option, int count, CommandLine& words);

// True when the command on these words writes its data to standard output:
// its output word is "stdout" or "STDOUT" (genlist given an input alone
// lists there too). The shell then sends its own texts to standard error.
[[nodiscard]] bool writes_data_to_stdout(const CommandRow& row, int count, const CommandLine& words);

}  // namespace kavro
