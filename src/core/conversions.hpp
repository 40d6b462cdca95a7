#pragma once
// The conversions tofast and sites apply: DNA to RNA and back for one
// record, and the batch forms over a collection (reverse complement, RNA,
// DNA, gap clearing). Each returns 0 on success and 1 after its message.

#include "core/sequence.hpp"

namespace kavro {

// DNA only ("This is not DNA.\n" otherwise): letters upper-cased, T to U;
// type RNA, "_RNA" added to the name, "; Converted to RNA." to the definition.
[[nodiscard]] int to_rna(SequenceRecord& rec);
// RNA only ("This is not RNA.\n" otherwise): letters upper-cased, U to T;
// type DNA, "_DNA" and "; Converted to DNA." added.
[[nodiscard]] int to_dna(SequenceRecord& rec);

// Apply the one-record operation to every record, stopping at the first
// failure. A progress
// dot follows records 0, 10, 20, ... and a newline ends the pass.
[[nodiscard]] int complement_all(Collection& seqs);
[[nodiscard]] int to_rna_all(Collection& seqs);
[[nodiscard]] int to_dna_all(Collection& seqs);
[[nodiscard]] int clear_gaps_all(Collection& seqs);

}  // namespace kavro
