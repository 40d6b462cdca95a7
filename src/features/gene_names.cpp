// Feature names from product and note texts.

#include "features/gene_names.hpp"

#include <array>

#include "core/text_ops.hpp"

namespace kavro {

namespace {

constexpr std::size_t kGuessWidth = 99;
constexpr std::size_t npos = std::string_view::npos;

// The first blank-delimited word from `at` on, leading blanks skipped.
std::string_view word_from(std::string_view text, std::size_t at) {
    if (at > text.size()) return {};
    std::size_t pos = at;
    return next_word(text, &pos);
}

// The word that ends just before `at`.
std::string_view word_ending_at(std::string_view text, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && !is_space(text[start - 1])) --start;
    return text.substr(start, at - start);
}

std::string lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = to_lower(c);
    return s;
}

std::optional<std::string> answer(std::string s) {
    if (s.size() > kGuessWidth) s.resize(kGuessWidth);
    return s;
}

bool has_orf(std::string_view w) { return w.find("orf") != npos || w.find("ORF") != npos; }

}  // namespace

std::string trna_name(std::string_view product) {
    if (product.size() < 13 || product.find("transfer RNA") == npos) return "";
    static constexpr std::array<std::pair<const char*, char>, 20> kAmino{{
        {"Ala", 'A'}, {"Cys", 'C'}, {"Asp", 'D'}, {"Glu", 'E'}, {"Phe", 'F'}, {"Gly", 'G'}, {"His", 'H'},
        {"Ile", 'I'}, {"Lys", 'K'}, {"Leu", 'L'}, {"Met", 'M'}, {"Asn", 'N'}, {"Pro", 'P'}, {"Gln", 'Q'},
        {"Arg", 'R'}, {"Ser", 'S'}, {"Thr", 'T'}, {"Val", 'V'}, {"Trp", 'W'}, {"Tyr", 'Y'},
    }};
    std::string name = "trn";
    for (const auto& [three, one] : kAmino) {
        if (product.find(three) != npos) {
            name.push_back(one);
            break;
        }
    }
    return name;
}

bool looks_like_gene_name(std::string_view text) {
    std::size_t cut = text.find_first_of(" (/");
    std::string_view word = text.substr(0, cut);
    if (word.size() < 3 || word.size() > 15 || !is_alpha(word[0])) return false;
    enum { Leading, Digits, Trailing } phase = Leading;
    long leading = 0, digits = 0, trailing = 0;
    bool separator = false, upper = false;
    for (char c : word) {
        if (is_alpha(c)) {
            upper = upper || is_upper(c);
            if (phase == Leading) {
                ++leading;
            } else {
                phase = Trailing;
                ++trailing;
            }
        } else if (is_digit(c)) {
            if (phase == Trailing) break;  // a digit after the second letters ends the look
            phase = Digits;
            ++digits;
        } else if (c == '-' || c == '_' || c == '.') {
            separator = true;
        } else {
            return false;
        }
    }
    if (leading >= 9 && !separator) return false;
    if (digits > 0) return leading >= 2 || trailing > 0;
    if (leading < 3) return false;
    if (!upper && !separator && leading >= 5) return false;
    return true;
}

std::optional<std::string> guess_gene_name(std::string_view text) {
    if (text.size() < 3) return std::nullopt;

    // Phrases that name another gene: "similar to recA".
    for (const char* phrase : {"match to ", "identical to ", "similar to ", "Match to ", "Identical to ",
                               "Similar to "}) {
        const std::size_t at = text.find(phrase);
        if (at == npos) continue;
        std::string_view word = word_from(text, at + std::string_view(phrase).size());
        if (word.find("EST") != npos) return std::nullopt;
        if (looks_like_gene_name(word)) return answer(lower(phrase) + std::string(word));
    }
    for (const char* stop : {"strain", "plasmid", "type"})
        if (text.find(stop) != npos) return std::nullopt;

    // "recA gene", "recA locus".
    for (const char* suffix : {" locus", " gene"}) {
        const std::size_t at = text.find(suffix);
        if (at == npos || at == 0) continue;
        std::string_view word = word_ending_at(text, at);
        if (looks_like_gene_name(word)) return answer(std::string(word));
    }
    // "dnaK homolog".
    for (const char* suffix : {" homolog", " homologue"}) {
        const std::size_t at = text.find(suffix);
        if (at == npos || at == 0) continue;
        std::string_view word = word_ending_at(text, at);
        if (looks_like_gene_name(word)) return answer(std::string(word) + suffix);
    }
    // "Putative recA" gives "recA; putative".
    for (const char* hedge : {"Probable ", "Hypothetical ", "Putative ", "Possible "}) {
        const std::size_t at = text.find(hedge);
        if (at == npos) continue;
        const std::string_view h(hedge);
        std::string_view word = word_from(text, at + h.size());
        if (looks_like_gene_name(word)) return answer(std::string(word) + "; " + lower(h.substr(0, h.size() - 1)));
    }
    for (const char* hedge : {"probable", "hypothetical", "putative", "possible"}) {
        const std::size_t at = text.find(hedge);
        if (at == npos) continue;
        const std::string_view h(hedge);
        std::string_view word = word_from(text, at + h.size());
        if (!word.empty()) {
            if (looks_like_gene_name(word)) return answer(std::string(word) + "; " + hedge);
            if (has_orf(word)) return answer(std::string(hedge) + " orf");
        }
        if (at > 0) {
            // The word standing where the hedge's own word begins.
            const std::size_t blank = text.substr(0, at).find_last_of(' ');
            std::string_view before = word_from(text, blank == npos ? 0 : blank + 1);
            if (before.empty()) return std::nullopt;
            if (looks_like_gene_name(before)) return answer(std::string(before) + " " + hedge);
        }
    }
    // "ORF12" and "orf" from the first ORF word the text holds.
    for (const char* orf : {"ORF", "orf", "Orf", "ORF No. ", "orf No. ", "Orf No. "}) {
        const std::size_t at = text.find(orf);
        if (at == npos) continue;
        std::string after(text.substr(at + std::string_view(orf).size()));
        replace_char(after, ';', ' ');
        std::string_view word = word_from(after, 0);
        if (word.empty()) return answer("orf");
        for (char c : word)
            if (!is_alnum(c)) return std::nullopt;
        return answer("ORF" + std::string(word));
    }
    std::string_view head = text.substr(0, text.find_first_of(" ;"));
    if (looks_like_gene_name(head)) return answer(std::string(head));
    return std::nullopt;
}

}  // namespace kavro
