#pragma once
// getent's two halves: the search over a flat-file database (entries copied
// byte for byte) and the list and split modes over a multi-FASTA file.

#include <string>

#include "features/getent_options.hpp"
#include "output/output_target.hpp"

namespace kavro {

// File=, Group= and Split= modes. `output` is open in File mode only.
[[nodiscard]] int run_fasta_list_mode(const std::string& db_path, const std::string& out_path, const EntrySelection& sel,
                        OutputTarget* output);

}  // namespace kavro
