#pragma once
// The statistics of a motif report: residue frequencies, the frequency at
// which a motif is expected by chance, and the normal-approximation tail
// probability of the observed count.

#include <cstdint>
#include <string_view>

#include "core/sequence.hpp"
#include "core/writer.hpp"

namespace kavro {

// Frequency of a letter over the residues counted: count / total, and 0 when
// nothing was counted.
double residue_frequency(const Composition& comp, std::int64_t total, char letter);

// The chance that a window of random sequence with the given composition
// matches the motif: the product of the letter frequencies (ambiguity codes
// as the sum of their letters, N as 1); for DNA the product for the
// complementary strand is added unless the motif is its own reverse
// complement. -1 when no estimate is possible: a motif shorter than 3, a
// letter outside the type's alphabet, or a type that is not DNA, RNA or
// protein.
double expected_motif_frequency(std::string_view motif, ResidueKind type, const Composition& comp, std::int64_t total);

// Upper tail of the standard normal distribution at z, read from a table in
// steps of 0.1 (truncated) up to 4.0.
double normal_tail(double z);

// Where the composition lines go: the summary of a report, or a table row.
enum class CompositionForm { Summary, Table };

// The composition lines of a report for a file of the given type.
void write_composition(Writer& w, const Composition& comp, std::int64_t total, ResidueKind type, CompositionForm form);

// The chance lines after "Estimated frequency": the normal-tail probability
// of seeing `matches` where total x e are expected, or the aborted line when
// the estimate is too small or leaves no spread to measure against.
void write_probability(Writer& w, double expected, std::int64_t total, std::int64_t matches, bool table);

}  // namespace kavro
