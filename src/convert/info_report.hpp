#pragma once
// The information reports of tofast's info mode: a full report per sequence
// (type, length, composition, molecular weight of a protein), one-item
// reports (length, residues or name), and codon-usage tables with a summary
// over all sequences. Each has a per-record form writing to an open stream
// and a collection form taking the output path.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/sequence.hpp"
#include "core/console.hpp"
#include "core/writer.hpp"

namespace kavro {

// ---- amino-acid table (shared with the peptide-mass search) ----
struct AminoAcid {
    std::string_view name;  // three-letter name
    char code;              // one-letter code
};
inline constexpr std::size_t kAminoAcidCount = 20;
inline constexpr AminoAcid kAminoAcids[kAminoAcidCount] = {
    {"Ala", 'A'}, {"Cys", 'C'}, {"Asp", 'D'}, {"Glu", 'E'}, {"Phe", 'F'}, {"Gly", 'G'}, {"His", 'H'},
    {"Ile", 'I'}, {"Lys", 'K'}, {"Leu", 'L'}, {"Met", 'M'}, {"Asn", 'N'}, {"Pro", 'P'}, {"Gln", 'Q'},
    {"Arg", 'R'}, {"Ser", 'S'}, {"Thr", 'T'}, {"Val", 'V'}, {"Trp", 'W'}, {"Tyr", 'Y'},
};
// Average masses of the free amino acids, in the table's order, and water.
inline constexpr double kAverageMasses[kAminoAcidCount] = {
    89.09,  121.12, 133.1,  147.13, 165.19, 75.07,  155.16, 131.17, 146.19, 131.17,
    149.21, 132.1,  115.13, 146.15, 174.2,  105.09, 119.12, 117.15, 204.22, 181.19,
};
inline constexpr double kAverageWater = 18.01528;

// Row of a residue letter (either case) in kAminoAcids, or -1.
int amino_acid_index(char c);

// ---- codon counters ----
// Counters by codon index; the last slot (not a codon) is never filled.
using CodonCounts = std::array<long, 65>;
// Amino-acid order of the codon summary.
inline constexpr char kSummaryAminoOrder[] = "*ACDEFGHIKLMNPQRSTUVWXY";

// ---- per-record forms ----
// Full report. 0; 1 after "Empty sequence.\n" or the composition message;
// 2 after "Writing error.\n".
int write_record_info(Writer& out, const SequenceRecord* rec, bool with_definition, char separator);
// Sum of the free-amino-acid masses less one water per peptide bond; 0 for
// fewer than 2 residues or any residue that is not one of the 20 letters.
double molecular_weight(const SequenceRecord* rec);
// "l" the length, "s" the residues, anything else the name; 0, or 1 after
// "Empty sequence.\n".
int write_info_item(Writer& out, const SequenceRecord* rec, char selector);
// Counts the codons of frame 1 (0-63 only) into counts, zeroed first. 0.
int count_codons(const SequenceRecord& rec, CodonCounts& counts);
// Fills counts with the record's codon usage and, unless out is missing or
// is standard output, writes the record's codon table. 0 or 1.
int write_record_codon_usage(Writer* out, const SequenceRecord* rec, std::string_view table, CodonCounts* counts);

// ---- collection forms ----
// Codon counts of every record, then the summary. 0 or 1.
int write_codon_usage_all(Writer* out, const Collection& records, std::string_view table);
// The two summary listings (by codon and by amino acid). 0 or 1.
int write_codon_summary(Writer& out, std::string_view table, const CodonCounts& totals, long codon_total,
                        long sequences);

int write_info_all(const std::string& path, const Collection& records);
// Selector "#" writes the number of sequences only.
int write_info_item_all(const std::string& path, const Collection& records, char selector);
int write_codon_info_all(const std::string& path, const Collection& records, const std::string& table_name);

// Flushes a report stream that is standard output or error (files are
// flushed when closed).
void flush_report(Writer& out);

// Where a collection report goes: standard output while write_to_stdout is
// set, else the file opened for appending.
class ReportOutput {
public:
    // Nothing after "Cannot open file: %s\n\n".
    static std::optional<ReportOutput> open(const std::string& path);
    Writer& stream() { return file_ ? *file_ : *console_; }
    // Flushes, and closes a file; false if any write failed.
    bool finish();

private:
    std::optional<Writer> file_;
    Writer* console_ = nullptr;
};

// Runs one collection report (a callable taking the Writer and returning its
// status) on the opened output and closes it; 1 after "Unable to write
// output file.\n" when the report or a write failed.
template <typename Report>
int run_collection_report(const std::string& path, Report report) {
    auto target = ReportOutput::open(path);
    if (!target) return 1;
    const int status = report(target->stream());
    const bool written = target->finish();
    if (status != 0 || !written) {
        err("Unable to write output file.\n");
        return 1;
    }
    return 0;
}

}  // namespace kavro
