#include "output/output_banner.hpp"

#include "core/version.hpp"

namespace kavro {

void write_output_banner(Writer& out) { out.printf("Output of KAVRO version %s\n", kProgramVersion); }

long listing_block_width(long line_length) {
    if (line_length >= 21 && line_length <= 91) return line_length / 3 * 3;
    return 60;
}

}  // namespace kavro
