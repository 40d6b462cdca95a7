#pragma once
// The exon header of the presentation form: a gene name, the exon count and
// the exons' positions, written like a feature location, e.g.
//
//   ntcA 1 91  762
//   nad7 3 join 828 967  1999 2067  3066 4038
//   psbA 1 complement 1200 2261
//
// toprot takes it from the first line of an exon file or from a dialog
// (ui/exon_dialog); it is turned into a small exon list here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"

namespace kavro {

// One exon of the presentation form: 1-based positions on the record's
// strand as written (start <= end), read backwards on the complementary
// strand when `complement` is set.
struct PresentationExon {
    long start = 0;
    long end = 0;
    bool complement = false;
};
using PresentationExons = std::vector<PresentationExon>;

// The value of a signed integer text ("+5", "-3", "12"); false for any
// other text or one too large for a position.
[[nodiscard]] bool signed_value(std::string text, long& value);

// The exons of a header, checked against a sequence of seq_length bases:
// every exon must lie inside the sequence with its start not after its end,
// and exons of another entry (an accession before ":") cannot be read here.
// Nothing after a message.
std::optional<PresentationExons> parse_exon_header(std::string_view header, long seq_length);

// True when exons are on mixed strands or out of order along their strand
// (a trans-spliced gene).
bool exons_out_of_order(const PresentationExons& exons);

// The exon bases joined in list order, complementary exons read backwards
// and complemented (RNA complement when rna is set).
std::string join_exons(const std::string& residues, const PresentationExons& exons, bool rna);

}  // namespace kavro
