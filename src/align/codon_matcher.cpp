#include "align/codon_matcher.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

constexpr int kFrames = 3;
// A stop codon inside the protein is written as a codon when at least this
// many protein columns (it included) remain; nearer the end the rest of the
// row becomes gaps.
constexpr std::size_t kStopKeptBeforeEnd = 6;

// Agreements of window[j+1..j+5] with translation[from..from+4].
int agreements_ahead(std::string_view window, std::size_t j, std::string_view translation, std::size_t from) {
    int n = 0;
    for (std::size_t k = 1; k <= 5 && j + k < window.size(); ++k) {
        const std::size_t t = from + k - 1;
        if (t < translation.size() && window[j + k] == translation[t]) ++n;
    }
    return n;
}

std::string lower_codon(std::string_view dna, std::size_t at) {
    std::string codon(dna.substr(at, 3));
    for (char& c : codon) c = to_lower(c);
    return codon;
}

// The walk beside the translation of one frame, appending to `work`.
struct Walk {
    std::string_view protein;      // from the current position
    std::string_view dna;          // from the current position
    std::string_view translation;  // of the winning frame
    std::size_t i = 0;             // protein column
    std::size_t t = 0;             // translated residue
    std::size_t c = 0;             // base of that residue's codon
    std::size_t written = 0;       // bases before this one were written before the walk
    std::string work;
    bool shift_ahead = false;
    bool wrote_codon = false;      // whether `written` moved during the walk

    bool codon_left() const { return c + 3 <= dna.size(); }
    void gap() { work += "---"; }
    void codon_as_is() {
        if (c < written) return codon_lower();
        work.append(dna.substr(c, 3));
        advance();
    }
    // A codon that reaches back into bases already written (the search
    // after a missing base starts one codon back) gives "-" for those.
    void codon_lower() {
        std::string codon = lower_codon(dna, c);
        for (std::size_t k = 0; k < 3 && c + k < written; ++k) codon[k] = '-';
        work += codon;
        advance();
    }
    void advance() {
        ++t;
        c += 3;
        written = std::max(written, c);
        wrote_codon = true;
    }

    // Writes the protein columns [i, end) with lower-case codons for the
    // letters, as far as the DNA holds codons.
    void write_through(std::size_t end) {
        for (; i < end; ++i) {
            if (protein[i] == '-') {
                gap();
            } else {
                if (!codon_left()) return;
                codon_lower();
            }
        }
    }

    void run(int window, int min_agreement);
    // A mismatch at column i; false when the walk ends here.
    bool mismatch(int window, int min_agreement);
};

void Walk::run(int window, int min_agreement) {
    while (i < protein.size() && t < translation.size()) {
        const char p = to_upper(protein[i]);
        if (p == '-') {
            gap();
        } else if (p == translation[t]) {
            codon_as_is();
        } else if (translation[t] == '*') {
            const std::size_t remaining = protein.size() - i;
            if (remaining < kStopKeptBeforeEnd) {
                // Near the end a stop means the protein ends here: the rest
                // of the row becomes gaps, the protein position stays.
                for (std::size_t k = 0; k < remaining; ++k) gap();
                return;
            }
            codon_as_is();
        } else if (!mismatch(window, min_agreement)) {
            return;
        }
        ++i;
    }
}

bool Walk::mismatch(int window, int min_agreement) {
    const std::size_t look_ahead = 2 * static_cast<std::size_t>(window) - 1;
    // The protein ends within the look-ahead in a run of gaps: write it out.
    if (protein.back() == '-') {
        const std::size_t last_letter = protein.find_last_not_of('-');
        if (last_letter < i + look_ahead) {
            write_through(protein.size());
            return false;
        }
    }
    // Agreement of the next window of letters from here.
    int agree = 0, letters = 0, gaps_skipped = 0;
    std::size_t q = i, tt = t;
    while (letters < window) {
        if (q >= protein.size()) break;
        if (protein[q] == '-') {
            ++gaps_skipped;
            ++q;
            continue;
        }
        if (tt >= translation.size()) break;
        if (to_upper(protein[q]) == translation[tt]) ++agree;
        ++letters;
        ++q;
        ++tt;
    }
    if (letters < window) {
        if (letters < 2 && gaps_skipped > 0) {
            for (int k = 0; k < gaps_skipped; ++k) gap();
            return false;
        }
        write_through(i + static_cast<std::size_t>(letters));
        return false;
    }
    if (agree < min_agreement) {  // a shift lies ahead
        shift_ahead = true;
        return false;
    }
    codon_lower();
    return true;
}

}  // namespace

