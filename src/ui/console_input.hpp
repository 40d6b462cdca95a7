#pragma once
// The console dialog over any LineReader, so that the prompts and loops can
// be driven from a string in tests; the public functions of prompt.hpp and
// help.hpp run these over standard input.

#include <cstddef>
#include <string>

#include "input/line_reader.hpp"

namespace kavro {

// An answer to a prompt is one word of at most this many characters.
inline constexpr std::size_t kAnswerWidth = 31;
// wait_for_y reads its lines in pieces of this many characters.
inline constexpr std::size_t kConfirmPiece = 4;
// The help loop reads the command name in pieces of this many characters.
inline constexpr std::size_t kHelpPiece = 9;

// ask_argument over `in`; the end of the input answers as "exit" does.
[[nodiscard]] int ask_argument_from(LineReader& in, std::string& argument, const char* prompt_utf8);
// wait_for_y over `in`; false when the input ended before a "y" line.
[[nodiscard]] bool wait_for_y_from(LineReader& in);
// The help loop over `in`; sets input_ended when the input ran out.
void help_loop_from(LineReader& in, bool& input_ended);

// Records that standard input has ended (see stdin_closed()).
void mark_stdin_closed();

}  // namespace kavro
