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

#include "core/amino_acids.hpp"
#include "core/sequence.hpp"
#include "core/console.hpp"
#include "core/message_sink.hpp"
#include "core/writer.hpp"
#include "output/output_target.hpp"

namespace kavro {

// ---- codon counters ----
// Counters by codon index; the last slot (not a codon) is never filled.
using CodonCounts = std::array<long, 65>;
// Amino-acid order of the codon summary.
inline constexpr char kSummaryAminoOrder[] = "*ACDEFGHIKLMNPQRSTUVWXY";

// ---- per-record forms ----
// Full report. 0; 1 after "Empty sequence.\n" or the composition message;
// 2 after "Writing error.\n".
[[nodiscard]] int write_record_info(Writer& out, const SequenceRecord* rec, bool with_definition, char separator,
                                   MessageSink messages = {});
// Sum of the free-amino-acid masses less one water per peptide bond; 0 for
// fewer than 2 residues or any residue that is not one of the 20 letters.
double molecular_weight(const SequenceRecord* rec);
// "l" the length, "s" the residues, anything else the name; 0, or 1 after
// "Empty sequence.\n".
[[nodiscard]] int write_info_item(Writer& out, const SequenceRecord* rec, char selector);
// Counts the codons of frame 1 (0-63 only) into counts, zeroed first. 0.
[[nodiscard]] int count_codons(const SequenceRecord& rec, CodonCounts& counts);
// Fills counts with the record's codon usage and, unless out is missing or
// is standard output, writes the record's codon table. 0 or 1.
[[nodiscard]] int write_record_codon_usage(Writer* out, const SequenceRecord* rec, std::string_view table, CodonCounts* counts,
                                           MessageSink messages = {});

// ---- collection forms ----
// Codon counts of every record, then the summary. 0 or 1.
[[nodiscard]] int write_codon_usage_all(Writer* out, const Collection& records, std::string_view table);
// The two summary listings (by codon and by amino acid). 0 or 1.
[[nodiscard]] int write_codon_summary(Writer& out, std::string_view table, const CodonCounts& totals, long codon_total,
                        long sequences);

[[nodiscard]] int write_info_all(const OutputDestination& destination, const Collection& records);
// Selector "#" writes the number of sequences only.
[[nodiscard]] int write_info_item_all(const OutputDestination& destination, const Collection& records, char selector);
// kUnknownCodonTable after select_codon_table's message when the name names
// no table: the command ends the run there.
inline constexpr int kUnknownCodonTable = 2;
[[nodiscard]] int write_codon_info_all(const OutputDestination& destination, const Collection& records, const std::string& table_name);

// Flushes a report stream that is standard output or error (files are
// flushed when closed).
void flush_report(Writer& out);

// Runs one collection report (a callable taking the Writer and returning its
// status) on the destination, a file opened for appending or standard output,
// and closes it; 1 after "Cannot open file: %s\n\n" when the file cannot be
// opened, or after "Unable to write output file.\n" when the report or a
// write failed.
template <typename Report>
[[nodiscard]] int run_collection_report(const OutputDestination& destination, Report report) {
    auto target = OutputTarget::open_to(destination, OutputTarget::Mode::Append);
    if (!target) {
        err("Cannot open file: %s\n\n", destination.path.c_str());
        return 1;
    }
    const int status = report(target->writer());
    const bool written = target->close();
    if (status != 0 || !written) {
        err("Unable to write output file.\n");
        return 1;
    }
    return 0;
}

}  // namespace kavro
