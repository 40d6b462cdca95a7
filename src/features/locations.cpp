// Exon lists, joins and the accession index.

#include "features/locations.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using input_detail::all_digits;

namespace {

constexpr std::string_view kSplitSeparator = "\nxxxxx\n";

struct Word {
    std::string_view text;
    std::size_t offset;
};

// The words of text separated by white space, each with its offset plus
// `base`: the one rule by which every part of a definition is split.
std::vector<Word> definition_words(std::string_view text, std::size_t base) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && is_space(text[i])) ++i;
        if (i >= text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !is_space(text[i])) ++i;
        words.push_back({text.substr(start, i - start), base + start});
    }
    return words;
}

bool is_position(std::string_view w) {
    if (w.empty() || invalid_location_number(w) != 0) return false;
    return w.size() > 1 || is_digit(w[0]);
}

bool has_colon(std::string_view w) { return w.find(':') != std::string_view::npos; }

// The value of a text of digits; false when it is empty, not digits or
// beyond the 32-bit range of a location.
bool position_value(std::string_view digits, long& value) {
    if (!all_digits(digits) || digits.size() > 10) return false;
    long long v = 0;
    for (char c : digits) v = v * 10 + (c - '0');
    if (v > INT_MAX) return false;
    value = static_cast<long>(v);
    return true;
}

void append_plus(std::string& out, const std::string& residues, long from, long to) {
    if (from < 1) from = 1;
    if (to > static_cast<long>(residues.size())) to = static_cast<long>(residues.size());
    if (from > to) return;
    out.append(residues, static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

// Bases to down to from, each replaced by its complement.
void append_minus(std::string& out, const std::string& residues, long from, long to) {
    if (from < 1) from = 1;
    if (to > static_cast<long>(residues.size())) to = static_cast<long>(residues.size());
    if (from > to) return;
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = complement_base(static_cast<char>(c), false);
        return t;
    }();
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(to - from + 1));
    char* dst = out.data() + old;
    const unsigned char* src = reinterpret_cast<const unsigned char*>(residues.data());
    for (long i = to; i >= from; --i) *dst++ = table[src[i - 1]];
}

}  // namespace

DefinitionParts split_definition(std::string_view definition) {
    DefinitionParts parts;
    std::size_t pos = 0;
    while (pos < definition.size() && !is_space(definition[pos])) ++pos;
    parts.feature_name = definition.substr(0, pos);
    parts.count_word = next_word(definition, &pos);
    parts.rest = definition.substr(std::min(pos, definition.size()));
    return parts;
}

long segment_count(std::string_view definition) {
    const DefinitionParts parts = split_definition(definition);
    long value = 0;
    return position_value(parts.count_word, value) ? value : 0;
}

std::string_view accession_base(std::string_view accession) { return accession.substr(0, accession.find('.')); }

std::string_view feature_name_of(std::string_view definition) { return split_definition(definition).feature_name; }

std::string definition_accession(std::string_view definition) {
    const std::size_t at = definition.find("AC=");
    if (at == std::string_view::npos) return "";
    std::string_view rest = definition.substr(at + 3);
    return std::string(rest.substr(0, rest.find_first_of("; ")));
}

