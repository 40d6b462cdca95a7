#pragma once
// The small text operations the readers and commands share. Texts are byte
// strings; character classes are those of the POSIX locale (ASCII only).
// "In place" operations change the string they are given.

#include <optional>
#include <string>
#include <string_view>

namespace kavro {

// ASCII character classes, independent of the locale.
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
inline bool is_alpha(char c) { return is_upper(c) || is_lower(c); }
inline bool is_alnum(char c) { return is_alpha(c) || is_digit(c); }
inline bool is_print(char c) { return c >= 0x20 && c < 0x7F; }
inline bool is_graph(char c) { return c > 0x20 && c < 0x7F; }
inline bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline char to_upper(char c) { return is_lower(c) ? static_cast<char>(c - 32) : c; }
inline char to_lower(char c) { return is_upper(c) ? static_cast<char>(c + 32) : c; }

void trim_right(std::string& text);      // drops trailing "\n", "\r" and spaces
void trim_left(std::string& text);       // drops leading spaces
void strip_quotes(std::string& word);    // drops leading/trailing '"' and spaces
void degap_upper(std::string& text);     // removes "-", upper-cases
[[nodiscard]] int remove_substring(std::string& text, std::string_view part);  // 1 if removed
[[nodiscard]] bool starts_with(std::string_view text, std::string_view prefix);
// Trims text (in place) first; false for an empty text or suffix, or a
// suffix longer than the trimmed text.
[[nodiscard]] bool ends_with(std::string& text, std::string_view suffix);
[[nodiscard]] bool has_no_alnum(std::string_view text);

// Extraction by 1-based inclusive positions, with the messages of the
// original on bad positions. extract_in_place: 0 or 1 (text unchanged on 1).
[[nodiscard]] int extract_in_place(std::string& text, long from, long to);
// "" on error; from 1 with to 0 is a request for "" without a message.
std::string extract_into(std::string_view text, long from, long to);
std::string extract_new(std::string_view text, long from, long to);

void remove_spaces(std::string& text);
void squeeze_spaces(std::string& text);
// Keeps letters and those printable non-space characters found in allowed.
void keep_letters_and(std::string& text, std::string_view allowed);
// Neither letter, digit, "." nor in allowed becomes a space; ".." both spaces.
void blank_punctuation(std::string& text, std::string_view allowed);
long count_char(std::string_view text, char ch);
long count_graphic(std::string_view text);
long count_alnum(std::string_view text);
// 1 if some character is not a digit; 0 otherwise (also for "").
[[nodiscard]] int has_non_digit(std::string_view text);
// The largest value of a 32-bit signed number.
inline constexpr long kInt32Max = 2147483647;
// The value of the decimal digits at the start of text (up to the first other
// character; 0 when there are none), held at maximum (>= 0) when larger, so
// no run of digits can overflow.
[[nodiscard]] long digits_value(std::string_view text, long maximum);
// Digits, where the first may also be "<" or ">": 0; else 1.
[[nodiscard]] int invalid_location_number(std::string_view text);
// Optional "+" or "-" then at least one digit: 0 (a leading "+" is
// removed); else 1.
[[nodiscard]] int invalid_signed_integer(std::string& text);
// Keeps only the last n characters.
void tail_string(std::string& text, std::size_t n);
[[nodiscard]] bool has_newline(std::string_view text);
// n copies of ch (spaces when ch is not printable).
std::string repeat_char(long n, char ch);
void replace_char(std::string& text, char a, char b);
void pad_both(std::string& text, long front, long back, char ch);
// Splits off the first field: skips leading separators, cuts text at the
// first run of separators, returns the rest (the second field onwards);
// "" when there is none. Nothing for a NUL separator. text keeps only the
// first field, without the leading separators.
std::optional<std::string> next_field(std::string& text, char separator);

// The first whitespace-delimited word of text starting at *pos (advances pos).
std::string_view next_word(std::string_view text, std::size_t* pos);

}  // namespace kavro
