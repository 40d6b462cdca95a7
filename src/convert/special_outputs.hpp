#pragma once
// The outputs tofast hands over to when its options ask for more than plain
// FASTA: information reports (option i), compositional variation (option b),
// the peptide-mass search (option ms) and the protein form of DNA or RNA
// (option p). There is one entry point per reading path and kind of output.
//
// Every function prints its own messages on standard error and returns the
// status the tofast handler then returns: 0 or 1.
// - The special outputs (ms, info, composition) of the collection and single
//   paths end with their own "Terminated.\n".
// - The translated outputs print nothing on success; the handler closes the
//   run with "\nTerminated.\n". Their failing writes on the collection and
//   single paths end the program (status 1).
// Output goes where opts.output() says: the output file, or standard output.

#include <array>
#include <string>

#include "convert/tofast_options.hpp"
#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "msanal/msanal.hpp"

namespace kavro {

// What the entry path keeps from one entry to the next for the codon-usage
// report (info selector "c"): counters per entry and in total.
struct EntryCodonCounts {
    std::array<long, 65> per_entry{};
    std::array<long, 65> totals{};
    long codon_total = 0;      // codons counted over all entries
    long entries_counted = 0;  // entries whose codons were counted
    std::string codon_table;   // the table selected by opts.codon_table
};

// ---- collection path (FASTA, CLUSTAL): the whole collection at once ----
// ms, info or composition (whichever is on, in that order) for the
// collection of the given type, written to opts.output_path, which exists
// and is empty.
[[nodiscard]] int collection_special_output(const TofastOptions& opts, Collection& seqs, ResidueKind type);
// Every record (DNA or RNA) translated in opts.frame with opts.codon_table and
// the protein collection appended to opts.output_path.
[[nodiscard]] int collection_translated_output(const TofastOptions& opts, Collection& seqs);

// The peptide-mass search (ms) over proteins handed over one at a time, for
// a file of the given type; the output exists and is empty.
[[nodiscard]] int mass_search_output(const TofastOptions& opts, const ProteinSource& proteins, ResidueKind type);

// ---- entry path (GenBank, EMBL, SwissProt, UniProt, PIR): one entry at a time ----
// Before the first entry, when info is on with selector "c".
[[nodiscard]] int entry_special_setup(const TofastOptions& opts, EntryCodonCounts& counts);
// info or composition for one entry of the given type, written to `out`.
[[nodiscard]] int entry_special_output(const TofastOptions& opts, EntryCodonCounts& counts, SequenceRecord& rec, ResidueKind type,
                         Writer& out);
// The protein form of one DNA or RNA entry, written to `out`.
[[nodiscard]] int entry_translated_output(const TofastOptions& opts, SequenceRecord& rec, Writer& out);
// After the last entry, when info is on with selector "c": the codon summary.
[[nodiscard]] int entry_special_summary(const TofastOptions& opts, EntryCodonCounts& counts, Writer& out);

// ---- single path (raw, NBRF and other one-record files) ----
// info or composition for the record of the given type, written to `out`.
[[nodiscard]] int single_special_output(const TofastOptions& opts, SequenceRecord& rec, ResidueKind type, Writer& out);
// The protein form of the DNA or RNA record, written to `out`.
[[nodiscard]] int single_translated_output(const TofastOptions& opts, SequenceRecord& rec, Writer& out);

}  // namespace kavro
