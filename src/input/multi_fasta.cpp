// Multi-FASTA files: every entry of the file, in order.
#include <cstring>
#include <functional>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// Names longer than this are cut (at an "=" within them when there is one).
constexpr std::size_t kNameWidth = 30;
// A progress dot for every this many entries.
constexpr long kDotEvery = 100;
// Room left unused in a record that is not worth a copy to give back.
constexpr std::size_t kSmallSlack = 64;

// Sets name and definition from a header piece (without its ">").
void parse_header(SequenceRecord& rec, std::string_view rest) {
    std::size_t start = 0;
    while (start < rest.size() && is_space(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !is_space(rest[end])) ++end;
    std::string_view word = rest.substr(start, end - start);
    if (word.size() <= kNameWidth) {
        rec.name.assign(word);
        rec.definition.assign(rest.substr(end));
        return;
    }
    // A long name such as "gi=12345=description" is cut at the last "="
    // within its first 31 characters.
    for (std::size_t i = kNameWidth + 1; i-- > 0;) {
        if (word[i] == '=') {
            rec.name.assign(word.substr(0, i));
            rec.definition.assign(rest.substr(start + i + 1));
            return;
        }
    }
    rec.name.assign(word.substr(0, kNameWidth));
    rec.definition.assign(rest.substr(start + kNameWidth));
}

// The bytes of text before its first line that starts with ">"; npos when
// text holds no such line.
std::size_t bytes_before_header(std::string_view text) {
    if (text.starts_with(">")) return 0;
    for (std::size_t from = 0; from < text.size();) {
        const void* hit = std::memchr(text.data() + from, '>', text.size() - from);
        if (!hit) break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (text[at - 1] == '\n') return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

}  // namespace

bool read_multi_fasta_each(const std::string& path, ResidueKind requested_type,
                           const std::function<void(SequenceRecord&)>& take) {
    auto in = open_input(path);
    if (!in) return false;
    ResidueKind working_type = (requested_type >= ResidueKind::Dna && requested_type <= ResidueKind::Protein)
                                   ? requested_type
                                   : ResidueKind::Unknown;
    SequenceRecord current;
    bool have_entry = false;
    bool header_continues = false, in_residues = false;
    long finished = 0;
    // Where the current entry's residues collect. When the next header is
    // already in the read buffer, the residues cannot outnumber the bytes
    // before it: they go straight into the record, reserved at that size.
    // Otherwise they collect in `scratch` and the finished entry gets an
    // exact copy. Either way a kept collection holds no slack of geometric growth.
    std::string scratch;
    bool direct = false;
    auto start_residues = [&] {
        const std::string_view ahead = in->buffered();
        std::size_t bound = bytes_before_header(ahead);
        if (bound == std::string_view::npos && in->remaining_hint() == static_cast<std::int64_t>(ahead.size()))
            bound = ahead.size();  // the rest of the file is in the buffer
        direct = bound != std::string_view::npos;
        if (direct) current.residues.reserve(bound);
    };
    auto residues = [&]() -> std::string& { return direct ? current.residues : scratch; };

    // Closes the current entry: its length, its type and, with detection on,
    // the type every later entry takes. The last entry is classified on its
    // own when no type has been settled.
    auto finish = [&](bool last) {
        SequenceRecord& rec = current;
        if (!direct) {
            rec.residues.assign(scratch);
            scratch.clear();
        } else if (rec.residues.capacity() - rec.residues.size() > rec.residues.size() / 8 + kSmallSlack) {
            // Fewer residues than the room kept (a long line cut into pieces
            // can hold a header).
            rec.residues.shrink_to_fit();
        }
        rec.length = static_cast<long>(rec.residues.size());
        if (!last && working_type == ResidueKind::Unknown) working_type = classify_residues(rec);
        rec.type = working_type;
        if (last && rec.type == ResidueKind::Unknown) rec.type = classify_residues(rec);
        if (++finished % kDotEvery == 0) err(".");
        take(rec);
        current = SequenceRecord{};
    };

    try {
        std::string_view piece;
        for (;;) {
            // Clean residue lines are taken straight from the buffer; as
            // pieces they would only go through the filter below.
            if (in_residues && !header_continues)
                in->skip(append_clean_fasta_lines(residues(), in->buffered(), FastaFilter::Graphic));
            if (!in->read_piece(piece, LineReader::kPiece)) break;
            if (header_continues || (in_residues && piece.starts_with(";"))) {
                current.definition.append(piece);
                if (piece.find('\n') != std::string_view::npos) {
                    // A comment among the residues changes nothing; the end
                    // of a long header starts them.
                    if (header_continues) start_residues();
                    header_continues = false;
                    in_residues = true;
                }
            } else if (piece.starts_with(">")) {
                if (in_residues) finish(false);
                have_entry = true;
                direct = false;
                parse_header(current, piece.substr(1));
                if (piece.find("circular") != std::string_view::npos) current.circular = 1;
                in_residues = current.definition.ends_with("\n");
                header_continues = !in_residues;
                if (in_residues) start_residues();
            } else if (in_residues) {
                append_graphic(residues(), piece);
            }
            // Anything before the first header is skipped.
        }
        if (have_entry) finish(true);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return false;
    }
    err(".\n");
    g_entry_count = finished;
    return true;
}

std::optional<Collection> read_multi_fasta(const std::string& path, ResidueKind requested_type) {
    Collection entries;
    try {
        if (!read_multi_fasta_each(path, requested_type,
                                   [&](SequenceRecord& rec) { entries.push_back(std::move(rec)); }))
            return std::nullopt;
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    g_entry_count = static_cast<long>(entries.size());
    return entries;
}

}  // namespace kavro
