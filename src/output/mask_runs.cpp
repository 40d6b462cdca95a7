// Marking of long N and Q runs: a run of k letters followed by another
// character becomes the letter, then the first six characters of "xKKKx" and
// the letter (k in at least three digits), so "NNNNNNNNNNNNA" turns into
// "Nx012xNA". From k = 1000 on the count fills the six characters and the
// closing letter drops out. A run at the very end of the text stays.

#include <cstdio>
#include <string>

#include "core/console.hpp"
#include "output/fasta_writer.hpp"

namespace kavro {

namespace {

constexpr std::size_t kMarkWidth = 6;  // characters after the run's first letter

void mask_letter(std::string& text, char letter, long threshold, std::string* announcements) {
    std::string masked;  // built only once a run is replaced
    bool building = false;
    std::size_t copied = 0;  // text[0, copied) is already in masked
    std::size_t pos = 0;
    for (;;) {
        const std::size_t start = text.find(letter, pos);
        if (start == std::string::npos) break;
        const std::size_t after = text.find_first_not_of(letter, start);
        if (after == std::string::npos) break;  // the run reaches the end
        const long k = static_cast<long>(after - start);
        if (k >= threshold) {
            // A console message (on standard error while the sequences
            // themselves go to standard output), or kept for the caller.
            char mark[32];
            std::snprintf(mark, sizeof mark, "x%03ldx%c", k, letter);
            if (announcements) {
                char said[32];
                const int n = std::snprintf(said, sizeof said, "x%03ldx\n", k);
                announcements->append(said, static_cast<std::size_t>(n));
            } else {
                out("x%03ldx\n", k);
            }
            if (!building) {
                masked.reserve(text.size() + kMarkWidth + 1);
                building = true;
            }
            masked.append(text, copied, start + 1 - copied);
            masked.append(mark, kMarkWidth);
            masked.push_back(text[after]);  // the character that ended the run
            copied = after + 1;
        }
        pos = after + 1;  // text[after] is not the letter
    }
    if (building) {
        masked.append(text, copied, std::string::npos);
        text.swap(masked);
    }
}

}  // namespace

// Thresholds below 7 replace runs shorter than their mark: the text then
// grows, which a std::string allows.
void mask_long_runs(std::string& residues, long n_threshold, long q_threshold) {
    mask_letter(residues, 'N', n_threshold, nullptr);
    mask_letter(residues, 'Q', q_threshold, nullptr);
}

void mask_long_runs(std::string& residues, long n_threshold, long q_threshold, std::string& announcements) {
    mask_letter(residues, 'N', n_threshold, &announcements);
    mask_letter(residues, 'Q', q_threshold, &announcements);
}

}  // namespace kavro