long find_window(std::string_view window, std::string_view translation, double threshold) {
    if (threshold < 0.5 || threshold > 1.0 || window.empty() || translation.size() < window.size()) return 0;
    const double width = static_cast<double>(window.size());
    for (std::size_t i = 0; i + window.size() <= translation.size(); ++i) {
        int agree = 0;
        std::size_t s = 0;
        for (std::size_t j = 0; j < window.size(); ++j) {
            const std::size_t at = i + j + s;
            if (at >= translation.size()) break;
            if (!is_alpha(translation[at])) {
                const int here = agreements_ahead(window, j, translation, at + 1);
                const int shifted = agreements_ahead(window, j, translation, at + 2);
                if (here <= 3 && shifted > here) {
                    ++s;
                    continue;
                }
            }
            if (window[j] == translation[at]) ++agree;
        }
        if (agree / width > threshold) return static_cast<long>(i + 1);
    }
    return 0;
}

int match_codons(CodonMatch& m, int window, double threshold, std::string_view code) {
    if (threshold < 0.5 || threshold > 1.0) return 0;
    const std::string_view protein = m.protein.substr(std::min(m.protein_pos, m.protein.size()));
    const std::string_view dna = m.dna.substr(std::min(m.dna_pos, m.dna.size()));
    std::string letters(protein);
    degap_upper(letters);
    if (dna.size() < 3 * letters.size() || window < 8) return 0;
    // Fewer residues than a window cannot be placed (checked before
    // translating, which would complain about a short text).
    if (letters.size() < static_cast<std::size_t>(window)) return 0;
    const int min_agreement = static_cast<int>(threshold * window);

    std::array<std::string, kFrames> frames;
    for (int f = 0; f < kFrames; ++f) {
        auto translated = translate_frame(dna, f + 1, code);
        if (!translated) {
            err("MatchSeqN: Unable to translate sequence in frame %d.\n", f + 1);
            return 1;
        }
        frames[static_cast<std::size_t>(f)] = std::move(*translated);
    }
    const std::string_view head = std::string_view(letters).substr(0, static_cast<std::size_t>(window));
    long start = 0;
    std::size_t frame = 0;
    for (std::size_t f = 0; f < kFrames; ++f) {
        const long s = find_window(head, frames[f], threshold);
        if (s != 0 && (start == 0 || s < start)) {
            start = s;
            frame = f;
        }
    }

    Walk walk;
    walk.protein = protein;
    walk.dna = dna;
    walk.written = m.dna_written > m.dna_pos ? m.dna_written - m.dna_pos : 0;
    walk.translation = frames[frame];
    while (walk.i < protein.size() && protein[walk.i] == '-') {
        walk.gap();
        ++walk.i;
    }
    if (start != 0) {
        walk.t = static_cast<std::size_t>(start - 1);
        walk.c = 3 * walk.t + frame;
        walk.run(window, min_agreement);
    }

    if (m.codons.size() + walk.work.size() > m.capacity) {
        out("Length of seq_out is %ld, length of temp0 is %ld, seqlen1 = %ld.\n", static_cast<long>(m.codons.size()),
            static_cast<long>(walk.work.size()), static_cast<long>(m.capacity));
    } else {
        m.codons += walk.work;
        if (walk.wrote_codon) m.dna_written = m.dna_pos + walk.written;
    }
    m.protein_pos += walk.i;
    if (start != 0) {
        // Before a shift the next search starts one codon back, so that a
        // base missing from the codon where the walk stopped still lets the
        // window be found (it then starts at its second residue).
        std::size_t used = 3 * walk.t + frame;
        if (walk.shift_ahead && walk.t >= static_cast<std::size_t>(start)) used -= 3;
        m.dna_pos += used;
    }
    return walk.i < protein.size() ? 1 : 0;
}

}  // namespace kavro
