#pragma once
// Steps shared by the feature commands' handlers: refusing an output that
// is the input, and reading the start and end arguments ("S n", "E n").

#include <string>

#include "core/sequence.hpp"
#include "features/feature_sequences.hpp"
#include "features/feature_table.hpp"

namespace kavro {

// True (after "The output file is the input file: %s\n") when writing the
// output would empty or overwrite the input before it is read. Standard
// output never is the input.
bool refuse_output_onto_input(const std::string& input, const std::string& output);

// "S", "s", "E" or "e" and a position expression; false for another
// reference. The reference is made upper case.
bool parse_feature_end(const std::string& reference, const std::string& offset, EndArgument& end);

// Dialog: reads "ref offset ref offset" from standard input, showing the
// question lines before each try, until both references are valid. False
// when standard input ends.
bool ask_feature_ends(const char* question_utf8, EndArgument& start, EndArgument& end);

// The type of the entry's residues (classification) and the residues
// without gaps; 1 after "Error in clearing gaps in file: %s\n".
int classify_and_clear_gaps(SequenceRecord& entry);

// The start line of a feature command's loop: a read that gave no entry.
// MissingEndLine gives "End tag // is missing.\n"; Failed gives `message`
// (the reader cannot move past that entry). Returns the command's status.
int end_of_entries(ReadOutcome outcome, const char* message);

}  // namespace kavro
