// The special outputs of tofast on its three reading paths: information
// reports, compositional variation, the peptide-mass search and the protein
// form of nucleic sequences. Messages go to standard error.
#include "convert/special_outputs.hpp"

#include "convert/composition_report.hpp"
#include "convert/info_report.hpp"
#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "msanal/msanal.hpp"
#include "output/fasta_writer.hpp"
#include "translate/codon_table.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

// The codon table the options name; a name that is neither a built-in table
// nor a usable table file ends the run after select_codon_table's message.
CodonTable codon_table_or_end(const std::string& name) {
    std::optional<CodonTable> table = select_codon_table(name);
    if (!table) end_program(1);
    return std::move(*table);
}

bool is_item_selector(char selector) {
    return selector == 's' || selector == 'l' || selector == 'n' || selector == '#';
}

bool window_is_valid(const TofastOptions& opts) {
    if (opts.window >= 1 && opts.slide >= 1) return true;
    err("Window and slide sizes are not correct.\n");
    return false;
}

// The composition table of one record on the entry and single paths.
int composition_table(const TofastOptions& opts, SequenceRecord& rec, Writer& out) {
    if (!window_is_valid(opts)) return 1;
    err("Writing compositional variation...\n");
    if (write_window_composition(out, &rec, opts.window, opts.slide) != 0) {
        err("Error in writing DNA info.\n");
        return 1;
    }
    return 0;
}

// The full report of one record carries its definition after "_".
constexpr char kInfoSeparator = '_';

}  // namespace

int mass_search_output(const TofastOptions& opts, const ProteinSource& proteins, ResidueKind type) {
    if (type != ResidueKind::Protein) {
        err("Only protein sequence can be analyzed in the ms mode.\n");
        return 1;
    }
    auto target = OutputTarget::open_to(opts.output(), OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", opts.output_path.c_str());
        err("Error in MS analysis.\n");
        return 1;
    }
    int status = run_mass_search_over(opts.ms_definition, target->writer(), proteins);
    if (!target->close() && status == 0) {
        err("Unable to write output file.\n");
        status = 1;
    }
    if (status != 0) {
        err("Error in MS analysis.\n");
        return 1;
    }
    err("Terminated.\n");
    return 0;
}

namespace {

int collection_info(const TofastOptions& opts, const Collection& seqs, ResidueKind type) {
    err("Writing sequence info...\n");
    int status;
    if (opts.info_selector == 'c') {
        if (type != ResidueKind::Dna) {
            err("Sequence must be DNA.\n");
            return 1;
        }
        status = write_codon_info_all(opts.output(), seqs, opts.codon_table);
        if (status == kUnknownCodonTable) end_program(1);
    } else if (is_item_selector(opts.info_selector)) {
        status = write_info_item_all(opts.output(), seqs, opts.info_selector);
    } else {
        status = write_info_all(opts.output(), seqs);
    }
    if (status != 0) {
        err("Error in writing info.\n");
        return 1;
    }
    err("Terminated.\n");
    return 0;
}

// The protein form of one record, labelled with its frame; nothing when the
// translation fails (after its messages).
std::optional<SequenceRecord> translated(const TofastOptions& opts, const SequenceRecord& rec) {
    auto protein = translate_record_with(rec, opts.frame, codon_table_or_end(opts.codon_table), kProteinSuffix);
    if (protein) protein->definition = frame_label(opts.frame);
    return protein;
}

}  // namespace

// ---- collection path ----

int collection_special_output(const TofastOptions& opts, Collection& seqs, ResidueKind type) {
    if (opts.ms) {
        std::size_t i = 0;
        return mass_search_output(
            opts, [&]() -> const SequenceRecord* { return i < seqs.size() ? &seqs[i++] : nullptr; }, type);
    }
    if (opts.info) return collection_info(opts, seqs, type);
    if (opts.composition) {
        if (!window_is_valid(opts)) return 1;
        err("Writing compositional variation...\n");
        if (write_window_composition_report(opts.output(), seqs, opts.window, opts.slide) != 0) {
            err("Error in writing DNA info.\n");
            return 1;
        }
        err("Terminated.\n");
        return 0;
    }
    return 0;
}

