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

// Entry names are kept whole up to this many characters (PHYLIP keeps its
// format's 10-character names).
inline constexpr std::size_t kEntryNameWidth = 99;

// A multi-FASTA header line without its ">": the name is its first word; a
// word longer than kEntryNameWidth is split at its last "=" within its first
// kEntryNameWidth + 1 characters (the definition starts after the "="), else
// cut after kEntryNameWidth characters (the definition starts there).
struct FastaHeader {
    std::string_view name;
    std::string_view definition;
};
FastaHeader split_fasta_header(std::string_view rest);

// Reads at most 30 pieces of the file and names its format; 99 (after a
// message) when it cannot be opened or is empty.
SeqFormat detect_format(const std::string& path);
[[nodiscard]] bool looks_like_phylip_header(std::string_view line);

// ---- single entries ----
// The first entry of a file in the given format; nothing after a message.
// `circular` marks a GenBank or EMBL entry circular whatever its header says.
std::optional<SequenceRecord> read_sequence(const std::string& path, SeqFormat format, ResidueKind requested_type,
                                            bool circular = false);
std::optional<SequenceRecord> read_raw(LineReader& in, ResidueKind requested_type, const std::string& path);
std::optional<SequenceRecord> read_fasta(LineReader& in, ResidueKind requested_type);
std::optional<SequenceRecord> read_nbrf(LineReader& in);

// ---- database entries, walked by position ----
// Each reads one entry starting at `position` and, on success, leaves in
// `position` the offset just after the line that ended the entry. Nothing
// when no further entry holds residues (the normal end) or on failure.
//
// An entry without residues (a CONTIG-only entry of a CON division file)
// also gives nothing; when `empty` is given, the GenBank and EMBL readers
// then fill it with that entry's name and the offset after it, so that a
// walk can pass over the entry and go on.
//
// An entry is marked circular when its LOCUS or ID line says so, or when
// the command asks for every entry to be circular (`circular`).
struct EmptyEntry {
    std::string name;
    std::int64_t next = -1;  // -1: no entry header was found (the end)
};
std::optional<SequenceRecord> read_genbank_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type,
                                                 EmptyEntry* empty = nullptr, bool circular = false);
std::optional<SequenceRecord> read_embl_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type,
                                              EmptyEntry* empty = nullptr, bool circular = false);
std::optional<SequenceRecord> read_pir_entry(LineReader& in, std::int64_t& position);

// ---- record by record ----
// The records of a multi-FASTA text, each handed to `sink` as soon as it
// ends, with the names, definitions, residues and types read_multi_fasta
// gives the same records (detected types). The record is reused for the
// next one: a sink keeps what it needs. Prints the reader's progress dots
// and closing ".\n". The number of records, or nothing when memory ran out
// ("Out of memory") or the reading failed (in.finish() says why).
using FastaRecordSink = std::function<void(SequenceRecord&)>;
std::optional<long> stream_multi_fasta(LineReader& in, const FastaRecordSink& sink);
// The next record from the reader's position (text before its header
// skipped), as stream_multi_fasta reads it, without progress marks; the
// reader is left at the next header. Nothing at the end of the input, when
// memory ran out ("Out of memory") or on a read error (in.finish() says why).
std::optional<SequenceRecord> read_fasta_record(LineReader& in);

// ---- records again, by offset ----
// Where each record of a stream_multi_fasta walk starts: called once from
// the sink for each record, in order. The first record starts at 0 (the
// text before its header is skipped again); each later one at its header.
class FastaRecordStarts {
public:
    std::int64_t next(const LineReader& in) {
        const std::int64_t start = next_;
        next_ = in.piece_offset();  // the next header, when one follows
        return start;
    }

private:
    std::int64_t next_ = 0;
};

// True for a plain file FastaRecordsAt can read at its offsets: not a pipe,
// not gzip.
bool readable_at_offsets(const std::string& path);

// Reads records of a FASTA file again from the offsets a first walk noted,
// in any order: the text from a record's start to the next record's start
// (or the end of the file, in.tell() after the walk) comes in one read of
// the file and is read as stream_multi_fasta reads it. Text with carriage
// returns goes through `in` itself, whose line ends were settled on the
// file's first block. Nothing on a read failure.
class FastaRecordsAt {
public:
    FastaRecordsAt(LineReader& in, const std::string& path);
    ~FastaRecordsAt();
    FastaRecordsAt(const FastaRecordsAt&) = delete;
    FastaRecordsAt& operator=(const FastaRecordsAt&) = delete;

    std::optional<SequenceRecord> read(std::int64_t start, std::int64_t end);

private:
    bool read_bytes(std::int64_t start, std::int64_t end);

    LineReader& in_;
    int fd_;
    std::string bytes_;
};

// ---- collections ----
std::optional<Collection> read_multi_fasta(const std::string& path, ResidueKind requested_type);
std::optional<Collection> read_clustal(const std::string& path, int keep_unclassified);
std::optional<Collection> read_phylip(const std::string& path, int keep_unclassified);

// Start and end arguments: 120, +5, -30, 100+20, 100-20; "last" and
// unreadable texts give 0.
// Positions are 64-bit.
long parse_position(std::string_view text);
// True when text has the form of a position: an optional sign, then digits
// or "last", then optionally "+" or "-" and digits or "last".
bool is_position_text(std::string_view text);

}  // namespace kavro
