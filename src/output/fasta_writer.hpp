#pragma once
// FASTA output: one record to an open stream or a named file, batches with
// length filters or run masking, ranges of a batch.

#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "output/output_target.hpp"

namespace kavro {

// The name on a header line: its bytes as read (a UTF-8 "Pérez_1" stays
// whole; names are data) without control bytes, or "unnamed" when nothing
// is left, so that no record is written without a name.
void write_fasta_name(Writer& out, std::string_view name);

// Residue lines hold line_length letters (at least 1) in every writer below.
// 0 written; 1 null record; 2 write error; 3 length mismatch.
// The record is not const: a newline among its residues is written as a line
// end and replaced by "-" in the record.
[[nodiscard]] int write_fasta_entry(Writer& out, SequenceRecord* rec, bool with_definition, char separator,
                                    int line_length);
[[nodiscard]] inline int write_fasta_entry(Writer& out, SequenceRecord& rec, bool with_definition, char separator,
                                           int line_length) {
    return write_fasta_entry(out, &rec, with_definition, separator, line_length);
}
// write_fasta_entry without its messages ("Writing error.", "Error in
// sequence length."), for callers that report later: 0, 2 or 3.
[[nodiscard]] int write_fasta_entry_quietly(Writer& out, SequenceRecord& rec, bool with_definition, char separator,
                                            int line_length);
// Appends one entry to a file; 0, or 1 (null record, file not opened) or the
// entry's non-zero result.
[[nodiscard]] int write_fasta_file(const std::string& path, SequenceRecord* rec, bool with_definition, char separator,
                                   int line_length);

[[nodiscard]] int write_fasta_batch(Writer& out, Collection& batch, long minimum, long maximum, int line_length);
// Appends the batch to the file, or writes it to standard output when the
// destination says so. 0, or 1 after a message.
[[nodiscard]] int write_fasta_batch_file(const OutputDestination& destination, Collection& batch, long minimum,
                                         long maximum, int line_length);
[[nodiscard]] int write_fasta_all(const OutputDestination& destination, Collection& batch, int line_length);
[[nodiscard]] int write_fasta_range(Writer& out, Collection& batch, long first, long end, int line_length);
[[nodiscard]] int write_fasta_range_file(const std::string& path, Collection& batch, long first, long end,
                                         int line_length);

// Replaces every run of at least n_threshold N (then q_threshold Q) that is
// followed by another character with "NxKKKx" + letter, announcing each on
// standard output as "xKKKx".
void mask_long_runs(std::string& residues, long n_threshold, long q_threshold);
// The same, the announcements appended to `announcements` instead.
void mask_long_runs(std::string& residues, long n_threshold, long q_threshold, std::string& announcements);

}  // namespace kavro
