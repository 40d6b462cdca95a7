#pragma once
// Reading and writing whole alignments for the alignment tools: the reader
// chosen by the detected format, and the writer of a format, both working on
// the collection's own size.

#include <optional>
#include <string>

#include "core/sequence.hpp"
#include "input/formats.hpp"

namespace kavro {

// The alignment of a CLUSTAL or PHYLIP file (entries classified from the
// first one); nothing after the reader's message.
[[nodiscard]] std::optional<Collection> read_alignment(const std::string& path, SeqFormat format);

enum class AlignmentLayout { Clustal, Phylip, Nexus };

// Writes every entry of the collection to the file in that layout; the file
// wrapper's result (0, or non-zero after its message). The PHYLIP reader
// takes at least 2 entries and 11 columns: a smaller alignment is refused
// with a message before the file is touched, rather than written unreadable.
// NEXUS rows follow line_length; the other layouts have fixed rows.
[[nodiscard]] int write_alignment(const std::string& path, Collection& seqs, AlignmentLayout layout, int line_length);

// Orders the entries by their names cut at the first "_" ("HBA_HUMAN" sorts
// as "HBA") and names each by its cut name, unless that would leave it
// nameless or share it with another entry: then the entry keeps its whole
// name. False, after a message, when whole names repeat, so that sorted rows
// could no longer be told apart.
[[nodiscard]] bool sort_by_cut_names(Collection& seqs);

// The layout an alignment read in that format is written back in.
inline AlignmentLayout layout_of(SeqFormat format) {
    return format == SeqFormat::Phylip ? AlignmentLayout::Phylip : AlignmentLayout::Clustal;
}

}  // namespace kavro
