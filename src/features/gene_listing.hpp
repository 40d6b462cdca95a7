#pragma once
// genlist's listings of a GenBank or EMBL file: the CDS names of every
// entry, or the gene table (one tab-separated row per CDS and RNA exon).

#include <string>

#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"

namespace kavro {

enum class GeneKind { Rna = 2, Cds = 3 };

// "The genes in the file: NAME are: a, b, c.\n" for the features of one
// entry (only ".\n" when it has none).
void write_gene_names(Writer& out, const Collection& features);

// One row per exon of every feature; 1 after "Error in making exon list in
// show_gene_table.\n" when a location cannot be read.
[[nodiscard]] int write_gene_table(Writer& out, const Collection& features, GeneKind kind);

// The whole listing of a GenBank or EMBL file; 0, or 1 when the file could
// not be read to its end.
[[nodiscard]] int list_feature_file(const std::string& input, SeqFormat format, bool table, Writer& out);

}  // namespace kavro
