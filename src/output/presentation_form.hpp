#pragma once
// The presentation form of a gene, for a paper: the nucleotide sequence in
// blocks, exon bases upper case and intron bases lower case, the
// translation of the joined exons under the first base of every codon, and
// running counts of bases and amino acids at the line ends.

#include <functional>
#include <optional>
#include <string>

#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "output/exon_header.hpp"

namespace kavro {

// Translates the joined exons in frame 1: the amino acids, or nothing after
// a message. The writer sits below the translation module, so the command
// hands it this.
using ExonTranslator = std::function<std::optional<std::string>(const SequenceRecord& joined)>;

// Writes the form of rec, whose definition is the exon header that gave
// `exons`, in blocks as wide as line_length allows. 0, or 1 after a message.
[[nodiscard]] int write_presentation_form(Writer& out, const SequenceRecord& rec, const PresentationExons& exons,
                                          const std::string& table_name, const ExonTranslator& translate,
                                          int line_length);

// The same appended to the file at path; a backspace and "w" on standard
// output when written. 0, or 1 after "Cannot open file: %s\n" or
// "Trouble in writing pretty sequence: %s\n".
[[nodiscard]] int write_presentation_file(const std::string& path, const SequenceRecord& rec,
                                          const PresentationExons& exons, const std::string& table_name,
                                          const ExonTranslator& translate, int line_length);

}  // namespace kavro
