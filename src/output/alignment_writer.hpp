#pragma once
// CLUSTAL, interleaved PHYLIP and NEXUS alignment output.

#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"
#include "core/writer.hpp"

namespace kavro {

// 0 success, 1 no collection ("Empty sequence.\n"), 2 write error.
[[nodiscard]] int write_clustal(Writer& out, Collection* seqs, long name_width);
[[nodiscard]] int write_phylip(Writer& out, Collection* seqs, long name_width);
// NEXUS rows hold the multiple of 10 above line_length columns.
[[nodiscard]] int write_nexus(Writer& out, Collection* seqs, long name_width, int line_length);

[[nodiscard]] int write_clustal_file(const std::string& path, Collection* seqs);
[[nodiscard]] int write_phylip_file(const std::string& path, Collection* seqs);
[[nodiscard]] int write_nexus_file(const std::string& path, Collection* seqs, int line_length);

// Quicksort by name; equal names end in the order its partition steps give.
void sort_by_name(Collection& seqs);
// The same quicksort by keys[i] for entry i; the keys are reordered with
// the entries.
void sort_by_keys(Collection& seqs, std::vector<std::string>& keys);
// The order sort_by_name gives records of these names: their indexes,
// permuted as it would permute the records.
std::vector<std::size_t> name_order(const std::vector<std::string_view>& names);

}  // namespace kavro
