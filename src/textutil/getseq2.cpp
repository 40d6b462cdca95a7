// getseq2: cuts the stretch start..end out of the first entry of a file and
// writes it as FASTA, optionally as the complementary strand. On a circular
// molecule a stretch may run across the origin (start > end).
//
// A FASTA entry is never held whole: one pass counts its residues and
// classifies them, keeping only the stretch (a second pass fetches it when
// its place depends on the length). When an index FILE.fai (name, length,
// offset, line bases, line bytes, tab-separated) stands beside the file and
// is not older than it, the stretch is read straight from its place.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/fasta_walk.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "input/reader_common.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// Definitions are cut to this many characters before the extraction note.
constexpr std::size_t kDefinitionWidth = 50;


bool read_console_word(std::string& word) { return stdin_reader().read_word(word, kWordWidth); }

// "c" or "comp" chooses the complementary strand; any other answer "n".
std::optional<std::string> ask_strand() {
    std::string word;
    if (!read_console_word(word)) return std::nullopt;
    return (word == "c" || word == "comp") ? "c" : "n";
}

// The stretch to cut, in positions 1..length of the residues: one piece, or
// two joined across the origin, and the note the definition gets. When the
// positions do not fit, `error` holds the messages that end the program.
struct StretchPlan {
    std::vector<std::pair<long, long>> pieces;
    std::string note;
    std::string error;
};

// The piece from..to of `length` residues: the end stops at the last
// residue; a start beyond it or an end before the start fails.
bool plan_piece(StretchPlan& plan, long length, long from, long to) {
    if (length < from || to < from) {
        plan.error = "Error of extraction positions: " + std::to_string(from) + ", " + std::to_string(to) +
                     "\nError in extracting sequence.\n";
        return false;
    }
    plan.pieces.emplace_back(std::max(from, 1L), std::min(to, length));
    return true;
}

// The stretch from..to. On a circular molecule with from > to it runs from
// `from` to the end and on from position 1 to `to`.
StretchPlan plan_stretch(long length, long from, long to, bool circular) {
    StretchPlan plan;
    if (!circular || from <= to) {
        if (from < 1 || to < 1 || to < from) {
            plan.error = "Strange positions. start=" + std::to_string(from) + ", end=" + std::to_string(to) + ".\n";
            return plan;
        }
        if (!plan_piece(plan, length, from, to)) return plan;
    } else if (!plan_piece(plan, length, from, length) || !plan_piece(plan, length, 1, to)) {
        return plan;
    }
    const auto& [first, last] = plan.pieces.front();
    plan.note = "_Extracted from " + std::to_string(first) + " to " + std::to_string(last) + "; ";
    if (plan.pieces.size() == 2) plan.note += " Sequence added until " + std::to_string(to) + ". ";
    return plan;
}

// The positions once the length is known: an end of 0 is the last residue,
// "last" counts a negative start from the end, and on a circular molecule
// positions beyond either end come round (announced first).
void settle_positions(long length, bool from_last, bool circular, const std::string& name, long& start, long& end) {
    if (end == 0) end = length;
    if (from_last && start < 0) start += length;
    if (circular) {
        out("\nThis is a circular genome: %s.\n", name.c_str());
        if (end > length) end -= length;
        if (start < 1) start += length;
    }
}

// The entry's type announced and its definition cut to its width, with
// the note the FASTA reader adds when it classifies the entry itself.
void announce_type(std::string& definition, ResidueKind type, bool note_type) {
    if (note_type) {
        definition += "\nData type was automatically set to: ";
        definition += type_name(type);
    }
    out("Data type is %s\n", type_name(type));
    if (definition.size() > kDefinitionWidth) definition.resize(kDefinitionWidth);
}

// The stretch as a record named after the entry; a plan that failed ends
// the program after its messages.
SequenceRecord stretch_record(const std::string& name, const std::string& definition, ResidueKind type,
                              const StretchPlan& plan, std::vector<std::string> texts) {
    if (!plan.error.empty()) {
        err("%s", plan.error.c_str());
        end_program(1);
    }
    SequenceRecord part;
    part.name = name;
    part.type = type;
    part.definition = definition + plan.note;
    if (texts.size() == 1) part.residues = std::move(texts.front());
    else
        for (const std::string& text : texts) part.residues += text;
    part.length = static_cast<long>(part.residues.size());
    return part;
}

// ---- FASTA entries: the stretch without the rest of the residues ----

