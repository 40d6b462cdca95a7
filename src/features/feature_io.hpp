#pragma once
// What every feature command does before it reads: the format check, and
// the guard that keeps an output file from replacing its own input.

#include <string>

#include "input/formats.hpp"

namespace kavro {

// The format of a feature-table file: GenBank or EMBL nucleotide entries.
// Any other format: "This is not a GenBank or EMBL file.\n" and the program
// ends with status 1.
SeqFormat feature_file_format(const std::string& path);

// True (after "Output file %s is the input file.\n") when writing `output`
// would replace `input`: the same name or the same file by another path.
// The commands empty their output before reading, so this is checked first.
bool output_would_replace_input(const std::string& input, const std::string& output);

}  // namespace kavro
