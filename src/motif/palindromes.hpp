#pragma once
// The palindrome survey of the sites command: every DNA word of a length
// range that reads the same on both strands (with an N in the middle when
// the length is odd), counted over a collection and written as table rows.

#include <cstdint>
#include <string>
#include <vector>

#include "core/sequence.hpp"
#include "core/writer.hpp"

namespace kavro {

// The pattern after `pattern` among the palindromes of length k, in the
// survey's order: the first half counts like an odometer whose first letter
// turns fastest, each letter through T, C, A, G, and the second half mirrors
// it as its reverse complement. From an empty pattern (or one of another
// length) the first, all T then all A; after the last (all G then all C) the
// empty pattern.
std::string next_palindrome(const std::string& pattern, int k);

// Occurrences of every palindrome of length k in the residues, indexed by
// its first half read as a number of base 4 (A 0, C 1, G 2, T 3, first
// letter most significant). Windows start at 0 .. searchable - k; `text`
// holds at least `searchable` residues. Only for half lengths that fit a
// 64-bit code (k <= 63).
class PalindromeCounts {
public:
    explicit PalindromeCounts(int k);
    void add(std::string_view text, std::size_t searchable);
    std::int64_t count(const std::string& pattern) const;

private:
    int k_;
    int half_;
    bool dense_;
    std::vector<std::int64_t> table_;  // dense: one slot per first half
    mutable std::vector<std::uint64_t> codes_;  // sparse: the first half of every hit, sorted on first look-up
    mutable bool sorted_ = true;
};

// Occurrences of a pattern at window starts 0 .. searchable - k: every
// pattern letter equals the residue, a pattern N matching anything.
std::int64_t count_pattern_sites(std::string_view text, std::size_t searchable, const std::string& pattern);

// The survey writes one row for each of the 4^(k/2) palindromes of every
// length k of its range; a range of more words than this could not be
// written in any useful time (about 100 MB of rows at this bound).
inline constexpr std::uint64_t kMaxSurveyWords = std::uint64_t{1} << 20;

// Palindromes of the lengths min_length..max_length (each from 3 up),
// saturating at kMaxSurveyWords + 1.
std::uint64_t survey_words(int min_length, int max_length);

// The largest maximum whose survey from min_length stays within
// kMaxSurveyWords; below min_length when even min_length alone does not.
int largest_survey_maximum(int min_length);

struct PalindromeRequest {
    std::string input_name;
    std::string output_name;
    int min_length = 3;
    int max_length = 3;
};

// Mode 3 over a collection of DNA sequences cleared to upper-case letters.
// 0, or 1 after a message.
[[nodiscard]] int run_palindrome_search(Writer& w, Collection& seqs, const PalindromeRequest& req);

}  // namespace kavro
