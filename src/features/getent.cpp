// getent: copies entries out of a flat-file database (GenBank, EMBL,
// SwissProt, UniProt or FASTA), selected by name, accession, organism,
// definition or number. Selected entries are copied exactly as they stand,
// byte for byte; unselected ones are passed over without being parsed.

#include "features/getent.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "features/feature_io.hpp"
#include "input/fasta_walk.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"

namespace kavro {

namespace {

// Lines are taken in pieces of at most 512 characters, as every database
// reader takes them; a longer line is tested piece by piece. Each piece
// comes with its raw bytes (a CR before the newline included), so that the
// copy is exact.
class PieceScanner {
public:
    static constexpr std::size_t kLimit = LineReader::kPiece;

    explicit PieceScanner(LineReader& in) : in_(in) {}

    // raw: the bytes as in the file; text: without its line end; offset:
    // where the piece begins. False at the end of the input.
    bool next(std::string_view& raw, std::string_view& text, std::int64_t& offset) {
        const std::string_view buf = in_.buffered();
        const std::size_t span = std::min(buf.size(), kLimit + 2);
        const auto* nl = span ? static_cast<const char*>(std::memchr(buf.data(), '\n', span)) : nullptr;
        std::size_t bytes = 0;
        if (nl) {
            bytes = static_cast<std::size_t>(nl - buf.data()) + 1;
            const bool crlf = bytes >= 2 && nl[-1] == '\r';
            if (bytes - (crlf ? 1 : 0) > kLimit) bytes = kLimit;
        } else if (buf.size() >= kLimit + 2) {
            bytes = kLimit;
        }
        if (bytes) {
            offset = in_.tell();
            raw = buf.substr(0, bytes);
            in_.skip(bytes);
        } else {
            // The piece runs past the bytes read ahead: the reader fetches more.
            std::string_view piece;
            if (!in_.read_piece(piece, kLimit)) return false;
            offset = in_.piece_offset();
            const auto consumed = static_cast<std::size_t>(in_.tell() - offset);
            if (consumed > piece.size() && !piece.empty() && piece.back() == '\n') {
                // The reader dropped the CR of a CR LF line end: put it back.
                scratch_.assign(piece.substr(0, piece.size() - 1));
                scratch_ += "\r\n";
                raw = scratch_;
            } else {
                raw = piece;
            }
        }
        text = raw;
        if (text.ends_with('\n')) text.remove_suffix(1);
        if (text.ends_with('\r')) text.remove_suffix(1);
        return true;
    }

    // False when a line surely begins with none of the keywords that
    // start with its letter ("ACGT..." in a FASTA file); true when unsure.
    static bool may_be_keyword_line(const char* line, const char* end) {
        const auto starts = [&](std::string_view key) {
            const auto n = std::min(static_cast<std::size_t>(end - line), key.size());
            return std::memcmp(line, key.data(), n) == 0;
        };
        switch (*line) {
            case 'L': return starts("LOCUS ");
            case 'I': return starts("ID ");
            case 'A': return starts("AC ") || starts("ACCESSION ");
            case 'O': return starts("OS ");
            case 'D': return starts("DE ") || starts("DEFINITION ");
            default: return true;
        }
    }

    // Passes over whole lines (each at most kLimit bytes) whose first byte
    // is not marked in `wanted`, starting at the current position, which must
    // be the start of a line. Only the bytes read ahead are looked at.
    void skip_lines(const std::array<bool, 256>& wanted) {
        const std::string_view buf = in_.buffered();
        const char* p = buf.data();
        const char* const end = p + buf.size();
        const char* line = p;  // start of the line being passed over
        while (line < end && !(wanted[static_cast<unsigned char>(*line)] && may_be_keyword_line(line, end))) {
            const auto* nl = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
            if (!nl || static_cast<std::size_t>(nl - line) >= kLimit) break;
            line = nl + 1;
        }
        in_.skip(static_cast<std::size_t>(line - p));
    }

private:
    LineReader& in_;
    std::string scratch_;
};

// The entry name of a LOCUS or ID line: the first word after the keyword,
// ";" read as a blank.
std::string entry_name_of(std::string_view text) {
    std::size_t pos = 0;
    next_word(text, &pos);
    std::string_view name = next_word(text, &pos);
    return std::string(name.substr(0, name.find(';')));
}

bool any_contained(const std::vector<std::string>& values, std::string_view text) {
    for (const auto& v : values)
        if (!v.empty() && text.find(v) != std::string_view::npos) return true;
    return false;
}

class EntrySearch {
public:
    // In a FASTA database a ">" line starts an entry; in the other
    // databases it is a line of the entry like any other.
    EntrySearch(LineReader& in, Writer& out, EntrySelection sel, bool fasta)
        : in_(in), out_(out), sel_(std::move(sel)), fasta_(fasta) {}

