#pragma once
// The options of one tofast run, read from the command words or asked for in
// the dialog. They live for the run only.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"

namespace kavro {

struct TofastOptions {
    std::string input_path = "infile";
    std::string output_path = "outfile";
    // The data go to standard output: the output name was "stdout" or
    // "STDOUT" on the command line (in the dialog that name is a file).
    bool to_stdout = false;
    ResidueKind output_type = ResidueKind::Unknown;  // Unknown: no change
    bool complement = false;   // reverse-complement nucleic sequences first
    bool info = false;         // information reports instead of sequences
    char info_selector = 0;    // 0 full report, or 's', 'l', 'n', 'c', '#'
    bool composition = false;  // compositional variation along each sequence
    std::int32_t window = 0;   // composition window and slide, in bases
    std::int32_t slide = 0;
    bool sort = false;         // sort the collection by name
    bool limit = false;        // keep only sequences within a length bound
    long min_length = 1;       // with limit: exactly one of the two is non-zero
    long max_length = 0;
    bool mask = false;         // mask runs of 10 or more N and Q
    bool ms = false;           // peptide-mass search
    std::string ms_definition;  // its definition file
    int frame = 1;             // translation frame 1..3, or -1..-3 for the other strand
    std::string codon_table = "default";  // table name or codon-table file name
    bool clear_mode = false;   // input and output names only: letters only, no definitions
    bool dialog = false;       // command word alone

    OutputDestination output() const { return {output_path, to_stdout}; }
};

// Runs of this many N or Q and more are masked by the mask option.
inline constexpr long kMaskThreshold = 10;
// The smallest "max" and "min" bounds accepted on the command line.
inline constexpr long kSmallestMaximum = 21;
inline constexpr long kSmallestMinimum = 11;
// In the dialog a codon-table name must be shorter than this.
inline constexpr std::size_t kDialogCodonTableWidth = 40;


// Maps a frame word: "1".."3" give 1..3; "4"/"-1", "5"/"-2", "6"/"-3" give
// -1, -2, -3. False (frame unchanged) for any other word.
[[nodiscard]] bool parse_frame(std::string_view word, int& frame);

// A word of decimal digits as a 32-bit value (values beyond the range are
// held at its top); nothing for a word with another character.
[[nodiscard]] bool parse_count(std::string_view word, long& value);

// Reads the options from a command of 4 to 6 words (input, output, option
// word, up to two value words). 0, or 1 after its message. Lower-cases the
// first letters of word 3 in place, as the option rules read them.
[[nodiscard]] int parse_tofast_words(int count, CommandLine& words, TofastOptions& opts);

// The dialog of a one-word command: file names, output type, follow-up
// question. 0, or 1 when the user leaves or the answer is refused. An output
// name "stdout" ends the program (status 1).
[[nodiscard]] int run_tofast_dialog(TofastOptions& opts);

}  // namespace kavro
