// tofast: converts a sequence file of any readable format to FASTA, changing
// the sequences on the way (DNA/RNA, reverse complement, translation,
// sorting, length limits, masking) or handing over to the special outputs.
//
// Three reading paths, by format: FASTA and CLUSTAL files are read whole into
// a collection (a FASTA file is streamed instead in clear mode and in every
// job that handles each record on its own: convert/fasta_stream.hpp); database
// files (GenBank, EMBL, SwissProt, UniProt, PIR) are walked one entry at a
// time, so memory stays bounded by the largest entry; everything else is
// read as one record.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "convert/clear_fasta.hpp"
#include "convert/fasta_stream.hpp"
#include "convert/special_outputs.hpp"
#include "convert/tofast_options.hpp"
#include "core/console.hpp"
#include "core/conversions.hpp"
#include "core/file_identity.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/alignment_writer.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"

namespace kavro {

namespace {

bool is_nucleic(ResidueKind type) { return type == ResidueKind::Dna || type == ResidueKind::Rna; }

// True when the output would replace the input itself (the same file under
// any name). Emptying the output first would then lose the input.
bool output_is_input(const TofastOptions& opts) {
    if (opts.to_stdout) return false;
    return same_file(opts.input_path, opts.output_path);
}

// A protein cannot be written as DNA or RNA nor complemented: the output
// becomes protein, and complement stays off for the rest of the run.
void apply_protein_rule(TofastOptions& opts, ResidueKind type) {
    if (type != ResidueKind::Protein) return;
    if (opts.output_type != ResidueKind::Protein) {
        err("This is a protein sequence.\n");
        err("Output is set to protein sequence.\n");
        opts.output_type = ResidueKind::Protein;
    }
    if (opts.complement) {
        err("Your option <complementary> is neglected.\n");
        opts.complement = false;
    }
}

// DNA to RNA or back when the output type asks for it; a failure ends the
// program. Returns the record's type afterwards.
ResidueKind convert_record(const TofastOptions& opts, SequenceRecord& rec) {
    if (rec.type == ResidueKind::Dna && opts.output_type == ResidueKind::Rna && to_rna(rec) != 0) {
        err("Error in converting to RNA.\n");
        end_program(1);
    }
    if (rec.type == ResidueKind::Rna && opts.output_type == ResidueKind::Dna && to_dna(rec) != 0) {
        err("Error in converting to DNA.\n");
        end_program(1);
    }
    return rec.type;
}

// The preparation the entry and single paths give each record: its reverse
// complement when asked, then DNA/RNA conversion as the output type asks
// (a failed conversion ends the program). The record's type afterwards, or
// nothing after a message naming the record when it cannot be complemented.
std::optional<ResidueKind> complement_and_convert(const TofastOptions& opts, SequenceRecord& rec) {
    if (opts.complement) {
        if (!is_nucleic(rec.type)) {
            err("This is not a nucleic acid sequence: %s\n", rec.name.c_str());
            return std::nullopt;
        }
        if (complement_seq(rec) != 0) {
            err("Error in converting to complementary in file: %s\n", rec.name.c_str());
            return std::nullopt;
        }
    }
    return convert_record(opts, rec);
}

// The output of the entry and single paths: one file, created empty and kept
// open for the whole run, or standard output. A failure to open it ends the
// program.
OutputTarget open_run_output(const TofastOptions& opts) {
    auto target = OutputTarget::open_to(opts.output(), OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n", opts.output_path.c_str());
        end_program(1);
    }
    return std::move(*target);
}

// Appends a batch to the output file (created empty before) or writes it to
// standard output. 0, or 1 when the file cannot be opened or a write failed.
int write_batch(const TofastOptions& opts, Collection& seqs, long minimum, long maximum) {
    return write_fasta_batch_file(opts.output(), seqs, minimum, maximum, g_settings.line_length);
}

// ---- collection path: FASTA and CLUSTAL files ----
int collection_path(TofastOptions& opts, SeqFormat format) {
    const bool fasta = format == SeqFormat::Fasta;
    // Clear mode on FASTA (letters only, names only) needs no record beside
    // the one being read: it streams, unless it would overwrite what it
    // reads. Alignments keep their gaps.
    if (fasta && opts.clear_mode && !output_is_input(opts)) return clear_fasta_stream(opts);
    // So do the jobs that change or filter each record on its own.
    if (fasta && fasta_job_streams(opts) && !output_is_input(opts)) return stream_fasta_job(opts);
    err(fasta ? "This is a FASTA file.\n" : "This is a CLUSTAL file.\n");
    err("Reading sequences...\n");
    std::optional<Collection> seqs = fasta ? read_multi_fasta(opts.input_path, ResidueKind::Unknown) : read_clustal(opts.input_path, 0);
    if (!seqs) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    if (opts.clear_mode && fasta && clear_gaps_all(*seqs) != 0) end_program(1);

    // The collection's type is the type of its first record with residues.
    ResidueKind type = ResidueKind::Unknown;
    for (const SequenceRecord& rec : *seqs) {
        if (rec.length == 0) continue;
        type = classify_residues(rec);
        break;
    }
    apply_protein_rule(opts, type);
    if (opts.complement) {
        if (!is_nucleic(type)) {
            err("This is not a nucleic acid sequence file: %s\n", opts.input_path.c_str());
            end_program(1);
        }
        err("Converting to complementary sequence...\n");
        if (complement_all(*seqs) != 0) {
            err("Error in converting to complementary sequence.\n");
            end_program(1);
        }
    }
    if (type == ResidueKind::Dna && opts.output_type == ResidueKind::Rna) {
        if (to_rna_all(*seqs) != 0) {
            err("Error in converting to RNA.\n");
            end_program(1);
        }
        type = ResidueKind::Rna;
    } else if (type == ResidueKind::Rna && opts.output_type == ResidueKind::Dna) {
        if (to_dna_all(*seqs) != 0) {
            err("Error in converting to DNA.\n");
            end_program(1);
        }
        type = ResidueKind::Dna;
    }

    if (!OutputTarget::create_empty(opts.output())) {
        err("Error in opening output file.\n");
        return 1;
    }
    if (opts.ms || opts.info || opts.composition) return collection_special_output(opts, *seqs, type);

    if (opts.sort) sort_by_name(*seqs);
    err("Writing sequences...\n");
    if (is_nucleic(type) && opts.output_type == ResidueKind::Protein) {
        if (collection_translated_output(opts, *seqs) != 0) return 1;
        err("\nTerminated.\n");
        return 0;
    }
    if (opts.clear_mode) {
        // Names only, and no record of another kind than the collection's:
        // the writer skips records left without residues.
        LeftOutRecords left_out;
        for (SequenceRecord& rec : *seqs) {
            rec.definition.clear();
            if (!left_out.keep(rec, classify_residues(rec), type)) {
                rec.residues.clear();
                rec.length = 0;
            }
        }
        left_out.summary();
    }
    long minimum = 0, maximum = 0;
    if (opts.mask) {
        minimum = maximum = -kMaskThreshold;  // negative bounds ask the writer to mask
    } else if (opts.limit) {
        minimum = opts.min_length;
        maximum = opts.max_length;
    }
    if (write_batch(opts, *seqs, minimum, maximum) != 0) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    err("\nTerminated.\n");
    return 0;
}

// ---- entry path: database files of many entries ----
const char* entry_file_kind(SeqFormat format) {
    switch (format) {
        case SeqFormat::Genbank: return "a GenBank";
        case SeqFormat::GenbankProtein: return "a GenBank protein";
        case SeqFormat::Embl: return "an EMBL";
        case SeqFormat::Swissprot: return "a SwissProt";
        case SeqFormat::Uniprot: return "a UniProt";
        default: return "a PIR";
    }
}

// The next entry from `position`, by the reader of the format. Every entry
// is read with its own type, as the first one is: a file may mix DNA and
// protein entries. An entry without residues (CONTIG-only) is passed over
// with a message naming it; nothing comes only at the end of the file or
// on a failure.
std::optional<SequenceRecord> read_entry(LineReader& in, SeqFormat format, std::int64_t& position) {
    for (;;) {
        EmptyEntry empty;
        std::optional<SequenceRecord> rec;
        switch (format) {
            case SeqFormat::Genbank:
            case SeqFormat::GenbankProtein:
                rec = read_genbank_entry(in, position, ResidueKind::Unknown, &empty, g_settings.form);
                break;
            case SeqFormat::Pir: return read_pir_entry(in, position);
            default: rec = read_embl_entry(in, position, ResidueKind::Unknown, &empty, g_settings.form); break;
        }
        if (rec || empty.next < 0) return rec;
        err("\nEntry without residues skipped: %s\n", empty.name.c_str());
        position = empty.next;
    }
}

// One entry of the walk, prepared and written in the form the options ask
// for. 0, also for an entry passed over after a message; 1 when the run
// must stop.
int write_one_entry(TofastOptions& opts, EntryCodonCounts& counts, SequenceRecord& rec, Writer& out) {
    if (rec.type != ResidueKind::Dna && rec.type != ResidueKind::Protein) rec.type = classify_residues(rec);
    apply_protein_rule(opts, rec.type);
    err("%s, ", rec.name.c_str());
    const std::optional<ResidueKind> type = complement_and_convert(opts, rec);
    if (!type) return 0;
    if (opts.ms) {
        err("Only a FASTA file can be analyzed in the ms mode.\n");
        return 1;
    }
    if (opts.info || opts.composition) return entry_special_output(opts, counts, rec, *type, out) != 0 ? 1 : 0;
    if (is_nucleic(*type) && opts.output_type == ResidueKind::Protein)
        return entry_translated_output(opts, rec, out) != 0 ? 1 : 0;
    int written;
    if (opts.clear_mode) {
        written = write_fasta_entry(out, rec, false, ' ', g_settings.line_length);
    } else {
        // Definitions are cut to two output lines.
        const std::size_t definition_room = 2 * static_cast<std::size_t>(std::max(g_settings.line_length, 1));
        squeeze_spaces(rec.definition);
        if (rec.definition.size() > definition_room) rec.definition.resize(definition_room);
        written = write_fasta_entry(out, rec, true, ' ', g_settings.line_length);
    }
    if (written != 0) {
        err("Trouble in writing file: %s\n", opts.output_path.c_str());
        return 1;
    }
    return 0;
}

int entry_path(TofastOptions& opts, SeqFormat format) {
    err("This is %s file.\n", entry_file_kind(format));
    if (output_is_input(opts)) {
        // Entries are read while the output is written: it cannot be the input.
        err("The output file is the input file: %s\n", opts.output_path.c_str());
        return 1;
    }
    std::optional<LineReader> in = open_input(opts.input_path);
    if (!in) {
        end_program(1);
    }
    OutputTarget output = open_run_output(opts);
    Writer& out = output.writer();
    const ResidueKind chosen_type = opts.output_type;
    const bool codon_report = opts.info && opts.info_selector == 'c';
    EntryCodonCounts counts;
    if (codon_report && entry_special_setup(opts, counts) != 0) return 1;

    std::int64_t position = 0;
    while (std::optional<SequenceRecord> entry = read_entry(*in, format, position)) {
        opts.output_type = chosen_type;
        if (write_one_entry(opts, counts, *entry, out) != 0) {
            static_cast<void>(output.close());  // reported already, not again on the way out
            return 1;
        }
    }
    err("\n");
    const bool read_failed = !in->finish();
    in.reset();
    if (read_failed) {
        // A read error is not the end of the file: the output is incomplete.
        err("Error in reading file: %s\n", opts.input_path.c_str());
        return 1;
    }
    if (codon_report && entry_special_summary(opts, counts, out) != 0) return 1;
    if (!output.close()) {
        err("Trouble in writing file: %s\n", opts.output_path.c_str());
        return 1;
    }
    err("\bw");
    err("\nTerminated.\n");
    return 0;
}

// ---- single path: raw, NBRF and other one-record files ----
int single_path(TofastOptions& opts, SeqFormat format) {
    // The output is opened first, except when it is the input: the record
    // is then read before the file is emptied.
    const bool in_place = output_is_input(opts);
    std::optional<OutputTarget> output;
    if (!in_place) output = open_run_output(opts);
    std::optional<SequenceRecord> record = read_sequence(opts.input_path, format, ResidueKind::Unknown, g_settings.form);
    if (!record) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    if (in_place) output = open_run_output(opts);
    SequenceRecord& rec = *record;
    rec.type = classify_residues(rec);
    apply_protein_rule(opts, rec.type);
    err("Data type is %s\n", type_name(rec.type));
    if (clear_gaps(rec) != 0) {
        err("Error in clearing gaps in file: %s\n", rec.name.c_str());
        end_program(1);
    }
    err("Gaps were cleared.\n");
    const std::optional<ResidueKind> prepared = complement_and_convert(opts, rec);
    if (!prepared) end_program(1);
    const ResidueKind type = *prepared;

    if (opts.info || opts.composition) {
        int status = single_special_output(opts, rec, type, output->writer());
        if (!output->close() && status == 0) {
            err("Trouble in writing file: %s\n", opts.output_path.c_str());
            status = 1;
        }
        return status;
    }
    if (is_nucleic(type) && opts.output_type == ResidueKind::Protein) {
        if (single_translated_output(opts, rec, output->writer()) != 0) return 1;
    } else if (write_fasta_entry(output->writer(), rec, false, ' ', g_settings.line_length) != 0) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    if (!output->close()) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    err("\nTerminated.\n");
    return 0;
}

}  // namespace

int cmd_tofast(int count, CommandLine& words) {
    TofastOptions opts;
    if (count == 1) {
        opts.dialog = true;
        if (run_tofast_dialog(opts) != 0) return 1;
    } else if (count == 3) {
        // Input and output names only: clear mode.
        opts.clear_mode = true;
        opts.input_path = words[1];
        opts.output_path = words[2];
    } else if (count >= 4 && count <= 6) {
        if (parse_tofast_words(count, words, opts) != 0) return 1;
    } else {
        show_help("tofast");
        return 1;
    }

    opts.to_stdout = !opts.dialog && OutputTarget::names_stdout(opts.output_path);
    err("Reading sequence...\n");
    const SeqFormat format = detect_format(opts.input_path);
    switch (format) {
        case SeqFormat::Error:
            err("Unknown file format.\n");
            end_program(1);
        case SeqFormat::Fasta:
        case SeqFormat::Clustal: return collection_path(opts, format);
        case SeqFormat::Genbank:
        case SeqFormat::GenbankProtein:
        case SeqFormat::Embl:
        case SeqFormat::Swissprot:
        case SeqFormat::Uniprot:
        case SeqFormat::Pir: return entry_path(opts, format);
        default: return single_path(opts, format);
    }
}

}  // namespace kavro
