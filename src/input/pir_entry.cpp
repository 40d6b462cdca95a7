// PIR (CODATA layout) entries, one at a time from a position: ENTRY line,
// TITLE (up to SEQUENCE) into the definition, residues, "///". Always protein.
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// Names longer than this are reported; the first kNameKeep characters stay.
constexpr std::size_t kNameWidth = 11;
constexpr std::size_t kNameKeep = 12;

}  // namespace

std::optional<SequenceRecord> read_pir_entry(LineReader& in, std::int64_t& position) {
    if (!in.seek(position)) {
        err("File seek error.\n");
        return std::nullopt;
    }
    SequenceRecord rec;
    std::string_view piece;
    try {
        bool found = false;
        while (in.read_piece(piece, LineReader::kPiece)) {
            if (!piece.starts_with("ENTRY ")) continue;
            std::string_view rest = piece.substr(6);
            std::string_view name = split_words(rest, 1)[0];
            if (name.size() > kNameWidth) {
                err("File format is strange. But we continue.\n");
                err("%.*s", static_cast<int>(rest.size()), rest.data());
                name = name.substr(0, kNameKeep);
            }
            rec.name.assign(name);
            found = true;
            break;
        }
        bool defining = false, sequence = false;
        while (found && in.read_piece(piece, LineReader::kPiece)) {
            if (piece.starts_with("TITLE ")) {
                defining = true;
                piece.remove_prefix(6);
            } else if (piece.starts_with("SEQUENCE")) {
                sequence = true;
                defining = false;
                continue;
            } else if (piece.starts_with("///")) {
                break;
            }
            if (defining)
                collect_definition(rec.definition, piece);
            else if (sequence)
                append_residues(rec.residues, piece);
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    rec.length = static_cast<long>(rec.residues.size());
    if (rec.length == 0 || rec.name.empty()) return std::nullopt;
    rec.type = TYPE_PROTEIN;
    position = in.tell();
    return rec;
}

}  // namespace kavro