// Walks the first entry of a FASTA file as the FASTA reader reads it
// (walk_fasta_records), without keeping its residues: it counts the letters
// (the positions), adds up the counts the classification rests on, and
// keeps the letters of the wanted pieces, upper-cased. With header_only it
// stops where the residues begin; with whole unset, after the last wanted
// piece.
class FirstEntryScan {
public:
    FirstEntryScan(LineReader& in, std::vector<std::pair<long, long>> wanted, bool whole, bool header_only)
        : in_(in), wanted_(std::move(wanted)), kept_(wanted_.size()), whole_(whole), header_only_(header_only) {
        for (const auto& piece : wanted_) last_wanted_ = std::max(last_wanted_, piece.second);
    }

    bool begin(std::string_view header) {
        if (begun_) return true;  // the next entry; the walk has stopped
        begun_ = true;
        name_.assign(split_words(header, 1)[0].substr(0, kEntryNameWidth));
        // The definition starts after as many characters of the header as
        // the name has, wherever the name stood.
        definition_.assign(drop_prefix(header, name_.size()));
        return header.ends_with("\n");
    }
    void definition(std::string_view piece) {
        if (!stopped_) definition_.append(piece);
    }
    void residues_start() {
        residues_at_ = in_.tell();
        if (header_only_) stopped_ = true;
    }
    void residues(std::string_view piece) {
        if (stopped_) return;
        if (piece.starts_with("//")) {
            stopped_ = true;
            return;
        }
        chunk_.clear();
        append_printable(chunk_, piece);
        take(chunk_);
    }
    void take_clean_lines(LineReader& in) {
        if (stopped_) return;
        chunk_.clear();
        in.skip(append_clean_fasta_lines(chunk_, in.buffered(), FastaFilter::Printable));
        take(chunk_);
    }
    void finish(bool last) {
        if (last) return;
        second_entry_ = true;
        stopped_ = true;
    }
    bool stopped() const { return stopped_; }

    bool found() const { return begun_; }
    bool second_entry() const { return second_entry_; }
    const std::string& name() const { return name_; }
    std::string& definition() { return definition_; }
    long length() const { return length_; }
    std::int64_t residues_at() const { return residues_at_; }
    // The classification of the residue text as read (before its gaps go).
    ResidueKind type() const { return printable_ == 0 ? ResidueKind::Unknown : classify_counts(counts_); }
    // The letters of wanted piece i (those of it that the entry holds).
    std::string& kept(std::size_t i) { return kept_[i]; }
    const std::vector<std::pair<long, long>>& wanted() const { return wanted_; }

private:
    void take(std::string_view text) {
        if (text.empty()) return;
        printable_ += static_cast<long>(text.size());
        if (whole_) {
            const ClassifyingCounts k = count_classifying_letters(text);
            counts_.a += k.a, counts_.c += k.c, counts_.g += k.g, counts_.t += k.t, counts_.u += k.u;
            counts_.n += k.n, counts_.r += k.r, counts_.y += k.y, counts_.letters += k.letters;
        }
        std::string_view letters = text;
        if (!std::all_of(text.begin(), text.end(), is_upper)) {
            letters_.clear();
            for (char c : text)
                if (is_alpha(c)) letters_.push_back(to_upper(c));
            letters = letters_;
        }
        const long first = length_ + 1;
        length_ += static_cast<long>(letters.size());
        for (std::size_t i = 0; i < wanted_.size(); ++i) {
            const long from = std::max(first, wanted_[i].first), to = std::min(length_, wanted_[i].second);
            if (from <= to)
                kept_[i].append(letters.substr(static_cast<std::size_t>(from - first), static_cast<std::size_t>(to - from + 1)));
        }
        if (!whole_ && length_ >= last_wanted_) stopped_ = true;
    }

    LineReader& in_;
    std::vector<std::pair<long, long>> wanted_;
    std::vector<std::string> kept_;
    bool whole_, header_only_;
    long last_wanted_ = 0;
    bool begun_ = false, stopped_ = false, second_entry_ = false;
    std::string name_, definition_, chunk_, letters_;
    long length_ = 0, printable_ = 0;
    std::int64_t residues_at_ = -1;
    ClassifyingCounts counts_;
};

