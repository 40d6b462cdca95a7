// Matching an aligned protein to the DNA that encodes it, for building a
// codon alignment: a window of protein residues is searched in the
// three-frame translation of the DNA, then the protein is walked residue by
// residue beside the translation, writing the codon of each residue ("---"
// for a gap). Mismatches (sequencing errors), stop codons inside the
// protein and frame shifts are tolerated as described at each step.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kavro {

// The standard genetic code in the program's codon order.
inline constexpr std::string_view kStandardCode =
    "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG";

// Residues in the search window.
inline constexpr int kMatchWindow = 10;

// 1-based start of the first place in translation where window agrees in
// more than threshold of its letters (strictly), or 0. A stop or unreadable
// codon facing the window is skipped (an extra codon in the DNA) when the
// next five letters agree better one codon further on.
long find_window(std::string_view window, std::string_view translation, double threshold);

struct CodonMatch {
    std::string_view protein;  // the aligned protein row, "-" for gaps
    std::string_view dna;      // its nucleotide sequence
    std::size_t protein_pos = 0;  // next protein column to place
    std::size_t dna_pos = 0;      // where the next window search starts
    std::size_t dna_written = 0;  // the first DNA base after those written
    std::string codons;           // the row built so far
    std::size_t capacity = 0;     // its final length: three per protein column
};

// One matching step from the current positions at the threshold (0.5-1.0):
// finds the window, writes leading gaps, then walks protein and translation
// until the protein ends, the translation ends, or a mismatch is followed
// by a poorly agreeing window (a frame shift or insertion ahead: the next
// step searches anew). A codon that would reach back before dna_written
// shows the bases already written as "-", so that the row without its gaps
// never repeats a base. Advances the positions. 1 when protein columns
// remain; 0 when it is used up or no progress can be made (threshold out of
// range, too little DNA, fewer than a window of residues left).
[[nodiscard]] int match_codons(CodonMatch& m, int window, double threshold, std::string_view code);

}  // namespace kavro
