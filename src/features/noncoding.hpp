#pragma once
// The non-coding stretches of an entry: every base that a CDS or RNA
// feature covers is overwritten by a mask character, and the runs left
// unmasked are the stretches.

#include "core/sequence.hpp"

namespace kavro {

inline constexpr char kMaskCharacter = '0';

// Masks the bases of every exon of the entry's own features (and, unless
// keep_introns is set, the bases between the exons of a feature whose exons
// are in order). Masking stays inside the sequence: an exon beyond the end
// masks only what lies inside, one across the origin masks nothing.
void mask_features(SequenceRecord& entry, const Collection& features, bool keep_introns);

// The unmasked runs of the entry as records named after the entry with the
// definitions "NonCoding_<n>", n counted from 1 along the sequence; runs
// that are not DNA (a run of N) are dropped, their numbers left out. When
// join_ends is set and both ends of the sequence are unmasked, the stretch
// at the end and the one at the start are one stretch across the origin:
// the record of the first run holds the last run followed by the first.
Collection unmasked_pieces(const SequenceRecord& entry, bool join_ends);

}  // namespace kavro