bool parse_exon_list(std::string_view definition, ExonList& exons, std::string* remainder) {
    exons.clear();
    const DefinitionParts parts = split_definition(definition);
    if (parts.count_word.empty()) return false;
    const std::string name(parts.feature_name);
    long count = 0;
    if (!position_value(parts.count_word, count)) return false;
    const std::vector<Word> words =
        definition_words(parts.rest, static_cast<std::size_t>(parts.rest.data() - definition.data()));
    auto quit = [] {
        err(" Quiting exon_list. ");
        return false;
    };
    std::size_t k = 0;
    if (k >= words.size()) return quit();
    auto word = [&](std::size_t i) { return i < words.size() ? words[i].text : std::string_view{}; };

    bool all_complement = false;
    bool reverse = false;
    std::string_view first = word(k);
    if (!is_position(first) && !has_colon(first)) {
        if (first == "join") {
            if (count < 2) {
                err("\nError 3 of exon number in seq: %s.\n", name.c_str());
                return quit();
            }
            ++k;
        } else if (first == "complement") {
            all_complement = true;
            if (word(k + 1) == "join") {
                if (count < 2) {
                    err("\nError 2 of exon number in seq: %s.\n", name.c_str());
                    return quit();
                }
                reverse = true;
                k += 2;
            }
        } else {
            err("\nUnrecognizable word: %s in exon_list.\n", std::string(first).c_str());
            err("Error 4 of exon number in seq: %s.\n", name.c_str());
            return quit();
        }
    } else if (count != 1) {
        err("\nError 1 of exon number in seq: %s.\n", name.c_str());
        return quit();
    }

    bool failed = false;
    long last_read = 0;
    for (long e = 0; e < count && k < words.size(); ++e) {
        Exon ex;
        ex.complement = all_complement;
        std::string_view w = word(k);
        if (!is_position(w) && !has_colon(w)) {
            if (w != "complement") {
                err("\nError 5 of exon number in seq: %s.\n", name.c_str());
                failed = true;
                break;
            }
            ex.complement = true;
            w = word(++k);
        }
        if (has_colon(w)) {
            const std::size_t colon = w.find(':');
            if (colon > kExonAccessionWidth) {
                err("\nError 6 of exon description in seq: %s.\n", name.c_str());
                failed = true;
                break;
            }
            ex.accession.assign(w.substr(0, colon));
            w = w.substr(colon + 1);
        }
        if (w.starts_with("<")) {
            ex.partial_start = true;
            w.remove_prefix(1);
        }
        if (!position_value(w, ex.start)) {
            err("\nError 7 of exon number in seq: %s.\n", name.c_str());
            failed = true;
            break;
        }
        last_read = ex.start;
        w = word(++k);
        if (has_colon(w)) {
            const std::size_t colon = w.find(':');
            if (w.substr(0, colon) != ex.accession) {
                err("\nError 8 of exon description in seq: %s.\n", name.c_str());
                failed = true;
                break;
            }
            w = w.substr(colon + 1);
        }
        if (w.starts_with(">")) {
            ex.partial_end = true;
            w.remove_prefix(1);
        }
        if (!position_value(w, ex.end)) {
            err("No valid end of exon in seq: %s.\n", name.c_str());
            failed = true;
            break;
        }
        last_read = ex.end;
        exons.push_back(std::move(ex));
        ++k;
    }
    if (remainder) {
        remainder->clear();
        if (k < words.size()) remainder->assign(definition.substr(words[k].offset));
    }
    if (reverse) std::reverse(exons.begin(), exons.end());
    if (failed || last_read == 0 || exons.empty()) return quit();
    return true;
}

bool exons_out_of_order(const ExonList& exons) {
    if (exons.size() < 2) return false;
    for (std::size_t i = 1; i < exons.size(); ++i) {
        const Exon& prev = exons[i - 1];
        const Exon& ex = exons[i];
        if (ex.complement != exons[0].complement) return true;
        if (ex.plus() ? ex.start < prev.end : ex.end > prev.start) return true;
    }
    return false;
}

bool is_remote(std::string_view exon_accession, std::string_view entry_accession) {
    const std::string_view base = accession_base(exon_accession);
    return !base.empty() && base != accession_base(entry_accession);
}

long exon_total(const ExonList& exons, std::string_view entry_accession, long entry_length, bool seq_import) {
    long total = 0;
    for (const Exon& ex : exons) {
        if (!seq_import && is_remote(ex.accession, entry_accession)) continue;
        total += ex.end - ex.start + 1;
        if (ex.end < ex.start) total += entry_length;
    }
    return total;
}

// ---- accession index ----

void AccessionIndex::add(std::string_view line, std::int64_t after) {
    std::string text(line);
    replace_char(text, ';', ' ');
    auto words = input_detail::split_words(text, 2);
    std::string_view base = accession_base(words[1]);
    if (!base.empty()) positions_.emplace(std::string(base), after);
}

void AccessionIndex::build(LineReader& in) {
    // Whole lines are taken from the read buffer; only a line that runs
    // past the buffer's end is read on its own.
    auto wanted = [](std::string_view line) { return line.starts_with("ACCESSION ") || line.starts_with("AC "); };
    for (;;) {
        std::string_view buf = in.buffered();
        const std::size_t last = buf.rfind('\n');
        if (last == std::string_view::npos) {
            std::string_view line;
            if (!in.read_line(line)) return;
            if (wanted(line)) add(line, in.tell());
            continue;
        }
        const std::int64_t base = in.tell();
        const std::string_view lines = buf.substr(0, last + 1);
        std::size_t at = 0;
        while (at < lines.size()) {
            const std::size_t nl = lines.find('\n', at);
            if (lines[at] == 'A') {
                std::string_view line = lines.substr(at, nl - at);
                if (wanted(line)) add(line, base + static_cast<std::int64_t>(nl + 1));
            }
            // Sequence lines make up most of a file; jump to the next line
            // that starts with "A" after a newline.
            const std::size_t next = lines.find("\nA", nl);
            at = next == std::string_view::npos ? lines.size() : next + 1;
        }
        in.skip(last + 1);
    }
}

