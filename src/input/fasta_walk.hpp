#pragma once
// The one walk over multi-FASTA text, shared by the collection reader and
// clear mode's streaming path. Pieces of at most 512 characters, by these
// rules:
//   - text before the first header is skipped;
//   - a piece that starts with ">" starts a record: its first word is the
//     name (split_fasta_header), the rest of the line its definition; a
//     header longer than a piece continues until the piece that ends its line;
//   - among residues, a piece that starts with ";" is a comment (definition);
//   - every other piece is residue text.
// Records in the PIR/NBRF ">P1;" layout (a two-letter type code, ";" and the
// entry code) follow that layout's own rules: see is_pir_header.
//
// The handler decides what to keep:
//   bool begin(std::string_view header)  a ">" piece, ">" removed; true when
//                                         the header is complete (residues next)
//   void definition(std::string_view)    a continued header piece or a comment
//   void residues_start()                the residues of the record begin
//   void residues(std::string_view)      a residue piece
//   void take_clean_lines(LineReader&)   may take whole residue lines from the
//                                         read buffer (LineReader::skip)
//   void finish(bool last)               the record ends (at the next header, or
//                                         last at the end of the input)
//   bool stopped()                       true to end the walk early
//   void declared_type(ResidueKind)      optional: the type a PIR header's code
//                                         names (Unknown for N1, N3 and XX)

#include <string_view>

#include "core/sequence.hpp"
#include "input/line_reader.hpp"

namespace kavro {

// A PIR/NBRF header: ">", a type code (P1, F1 protein; D1, DL, DC DNA; RL,
// RC RNA; N1, N3 nucleic; XX unknown), ";" and the entry code, which is the
// name. The next line is the title (the definition), the residues end at
// "*", and annotation lines (C;, R;, A;, F; ...) are not residues.
inline bool is_pir_header(std::string_view piece) {
    static constexpr std::string_view kTypeCodes[] = {"P1", "F1", "D1", "DL", "DC", "RL", "RC", "N1", "N3", "XX"};
    if (piece.size() < 4 || piece[0] != '>' || piece[3] != ';') return false;
    for (std::string_view code : kTypeCodes)
        if (piece.substr(1, 2) == code) return true;
    return false;
}

// The type a PIR header's code names; Unknown for the nucleic codes N1 and
// N3 (DNA or RNA) and for XX.
inline ResidueKind pir_declared_type(std::string_view piece) {
    const char c = piece[1];
    if (c == 'P' || c == 'F') return ResidueKind::Protein;
    if (c == 'D') return ResidueKind::Dna;
    if (c == 'R') return ResidueKind::Rna;
    return ResidueKind::Unknown;
}

// The entry code of a PIR header piece: its first word after the ";".
inline std::string_view pir_entry_code(std::string_view piece) {
    std::size_t start = 4;
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (start < piece.size() && blank(piece[start])) ++start;
    std::size_t end = start;
    while (end < piece.size() && !blank(piece[end])) ++end;
    return piece.substr(start, end - start);
}

// An annotation line of a PIR entry: a capital letter and ";" (or a ";"
// comment, as in FASTA).
inline bool is_pir_annotation(std::string_view line) {
    return line.starts_with(";") || (line.size() >= 2 && line[0] >= 'A' && line[0] <= 'Z' && line[1] == ';');
}

// Where a PIR entry's reading stands: its header line, its title line, its
// residues, or past the "*" that ends them.
enum class PirPart { None, Header, Title, Residues, Done };

template <class Handler>
void walk_fasta_records(LineReader& in, Handler& h) {
    bool have_record = false, header_continues = false, in_residues = false;
    PirPart pir = PirPart::None;
    bool line_start = true;         // the piece begins a line
    bool in_annotation = false;     // the rest of a long PIR annotation line
    bool title_begun = false;
    std::string_view piece;
    for (;;) {
        if (in_residues && pir == PirPart::None) h.take_clean_lines(in);
        if (h.stopped() || !in.read_piece(piece, LineReader::kPiece)) break;
        const bool at_line_start = line_start;
        const bool ends_line = piece.find('\n') != std::string_view::npos;
        line_start = ends_line;
        if (pir != PirPart::None && !piece.starts_with(">")) {
            if (pir == PirPart::Header) {
                if (ends_line) pir = PirPart::Title;
            } else if (pir == PirPart::Title) {
                // The title is the definition, after a blank as a FASTA
                // header's text would be.
                if (!title_begun && !piece.starts_with("\n") && !piece.starts_with("\r")) h.definition(" ");
                title_begun = true;
                h.definition(piece);
                if (ends_line) {
                    h.residues_start();
                    pir = PirPart::Residues;
                }
            } else if (pir == PirPart::Residues) {
                if (in_annotation || (at_line_start && is_pir_annotation(piece))) {
                    in_annotation = !ends_line;
                } else if (const std::size_t star = piece.find('*'); star != std::string_view::npos) {
                    h.residues(piece.substr(0, star));
                    pir = PirPart::Done;
                } else {
                    h.residues(piece);
                }
            }
            continue;
        }
        if (header_continues || (in_residues && piece.starts_with(";"))) {
            h.definition(piece);
            if (piece.find('\n') != std::string_view::npos) {
                // A comment among the residues changes nothing; the end of a
                // long header starts them.
                if (header_continues) h.residues_start();
                header_continues = false;
                in_residues = true;
            }
        } else if (piece.starts_with(">") && is_pir_header(piece)) {
            if (have_record) h.finish(false);
            have_record = true;
            h.begin(pir_entry_code(piece));
            if constexpr (requires { h.declared_type(ResidueKind::Unknown); })
                h.declared_type(pir_declared_type(piece));
            header_continues = in_residues = in_annotation = title_begun = false;
            pir = ends_line ? PirPart::Title : PirPart::Header;
        } else if (piece.starts_with(">")) {
            if (have_record) h.finish(false);
            have_record = true;
            pir = PirPart::None;
            in_residues = h.begin(piece.substr(1));
            header_continues = !in_residues;
            if (in_residues) h.residues_start();
        } else if (in_residues) {
            h.residues(piece);
        }
    }
    if (have_record && !h.stopped()) h.finish(true);
}

}  // namespace kavro