// One walk over the first entry of a FASTA file; nothing after the
// reader's messages when the file cannot be opened or read.
template <class Use>
bool scan_first_entry(const std::string& path, std::vector<std::pair<long, long>> wanted, bool whole, bool header_only,
                      Use&& use) {
    auto in = open_input(path);
    if (!in) return false;
    try {
        FirstEntryScan scan(*in, std::move(wanted), whole, header_only);
        walk_fasta_records(*in, scan);
        if (!in->finish()) {
            err("Error in reading sequence from file: %s\n", path.c_str());
            return false;
        }
        use(scan);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        err("Error in reading sequence from file: %s\n", path.c_str());
        return false;
    }
    return true;
}

// The first line of an index FILE.fai as samtools writes it, and whether
// another entry follows.
struct FaiEntry {
    std::string name;
    long length = 0;
    std::int64_t offset = 0;
    long line_bases = 0, line_bytes = 0;
    bool more = false;
};

// The index beside `path` when it is a readable index of the samtools form
// and not older than the file; nothing otherwise (the file is then read).
std::optional<FaiEntry> usable_index(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string index = path + ".fai";
    if (!fs::is_regular_file(index, ec) || !fs::is_regular_file(path, ec)) return std::nullopt;
    const auto index_time = fs::last_write_time(index, ec);
    if (ec) return std::nullopt;
    const auto file_time = fs::last_write_time(path, ec);
    if (ec || index_time < file_time) return std::nullopt;
    auto in = LineReader::open(index);
    if (!in) return std::nullopt;
    std::string_view line;
    std::vector<std::string_view> fields;
    if (in->read_line(line)) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        for (std::size_t at = 0;;) {
            const std::size_t tab = line.find('\t', at);
            fields.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
            if (tab == std::string_view::npos) break;
            at = tab + 1;
        }
    }
    FaiEntry entry;
    auto number = [](std::string_view text, auto& value) {
        const auto [end, ec2] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec2 == std::errc() && end == text.data() + text.size() && value >= 0;
    };
    if (fields.size() < 5 || fields[0].empty() || !number(fields[1], entry.length) ||
        !number(fields[2], entry.offset) || !number(fields[3], entry.line_bases) ||
        !number(fields[4], entry.line_bytes) || entry.line_bases < 1 || entry.line_bytes < entry.line_bases)
        return std::nullopt;
    entry.name.assign(fields[0]);
    std::string_view next;
    entry.more = in->read_line(next) && next.find_first_not_of(" \t\r\n") != std::string_view::npos;
    if (!in->finish()) return std::nullopt;
    return entry;
}

// The letters of positions from..to read at their place through the index;
// false when the file does not hold there what the index says (a byte
// other than a letter or a line end, or an early end).
bool read_indexed(LineReader& in, const FaiEntry& index, long from, long to, std::string& text) {
    const auto before = static_cast<std::int64_t>(from - 1);
    const std::int64_t at = index.offset + before / index.line_bases * index.line_bytes + before % index.line_bases;
    if (!in.seek(at)) return false;
    auto wanted = static_cast<std::size_t>(to - from + 1);
    text.reserve(wanted);
    std::string_view piece;
    while (wanted > 0 && in.read_piece(piece, LineReader::kPiece)) {
        for (char c : piece) {
            if (c == '\n') continue;
            if (!is_alpha(c)) return false;
            text.push_back(to_upper(c));
            if (--wanted == 0) break;
        }
    }
    return wanted == 0;
}

