#include "motif/palindromes.hpp"

#include <algorithm>
#include <array>
#include <memory>

#include "core/console.hpp"
#include "motif/motif_match.hpp"
#include "motif/motif_search.hpp"
#include "motif/motif_stats.hpp"

namespace kavro {

namespace {

constexpr std::string_view kOrder = "TCAG";
constexpr std::string_view kMirror = "AGTC";  // the complement of each letter of kOrder

// Half lengths up to this count into one slot per possible first half
// (4^10 slots); longer ones keep the first half of every palindromic window
// and count by sorting.
constexpr int kDenseHalf = 10;
// A first half must fit a 64-bit code of two bits a letter.
constexpr int kLongestCodedHalf = 31;

// Two-bit codes of the bases (A 0, C 1, G 2, T 3; complement 3 - code);
// 4 for anything else.
constexpr std::array<unsigned char, 256> kBaseCode = [] {
    std::array<unsigned char, 256> t{};
    t.fill(4);
    t['A'] = 0;
    t['C'] = 1;
    t['G'] = 2;
    t['T'] = 3;
    return t;
}();

}  // namespace

std::string next_palindrome(const std::string& pattern, int k) {
    const std::size_t len = static_cast<std::size_t>(k);
    const std::size_t half = len / 2;
    if (pattern.size() != len) {
        std::string first(len, 'N');
        std::fill_n(first.begin(), half, 'T');
        std::fill_n(first.end() - static_cast<std::ptrdiff_t>(half), half, 'A');
        return first;
    }
    if (std::all_of(pattern.begin(), pattern.begin() + static_cast<std::ptrdiff_t>(half),
                    [](char c) { return c == 'G'; }))
        return "";
    std::string next = pattern;
    for (std::size_t i = 0; i < half; ++i) {
        const std::size_t at = kOrder.find(next[i]);
        const std::size_t step = at == std::string_view::npos ? 0 : (at + 1) % kOrder.size();
        next[i] = kOrder[step];
        next[len - 1 - i] = kMirror[step];
        if (step != 0) break;  // no wrap from G to T: no carry
    }
    return next;
}

PalindromeCounts::PalindromeCounts(int k) : k_(k), half_(k / 2), dense_(k / 2 <= kDenseHalf) {
    if (dense_) table_.assign(std::size_t{1} << (2 * half_), 0);
}

void PalindromeCounts::add(std::string_view text, std::size_t searchable) {
    const auto k = static_cast<std::size_t>(k_);
    const auto h = static_cast<std::size_t>(half_);
    searchable = std::min(searchable, text.size());
    if (searchable < k) return;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::uint64_t mask = (std::uint64_t{1} << (2 * h)) - 1;
    const unsigned high = static_cast<unsigned>(2 * (h - 1));
    // The first half is read forwards as it enters at its last letter; the
    // second half as its reverse complement. A window reads the same on both
    // strands when the two codes agree and neither half holds a non-base.
    std::uint64_t forward = 0, reverse = 0;
    std::int64_t bad_first = -1, bad_second = -1;  // last non-base index seen by each half
    auto feed_first = [&](std::size_t i) {
        const unsigned x = kBaseCode[s[i]];
        if (x > 3) bad_first = static_cast<std::int64_t>(i);
        forward = ((forward << 2) | (x & 3)) & mask;
    };
    auto feed_second = [&](std::size_t i) {
        const unsigned x = kBaseCode[s[i]];
        if (x > 3) bad_second = static_cast<std::int64_t>(i);
        reverse = (reverse >> 2) | (static_cast<std::uint64_t>(3 - (x & 3)) << high);
    };
    for (std::size_t i = 0; i + 1 < h; ++i) {
        feed_first(i);
        feed_second(k - h + i);
    }
    for (std::size_t p = 0; p + k <= searchable; ++p) {
        feed_first(p + h - 1);
        feed_second(p + k - 1);
        if (forward != reverse || bad_first >= static_cast<std::int64_t>(p) ||
            bad_second >= static_cast<std::int64_t>(p + k - h))
            continue;
        if (dense_)
            ++table_[forward];
        else
            codes_.push_back(forward);
        sorted_ = false;
    }
}

std::int64_t PalindromeCounts::count(const std::string& pattern) const {
    std::uint64_t code = 0;
    for (int i = 0; i < half_; ++i) code = (code << 2) | (kBaseCode[static_cast<unsigned char>(pattern[i])] & 3);
    if (dense_) return table_[code];
    if (!sorted_) {
        std::sort(codes_.begin(), codes_.end());
        sorted_ = true;
    }
    auto range = std::equal_range(codes_.begin(), codes_.end(), code);
    return range.second - range.first;
}

std::int64_t count_pattern_sites(std::string_view text, std::size_t searchable, const std::string& pattern) {
    const std::size_t k = pattern.size();
    searchable = std::min(searchable, text.size());
    std::int64_t found = 0;
    for (std::size_t p = 0; p + k <= searchable; ++p) {
        std::size_t i = 0;
        while (i < k && (pattern[i] == 'N' || pattern[i] == text[p + i])) ++i;
        if (i == k) ++found;
    }
    return found;
}

namespace {

void write_row(Writer& w, const PalindromeRequest& req, const Composition& comp, std::int64_t total, int k,
               const std::string& pattern, std::int64_t found) {
    w.printf("%s\t", req.input_name.c_str());
    w.printf("%ld\t", static_cast<long>(total));
    write_composition(w, comp, total, ResidueKind::Dna, CompositionForm::Table);
    w.printf("\t%d\t", k);
    w.printf("%s\t", pattern.c_str());
    w.printf("%ld\t", static_cast<long>(found));
    const double observed = total > 0 ? static_cast<double>(found) / static_cast<double>(total) : 0.0;
    w.printf("%10.7f\t", observed);
    const double expected = expected_motif_frequency(pattern, ResidueKind::Dna, comp, total);
    if (expected >= 0) w.printf("%10.7f\t", expected);
    if (expected >= 1e-15) {
        w.printf("%10.7f", observed / expected);
    } else {
        out("Estimation of probability aborted because estimated frequency is too small.\n");
        w.write("0.0");
    }
    w.write("\n");
}

// The message that stops the survey at its first pattern, or "" when every
// sequence can be counted for patterns of length k.
const char* refusal(const std::vector<bool>& is_dna, int k) {
    if (k < static_cast<int>(kMinMotifLength)) return "Motif too short.\n";
    if (k > static_cast<int>(kMaxMotifLength)) return "Motif too long.\n";
    for (bool dna : is_dna)
        if (!dna) return "Mode 3 is only compatible with DNA. Stop processing...\n";
    return "";
}

}  // namespace

std::uint64_t survey_words(int min_length, int max_length) {
    std::uint64_t total = 0;
    for (int k = std::max(min_length, 0); k <= max_length; ++k) {
        // 4^(k/2) overflows nothing below the bound: stop once it is passed.
        if (k / 2 >= 11) return kMaxSurveyWords + 1;
        total += std::uint64_t{1} << (2 * (k / 2));
        if (total > kMaxSurveyWords) return kMaxSurveyWords + 1;
    }
    return total;
}

int largest_survey_maximum(int min_length) {
    int k = min_length;
    while (survey_words(min_length, k) <= kMaxSurveyWords) ++k;
    return k - 1;
}

int run_palindrome_search(Writer& w, Collection& seqs, const PalindromeRequest& req) {
    if (req.max_length < 3) {
        err("Maximum length must be larger than 2.\n");
        return 1;
    }
    Composition comp;
    const std::int64_t total = total_composition(seqs, comp);
    std::vector<bool> is_dna;
    for (const SequenceRecord& rec : seqs) is_dna.push_back(classify_residues(rec) == ResidueKind::Dna);

    std::vector<std::unique_ptr<CircularExtension>> wraps;
    std::vector<std::size_t> added(seqs.size(), 0);
    for (std::size_t i = 0; i < seqs.size(); ++i) {
        if (!seqs[i].circular) continue;
        out("\tcircular genome: %s sequence no.%ld.\n", seqs[i].name.c_str(), static_cast<long>(i + 1));
        wraps.push_back(std::make_unique<CircularExtension>(seqs[i], static_cast<std::size_t>(req.max_length - 1)));
        added[i] = wraps.back()->added();
    }
    auto searchable = [&](std::size_t i, int k) {
        return static_cast<std::size_t>(seqs[i].length) + std::min(added[i], static_cast<std::size_t>(k - 1));
    };

    for (int k = req.min_length; k <= req.max_length; ++k) {
        out("Searching %d-bases motifs...\n", k);
        const char* refused = refusal(is_dna, k);
        std::unique_ptr<PalindromeCounts> counts;
        if (!*refused && k / 2 <= kLongestCodedHalf) {
            counts = std::make_unique<PalindromeCounts>(k);
            for (std::size_t i = 0; i < seqs.size(); ++i) counts->add(seqs[i].residues, searchable(i, k));
        }
        for (std::string pattern = next_palindrome("", k); !pattern.empty(); pattern = next_palindrome(pattern, k)) {
            out("   %s\n", pattern.c_str());
            if (*refused) {
                err("%s", refused);
                err("Error in writing motif sites in file: %s\n", req.output_name.c_str());
                return 1;
            }
            std::int64_t found = 0;
            if (counts) {
                found = counts->count(pattern);
            } else {
                for (std::size_t i = 0; i < seqs.size(); ++i)
                    found += count_pattern_sites(seqs[i].residues, searchable(i, k), pattern);
            }
            write_row(w, req, comp, total, k, pattern, found);
        }
    }
    return 0;
}

}  // namespace kavro