    // 0, or 1 when the stream cannot be moved back to an entry's start.
    int run() {
        PieceScanner scan(in_);
        std::string_view raw, text;
        std::int64_t offset = 0;
        const std::array<bool, 256> wanted = wanted_first_bytes();
        bool line_start = true;
        for (;;) {
            // Outside the entries being copied, only lines that begin with
            // a keyword this search reads need a look.
            if (!copying_ && !in_accessions_ && line_start) scan.skip_lines(wanted);
            if (!scan.next(raw, text, offset)) break;
            line_start = raw.ends_with('\n');
            // The copy's own first line does not end it (a FASTA entry
            // copied from its start after one of its lines selected it).
            if (copying_ && fasta_ && text.starts_with(">") && offset != copy_start_) {
                copying_ = false;
                entry_name_.clear();
            }
            if (copying_) {
                out_.write(raw);
            } else {
                const int step = look_at(raw, text, offset);
                if (step == 1) return 1;
                if (step == 2) continue;  // moved back to the entry's start
                if (sel_.number_range && !copying_ && entry_number_ >= sel_.last_number) break;
            }
            if (text.starts_with("//")) {
                in_accessions_ = false;
                copying_ = false;
                entry_name_.clear();
                // The next flat-file entry begins on the next line, even when
                // its first line is damaged and names no entry start.
                if (!fasta_) entry_start_ = offset + static_cast<std::int64_t>(raw.size());
            }
        }
        return 0;
    }

private:
    // First bytes of the lines read outside an accession block: entry
    // starts, accession, organism and definition lines and the end line.
    std::array<bool, 256> wanted_first_bytes() const {
        std::array<bool, 256> wanted{};
        for (unsigned char c : std::string_view("LIAOD/")) wanted[c] = true;
        wanted['>'] = fasta_;
        wanted[' '] = !sel_.organisms.empty();  // "  ORGANISM "
        return wanted;
    }

    // Steps 3 to 5 for a line that is not being copied: 0 go on, 1 failure,
    // 2 the stream was moved back and the copy starts there.
    int look_at(std::string_view raw, std::string_view text, std::int64_t offset) {
        if (text.starts_with("LOCUS ") || text.starts_with("ID ") || (fasta_ && text.starts_with(">"))) {
            ++entry_number_;
            in_accessions_ = false;
            entry_start_ = offset;
            if (sel_.number_range) {
                if (entry_number_ >= sel_.first_number && entry_number_ <= sel_.last_number) {
                    entry_name_ = text[0] == '>' ? header_name(text) : entry_name_of(text);
                    start_copy(raw);
                    out("Start copying database No. %ld: %s\n", entry_number_, entry_name_.c_str());
                }
                return 0;
            }
            if (text[0] == '>') {
                // A PIR ">P1;" header names its entry after the ";".
                const int k = header_selection(sel_.ids, text.substr(is_pir_header(text) ? 4 : 1), entry_name_);
                if (k >= 0) {
                    start_copy(raw);
                    out("Start copying database: %s\n", entry_name_.c_str());
                    if (sel_.unique_ids) sel_.ids[static_cast<std::size_t>(k)].text.clear();
                }
            } else {
                entry_name_ = entry_name_of(text);
                if (name_selected(sel_.ids, entry_name_)) {
                    start_copy(raw);
                    out("Start copying database: %s\n", entry_name_.c_str());
                }
            }
            return 0;
        }
        if (sel_.number_range) return 0;
        const bool genbank_accession = text.starts_with("ACCESSION ");
        if (genbank_accession || text.starts_with("AC ") || (in_accessions_ && text.starts_with("           "))) {
            in_accessions_ = true;
            if (sel_.accessions.empty()) return 0;
            const bool wide = genbank_accession || text.starts_with("            ");
            return accession_line_selects(text.substr(std::min<std::size_t>(text.size(), wide ? 12 : 5)))
                       ? copy_from_entry_start(offset)
                       : 0;
        }
        in_accessions_ = false;
        const std::vector<std::string>* values = nullptr;
        if (text.starts_with("  ORGANISM ") || text.starts_with("OS ")) values = &sel_.organisms;
        if (text.starts_with("DEFINITION ") || text.starts_with("DE ")) values = &sel_.definitions;
        if (!values || values->empty()) return 0;
        std::size_t pos = 0;
        next_word(text, &pos);
        return any_contained(*values, text.substr(pos)) ? copy_from_entry_start(offset) : 0;
    }