int collection_translated_output(const TofastOptions& opts, Collection& seqs) {
    // The nucleic records are not needed afterwards: translate them in place.
    if (translate_collection_in_place_with(seqs, opts.frame, codon_table_or_end(opts.codon_table)) != 0) return 1;
    if (write_fasta_all(opts.output(), seqs, g_settings.line_length) != 0) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    return 0;
}

// ---- entry path ----

int entry_special_setup(const TofastOptions& opts, EntryCodonCounts& counts) {
    counts.per_entry.fill(0);
    counts.totals.fill(0);
    counts.codon_total = 0;
    counts.entries_counted = 0;
    counts.codon_table = codon_table_or_end(opts.codon_table);
    return 0;
}

int entry_special_output(const TofastOptions& opts, EntryCodonCounts& counts, SequenceRecord& rec, ResidueKind type,
                         Writer& out) {
    (void)type;  // the reports read the record's own type
    if (opts.info) {
        err("Writing sequence info...\n");
        if (opts.info_selector == 'c') {
            if (write_record_codon_usage(&out, &rec, counts.codon_table, &counts.per_entry) != 0) {
                err("Error in writing info3.\n");
                return 1;
            }
            counts.codon_total += rec.length / 3;
            for (int i = 0; i < kCodonCount; ++i)
                counts.totals[static_cast<std::size_t>(i)] += counts.per_entry[static_cast<std::size_t>(i)];
            counts.per_entry.fill(0);
            ++counts.entries_counted;
        } else if (is_item_selector(opts.info_selector)) {
            if (write_info_item(out, &rec, opts.info_selector) != 0) {
                err("Error in getting code_count.\n");
                return 1;
            }
        } else if (write_record_info(out, &rec, true, kInfoSeparator) != 0) {
            err("Error in writing info.\n");
            return 1;
        }
    }
    if (opts.composition) return composition_table(opts, rec, out);
    return 0;
}

int entry_translated_output(const TofastOptions& opts, SequenceRecord& rec, Writer& out) {
    std::optional<SequenceRecord> protein = translated(opts, rec);
    if (!protein) return 1;
    if (write_fasta_entry(out, *protein, true, ' ', g_settings.line_length) != 0) {
        err("Trouble in writing file: %s\n", opts.output_path.c_str());
        return 1;
    }
    return 0;
}

int entry_special_summary(const TofastOptions& opts, EntryCodonCounts& counts, Writer& out) {
    (void)opts;
    if (write_codon_summary(out, counts.codon_table, counts.totals, counts.codon_total, counts.entries_counted) != 0) {
        err("Trouble in writing codon summary.\n");
        return 1;
    }
    return 0;
}

// ---- single path ----

int single_special_output(const TofastOptions& opts, SequenceRecord& rec, ResidueKind type, Writer& out) {
    (void)type;
    if (opts.info) {
        err("Writing sequence info...\n");
        if (opts.info_selector == 'c') {
            CodonCounts counts{};
            const CodonTable table = codon_table_or_end(opts.codon_table);
            if (write_record_codon_usage(&out, &rec, table, &counts) != 0) {
                err("Error in writing info3.\n");
                return 1;
            }
        } else if (is_item_selector(opts.info_selector) ? write_info_item(out, &rec, opts.info_selector) != 0
                                                        : write_record_info(out, &rec, true, kInfoSeparator) != 0) {
            err("Error in writing info.\n");
            return 1;
        }
        err("Terminated.\n");
        return 0;
    }
    if (opts.composition) {
        if (composition_table(opts, rec, out) != 0) return 1;
        err("Terminated.\n");
        return 0;
    }
    return 0;
}

int single_translated_output(const TofastOptions& opts, SequenceRecord& rec, Writer& out) {
    std::optional<SequenceRecord> protein = translated(opts, rec);
    if (!protein) return 1;
    const int code = write_fasta_entry(out, *protein, true, ' ', g_settings.line_length);
    if (code != 0) {
        err("Trouble in writing file: %s\n", opts.output_path.c_str());
        err("Error code: %d.\n", code);
        end_program(1);
    }
    return 0;
}

}  // namespace kavro