std::optional<std::int64_t> AccessionIndex::find(std::string_view accession_base) {
    if (pending_) {
        LineReader& in = *pending_;
        pending_ = nullptr;
        build(in);
    }
    auto it = positions_.find(std::string(accession_base));
    if (it == positions_.end()) return std::nullopt;
    return it->second;
}

std::optional<SequenceRecord> read_sequence_at(LineReader& in, std::int64_t position) {
    const std::int64_t back = in.tell();
    if (!in.seek(position)) {
        err("File seek error.\n");
        return std::nullopt;
    }
    SequenceRecord rec;
    rec.type = ResidueKind::Dna;
    bool in_sequence = false;
    std::string_view line;
    while (in.read_piece(line, LineReader::kShortPiece)) {
        if (line.starts_with("//")) break;
        if (!in_sequence) {
            in_sequence = line.starts_with("ORIGIN") || line.starts_with("SQ ");
            continue;
        }
        for (char c : line)
            if (is_alpha(c)) rec.residues.push_back(to_upper(c));
    }
    in.seek(back);
    if (rec.residues.empty()) return std::nullopt;
    rec.length = static_cast<long>(rec.residues.size());
    return rec;
}

const std::string* RemoteSequences::get(std::string_view base, const JoinContext& ctx) {
    if (valid_ && accession_ == base) return &residues_;
    std::optional<std::int64_t> at;
    if (ctx.index) at = ctx.index->find(base);
    if (!at || !ctx.remote_input) {
        err("Unable to find the sequence with accession: %s\n", std::string(base).c_str());
        return nullptr;
    }
    auto rec = read_sequence_at(*ctx.remote_input, *at);
    if (!rec) {
        err("Unable to read the sequence with accession: %s\n", std::string(base).c_str());
        return nullptr;
    }
    accession_.assign(base);
    residues_ = std::move(rec->residues);
    valid_ = true;
    return &residues_;
}

long RemoteSequences::length(std::string_view base, const JoinContext& ctx) {
    const std::string* residues = get(base, ctx);
    return residues ? static_cast<long>(residues->size()) : 0;
}

// ---- joins ----

SequenceRecord join_exons(const SequenceRecord& entry, const ExonList& exons, std::string_view entry_accession,
                          const JoinContext& ctx, RemoteSequences& remote) {
    SequenceRecord result = copy_record_header(entry);
    result.length = 0;
    const long length = static_cast<long>(entry.residues.size());
    const bool circular = entry.circular != 0;
    const long total = exon_total(exons, entry_accession, length, ctx.seq_import);
    if (!ctx.seq_import && total > length + kOriginWindow) {
        err("Total length of exons exceeds the sequence length.\n");
        return result;
    }
    std::string& out = result.residues;
    out.reserve(static_cast<std::size_t>(std::clamp<long>(total, 0, length + kOriginWindow)) +
                (ctx.split_exons ? exons.size() * kSplitSeparator.size() : 0));
    auto stop = [&result] {
        result.residues.clear();
        result.length = 0;
        return std::move(result);
    };

    for (std::size_t i = 0; i < exons.size(); ++i) {
        const Exon& ex = exons[i];
        long start = ex.start, end = ex.end;
        if (is_remote(ex.accession, entry_accession)) {
            if (!ctx.seq_import) {
                err("\nImport from external file is not enabled.\n");
                err("Set the SEQ_IMPORT variable to true.\n");
                return stop();
            }
            progress('i');
            const std::string* other = remote.get(accession_base(ex.accession), ctx);
            if (!other) return stop();
            if (ex.plus())
                append_plus(out, *other, start, end);
            else
                append_minus(out, *other, start, end);
            continue;
        }
        if (circular) {
            if (start > length) start -= length;
            if (end > length) end -= length;
        } else {
            start = std::max(start, 1L);
            end = std::min(end, length);
        }
        progress('e');
        if (circular && (start < 1 || end < 1 || start > length || end > length)) {
            err("\nError in extracting sequence from a circular genome.\n");
            return stop();
        }
        if (circular && end < start) {
            if (start <= length - kOriginWindow || end > kOriginWindow) {
                err("\nError in extracting sequence from a circular genome.\n");
                return stop();
            }
            if (ex.plus()) {
                append_plus(out, entry.residues, start, length);
                append_plus(out, entry.residues, 1, end);
            } else {
                append_minus(out, entry.residues, 1, end);
                append_minus(out, entry.residues, start, length);
            }
        } else if (ex.plus()) {
            append_plus(out, entry.residues, start, end);
        } else {
            append_minus(out, entry.residues, start, end);
        }
        if (ctx.split_exons && i + 1 < exons.size()) out.append(kSplitSeparator);
    }
    result.length = static_cast<long>(out.size());
    return result;
}

}  // namespace kavro
