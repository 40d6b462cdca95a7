#pragma once
// The exon header of toprot's presentation form (see output/exon_header.hpp
// for its layout), from an exon file or from a dialog on the console.

#include <string>

#include "core/sequence.hpp"
#include "input/line_reader.hpp"

namespace kavro {

// Sets rec.definition to the exon header: the first line of exon_file, or,
// when exon_file is empty, the answers to the exon dialog (with its help
// text) read from `console`. An empty exon file leaves the definition as it
// is. 0, or 1 after a message ("Cannot open file: %s\n", "No exon number is
// indicated.\n", "Input aborted.\n") or a "no" to the dialog.
[[nodiscard]] int make_header(SequenceRecord& rec, const std::string& exon_file, LineReader& console);

}  // namespace kavro
