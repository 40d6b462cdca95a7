// The exon header parsed into an exon list.
#include "output/exon_header.hpp"

#include <algorithm>
#include <charconv>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

// Room of an exon's accession; longer ones are refused.
constexpr std::size_t kExonAccessionWidth = 29;

bool is_position(std::string_view w) { return invalid_location_number(w) == 0 && !w.empty(); }

// One position word, "<" or ">" allowed in front; false when the rest is
// not a number.
bool position_value(std::string_view w, long& value) {
    if (!w.empty() && (w.front() == '<' || w.front() == '>')) w.remove_prefix(1);
    if (w.empty() || has_non_digit(w) != 0) return false;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
    return ec == std::errc();
}

std::string_view accession_base(std::string_view acc) { return acc.substr(0, acc.find('.')); }

// The entry's accession, after "AC=" up to ";" or a blank.
std::string header_accession(std::string_view header) {
    const std::size_t at = header.find("AC=");
    if (at == std::string_view::npos) return {};
    std::string_view rest = header.substr(at + 3);
    return std::string(rest.substr(0, rest.find_first_of("; ")));
}

}  // namespace

bool signed_value(std::string text, long& value) {
    if (invalid_signed_integer(text) != 0) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::optional<PresentationExons> parse_exon_header(std::string_view header, long seq_length) {
    std::vector<std::string_view> words;
    for (std::size_t pos = 0;;) {
        std::string_view w = next_word(header, &pos);
        if (w.empty()) break;
        words.push_back(w);
    }
    const std::string name = words.empty() ? std::string() : std::string(words[0]);
    auto fail = [&](const char* fmt) -> std::optional<PresentationExons> {
        err(fmt, name.c_str());
        err(" Quiting exon_list. ");
        return std::nullopt;
    };
    long count = 0;
    if (words.size() < 2 || !signed_value(std::string(words[1]), count) || count <= 0) {
        err("The exon number must be 1 or more: %s\n", words.size() < 2 ? "" : std::string(words[1]).c_str());
        return std::nullopt;
    }
    std::string entry_accession = header_accession(header);
    if (entry_accession.empty()) out("No ACC available. Defaults to local file.\n");
    entry_accession = std::string(accession_base(entry_accession));

    std::size_t i = 2;
    bool all_complement = false, reverse = false;
    if (i < words.size() && !is_position(words[i]) && words[i].find(':') == std::string_view::npos) {
        if (words[i] == "join") {
            if (count < 2) return fail("\nError 3 of exon number in seq: %s.\n");
            ++i;
        } else if (words[i] == "complement") {
            all_complement = true;
            if (i + 1 < words.size() && words[i + 1] == "join") {
                if (count < 2) return fail("\nError 2 of exon number in seq: %s.\n");
                reverse = true;
                i += 2;
            }
        } else {
            err("\nUnrecognizable word: %s in exon_list.\n", std::string(words[i]).c_str());
            return fail("Error 4 of exon number in seq: %s.\n");
        }
    } else if (count != 1) {
        return fail("\nError 1 of exon number in seq: %s.\n");
    }

    PresentationExons exons;
    while (static_cast<long>(exons.size()) < count && i < words.size()) {
        PresentationExon exon;
        exon.complement = all_complement;
        std::string_view w = words[i];
        if (!is_position(w) && w.find(':') == std::string_view::npos) {
            if (w != "complement") return fail("\nError 5 of exon number in seq: %s.\n");
            exon.complement = true;
            if (++i >= words.size()) return fail("\nError 7 of exon number in seq: %s.\n");
            w = words[i];
        }
        std::string_view accession;
        if (const std::size_t colon = w.find(':'); colon != std::string_view::npos) {
            accession = w.substr(0, colon);
            if (accession.size() > kExonAccessionWidth) return fail("\nError 6 of exon description in seq: %s.\n");
            w.remove_prefix(colon + 1);
        }
        if ((!w.empty() && w.front() == '>') || !position_value(w, exon.start))
            return fail("\nError 7 of exon number in seq: %s.\n");
        if (++i >= words.size()) return fail("No valid end of exon in seq: %s.\n");
        w = words[i];
        if (const std::size_t colon = w.find(':'); colon != std::string_view::npos) {
            if (w.substr(0, colon) != accession) return fail("\nError 8 of exon description in seq: %s.\n");
            w.remove_prefix(colon + 1);
        }
        if ((!w.empty() && w.front() == '<') || !position_value(w, exon.end))
            return fail("No valid end of exon in seq: %s.\n");
        ++i;
        if (!accession.empty() && accession_base(accession) != entry_accession) {
            // Exons of other entries would need the whole database file;
            // the presentation form has only the one entry.
            err("Unable to find the sequence with accession: %s\n", std::string(accession_base(accession)).c_str());
            return std::nullopt;
        }
        exons.push_back(exon);
    }
    if (static_cast<long>(exons.size()) < count)
        return fail("\nFewer exons than the exon number in seq: %s.\n");
    for (const PresentationExon& e : exons) {
        if (e.start < 1 || e.end < 1 || e.start > seq_length || e.end > seq_length) {
            err("Exon %ld..%ld lies outside the sequence of %ld bases.\n", e.start, e.end, seq_length);
            return std::nullopt;
        }
        if (e.start > e.end) {
            err("Exon %ld..%ld starts after its end.\n", e.start, e.end);
            return std::nullopt;
        }
    }
    if (reverse) std::reverse(exons.begin(), exons.end());
    return exons;
}

bool exons_out_of_order(const PresentationExons& exons) {
    for (std::size_t i = 1; i < exons.size(); ++i) {
        const PresentationExon& a = exons[i - 1];
        const PresentationExon& b = exons[i];
        if (a.complement != b.complement) return true;
        if (!b.complement && b.start < a.end) return true;
        if (b.complement && b.end > a.start) return true;
    }
    return false;
}

std::string join_exons(const std::string& residues, const PresentationExons& exons, bool rna) {
    std::string joined;
    for (const PresentationExon& e : exons) {
        const auto from = static_cast<std::size_t>(e.start - 1);
        const auto to = static_cast<std::size_t>(e.end);
        if (!e.complement) {
            joined.append(residues, from, to - from);
            continue;
        }
        for (std::size_t x = to; x-- > from;) joined.push_back(complement_base(residues[x], rna));
    }
    return joined;
}

}  // namespace kavro