// The stretch through the index; nothing when the index does not serve
// (another entry first, positions that fail, bytes that do not fit), and
// the file is then read instead. Prints nothing until it succeeds.
std::optional<SequenceRecord> indexed_stretch(const std::string& input, const FaiEntry& index, long start, long end,
                                              bool from_last) {
    std::string name, definition;
    bool fits = false;
    const bool read = scan_first_entry(input, {}, false, true, [&](FirstEntryScan& scan) {
        name = scan.name();
        definition = scan.definition();
        fits = scan.found() && scan.residues_at() == index.offset &&
               index.name.substr(0, kEntryNameWidth) == name;
    });
    if (!read || !fits) return std::nullopt;
    const bool circular = g_settings.form;
    long from = start, to = end;
    if (to == 0) to = index.length;
    if (from_last && from < 0) from += index.length;
    if (circular) {
        if (to > index.length) to -= index.length;
        if (from < 1) from += index.length;
    }
    const StretchPlan plan = plan_stretch(index.length, from, to, circular);
    if (!plan.error.empty()) return std::nullopt;
    auto in = open_input(input);
    if (!in) return std::nullopt;
    std::vector<std::string> texts(plan.pieces.size());
    for (std::size_t i = 0; i < plan.pieces.size(); ++i)
        if (!read_indexed(*in, index, plan.pieces[i].first, plan.pieces[i].second, texts[i])) return std::nullopt;
    if (!in->finish()) return std::nullopt;

    // The type is taken from the stretch, as the residues around it are not
    // read: only a stretch of plain DNA (A, C, G, T and N, with a T) settles
    // it; any other is classified with the whole entry, which is then read.
    bool plain_dna = false;
    for (const auto& text : texts) {
        if (text.find_first_not_of("ACGTN") != std::string::npos) return std::nullopt;
        plain_dna = plain_dna || text.find('T') != std::string::npos;
    }
    if (!plain_dna) return std::nullopt;
    const ResidueKind type = ResidueKind::Dna;
    if (index.more) err("This seems to be a multi-fasta file. Stop reading.\n");
    announce_type(definition, type, true);
    out("Gaps were cleared.\n");  // only letters were counted
    settle_positions(index.length, from_last, circular, name, start, end);
    return stretch_record(name, definition, type, plan, std::move(texts));
}

// The pieces worth keeping while the entry is read, before its length is
// known: the stretch itself when the positions do not depend on the length.
std::vector<std::pair<long, long>> likely_pieces(long start, long end, bool from_last, bool circular) {
    if (end == 0 || (from_last && start < 0) || start < 1 || end < 1) return {};
    if (start <= end) return {{start, end}};
    if (circular) return {{start, std::numeric_limits<long>::max()}, {1, end}};
    return {};
}

// The stretch of the first FASTA entry, read through its index when one
// serves; every failure ends the program.
SequenceRecord fasta_stretch(const std::string& input, long start, long end, bool from_last) {
    if (auto index = usable_index(input)) {
        if (auto part = indexed_stretch(input, *index, start, end, from_last)) return std::move(*part);
    }
    const bool circular = g_settings.form;  // a FASTA entry is never marked circular
    const auto likely = likely_pieces(start, end, from_last, circular);
    std::string name, definition;
    ResidueKind type = ResidueKind::Unknown;
    long length = 0;
    std::vector<std::pair<long, long>> kept_pieces;
    std::vector<std::string> kept;
    const bool read = scan_first_entry(input, likely, true, false, [&](FirstEntryScan& scan) {
        if (scan.second_entry()) err("This seems to be a multi-fasta file. Stop reading.\n");
        name = scan.name();
        definition = std::move(scan.definition());
        type = scan.type();
        length = scan.length();
        kept_pieces = scan.wanted();
        for (std::size_t i = 0; i < kept_pieces.size(); ++i) kept.push_back(std::move(scan.kept(i)));
    });
    if (!read) {
        err("Error in reading file: %s\n", input.c_str());
        end_program(1);
    }
    announce_type(definition, type, true);
    out("Gaps were cleared.\n");  // only letters were counted
    settle_positions(length, from_last, circular, name, start, end);
    const StretchPlan plan = plan_stretch(length, start, end, circular);
    std::vector<std::string> texts;
    if (plan.error.empty()) {
        // Each piece from what was kept (trimmed in place and handed on, so
        // the stretch is never copied), else from a second walk.
        for (const auto& [from, to] : plan.pieces) {
            for (std::size_t i = 0; i < kept_pieces.size(); ++i)
                if (kept_pieces[i].first <= from && to <= std::min(kept_pieces[i].second, length)) {
                    kept[i].resize(static_cast<std::size_t>(to - kept_pieces[i].first + 1));
                    kept[i].erase(0, static_cast<std::size_t>(from - kept_pieces[i].first));
                    texts.push_back(std::move(kept[i]));
                    kept_pieces[i] = {1, 0};  // used up
                    break;
                }
        }
        kept.clear();
        if (texts.size() != plan.pieces.size()) {
            texts.clear();
            const bool again = scan_first_entry(input, plan.pieces, false, false, [&](FirstEntryScan& scan) {
                for (std::size_t i = 0; i < plan.pieces.size(); ++i) texts.push_back(std::move(scan.kept(i)));
            });
            if (!again) {
                err("Error in reading file: %s\n", input.c_str());
                end_program(1);
            }
        }
    }
    return stretch_record(name, definition, type, plan, std::move(texts));
}

