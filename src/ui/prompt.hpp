#pragma once
// Console dialog: asking for one argument, and waiting for "y".

#include <string>

#include "ui/command_line.hpp"

namespace kavro {

// Shows the prompt box and reads one word from standard input. "exit" (or
// the end of standard input) gives 0 after "You selected EXIT.\n"; "y" keeps
// the default already in `argument`; any other word replaces it. 1 to go on.
[[nodiscard]] int ask_argument(std::string& argument, const char* prompt_utf8);

// The prompts of the file-name dialog most commands open with.
struct InputOutputPrompts {
    const char* input = "入力ファイル名";
    const char* output = "出力ファイル名";
    const char* output_suffix = ".out";  // the output's default: the input's name and this,
    const char* output_default = nullptr;  // or this name when it is given
};

// Asks for the input file name into words[1] ("infile" by default) and the
// output file name into words[2]; false when the user leaves. An output
// answered as "stdout" sends the console's texts to standard error from then on.
[[nodiscard]] bool ask_input_output(CommandLine& words, const InputOutputPrompts& prompts = {});

// Waits until the user types a line that is "y"; the end of standard input
// ends the wait as "exit" would (see stdin_closed()).
void wait_for_y();

// True once standard input has ended; menu mode and the help loop then end.
[[nodiscard]] bool stdin_closed();

}  // namespace kavro