    // Words of an accession line, ";" read as a blank. A word is tried only
    // while more than five characters (the line end counted) remain.
    bool accession_line_selects(std::string_view rest) {
        std::string words(rest);
        words += '\n';
        for (char& c : words)
            if (c == ';') c = ' ';
        std::size_t pos = 0;
        while (words.size() - pos > 5) {
            const std::string_view word = next_word(words, &pos);
            if (word.empty()) break;
            if (accession_selected(sel_.accessions, word)) return true;
        }
        return false;
    }

    static std::string header_name(std::string_view text) {
        if (is_pir_header(text)) return std::string(pir_entry_code(text));
        std::size_t pos = 1;
        return std::string(next_word(text, &pos));
    }

    void start_copy(std::string_view raw) {
        copying_ = true;
        copy_start_ = -1;
        out_.write(raw);
    }

    // A selecting line (at `line`) sends the stream back to its entry's start
    // once: when the walk passes it again it selects nothing, so no entry is
    // copied twice and the walk always moves on.
    int copy_from_entry_start(std::int64_t line) {
        if (line <= last_selecting_line_) return 0;
        last_selecting_line_ = line;
        out("Start copying database: %s\n", entry_name_.c_str());
        if (!in_.seek(entry_start_)) {
            err("Error in accessing file.\n");
            return 1;
        }
        copying_ = true;
        copy_start_ = entry_start_;
        return 2;
    }

    LineReader& in_;
    Writer& out_;
    EntrySelection sel_;
    bool copying_ = false;
    bool in_accessions_ = false;
    long entry_number_ = 0;
    std::string entry_name_;
    bool fasta_ = false;
    std::int64_t entry_start_ = 0;
    std::int64_t copy_start_ = -1;           // where a copy from an entry's start began
    std::int64_t last_selecting_line_ = -1;  // the furthest selecting line acted on
};

bool accepted_database(SeqFormat format) {
    return format == SeqFormat::Genbank || format == SeqFormat::GenbankProtein || format == SeqFormat::Embl ||
           format == SeqFormat::Swissprot || format == SeqFormat::Uniprot || format == SeqFormat::Fasta;
}

}  // namespace

int cmd_getent(int count, CommandLine& words) {
    if (count < 4) {
        show_help("getent");
        return 1;
    }
    EntrySelection sel;
    switch (parse_selection(count, words, sel)) {
        case SelectionParse::Ok: break;
        case SelectionParse::Usage: show_help("getent"); return 1;
        case SelectionParse::BadNumber: return 1;
    }
    const std::string db_path = words[1];
    const std::string out_path = words[2];

    const SeqFormat format = detect_format(db_path);
    if (!accepted_database(format)) {
        err("This is not a GenBank, EMBL, SwissProt, Uniprot or FASTA file.\n");
        end_program(1);
    }
    if (format == SeqFormat::Fasta) out("This is a FASTA file. Only ID is recognized.\n");
    out("Reading sequence...\n");
    auto in = open_input(db_path);
    if (!in) {
        return 1;
    }

    std::optional<OutputTarget> output;
    const bool one_output = sel.mode == EntrySelection::Mode::Search || sel.mode == EntrySelection::Mode::List;
    if (one_output) {
        // The output is emptied before the database is read.
        if (output_would_replace_input(db_path, out_path)) return 1;
        // The list of File= is read after the output has been emptied.
        if (sel.mode == EntrySelection::Mode::List && output_would_replace_input(sel.list_path, out_path)) return 1;
        output = OutputTarget::open(out_path, OutputTarget::Mode::Truncate);
        if (!output) {
            err("Cannot open output file: %s.\n\n", out_path.c_str());
            return 1;
        }
    }

    if (sel.mode != EntrySelection::Mode::Search) {
        if (format != SeqFormat::Fasta) {
            err("Only FASTA file can be processed in this mode.\n");
            return 1;
        }
        in.reset();
        return run_fasta_list_mode(db_path, out_path, sel, output ? &*output : nullptr);
    }

    EntrySearch search(*in, output->writer(), std::move(sel), format == SeqFormat::Fasta);
    int status = search.run();
    if (!in->finish()) status = 1;
    if (!output->close()) {
        err("Cannot write output file: %s.\n", out_path.c_str());
        return 1;
    }
    if (status != 0) return status;
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
