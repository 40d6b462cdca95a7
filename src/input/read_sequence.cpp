// The first entry of a file, and the readers of raw, FASTA and NBRF files.
#include <ctime>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/fasta_walk.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// FASTA entry names are cut to this many characters.

// The local time in the 24-character form "Www Mmm dd hh:mm:ss yyyy".
std::string time_stamp() {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", days[tm.tm_wday % 7],
                  months[tm.tm_mon % 12], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 1900 + tm.tm_year);
    return buf;
}

}  // namespace

std::optional<SequenceRecord> read_sequence(const std::string& path, SeqFormat format, ResidueKind requested_type,
                                            bool circular) {
    auto in = open_input(path);
    if (!in) return std::nullopt;
    std::optional<SequenceRecord> rec;
    std::int64_t position = 0;
    switch (format) {
        case SeqFormat::Raw: rec = read_raw(*in, requested_type, path); break;
        case SeqFormat::Fasta: rec = read_fasta(*in, requested_type); break;
        case SeqFormat::Genbank:
        case SeqFormat::GenbankProtein: rec = read_genbank_entry(*in, position, requested_type, nullptr, circular); break;
        case SeqFormat::Embl:
        case SeqFormat::Swissprot:
        case SeqFormat::EmblUntyped:
        case SeqFormat::Uniprot: rec = read_embl_entry(*in, position, requested_type, nullptr, circular); break;
        case SeqFormat::Nbrf: rec = read_nbrf(*in); break;
        case SeqFormat::Pir: rec = read_pir_entry(*in, position); break;
        default: err("Unknown sequence format.\n"); return std::nullopt;
    }
    if (!in->finish() || !rec) {
        err("Error in reading sequence from file: %s\n", path.c_str());
        return std::nullopt;
    }
    if (rec->type == ResidueKind::Unknown) {
        rec->type = classify_residues(*rec);
        rec->definition += "\nData type was automatically set to: ";
        rec->definition += type_name(rec->type);
    }
    return rec;
}

// A raw file: every printable character of the file is a residue; the
// record is named after the file and stamped with the time it was read.
std::optional<SequenceRecord> read_raw(LineReader& in, ResidueKind requested_type, const std::string& path) {
    SequenceRecord rec;
    try {
        rec.name = path;
        rec.definition = "This is a raw sequence read on: " + time_stamp();
        std::string_view piece;
        while (in.read_piece(piece, LineReader::kPiece)) append_printable(rec.residues, piece);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    rec.length = static_cast<long>(rec.residues.size());
    rec.type = requested_type;
    return rec;
}

// A FASTA file: the first entry only. The header gives the name (its first
// word, at most kEntryNameWidth characters) and the definition; ";" lines are comments
// that join the definition; "//" or a second header ends the entry. A PIR
// ">P1;" header is read by that layout's rules (is_pir_header).
std::optional<SequenceRecord> read_fasta(LineReader& in, ResidueKind requested_type) {
    enum class State { BeforeHeader, HeaderContinues, Sequence, Pir };
    SequenceRecord rec;
    State state = State::BeforeHeader;
    PirPart pir = PirPart::None;
    bool line_start = true, in_annotation = false;
    ResidueKind declared = ResidueKind::Unknown;  // a PIR header's type code
    std::string_view piece;
    try {
        // One entry may be the whole file: room for it up front spares the
        // copies of geometric growth (untouched room costs no memory).
        reserve_hint(rec.residues, in.remaining_hint());
        for (;;) {
            // Clean sequence lines are taken straight from the buffer; as
            // pieces they would only go through the filter below.
            if (state == State::Sequence)
                in.skip(append_clean_fasta_lines(rec.residues, in.buffered(), FastaFilter::Printable));
            if (!in.read_piece(piece, LineReader::kPiece)) break;
            const bool at_line_start = line_start;
            const bool ends_line = piece.find('\n') != std::string_view::npos;
            line_start = ends_line;
            if (state == State::BeforeHeader && is_pir_header(piece)) {
                rec.name.assign(pir_entry_code(piece).substr(0, kEntryNameWidth));
                declared = pir_declared_type(piece);
                state = State::Pir;
                pir = ends_line ? PirPart::Title : PirPart::Header;
            } else if (state == State::Pir) {
                if (piece.starts_with(">")) {
                    err("This seems to be a multi-fasta file. Stop reading.\n");
                    break;
                }
                if (pir == PirPart::Header) {
                    if (ends_line) pir = PirPart::Title;
                } else if (pir == PirPart::Title) {
                    if (rec.definition.empty() && !piece.starts_with("\n")) rec.definition = " ";
                    rec.definition.append(piece);
                    if (ends_line) pir = PirPart::Residues;
                } else if (pir == PirPart::Residues) {
                    // Blanks between residue groups are layout, not residues.
                    if (in_annotation || (at_line_start && is_pir_annotation(piece))) {
                        in_annotation = !ends_line;
                    } else if (const std::size_t star = piece.find('*'); star != std::string_view::npos) {
                        append_graphic(rec.residues, piece.substr(0, star));
                        pir = PirPart::Done;
                    } else {
                        append_graphic(rec.residues, piece);
                    }
                }
            } else if (state == State::BeforeHeader) {
                if (!piece.starts_with(">")) continue;
                std::string_view rest = piece.substr(1);
                std::string_view word = split_words(rest, 1)[0];
                rec.name.assign(word.substr(0, kEntryNameWidth));
                // The definition starts after as many characters of the
                // header as the name has, wherever the name stood.
                rec.definition.assign(drop_prefix(rest, rec.name.size()));
                state = piece.ends_with("\n") ? State::Sequence : State::HeaderContinues;
            } else if (state == State::HeaderContinues) {
                rec.definition.append(piece);
                if (piece.find('\n') != std::string_view::npos) state = State::Sequence;
            } else {
                if (piece.starts_with("//")) break;
                if (piece.starts_with(">")) {
                    err("This seems to be a multi-fasta file. Stop reading.\n");
                    break;
                }
                if (piece.starts_with(";")) {
                    rec.definition.append(piece);
                    continue;
                }
                append_printable(rec.residues, piece);
            }
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    rec.length = static_cast<long>(rec.residues.size());
    rec.type = requested_type == ResidueKind::Unknown ? declared : requested_type;
    return rec;
}

// An NBRF entry: CODE line (name), NAME lines (definition), SEQUENCE, END.
// Always protein.
std::optional<SequenceRecord> read_nbrf(LineReader& in) {
    SequenceRecord rec;
    try {
        std::string_view rest;
        if (find_header(in, "CODE ", rest)) {
            rec.name.assign(code_name(rest));
            read_entry_body(in, rec, {.definition = "NAME ", .definition_stop = {}, .sequence = "SEQUENCE", .end = "END", .fast_lines = std::nullopt});
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    rec.length = static_cast<long>(rec.residues.size());
    rec.type = ResidueKind::Protein;
    return rec;
}

}  // namespace kavro
