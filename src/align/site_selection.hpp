#pragma once
// Column selection over a whole alignment: removal of columns that hold too
// many gaps, and selection of columns by their information content relative
// to that of the whole alignment.

#include <string_view>

#include "core/sequence.hpp"

namespace kavro {

// Keeps the columns whose gap fraction ("-" over the number of entries) is at
// most `level` (0 keeps only gap-free columns, above 1 keeps everything).
// 1 after "Negative level setting in RemoveGaps.\n" for a negative level.
[[nodiscard]] int remove_gap_columns(Collection& seqs, double level);

// Shannon entropy in bits of the letter composition of text (22 letter
// classes, case folded; gaps, digits and the letters B, J, O, Z take no
// part). -1.0 after "Strange data in InfContent.\n" for 10 characters or
// fewer, or after "Error in counting bases in InfContent.\n\n" for a text
// that starts with a NUL.
double information_content(std::string_view text);

// Keeps the columns whose information content h satisfies
// inf_min * H <= h <= inf_max * H, H being the content of the whole
// alignment (printed as "Information content of whole alignment: %5.3e\n").
// 1 after "Unusual setting of min or max in SelectSitesByInf.\n" when
// inf_min < 0 or inf_max > 2.
[[nodiscard]] int select_sites_by_information(Collection& seqs, double inf_min, double inf_max);

}  // namespace kavro
