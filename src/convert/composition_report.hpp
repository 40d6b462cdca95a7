#pragma once
// Compositional variation along a DNA sequence: base composition and strand
// skews in windows that slide along it, their deviations over the windows,
// the length-weighted means and the composition of the whole sequence.

#include <array>
#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "output/output_target.hpp"

namespace kavro {

// Fractions in the order T (with U), C, A, G.
using BaseFractions = std::array<double, 4>;
enum BaseSlot : int { BASE_T = 0, BASE_C = 1, BASE_A = 2, BASE_G = 3 };

// Counts of T/U, C, A, G (either case) and the number of characters counted.
struct BaseCounts {
    std::array<long, 4> base{};
    long length = 0;
};
BaseCounts count_bases(std::string_view text);

// Each count divided by the length. A sum outside 0.95..1.01 prints
// "Strange composition.\n" and is normalised to 1, or fails (1) at 0.5 or
// below; an empty count fails too.
[[nodiscard]] int base_fractions(const BaseCounts& counts, BaseFractions& fractions);
[[nodiscard]] int base_fractions(std::string_view text, BaseFractions& fractions);
// 1 for an empty record; 1 after "Error in c_basecomp_seq.\n" when the
// fractions fail.
[[nodiscard]] int record_base_fractions(const SequenceRecord* rec, BaseFractions& fractions);

// (G - C) / (G + C) and (A - T) / (A + T) of the base fractions: 0 when the
// denominator is at most 0.01, 999 after a message on failure.
inline constexpr double kSkewFailure = 999.0;
double compute_gc_skew(std::string_view text);
double compute_at_skew(std::string_view text);
double compute_gc_skew(const BaseCounts& counts);
double compute_at_skew(const BaseCounts& counts);

// The table of one record; 0 or 1.
[[nodiscard]] int write_window_composition(Writer& out, const SequenceRecord* rec, long window, long slide);
// The tables of every record, stopping at the first that fails; 0 or 1.
[[nodiscard]] int write_window_composition_all(Writer& out, const Collection& records, long window, long slide);
// write_window_composition_all into the file (appending) or standard output; 0 or 1.
[[nodiscard]] int write_window_composition_report(const OutputDestination& destination, const Collection& records, long window, long slide);

}  // namespace kavro
