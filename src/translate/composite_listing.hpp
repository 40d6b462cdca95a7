#pragma once
// The composite listing: a nucleotide sequence in blocks with the
// translations of its frames laid under it, each amino acid under the first
// base of its codon as read on its own strand.
//
// Per block of w positions (w = 60, or the line length rounded down to a
// multiple of 3 when it is from 21 to 91) the lines are "Frame 1" to
// "Frame 3", "Normal" (the sequence) and, in the six-frame form,
// "Complement" (the complementary base under each base) and "Frame -1" to
// "Frame -3". Frame 1 ends with the codon count so far, Normal with the
// position of its last base, Complement with that base's position counted
// from the other end, and the minus frame whose codons end with the block
// with its codon count from that end.

#include <string>

#include "core/sequence.hpp"
#include "translate/codon_table.hpp"

namespace kavro {

// Each block is made from the sequence alone: its complement and the codons
// of the six frames are read off the residues as the block is written, so
// nothing but the sequence is held; blocks are as wide as line_length allows.
// 0; 1 after "Cannot open file: %s\n\n", a failed write, or for a sequence
// of fewer than 4 bases, which has no block to lay a translation under;
// kNotNucleicAcid after its messages for a sequence that is not a nucleic
// acid, which the command treats as the end of the run.
inline constexpr int kNotNucleicAcid = 2;
[[nodiscard]] int write_composite(const std::string& path, const SequenceRecord& rec, const CodonTable& table,
                                  const std::string& table_name, bool three_frames, int line_length);

}  // namespace kavro
