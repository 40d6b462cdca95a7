// The shared text operations: trimming, extraction by positions, filtering,
// counting, the number-form tests and field splitting. Every operation is one
// linear pass over the text.
#include "core/text_ops.hpp"

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/writer.hpp"

namespace kavro {

void trim_right(std::string& text) {
    std::size_t n = text.size();
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) --n;
    text.resize(n);
}

void trim_left(std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    text.erase(0, i);
}

void strip_quotes(std::string& word) {
    auto quote_or_space = [](char c) { return c == '"' || c == ' '; };
    std::size_t n = word.size();
    while (n > 0 && quote_or_space(word[n - 1])) --n;
    std::size_t i = 0;
    while (i < n && quote_or_space(word[i])) ++i;
    word = word.substr(i, n - i);
}

void degap_upper(std::string& text) {
    std::size_t k = 0;
    for (char c : text) {
        if (c != '-') text[k++] = to_upper(c);
    }
    text.resize(k);
}

int remove_substring(std::string& text, std::string_view part) {
    if (part.size() > text.size()) return 0;
    std::size_t at = text.find(part);
    if (at == std::string::npos) return 0;
    text.erase(at, part.size());
    return 1;
}

bool starts_with(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool ends_with(std::string& text, std::string_view suffix) {
    trim_right(text);
    if (text.empty() || suffix.empty() || suffix.size() > text.size()) return false;
    return std::string_view(text).substr(text.size() - suffix.size()) == suffix;
}

bool has_no_alnum(std::string_view text) {
    for (char c : text) {
        if (is_alnum(c)) return false;
    }
    return true;
}

namespace {

// Shared checks of the three extractions. Positions are 1-based and both ends
// are included; a from below 1 is refused by all three, since it would name a
// character before the text.
bool extraction_ok(std::string_view text, long from, long to) {
    const long len = static_cast<long>(text.size());
    if (len == 0) {
        err("\nString null.\n");
        return false;
    }
    if (from < 1 || from > len || to > len || from > to) {
        err("\nError of extraction positions: %ld, %ld with string length %ld.\n", from, to, len);
        err("in string %s.\n", std::string(text).c_str());
        return false;
    }
    return true;
}

std::string extract_copy(std::string_view text, long from, long to) {
    if (!text.empty() && from == 1 && to == 0) return std::string();
    if (!extraction_ok(text, from, to)) return std::string();
    return std::string(text.substr(static_cast<std::size_t>(from - 1),
                                   static_cast<std::size_t>(to - from + 1)));
}

}  // namespace

int extract_in_place(std::string& text, long from, long to) {
    if (!extraction_ok(text, from, to)) return 1;
    text.resize(static_cast<std::size_t>(to));
    text.erase(0, static_cast<std::size_t>(from - 1));
    return 0;
}

std::string extract_into(std::string_view text, long from, long to) {
    return extract_copy(text, from, to);
}

std::string extract_new(std::string_view text, long from, long to) {
    return extract_copy(text, from, to);
}

void remove_spaces(std::string& text) {
    std::size_t k = 0;
    for (char c : text) {
        if (c != ' ') text[k++] = c;
    }
    text.resize(k);
}

void squeeze_spaces(std::string& text) {
    std::size_t k = 0;
    for (char c : text) {
        if (c == ' ' && k > 0 && text[k - 1] == ' ') continue;
        text[k++] = c;
    }
    text.resize(k);
}

namespace {

// 256-entry membership table of the bytes of a short "allowed" set.
struct ByteSet {
    bool has[256] = {};
    explicit ByteSet(std::string_view s) {
        for (char c : s) has[static_cast<unsigned char>(c)] = true;
    }
    bool operator()(char c) const { return has[static_cast<unsigned char>(c)]; }
};

}  // namespace

void keep_letters_and(std::string& text, std::string_view allowed) {
    const ByteSet in_allowed(allowed);
    std::size_t k = 0;
    for (char c : text) {
        if (is_alpha(c) || (is_graph(c) && in_allowed(c))) text[k++] = c;
    }
    text.resize(k);
}

void blank_punctuation(std::string& text, std::string_view allowed) {
    const ByteSet in_allowed(allowed);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c == '.') {
            // A range "100..200" loses both dots; a lone dot stays. Pairs are
            // taken from the left, so "..." leaves its last dot.
            if (i + 1 < n && text[i + 1] == '.') {
                text[i] = ' ';
                text[i + 1] = ' ';
                ++i;
            }
        } else if (!is_alnum(c) && !in_allowed(c)) {
            text[i] = ' ';
        }
    }
}

long count_char(std::string_view text, char ch) {
    long n = 0;
    for (char c : text) n += (c == ch);
    return n;
}

long count_graphic(std::string_view text) {
    long n = 0;
    for (char c : text) n += is_graph(c);
    return n;
}

long count_alnum(std::string_view text) {
    long n = 0;
    for (char c : text) n += is_alnum(c);
    return n;
}

long digits_value(std::string_view text, long maximum) {
    long v = 0;
    for (char c : text) {
        if (!is_digit(c)) break;
        const long digit = c - '0';
        if (v > (maximum - digit) / 10) return maximum;
        v = v * 10 + digit;
    }
    return v;
}

int has_non_digit(std::string_view text) {
    for (char c : text) {
        if (!is_digit(c)) return 1;
    }
    return 0;
}

int invalid_location_number(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 0 && (text[0] == '<' || text[0] == '>')) continue;
        if (!is_digit(text[i])) return 1;
    }
    return 0;
}

int invalid_signed_integer(std::string& text) {
    std::size_t i = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) i = 1;
    // At least one digit must follow the sign: "", "+" and "-" are no numbers.
    if (i == text.size()) return 1;
    for (std::size_t j = i; j < text.size(); ++j) {
        if (!is_digit(text[j])) return 1;
    }
    if (text[0] == '+') text.erase(0, 1);
    return 0;
}

void tail_string(std::string& text, std::size_t n) {
    if (text.size() > n) text.erase(0, text.size() - n);
}

bool has_newline(std::string_view text) { return text.find('\n') != std::string_view::npos; }

std::string repeat_char(long n, char ch) {
    if (n <= 0) return std::string();
    return std::string(static_cast<std::size_t>(n), is_print(ch) ? ch : ' ');
}

void replace_char(std::string& text, char a, char b) {
    for (char& c : text) {
        if (c == a) c = b;
    }
}

void pad_both(std::string& text, long front, long back, char ch) {
    if (!is_print(ch)) return;
    if (front > 0) text.insert(0, static_cast<std::size_t>(front), ch);
    if (back > 0) text.append(static_cast<std::size_t>(back), ch);
}

std::optional<std::string> next_field(std::string& text, char separator) {
    if (separator == '\0') return std::nullopt;
    const std::size_t n = text.size();
    std::size_t start = 0;
    while (start < n && text[start] == separator) ++start;
    std::size_t end = start;
    while (end < n && text[end] != separator) ++end;
    std::size_t rest = end;
    while (rest < n && text[rest] == separator) ++rest;
    std::string second = text.substr(rest);
    text = text.substr(start, end - start);
    return second;
}

std::string_view next_word(std::string_view text, std::size_t* pos) {
    std::size_t i = *pos < text.size() ? *pos : text.size();
    while (i < text.size() && is_space(text[i])) ++i;
    std::size_t start = i;
    while (i < text.size() && !is_space(text[i])) ++i;
    *pos = i;
    return text.substr(start, i - start);
}

}  // namespace kavro
