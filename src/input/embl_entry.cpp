// EMBL, SwissProt and UniProt entries, one at a time from a position: the
// ID line (three layouts), AC/DE/GN/OS/OC/OG lines into the definition, the
// residues after SQ, "//".
#include <algorithm>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

constexpr std::size_t kMoleculeBelow = 28;

void strange_id_line(const std::string& line) {
    err("\nStrange ID line, but we continue.\n");
    err("%s\n", line.c_str());
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

struct IdLine {
    std::string name;
    long header_length = 0;
    bool circular = false;  // the ID line says so
};

// Parses the ID line (without "ID "); may change the requested type and
// the record's molecule. False after a message when the entry is refused.
bool parse_id_line(std::string line, SequenceRecord& rec, ResidueKind& requested_type, IdLine& id) {
    if (contains(line, "circular")) id.circular = true;
    replace_char(line, ';', ' ');
    auto w = split_words(line, 3);
    std::string_view second = w[1];
    std::string molecule(w[2]);
    std::string topology;
    if (molecule == "circular") {
        w = split_words(line, 4);
        topology.assign(w[2]);
        molecule.assign(w[3]);
    }
    std::string_view length_word;
    if (second == "SV") {
        // name SV version topology molecule class division length unit
        w = split_words(line, 10);
        molecule.assign(w[4]);
        length_word = w[7];
        if (molecule == "genomic" || molecule == "other" || molecule == "unassigned") {
            molecule.assign(w[5]);
            length_word = w[8];
        }
        if (contains(molecule, "DNA"))
            requested_type = ResidueKind::Dna;
        else if (contains(molecule, "RNA"))
            requested_type = ResidueKind::Rna;
    } else if (second == "Reviewed" || second == "Unreviewed") {
        // name status length unit
        replace_char(line, '.', ' ');
        w = split_words(line, 4);
        molecule = "PRT";
        length_word = w[2];
        requested_type = ResidueKind::Protein;
    } else {
        // name class molecule [division] length unit
        if (molecule.size() < kMoleculeBelow) rec.set_molecule(molecule);
        tail_string(molecule, 3);
        if (molecule == "PRT") {
            if (requested_type == ResidueKind::Dna || requested_type == ResidueKind::Rna) {
                err("This is a protein sequence.\n");
                embl_format_help();
                return false;
            }
            w = split_words(line, 5);
            length_word = w[3];
        } else if (molecule == "DNA" || molecule == "RNA") {
            if (topology == "circular") {
                w = split_words(line, 7);
                length_word = w[5];
            } else {
                w = split_words(line, 6);
                length_word = w[4];
            }
        } else if (molecule == "XXX") {
            w = split_words(line, 6);
            length_word = w[4];
            molecule = "unknown";
            strange_id_line(line);
        } else {
            molecule = "unknown";
            embl_format_help();
            strange_id_line(line);
        }
    }
    if (all_digits(length_word)) id.header_length = digits_value(length_word, kInt32Max);
    std::string_view name = w[0];
    if (name.size() > kEntryNameWidth) {
        err("\n%s\n", line.c_str());
        embl_format_help();
        err("But we continue.\n");
        name = name.substr(0, kEntryNameWidth);
    }
    id.name.assign(name);
    return true;
}

bool definition_line(std::string_view piece) {
    return piece.starts_with("DE ") || piece.starts_with("GN ") || piece.starts_with("OS ") ||
           piece.starts_with("OC ") || piece.starts_with("OG ");
}

void take_clean_lines(LineReader& in, std::string& residues) {
    for (;;) {
        std::size_t used = append_clean_residue_lines(residues, in.buffered(), ResidueLines::Embl);
        used += append_clean_residue_lines(residues, in.buffered().substr(used), ResidueLines::SwissProt);
        if (used == 0) return;
        in.skip(used);
    }
}

}  // namespace

std::optional<SequenceRecord> read_embl_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type,
                                              EmptyEntry* empty, bool circular) {
    if (empty) *empty = EmptyEntry{};
    if (!seek_entry(in, position)) return std::nullopt;
    SequenceRecord rec;
    IdLine id;
    std::string_view piece;
    bool found = false;
    try {
        std::string_view rest;
        found = find_header(in, "ID ", rest);
        if (found) {
            if (!parse_id_line(std::string(rest), rec, requested_type, id)) return std::nullopt;
            rec.name = id.name;
        }
        // Room for the residues the ID line announces (never more than the
        // rest of the file can hold), so that they need not grow.
        reserve_hint(rec.residues, std::min<std::int64_t>(id.header_length, in.remaining_hint()));
        bool sequence = false;
        while (found) {
            // Clean sequence lines (EMBL, or SwissProt without the count)
            // are taken straight from the buffer; as pieces they would only
            // go through residue collection below.
            if (sequence) take_clean_lines(in, rec.residues);
            if (!in.read_piece(piece, LineReader::kPiece)) break;
            // Residue lines start with blanks: test the keywords only when
            // the piece starts with a letter or "/".
            const char c0 = piece.empty() ? '\0' : piece[0];
            if (c0 != ' ' && c0 != '\t') {
                if (piece.starts_with("AC ")) {
                    collect_definition(rec.definition, piece);
                    continue;
                }
                if (definition_line(piece)) {
                    collect_definition(rec.definition, drop_prefix(piece, 5));
                    continue;
                }
                if (piece.starts_with("SQ ")) {
                    sequence = true;
                    continue;
                }
                if (piece.starts_with("//")) break;
            }
            if (sequence) append_residues(rec.residues, piece);
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }

    rec.length = static_cast<long>(rec.residues.size());
    if (rec.length != id.header_length) {
        err("Sequence length is %ld in the header of file,\n", id.header_length);
        err("but %ld bases were read.\n", rec.length);
    }
    if (rec.length == 0) {
        if (found && empty) *empty = EmptyEntry{rec.name, in.tell()};
        return std::nullopt;
    }
    if (circular || id.circular) rec.circular = 1;
    rec.type = requested_type;
    position = in.tell();
    return rec;
}

}  // namespace kavro
