#pragma once
// The introns of a coding sequence: the stretches between its exons, each
// cut from the entry with start and end arguments counted from the intron's
// own first base ("S") and last base ("E").

#include "core/sequence.hpp"
#include "features/feature_sequences.hpp"

namespace kavro {

enum class IntronResult {
    Made,        // introns holds one record per intron, skipped ones empty
    PassedOver,  // not a CDS of this entry with two or more exons, or refused
    Failed,
};

// Intron records: name = entry name, accession = entry accession,
// definition = "<feature name>_intron_<k>" with k from 1, residues = the
// intron with its ends moved (read along the feature's strand). In a linear
// entry, bases asked for beyond an end of the entry are written as "-".
IntronResult extract_introns(const SequenceRecord& entry, const SequenceRecord& feature, EndArgument start,
                             EndArgument end, Collection& introns);

}  // namespace kavro
