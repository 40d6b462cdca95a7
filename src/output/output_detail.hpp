#pragma once
// Pieces the sequence writers share: the printable-character table, writing
// the printable runs of a text with one call per run, fixed-width name fields
// and the collection size the alignment writers work on.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

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

// A name field of field_width columns: the first name_width printable
// characters of the name, then blanks.
void write_name_field(Writer& out, std::string_view name, std::size_t name_width, std::size_t field_width);

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

using AlignmentWriter = int (*)(Writer&, Collection*, long);
// Creates or empties the file, writes the collection, closes the file, and
// reports: "Trouble in writing file: %s\n" with the writer's result, or the
// "w" progress mark and 0.
[[nodiscard]] int write_alignment_file(const std::string& path, Collection* seqs, long name_width, AlignmentWriter write);

}  // namespace kavro::output_detail
