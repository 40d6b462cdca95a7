// PIR (CODATA layout) entries, one at a time from a position: ENTRY line,
// TITLE (up to SEQUENCE) into the definition, residues, "///". Always protein.
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

std::optional<SequenceRecord> read_pir_entry(LineReader& in, std::int64_t& position) {
    if (!seek_entry(in, position)) return std::nullopt;
    SequenceRecord rec;
    try {
        std::string_view rest;
        if (find_header(in, "ENTRY ", rest)) {
            rec.name.assign(code_name(rest));
            // TITLE is collected up to SEQUENCE.
            read_entry_body(in, rec, {.definition = "TITLE ", .definition_stop = {}, .sequence = "SEQUENCE", .end = "///", .fast_lines = std::nullopt});
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    rec.length = static_cast<long>(rec.residues.size());
    if (rec.length == 0 || rec.name.empty()) return std::nullopt;
    rec.type = ResidueKind::Protein;
    position = in.tell();
    return rec;
}

}  // namespace kavro
