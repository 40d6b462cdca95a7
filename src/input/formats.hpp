#pragma once
// Format detection and every sequence reader.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "input/line_reader.hpp"

namespace kavro {

enum class SeqFormat : int {
    Raw = 0,
    Fasta = 1,
    Genbank = 2,
    Embl = 3,
    Swissprot = 4,
    EmblUntyped = 5,
    Nbrf = 6,
    Clustal = 7,
    Pir = 8,
    Phylip = 9,
    GenbankProtein = 10,
    Uniprot = 11,
    Error = 99,
};

// Reads at most 30 pieces of the file and names its format; 99 (after a
// message) when it cannot be opened or is empty.
SeqFormat detect_format(const std::string& path);
bool looks_like_phylip_header(std::string_view line);

// ---- single entries ----
// The first entry of a file in the given format; nothing after a message.
std::optional<SequenceRecord> read_sequence(const std::string& path, SeqFormat format, ResidueKind requested_type);
std::optional<SequenceRecord> read_raw(LineReader& in, ResidueKind requested_type, const std::string& path);
std::optional<SequenceRecord> read_fasta(LineReader& in, ResidueKind requested_type);
std::optional<SequenceRecord> read_nbrf(LineReader& in);

// ---- database entries, walked by position ----
// Each reads one entry starting at `position` and, on success, leaves in
// `position` the offset just after the line that ended the entry. Nothing
// when no further entry holds residues (the normal end) or on failure.
std::optional<SequenceRecord> read_genbank_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type);
std::optional<SequenceRecord> read_embl_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type);
std::optional<SequenceRecord> read_pir_entry(LineReader& in, std::int64_t& position);

// ---- collections ----
// Each sets g_entry_count to the size of the collection it returns.
std::optional<Collection> read_multi_fasta(const std::string& path, ResidueKind requested_type);
// The same entries one at a time, in file order, for a caller that does
// not keep them all: `take` receives each finished record (it may move it
// away). False after a message when the file cannot be read.
bool read_multi_fasta_each(const std::string& path, ResidueKind requested_type,
                           const std::function<void(SequenceRecord&)>& take);
std::optional<Collection> read_clustal(const std::string& path, int keep_unclassified);
std::optional<Collection> read_phylip(const std::string& path, int keep_unclassified);

// Start and end arguments: 120, +5, -30, 100+20, 100-20; "last" and
// unreadable texts give 0.
long parse_position(std::string_view text);

}  // namespace kavro
