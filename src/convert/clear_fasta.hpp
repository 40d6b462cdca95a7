#pragma once
// Clear mode on a FASTA file, one record at a time: the same records, names
// and residues as reading the whole collection, clearing its gaps and
// writing it, but memory holds only the record being read.

#include <string_view>

#include "convert/tofast_options.hpp"
#include "core/sequence.hpp"

namespace kavro {

// Reads opts.input_path record by record; each record keeps only its
// letters, upper-cased, and is written with its name alone when its kind
// (classify_residues) is the kind of the first record. 0, or 1 when the output cannot
// be created; a read or write failure ends the program (status 1).
[[nodiscard]] int clear_fasta_stream(TofastOptions& opts);

// Clear mode writes only records of the collection's kind (the kind of its
// first record with residues). Every record it leaves out is named on
// standard error, and the count closes the reading.
class LeftOutRecords {
public:
    // True when the record is written; otherwise says why it is not.
    bool keep(const SequenceRecord& rec, ResidueKind kind, ResidueKind type);
    void summary() const;
    long count() const { return count_; }

private:
    long count_ = 0;
};

// classify_residues of residues that hold upper-case letters only (as cleared residues
// do): the same sums and order of tests, on counts taken in one vectorised pass.
ResidueKind classify_letters(std::string_view letters);

}  // namespace kavro
