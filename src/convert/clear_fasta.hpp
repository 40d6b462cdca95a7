#pragma once
// Clear mode on a FASTA file, one record at a time: the same records, names
// and residues as reading the whole collection, clearing its gaps and
// writing it, but memory holds only the record being read.

#include <string_view>

#include "convert/tofast_options.hpp"

namespace kavro {

// Reads opts.input_path record by record; each record keeps only its
// letters, upper-cased, and is written with its name alone when its kind
// (classify_residues) is the kind of the first record. 0, or 1 when the output cannot
// be created; a read or write failure ends the program (status 1).
int clear_fasta_stream(TofastOptions& opts);

// classify_residues of residues that hold upper-case letters only (as cleared residues
// do): the same sums and order of tests, on counts taken in one vectorised pass.
ResidueKind classify_letters(std::string_view letters);

}  // namespace kavro
