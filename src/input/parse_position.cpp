// Start and end arguments of the extraction commands: 120, +5, -30,
// 100+20, 100-20; "last" and unreadable texts give 0.
#include <algorithm>
#include <string>

#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

namespace {

constexpr std::size_t kMaxPositionText = 100;
// Positions are 64-bit; a longer number is held here, far beyond any
// sequence, where a sum or difference of two still cannot overflow.
constexpr long kMaxPosition = 1L << 60;

// A term of a position expression: digits, or "last" in either case form.
std::size_t term_length(std::string_view text) {
    if (text.starts_with("last") || text.starts_with("LAST")) return 4;
    std::size_t n = 0;
    while (n < text.size() && is_digit(text[n])) ++n;
    return n;
}

// atoi-style: the leading integer of a word (optional sign); 0 if none.
long leading_integer(std::string_view word) {
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    std::size_t start = i;
    while (i < word.size() && is_digit(word[i])) ++i;
    long v = digits_value(word.substr(start, i - start), kMaxPosition);
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

bool is_position_text(std::string_view text) {
    if (text.empty() || text.size() > kMaxPositionText) return false;
    if (text[0] == '+' || text[0] == '-') text.remove_prefix(1);
    std::size_t n = term_length(text);
    if (n == 0) return false;
    text.remove_prefix(n);
    if (text.empty()) return true;
    if (text[0] != '+' && text[0] != '-') return false;
    text.remove_prefix(1);
    n = term_length(text);
    return n != 0 && n == text.size();
}

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
        long v = digits_value(digits, kMaxPosition);
        return text[0] == '-' ? -v : v;
    }
    return digits_only(text) ? digits_value(text, kMaxPosition) : 0;
}

}  // namespace kavro
