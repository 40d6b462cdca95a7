#pragma once
// Nucleotide sequences of features: each feature record of an entry is
// replaced by the stretch its location names, with its ends moved by a
// start and an end argument.
//
// An argument is a reference and an offset: "S" is the feature's first
// base on its own strand, "E" its last base; the offset counts along the
// feature's strand, negative toward its 5' side, positive toward its 3'
// side. "S -150" and "E 0" give the feature with 150 bases before it;
// "S 1" and "S 3" its first codon; "E -2" and "E 0" its last three bases.
// In a linear entry, bases asked for beyond an end are written as "-".

#include <cstddef>

#include "core/sequence.hpp"
#include "features/locations.hpp"

namespace kavro {

struct EndArgument {
    char reference = 'S';  // 'S' or 'E'; any other leaves that end alone
    long offset = 0;
};

// Fills larger than this many times the entry length (plus a margin) are
// refused: no real request asks for them.
inline constexpr long kFillFactor = 10;
inline constexpr long kFillMargin = 10000;

// Exons (cut to the feature), optionally separated by "xxxxx" lines, moved
// by the arguments. Works on every record from `first` on whose name is the
// entry's name; a feature that cannot be cut is left with residues "*" (or
// as it was, when its location cannot be read) after a message. False when
// a cutting step failed and the rest was not done.
[[nodiscard]] bool cut_feature_sequences(const SequenceRecord& entry, Collection& features, std::size_t first, EndArgument start,
                           EndArgument end, const JoinContext& ctx, RemoteSequences& remote);

// The whole genomic stretch from the start argument to the end argument,
// introns included (the addseqg setting). False after a message when a
// reference is neither "S" nor "E".
[[nodiscard]] bool extract_genomic_spans(const SequenceRecord& entry, Collection& features, std::size_t first, EndArgument start,
                           EndArgument end, const JoinContext& ctx, RemoteSequences& remote);

}  // namespace kavro
