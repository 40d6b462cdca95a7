#pragma once
// What the block listings share (the ORF table, the composite listing and
// the presentation form): the banner line that opens them, naming the
// program and its version so that a listing found later tells what wrote
// it, and the width of their blocks.

#include "core/writer.hpp"

namespace kavro {

void write_output_banner(Writer& out);

// Positions per block: 60, or the line length rounded down to a multiple of
// 3 (whole codons) when it is from 21 to 91.
long listing_block_width(long line_length);

}  // namespace kavro
