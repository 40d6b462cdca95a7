// The tokeniser. Words are separated by runs of spaces (a tab is an ordinary
// character); double quotes keep spaces inside a word and are removed when
// they enclose the whole word; a word "#" ends the line.
#include "shell/tokenizer.hpp"

#include "core/text_ops.hpp"
#include "shell/shell.hpp"

namespace kavro {

int split_command_line(const std::string& line, CommandLine& words) {
    words.clear_from(0);
    int j = 0;
    std::string current;
    bool in_quotes = false;
    bool after_space = false;  // off at the start: a leading space gives an empty word 0
    bool ended = false;        // met the "#" marker
    for (char c : line) {
        if (j >= kMaxWords || current.size() > kWordWidth) break;
        if (c != ' ' || in_quotes) {
            current.push_back(c);
            if (c == '"') in_quotes = !in_quotes;
            after_space = false;
        } else if (!after_space) {
            words[j] = current;
            if (current == "#") {
                ended = true;
                break;
            }
            ++j;
            current.clear();
            after_space = true;
        }
    }
    // Too many words, or a word of 100 characters or more.
    if (j >= kMaxWords || current.size() > kWordWidth) return 1;
    // A quote left open swallows the rest of the line, end marker included:
    // what is left is no command line.
    if (in_quotes) return 1;
    if (!ended) words[j] = current;
    for (std::string& w : words.words)
        if (w.size() >= 1 && w.front() == '"' && w.back() == '"') strip_quotes(w);
    return 0;
}

int count_words(CommandLine& words) {
    int count = 0;
    while (count < kMaxWords && words[count] != "#") ++count;
    words.clear_from(count);
    return count;
}

}  // namespace kavro
