// The exon header: read from an exon file or asked for, and parsed into
// an exon list.
#include "output/exon_header.hpp"

#include <algorithm>
#include <charconv>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

// Only the first line of an exon file is read, in one piece of this size.
constexpr std::size_t kExonLinePiece = 512;
// Room of an exon's accession; longer ones are refused.
constexpr std::size_t kExonAccessionWidth = 29;
// The dialog shows this many bases around a position it asks to confirm.
constexpr long kShownBases = 11;

constexpr const char* kExonHelp =
    "************************* PRETTY PRINT のヘルプ ****************************\n"
    "使い方: toprot infile outfile p<exon file> codon_table.\n\n"
    "       <exon file> は、エキソンの位置を記載したファイルで、 \n"
    "       一行に1個の遺伝子の情報を記します。以下に例を示します。\n"
    "  これは例を説明するものなので、実際には -- の後の説明は書かないでください。\n"
    "       ntcA 1 91  762  -- イントロンなしの単一ORF.\n"
    "       nad7 3 join 828 967  1999 2067  3066 4038  -- 2 個のイントロンの例.\n"
    "                   <exon 1> <exon 2>   <exon 3>\n"
    "       Codon_table は、無くても構いません。表の選択はhelpを見てください。\n"
    "****************************************************************************\n";

// The value of a signed integer text ("+5", "-3", "12"); false for any
// other text or one too large for a position.
bool signed_value(std::string text, long& value) {
    if (invalid_signed_integer(text) != 0) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// ---- the dialog ----

class ExonDialog {
public:
    ExonDialog(const SequenceRecord& rec, LineReader& in) : rec_(rec), in_(in) {}

    // The header, or nothing after a message or a "no".
    std::optional<std::string> run() {
        jout_text(kExonHelp);
        out("Do you wish to input exon data interactively?  Answer y or n. ");
        std::string word;
        if (!read_word(word) || word != "y") return std::nullopt;
        out("What is the name of gene?  ");
        std::string header;
        do {
            if (!read_trimmed_line(header)) return aborted();
        } while (header.empty());
        out("Number of exons?  Use 0 to abort.");
        long count = 0;
        for (std::string line;;) {
            if (!read_trimmed_line(line)) return aborted();
            if (line.empty()) break;  // an empty answer reads as 0
            if (signed_value(line, count)) break;
        }
        if (count <= 0) return aborted();
        header += " " + std::to_string(count);
        if (count >= 2) header += " join";
        for (long i = 1; i <= count; ++i) {
            const long start = ask_position(i, true);
            if (start <= 0) return aborted();
            header += "  " + std::to_string(start);
            const long end = ask_position(i, false);
            if (end <= 0) return aborted();
            header += " " + std::to_string(end);
        }
        trim_right(header);
        return header;
    }

private:
    bool read_word(std::string& word) { return in_.read_word(word, kAnswerWidth); }
    bool read_trimmed_line(std::string& line) {
        std::string_view raw;
        if (!in_.read_line(raw)) return false;
        line.assign(raw);
        trim_right(line);
        return true;
    }
    std::nullopt_t aborted() {
        err("Input aborted.\n");
        return std::nullopt;
    }

    // The start (or end) of exon i, confirmed by the user against the bases
    // around it; 0 to abort. A start must leave 10 bases after it and an end
    // must lie before the last base; no position lies before the first base.
    long ask_position(long i, bool start) {
        out(start ? "Start position of exon %ld? Use 0 to abort. " : "End position of exon %ld? Use 0 to abort. ", i);
        const long limit = start ? rec_.length - (kShownBases - 1) : rec_.length - 1;
        for (std::string line;;) {
            if (!read_trimmed_line(line)) return 0;
            long value = 0;
            if (line.empty() || !signed_value(line, value)) continue;
            if (value == 0) return 0;
            if (value > limit || value < 0) {
                out(value < 0 ? "This value is outside the sequence. Type new value. "
                              : "This value exceeds sequence length. Type new value. ");
                continue;
            }
            show_bases(value, start);
            out("Is this OK? y or n.");
            std::string word;
            if (!read_word(word)) return 0;
            if (word == "y") return value;
            out("Type new value. ");
        }
    }

    // The 11 bases from a start, or up to an end, with a mark under the
    // position itself. An end near the sequence start shows the bases there
    // are, shifted so that the mark still stands under the position.
    void show_bases(long value, bool start) {
        const std::string& s = rec_.residues;
        if (start) {
            out("\n   %s\n   >\n", s.substr(static_cast<std::size_t>(value - 1), kShownBases).c_str());
            return;
        }
        const long from = std::max(1L, value - (kShownBases - 1));
        const std::string shown(static_cast<std::size_t>(kShownBases - (value - from + 1)), ' ');
        out("\n   %s%s\n             >\n", shown.c_str(),
            s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(value - from + 1)).c_str());
    }

    static constexpr std::size_t kAnswerWidth = 31;
    const SequenceRecord& rec_;
    LineReader& in_;
};

// The first line of an exon file, trimmed; "" for an empty file.
std::optional<std::string> read_exon_file(const std::string& path) {
    auto file = LineReader::open(path);
    if (!file) {
        err("Cannot open file: %s\n", path.c_str());
        return std::nullopt;
    }
    std::string_view piece;
    if (!file->read_piece(piece, kExonLinePiece)) {
        if (!file->finish()) return std::nullopt;
        return std::string();
    }
    std::string line(piece);
    std::size_t pos = 0;
    next_word(line, &pos);
    std::string count(next_word(line, &pos));
    if (invalid_signed_integer(count) != 0) {
        err("No exon number is indicated.\n");
        return std::nullopt;
    }
    trim_right(line);
    return line;
}

// ---- parsing ----

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

int make_header(SequenceRecord& rec, const std::string& exon_file, LineReader& console) {
    std::optional<std::string> header =
        exon_file.empty() ? ExonDialog(rec, console).run() : read_exon_file(exon_file);
    if (!header) return 1;
    if (!exon_file.empty() && header->empty()) return 0;
    rec.definition = std::move(*header);
    return 0;
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
