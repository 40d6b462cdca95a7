#pragma once
// Steps shared by the feature commands' handlers: reading the start and end
// arguments ("S n", "E n"), preparing an entry's residues, and the end of
// the entry loop.

#include <string>

#include "core/sequence.hpp"
#include "features/feature_sequences.hpp"
#include "features/feature_table.hpp"

namespace kavro {

// "S", "s", "E" or "e" and a position expression; false for another
// reference. The reference is made upper case.
[[nodiscard]] bool parse_feature_end(const std::string& reference, const std::string& offset, EndArgument& end);

// Dialog: reads "ref offset ref offset" from standard input, showing the
// question lines before each try, until both references are valid. False
// when standard input ends.
[[nodiscard]] bool ask_feature_ends(const char* question_utf8, EndArgument& start, EndArgument& end);

// The type of the entry's residues (classification) and the residues
// without gaps; 1 after "Error in clearing gaps in file: %s\n".
[[nodiscard]] int classify_and_clear_gaps(SequenceRecord& entry);

// The start line of a feature command's loop: a read that gave no entry.
// MissingEndLine gives "End tag // is missing.\n"; Failed gives `message`
// (the reader cannot move past that entry). Returns the command's status.
[[nodiscard]] int end_of_entries(ReadOutcome outcome, const char* message);

}  // namespace kavro
