#pragma once
// Turning one line of the console or of the start-up script into words.

#include <cstddef>

#include "ui/command_line.hpp"

namespace kavro {

// One read of a command line takes at most this many characters; a longer
// physical line arrives as several command lines.
inline constexpr std::size_t kCommandPiece = 511;
// Room for a command line with its end marker (twenty " #" pairs and spare).
inline constexpr std::size_t kLineBuffer = 1024;
inline constexpr int kEndMarkerPairs = 20;

// Counts the words before the first "#" (at most 20) and empties every word
// from there on; that count, the command word included, is what a handler
// receives.
[[nodiscard]] int count_words(CommandLine& words);

}  // namespace kavro
