#pragma once
// Feature locations: the exon list of a feature definition, the joining of
// exons into one nucleotide sequence cut out of the entry (complementary
// strand, joins across the origin of a circular entry, exons taken from
// other entries of the same file), and the index of accessions that finds
// those other entries.
//
// Positions are 1-based and inclusive, as written in the location; they are
// kept in 64-bit integers, and a location that names a position outside the
// 32-bit range is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/sequence.hpp"
#include "input/line_reader.hpp"

namespace kavro {

// Exon accessions longer than this are refused.
inline constexpr std::size_t kExonAccessionWidth = 29;
// A segment across the origin of a circular entry must start within this
// many bases of the end and end within this many bases of the start.
inline constexpr long kOriginWindow = 1000;

struct Exon {
    std::string accession;  // empty: a segment of the entry itself
    bool complement = false;
    long start = 0;
    bool partial_start = false;  // written "<start"
    long end = 0;
    bool partial_end = false;  // written ">end"
    bool plus() const { return !complement; }
};
using ExonList = std::vector<Exon>;

// The three parts of a feature definition: the feature name, the segment
// count word and everything after it. The name is every byte before the
// first white-space byte (the reader makes white space in names "_"), so
// it may be empty; the other words are separated by any white space.
struct DefinitionParts {
    std::string_view feature_name;
    std::string_view count_word;
    std::string_view rest;
};
DefinitionParts split_definition(std::string_view definition);

// The feature name of a definition, by the rule of split_definition.
std::string_view feature_name_of(std::string_view definition);

// The segment count of a definition; 0 when the word is not all digits.
long segment_count(std::string_view definition);

// The text before the first "." (a version suffix dropped).
std::string_view accession_base(std::string_view accession);

// The accession written after "AC=" in a definition, up to ";" or a blank;
// empty when there is none.
std::string definition_accession(std::string_view definition);

// Fills `exons` from the location words of a definition. On success the
// remainder (when given) receives the text after the location. On failure
// the messages name the problem (they end " Quiting exon_list. ").
[[nodiscard]] bool parse_exon_list(std::string_view definition, ExonList& exons, std::string* remainder);

// More than one exon, and not all on one strand or not in order along it.
bool exons_out_of_order(const ExonList& exons);

// True when the exon's accession base is not empty and differs from the
// entry accession's base.
bool is_remote(std::string_view exon_accession, std::string_view entry_accession);

// Summed exon lengths; an exon whose end is below its start (across the
// origin) counts the entry length too. Without seq_import only the exons of
// the entry itself count.
long exon_total(const ExonList& exons, std::string_view entry_accession, long entry_length, bool seq_import);

// Accession of every "ACCESSION " or "AC " line of a file (version dropped)
// with the offset just after that line. The first line of an accession wins.
class AccessionIndex {
public:
    // Reads from the reader's current position to the end of the input.
    void build(LineReader& in);
    // The same, done on the first find(): most files never name another
    // entry, and then the file is read only once.
    void build_on_first_use(LineReader& in) { pending_ = &in; }
    std::optional<std::int64_t> find(std::string_view accession_base);
    std::size_t size() const { return positions_.size(); }

private:
    void add(std::string_view line, std::int64_t after);
    std::unordered_map<std::string, std::int64_t> positions_;
    LineReader* pending_ = nullptr;
};

// The residues of the entry found from `position` on (the letters between
// its "ORIGIN" or "SQ " line and "//"), upper case, type 1; nothing when no
// letter was found. The reader is moved back where it was.
std::optional<SequenceRecord> read_sequence_at(LineReader& in, std::int64_t position);

// What a join may reach beyond the entry itself.
struct JoinContext {
    bool seq_import = false;
    // Input and index for exons of other entries; without them such an
    // exon is "not found".
    LineReader* remote_input = nullptr;
    AccessionIndex* index = nullptr;
    // Separate the entry's own exons by a line of five "x".
    bool split_exons = false;
};

// Residues of other entries read for remote exons, kept while the same
// accession is asked for again.
class RemoteSequences {
public:
    // The residues of the indexed entry; nothing after a message.
    const std::string* get(std::string_view base, const JoinContext& ctx);
    // Its length, or 0 after "Unable to find the sequence with accession".
    long length(std::string_view base, const JoinContext& ctx);

private:
    std::string accession_;
    std::string residues_;
    bool valid_ = false;
};

// A copy of the entry's header (name, accession, organism, definition) with
// the exons joined as its residues; length 0 when the join was stopped
// (after its message). The circular flag of the entry decides whether exons
// may wrap across the origin.
SequenceRecord join_exons(const SequenceRecord& entry, const ExonList& exons, std::string_view entry_accession,
                          const JoinContext& ctx, RemoteSequences& remote);

}  // namespace kavro
