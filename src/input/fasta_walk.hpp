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

#include <string_view>

#include "input/line_reader.hpp"

namespace kavro {

template <class Handler>
void walk_fasta_records(LineReader& in, Handler& h) {
    bool have_record = false, header_continues = false, in_residues = false;
    std::string_view piece;
    for (;;) {
        if (in_residues) h.take_clean_lines(in);
        if (h.stopped() || !in.read_piece(piece, LineReader::kPiece)) break;
        if (header_continues || (in_residues && piece.starts_with(";"))) {
            h.definition(piece);
            if (piece.find('\n') != std::string_view::npos) {
                // A comment among the residues changes nothing; the end of a
                // long header starts them.
                if (header_continues) h.residues_start();
                header_continues = false;
                in_residues = true;
            }
        } else if (piece.starts_with(">")) {
            if (have_record) h.finish(false);
            have_record = true;
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
