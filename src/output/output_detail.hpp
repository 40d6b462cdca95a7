#pragma once
// Pieces the sequence writers share: the printable-character table, writing
// the printable runs of a text with one call per run, fixed-width name fields
// and the collection size the alignment writers work on.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"

namespace kavro::output_detail {

inline const std::array<bool, 256> kPrintable = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = is_print(static_cast<char>(c));
    return t;
}();

inline bool printable(char c) { return kPrintable[static_cast<unsigned char>(c)]; }

// Writes the printable characters of text, skipping the others; returns how
// many were written.
std::size_t write_printable(Writer& out, std::string_view text);

// Name bytes are data: every byte is written as read (UTF-8 or Shift_JIS
// letters included) except the control bytes, which would break the line.
inline bool name_byte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u != 0x7F;
}

// A name field of field_width columns: the first name_width name bytes of
// the name, then blanks.
void write_name_field(Writer& out, std::string_view name, std::size_t name_width, std::size_t field_width);

// The names the rows of an alignment show: each entry's name bytes, cut to
// `cut` bytes (0: whole). A row without a name cannot be read back (it looks
// like a separator line), so an entry left without one is written as
// "unnamed_N", N its entry number, after a note on standard error.
std::vector<std::string> row_names(const Collection& seqs, std::size_t count, std::size_t cut);

// The number of entries the alignment writers and the sort work on (0 for no
// collection).
std::size_t collection_count(const Collection* seqs);

}  // namespace kavro::output_detail

namespace kavro::output_detail {

// "Empty sequence.\n" and 1 when the alignment writers have nothing to write.
[[nodiscard]] int empty_collection();
// "Writing error.\n" and 2 once the stream has failed; else 0.
[[nodiscard]] int check_written(Writer& out);
// Flushes; as check_written.
[[nodiscard]] int finish_written(Writer& out);

using AlignmentWriter = std::function<int(Writer&, Collection*, long)>;
// Creates or empties the file, writes the collection, closes the file, and
// reports: "Trouble in writing file: %s\n" with the writer's result, or the
// "w" progress mark and 0.
[[nodiscard]] int write_alignment_file(const std::string& path, Collection* seqs, long name_width,
                                       const AlignmentWriter& write);

}  // namespace kavro::output_detail
