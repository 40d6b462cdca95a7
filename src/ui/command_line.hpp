#pragma once
// A command and its arguments: 20 words of at most 99 characters each.
// Word 0 is the command word; a word count of 1 asks a command for its
// dialog. Words from the count to 19 are always empty, so a handler may
// test any position for "" to learn whether it was given.

#include <array>
#include <string>

namespace kavro {

inline constexpr int kMaxWords = 20;
inline constexpr std::size_t kWordWidth = 99;

struct CommandLine {
    std::array<std::string, kMaxWords> words;

    std::string& operator[](int i) { return words[static_cast<std::size_t>(i)]; }
    const std::string& operator[](int i) const { return words[static_cast<std::size_t>(i)]; }
    // Stores a word, cut to the room a word has.
    void set(int i, std::string_view w) { words[static_cast<std::size_t>(i)].assign(w.substr(0, kWordWidth)); }
    void clear_from(int first) {
        for (int i = first < 0 ? 0 : first; i < kMaxWords; ++i) words[static_cast<std::size_t>(i)].clear();
    }
};

// Every command handler has this shape: the word count and the words;
// 0 for success, non-zero for failure.
using CommandHandler = int (*)(int count, CommandLine& words);

}  // namespace kavro