// The strand the words or the console give ("n" or "c"); nothing when the
// words do not fit the command or the console ends. The dialog fills the
// file names and positions into words.
std::optional<std::string> gather_arguments(int count, CommandLine& words) {
    if (count == 1) {
        if (!ask_input_output(words)) return std::nullopt;
        out("Type start position and end position\n");
        out("Use a space between the values.\n");
        std::string start, end;
        if (!read_console_word(start) || !read_console_word(end)) return std::nullopt;
        words.set(3, start);
        words.set(4, end);
        out("Normal strand or complementary strand?\n");
        out("Type n[ormal] or c[omp].\n");
        return ask_strand();
    }
    if (count == 5) {
        out("Normal strand or complementary strand?");
        out("Type n[ormal] or c[omp].");
        return ask_strand();
    }
    if (count == 6) return words[5];
    show_help("getseq2");
    return std::nullopt;
}

// The stretch of the first entry of a file in a format other than FASTA,
// read whole, classified and its gaps cleared; a failure ends the program.
SequenceRecord entry_stretch(const std::string& input, SeqFormat format, long start, long end, bool from_last) {
    auto rec = read_sequence(input, format, ResidueKind::Unknown, g_settings.form);
    if (!rec) {
        err("Error in reading file: %s\n", input.c_str());
        end_program(1);
    }
    // read_sequence has already classified the entries whose reader gives
    // them no type (raw); the others carry their header's type.
    if (format != SeqFormat::Raw) rec->type = classify_residues(*rec);
    announce_type(rec->definition, rec->type, false);
    if (clear_gaps(*rec) != 0) {
        err("Error in clearing gaps in file: %s\n", rec->name.c_str());
        end_program(1);
    }
    out("Gaps were cleared.\n");
    // Circular when the setting says so or the entry does. Positions count
    // the residues that remain once gaps and blanks are gone.
    const bool circular = g_settings.form || rec->circular != 0;
    settle_positions(rec->length, from_last, circular, rec->name, start, end);
    const StretchPlan plan = plan_stretch(rec->length, start, end, circular);
    std::vector<std::string> texts;
    for (const auto& [from, to] : plan.pieces)
        texts.push_back(rec->residues.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1)));
    return stretch_record(rec->name, rec->definition, rec->type, plan, std::move(texts));
}

// The stretch start..end of the first entry of the input; every failure
// ends the program.
SequenceRecord read_stretch(const std::string& input, long start, long end, bool from_last) {
    const SeqFormat format = detect_format(input);
    if (format == SeqFormat::Error) {
        err("Unknown file format.\n");
        end_program(1);
    }
    out("Reading sequence...\n");
    if (format == SeqFormat::Fasta) return fasta_stretch(input, start, end, from_last);
    return entry_stretch(input, format, start, end, from_last);
}

// Writes the stretch to the output file, created empty. 0, or 1 after a
// message.
int write_stretch(const std::string& output, SequenceRecord& part) {
    auto target = OutputTarget::open_to(output, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", output.c_str());
        err("Error in opening output file: %s.\n", output.c_str());
        return 1;
    }
    const int written = write_fasta_entry(target->writer(), part, true, ' ', g_settings.line_length);
    if (!target->close() || written != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    return 0;
}

}  // namespace

int cmd_getseq2(int count, CommandLine& words) {
    const std::optional<std::string> strand = gather_arguments(count, words);
    if (!strand) return 1;
    const std::string input = words[1];
    const std::string output = words[2];

    // A position that is not a number is refused, not read as 0.
    for (const std::string& word : {words[3], words[4]}) {
        if (!is_position_text(word)) {
            err("This is not a position: %s\n", word.c_str());
            return 1;
        }
    }
    // "last" in the start position counts from the end: last-99 is -99.
    std::string start_text = words[3];
    bool from_last = remove_substring(start_text, "last") == 1;
    long start = parse_position(start_text);
    long end = parse_position(words[4]);

    SequenceRecord part = read_stretch(input, start, end, from_last);
    out("Sequence extracted.\n");

    if (*strand == "c") {
        if (part.type == ResidueKind::Dna || part.type == ResidueKind::Rna) {
            out("Converting to complementary sequence...\n");
            if (complement_seq(part) != 0) return 1;
        } else {
            out("No attempt to make complementary sequence.\n");
        }
    }
    if (write_stretch(output, part) != 0) return 1;
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
