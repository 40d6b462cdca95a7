#pragma once
// The feature-table reader: walks a GenBank or EMBL flat file entry by entry
// and turns the features of one kind into feature records.
//
// A feature record is a SequenceRecord whose name is the entry name, whose
// accession and organism are the entry's, whose type is 3 and whose
// definition is "<feature name> <location string> <description>". The
// location string is the segment count, a blank and the location with every
// character other than letters, digits, "_", ":", "<", ">" and a single "."
// blanked: complement(join(3..50,100..200)) becomes
// "2 complement join 3  50 100  200". In the protein modes the residues are
// the /translation, upper case; otherwise they are empty ("*" for a
// /pseudo feature).
//
// One entry is held at a time: the reader starts at a byte offset, reads up
// to the entry's end line "//" and gives the offset after it, so commands
// walk a file of any size with memory bounded by its largest entry.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"

namespace kavro {

enum class ExtractMode {
    Coding = 0,                   // CDS features, no residues
    Rna = 2,                      // tRNA, rRNA and snRNA features, no residues
    Protein = 3,                  // CDS features with their /translation
    RnaWithoutLocations = 4,      // as Rna, location strings left empty
    ProteinWithoutLocations = 5,  // as Protein, location strings left empty
};

// The mode for a numeric code 0, 2, 3, 4 or 5; false for any other.
bool extract_mode_from_code(int code, ExtractMode& mode);

enum class ReadOutcome {
    Entry,           // an entry was read (its feature list may be empty)
    EndOfInput,      // no further entry: only blank or stray lines remained
    MissingEndLine,  // the input ended inside an entry, before its "//"
    Failed,          // a message was written; the position was not moved
};

struct FeatureOptions {
    // Keep location strings in the protein modes (extcds's exoninf).
    bool locations_in_protein_mode = false;
    // Write the progress marks ("-" and "|" after every tenth feature).
    bool progress_marks = true;
};

class FeatureTableReader {
public:
    // format: SeqFormat::Genbank, SeqFormat::GenbankProtein or SeqFormat::Embl; with any
    // other code every read gives Failed without a message.
    FeatureTableReader(LineReader& in, SeqFormat format, FeatureOptions options = {});

    // Reads the entry that starts at or after `position`. On Entry:
    // `features` holds the feature records in file order; `entry` holds the
    // entry's name, accession, organism, molecule and header length, and,
    // when at least one feature was found outside the protein modes, its
    // residues (upper case), length, type (1 DNA, 2 RNA, 3 protein) and
    // circular flag; `position` is the offset after the end line. Without
    // residues, the entry's length is the header length. g_entry_count is
    // set to the number of feature records.
    ReadOutcome read(SequenceRecord& entry, Collection& features, std::int64_t& position, ExtractMode mode);

    // True when the last read met an entry's end line.
    bool end_line_seen() const { return end_line_seen_; }
    // The length word of the last entry's first line (0 when not digits).
    long header_length() const { return header_length_; }
    LineReader& input() { return in_; }

private:
    struct State;
    LineReader& in_;
    SeqFormat format_;
    FeatureOptions options_;
    bool end_line_seen_ = false;
    long header_length_ = 0;
};

// The location string of a key line's location text (from column 22 of the
// key line, continuation words appended): "%d %s" of the segment count and
// the blanked location.
std::string make_location_string(std::string_view location_text);

}  // namespace kavro
