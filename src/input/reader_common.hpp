#pragma once
// Pieces shared by the sequence readers: byte tables that collect, fold and
// filter residues in one pass, definition collection, word splitting and the
// guard that keeps the form setting as the caller left it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"
#include "input/line_reader.hpp"

namespace kavro::input_detail {

// Maps every byte to the byte to store, or to 0 to drop it (so a NUL byte
// in the input is always dropped).
struct ByteTable {
    std::array<unsigned char, 256> map{};
};

// Database residue lines: upper-cased; digits, spaces, control characters
// and bytes above 0x7E dropped; every other printable character ("-", "*",
// ".", letters) kept.
const ByteTable& residue_table();
// Printable characters (0x20-0x7E, space included) kept as they are.
const ByteTable& printable_table();
// Printable characters other than space kept as they are.
const ByteTable& graphic_table();

// Appends the bytes of text that the table keeps, mapped, to out.
void append_mapped(std::string& out, std::string_view text, const ByteTable& table);

// Residue collection (residue_table), the FASTA filter (printable_table)
// and the multi-FASTA filter (graphic_table), each with a fast path for
// clean text that the table would copy unchanged.
void append_residues(std::string& out, std::string_view text);
void append_printable(std::string& out, std::string_view text);
void append_graphic(std::string& out, std::string_view text);

// FASTA sequence lines taken whole: appends every clean line at the start of
// text up to the first line that is not, and returns the bytes of the lines
// it took. A clean line holds at most kPiece bytes with its newline (so it is
// a single piece), does not start with ">", ";" or "/" (headers, comments,
// the "//" end), and has only characters the filter keeps before its
// newline: the filter would copy it unchanged and drop the newline.
enum class FastaFilter { Printable, Graphic };
std::size_t append_clean_fasta_lines(std::string& out, std::string_view text, FastaFilter filter);

// The fixed layouts of database sequence lines: six groups of ten residues,
// the first at column `first` (0-based), eleven columns apart, and blanks or
// digits (a position count) in every other column up to the newline, which
// is byte `bytes` - 1.
//   GenBank:   "%9d" then " " and ten residues six times   (10, 76)
//   EMBL:      five blanks, the groups, the count to col 80 (5, 81)
//   SwissProt: five blanks, the groups                      (5, 71)
enum class ResidueLines { GenBank, Embl, SwissProt };

// Residue collection over whole lines of one layout at the start of text:
// appends the residues of every line that is clean (letters in the groups,
// blanks or digits elsewhere, one newline at the end) up to the first line
// that is not, and returns the bytes of the lines it took. Such a line is a
// single piece whose residue collection drops the blanks, digits and newline
// and upper-cases the letters, which is exactly what this copies.
std::size_t append_clean_residue_lines(std::string& out, std::string_view text, ResidueLines layout);

// Room set aside up front for residues a reader expects (the rest of the
// file, the length a header states). Only a guess: it is capped, and room
// that cannot be had is left to grow as the lines arrive.
inline constexpr std::int64_t kMaxReserve = std::int64_t{1} << 28;
void reserve_hint(std::string& text, std::int64_t bytes);

// Definition collection: a final newline of the piece becomes ";".
inline void collect_definition(std::string& definition, std::string_view piece) {
    if (!piece.empty() && piece.back() == '\n') {
        definition.append(piece.substr(0, piece.size() - 1));
        definition.push_back(';');
    } else {
        definition.append(piece);
    }
}

// ---- the parts every reader of a kind shares ----

// Moves to an entry's position; "File seek error.\n" when that fails.
[[nodiscard]] bool seek_entry(LineReader& in, std::int64_t position);

// Skips pieces up to the first that starts with `keyword` and gives the rest
// of that piece; false when the input ends first.
[[nodiscard]] bool find_header(LineReader& in, std::string_view keyword, std::string_view& rest);

// The name of a PIR or NBRF entry, the first word of `rest` (its header line
// without the keyword): a word over kEntryNameWidth characters is reported
// with the line and cut to that width.
std::string_view code_name(std::string_view rest);

// The body of a database entry after its header line. Per piece, in this
// order: a piece starting with `definition` turns definition collecting on
// and loses that keyword; one starting with `definition_stop` (when given)
// turns it off; one starting with `sequence` turns it off and residue
// collection on, and adds nothing; one starting with `end` ends the entry.
// Any other piece is collected into the definition while that is on, else
// into the residues once they are on. With `fast_lines`, clean sequence
// lines of that layout are taken whole from the read buffer.
struct EntryBody {
    std::string_view definition;
    std::string_view definition_stop;
    std::string_view sequence;
    std::string_view end;
    std::optional<ResidueLines> fast_lines;
};
void read_entry_body(LineReader& in, SequenceRecord& rec, const EntryBody& body);

// Alignment readers (CLUSTAL, PHYLIP): a row of the first block adds an
// entry named `name`. False after "Too long ID name.\n" (a name over
// name_width) or "Only one sequence.\n" (the second row repeats the first).
[[nodiscard]] bool add_alignment_entry(Collection& entries, std::string_view name, std::size_t name_width);
// The end of an alignment read: every entry's length and the type: the first
// entry's classification for all, or unknown when keep_unclassified is set.
void settle_alignment(Collection& entries, int keep_unclassified);

// The first `max` white-space-delimited words of text; missing words are
// empty views.
std::vector<std::string_view> split_words(std::string_view text, std::size_t max);

// True when text is one or more decimal digits.
[[nodiscard]] bool all_digits(std::string_view text);

// Drops the first n characters (all of them when the text is shorter).
inline std::string_view drop_prefix(std::string_view text, std::size_t n) {
    return text.substr(n < text.size() ? n : text.size());
}


// The GenBank and EMBL format help texts, written to standard error.
void genbank_format_help();
void embl_format_help();

}  // namespace kavro::input_detail
