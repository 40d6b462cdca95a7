// Start and end arguments of the extraction commands: 120, +5, -30,
// 100+20, 100-20; "last" and unreadable texts give 0.
#include <string>

#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using input_detail::digits_value;

namespace {

constexpr std::size_t kMaxPositionText = 100;

// atoi-style: the leading integer of a word (optional sign); 0 if none.
long leading_integer(std::string_view word) {
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    std::size_t start = i;
    while (i < word.size() && is_digit(word[i])) ++i;
    long v = digits_value(word.substr(start, i - start));
    return negative ? -v : v;
}

// The leading integers of the first two words once every `sign` became a
// blank.
void two_numbers(std::string text, char sign, long& a, long& b) {
    for (char& c : text)
        if (c == sign) c = ' ';
    auto words = input_detail::split_words(text, 2);
    a = leading_integer(words[0]);
    b = leading_integer(words[1]);
}

bool digits_only(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!is_digit(c)) return false;
    return true;
}

}  // namespace

long parse_position(std::string_view text) {
    if (text.empty() || text.size() > kMaxPositionText) return 0;
    long a = 0, b = 0;
    if (text.find('+', 1) != std::string_view::npos) {
        two_numbers(std::string(text), '+', a, b);
        return a + b;
    }
    if (text.find('-', 1) != std::string_view::npos) {
        two_numbers(std::string(text), '-', a, b);
        return a - b;
    }
    if (text == "last" || text == "LAST") return 0;
    if (text[0] == '+' || text[0] == '-') {
        std::string_view digits = text.substr(1);
        if (!digits_only(digits)) return 0;
        long v = digits_value(digits);
        return text[0] == '-' ? -v : v;
    }
    return digits_only(text) ? digits_value(text) : 0;
}

}  // namespace kavro
