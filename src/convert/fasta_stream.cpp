// tofast's FASTA jobs, streamed (reports that add up counts keep only the
// counts). The whole-collection route reads every
// record, then prints what it decided (the protein rule, the conversion
// under way and its progress marks), then writes the records. Here each
// record is converted and written as it arrives; what that route prints
// after the reading is collected in order and printed when the reading ends,
// so both console streams show the same bytes in the same order.
#include "convert/fasta_stream.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "convert/composition_report.hpp"
#include "convert/info_report.hpp"
#include "convert/special_outputs.hpp"
#include "core/console.hpp"
#include "core/conversions.hpp"
#include "core/held_text.hpp"
#include "core/message_sink.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/alignment_writer.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "translate/codon_table.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

// A conversion pass marks records 0, 10, 20, ...
constexpr long kPassMarkEvery = 10;

bool is_nucleic(ResidueKind type) { return type == ResidueKind::Dna || type == ResidueKind::Rna; }

enum class Pass { None, Complement, ToRna, ToDna };

class StreamJob {
public:
    explicit StreamJob(TofastOptions& opts) : opts_(opts) {
        if (opts.output_type == ResidueKind::Protein || codon_report())
            codon_table_ = builtin_codon_table(opts.codon_table).value_or("");
        if (opts.mask) {
            minimum_ = maximum_ = -kMaskThreshold;
        } else if (opts.limit) {
            minimum_ = opts.min_length;
            maximum_ = opts.max_length;
        }
    }

    // The collection's type, when it is known before the first record (the
    // sorted job reads the file once before it writes).
    void set_type(ResidueKind type) { settle(type); }

    // One record as the reader hands it over.
    void take(SequenceRecord& rec) {
        if (stopped_) return;  // after a failure the rest is only counted
        if (!typed_) {
            // Records before the first with residues wait for the collection's type.
            if (rec.length == 0) {
                waiting_.push_back(rec);
                return;
            }
            settle(rec.type);
        }
        process(rec);
    }

    // After the reading: prints what was held, in order, and ends as the
    // whole-collection route ends.
    int finish() {
        if (!typed_) settle(ResidueKind::Unknown);  // no record has residues
        if (!failed_ && pass_ != Pass::None) before_writing_.side("\n");  // the pass's marks end
        before_writing_.print();
        // The conversion after a complement runs only once that has passed
        // every record.
        if (!failed_ && conversion_ != Pass::None) {
            if (!conversion_failed_) converting_.side("\n");
            converting_.print();
        }
        if (failed_ || conversion_failed_) end_program(1);
        if (!target_) {
            // Opening it again says why it cannot be created.
            static_cast<void>(OutputTarget::create_empty(opts_.output()));
            err("Error in opening output file.\n");
            return 1;
        }
        if (codon_report() && !codon_report_usable()) {
            err("Writing sequence info...\n");
            err("Sequence must be DNA.\n");
            static_cast<void>(target_->close());
            return 1;
        }
        if (opts_.info) return finish_report("Writing sequence info...\n", "Error in writing info.\n");
        if (opts_.composition) {
            if (!window_valid()) {
                err("Window and slide sizes are not correct.\n");
                static_cast<void>(target_->close());
                return 1;
            }
            return finish_report("Writing compositional variation...\n", "Error in writing DNA info.\n");
        }
        err("Writing sequences...\n");
        if (translating_ && !translation_failed_) translation_.side("\n");  // the translation's marks end
        translation_.print();
        if (translation_failed_) {
            // The whole-file run stops before writing anything.
            static_cast<void>(target_->close());
            return 1;
        }
        writing_.print();
        // Standard output is flushed: the data must have left before the run
        // can say it is done.
        if (!target_->close()) {
            if (!write_failed_) err("Writing error.\n");
            if (!target_->is_stdout()) err("Trouble in writing file: %s\n", opts_.output_path.c_str());
            err("Error in writing sequence.\n");
            end_program(1);
        }
        err("\nTerminated.\n");
        return 0;
    }

private:
    bool window_valid() const { return opts_.window >= 1 && opts_.slide >= 1; }
    bool codon_report() const { return opts_.info && opts_.info_selector == 'c'; }
    // The codon report needs DNA.
    bool codon_report_usable() const { return type_ == ResidueKind::Dna; }

    // The end of a report: as the whole-file run ends it.
    int finish_report(const char* opening, const char* failure) {
        err("%s", opening);
        writing_.print();
        if (!report_failed_) write_report_end();
        const bool closed = target_->close();
        if (report_failed_ || !closed) {
            err("Unable to write output file.\n");
            err("%s", failure);
            return 1;
        }
        err("Terminated.\n");
        return 0;
    }

    // What a report writes after the last record: the count of records, or
    // the codon summary.
    void write_report_end() {
        if (opts_.info && opts_.info_selector == '#') {
            out_->printf("%ld\n", reported_);
        } else if (codon_report() &&
                   write_codon_summary(*out_, codon_table_, codon_totals_, codon_total_, reported_) != 0) {
            err("Trouble in writing codon summary in Mfwrite_info3.\n");
            report_failed_ = true;
        }
    }

    // The collection's type is known: the decisions the whole-collection
    // route takes after reading, then the output, then the waiting records.
    void settle(ResidueKind type) {
        typed_ = true;
        type_ = type;
        if (type == ResidueKind::Protein) {
            if (opts_.output_type != ResidueKind::Protein) {
                before_writing_.error("This is a protein sequence.\nOutput is set to protein sequence.\n");
                opts_.output_type = ResidueKind::Protein;
            }
            if (opts_.complement) {
                before_writing_.error("Your option <complementary> is neglected.\n");
                opts_.complement = false;
            }
        }
        if (opts_.complement) {
            if (!is_nucleic(type)) {
                before_writing_.error("This is not a nucleic acid sequence file: " + opts_.input_path + "\n");
                stop();
                return;
            }
            before_writing_.error("Converting to complementary sequence...\n");
            pass_ = Pass::Complement;
            if (type == ResidueKind::Dna && opts_.output_type == ResidueKind::Rna)
                conversion_ = Pass::ToRna;
            else if (type == ResidueKind::Rna && opts_.output_type == ResidueKind::Dna)
                conversion_ = Pass::ToDna;
        } else if (type == ResidueKind::Dna && opts_.output_type == ResidueKind::Rna) {
            pass_ = Pass::ToRna;
        } else if (type == ResidueKind::Rna && opts_.output_type == ResidueKind::Dna) {
            pass_ = Pass::ToDna;
        }
        translating_ = !opts_.info && !opts_.composition && is_nucleic(type) && opts_.output_type == ResidueKind::Protein;
        // A codon table from a file is read before the output is opened: a
        // table that cannot be used ends the run (after its messages) with
        // the output untouched.
        if (codon_table_.empty() && (translating_ || (codon_report() && type == ResidueKind::Dna))) {
            std::optional<CodonTable> table = select_codon_table(opts_.codon_table);
            if (!table) end_program(1);
            codon_table_ = std::move(*table);
        }
        open_output();
        std::vector<SequenceRecord> waiting = std::move(waiting_);
        for (SequenceRecord& rec : waiting) process(rec);
    }

    void open_output() {
        target_ = OutputTarget::open_to(opts_.output(), OutputTarget::Mode::Truncate);
        if (target_) out_ = &target_->writer();
    }

    void stop() {
        stopped_ = true;
        failed_ = true;
    }

    // A pass's failure: its messages, then the run ends after the reading.
    void pass_failed(const std::string& messages) {
        before_writing_.error(messages);
        stop();
    }

    void process(SequenceRecord& rec) {
        if (stopped_) return;
        if (!run_pass(rec)) return;
        if (!run_conversion(rec)) return;
        if (translating_ && !translate(rec)) return;
        if (opts_.info || opts_.composition)
            report(rec);
        else
            write(rec);
    }

    // The conversion pass of the record; false when it failed.
    bool run_pass(SequenceRecord& rec) {
        if (pass_ == Pass::None) return true;
        const long index = passed_++;
        switch (pass_) {
            case Pass::Complement: {
                const ResidueKind kind = classify_residues(rec);
                if (!is_nucleic(kind)) {
                    pass_failed("This is not a nucleic acid sequence: " + rec.name + ".\nError in converting to complementary in sequence: " +
                                rec.name + ".\nError in converting to complementary sequence.\n");
                    return false;
                }
                // Cannot fail: the kind is nucleic and the length exact.
                static_cast<void>(complement_seq(rec, kind));
                break;
            }
            default:
                if (const char* failure = convert(rec, pass_)) {
                    pass_failed(failure);
                    return false;
                }
                break;
        }
        if (index % kPassMarkEvery == 0) before_writing_.side("\b.");
        return true;
    }

    // DNA to RNA or back; the messages of the failure, or nothing.
    static const char* convert(SequenceRecord& rec, Pass pass) {
        if (pass == Pass::ToRna) {
            if (rec.type != ResidueKind::Dna) return "This is not DNA.\nError in converting to RNA.\n";
            static_cast<void>(to_rna(rec));  // cannot fail: the record is DNA
        } else {
            if (rec.type != ResidueKind::Rna) return "This is not RNA.\nError in converting to DNA.\n";
            static_cast<void>(to_dna(rec));  // cannot fail: the record is RNA
        }
        return nullptr;
    }

    // The conversion pass after a complement; false when it failed, now or
    // before (the complement still sees every record: its marks come first,
    // and its own failure would come before this one).
    bool run_conversion(SequenceRecord& rec) {
        if (conversion_ == Pass::None) return true;
        if (conversion_failed_) return false;
        const long index = converted_++;
        if (const char* failure = convert(rec, conversion_)) {
            converting_.error(failure);
            conversion_failed_ = true;
            return false;
        }
        if (index % kPassMarkEvery == 0) converting_.side("\b.");
        return true;
    }

    // The record replaced by its protein; false (and the run stops) when it
    // cannot be translated.
    bool translate(SequenceRecord& rec) {
        const long index = translated_++;
        const std::string name = rec.name;
        held_lines_.clear();
        const int status = translate_record_in_place(rec, opts_.frame, codon_table_, MessageSink(held_lines_));
        translation_.error(held_lines_);
        if (status != 0) {
            translation_.error("Error of translation in sequence: " + name + ".\n");
            translation_failed_ = true;
            stopped_ = true;
            return false;
        }
        if (index % kPassMarkEvery == 0) translation_.side(".");
        return true;
    }

    // The record's report: information (the full one, or one item) or the
    // composition windows. The report stops at the first record that fails.
    void report(const SequenceRecord& rec) {
        if (out_ == nullptr) return;
        const long index = reported_++;
        int status;
        if (opts_.composition && !opts_.info) {
            if (!window_valid()) return;
            held_lines_.clear();
            status = write_window_composition(*out_, &rec, opts_.window, opts_.slide, MessageSink(held_lines_));
            writing_.error(held_lines_);
            if (status != 0) writing_.error("Error in Mfwrite_Dinfo. Sequence No. " + std::to_string(static_cast<int>(index)) + ".\n");
        } else if (opts_.info_selector == '#') {
            return;  // counted: reported_
        } else if (codon_report()) {
            if (!codon_report_usable()) return;
            held_lines_.clear();
            status = write_record_codon_usage(out_, &rec, codon_table_, &codon_counts_, MessageSink(held_lines_));
            writing_.error(held_lines_);
            if (status != 0) {
                writing_.error("Error in getting code_count in Mfwrite_info3.\n");
            } else {
                for (std::size_t i = 0; i < static_cast<std::size_t>(kCodonCount); ++i) codon_totals_[i] += codon_counts_[i];
                codon_total_ += rec.length / 3;
            }
        } else if (opts_.info_selector == 0) {
            held_lines_.clear();
            status = write_record_info(*out_, &rec, true, '_', MessageSink(held_lines_));
            writing_.error(held_lines_);
        } else {
            status = write_info_item(*out_, &rec, opts_.info_selector);
        }
        if (status != 0) {
            report_failed_ = true;
            stopped_ = true;
        }
    }

    // The batch writer's rules: no empty record, the length limits, masking;
    // a failed output is reported once and the writing stops.
    void write(SequenceRecord& rec) {
        if (out_ == nullptr || write_failed_) return;
        if (rec.length == 0 || rec.residues.empty()) return;
        const bool masking = minimum_ < 0 && maximum_ < 0;
        if (!masking && minimum_ != 0 && maximum_ == 0 && rec.length < minimum_) return;
        if (!masking && minimum_ == 0 && maximum_ != 0 && rec.length > maximum_) return;
        if (masking) {
            announcements_.clear();
            mask_long_runs(rec.residues, -minimum_, -maximum_, announcements_);
            writing_.side(announcements_);
            rec.length = static_cast<long>(rec.residues.size());
        }
        const int result = write_fasta_entry_quietly(*out_, rec, true, '_', g_settings.line_length);
        if (result == 2) {
            writing_.error("Writing error.\n");
            write_failed_ = true;
        } else if (result == 3) {
            writing_.error("Error in sequence length.\n");
        }
    }

    TofastOptions& opts_;
    HeldText before_writing_;  // printed after the reading's closing dot
    HeldText translation_;     // printed after "Writing sequences..."
    HeldText writing_;         // printed after the translation's
    HeldText converting_;      // the conversion after a complement, printed after its marks
    Pass conversion_ = Pass::None;
    long converted_ = 0;
    bool conversion_failed_ = false;
    ResidueKind type_ = ResidueKind::Unknown;
    CodonCounts codon_counts_{};
    CodonCounts codon_totals_{};
    long codon_total_ = 0;
    std::vector<SequenceRecord> waiting_;
    std::optional<OutputTarget> target_;
    Writer* out_ = nullptr;
    std::string announcements_;
    std::string held_lines_;
    std::string codon_table_;  // the translation's or the codon report's
    long translated_ = 0;
    long reported_ = 0;
    bool translating_ = false;
    bool translation_failed_ = false;
    bool report_failed_ = false;
    Pass pass_ = Pass::None;
    long passed_ = 0;
    long minimum_ = 0, maximum_ = 0;
    bool typed_ = false;
    bool stopped_ = false;
    bool failed_ = false;
    bool write_failed_ = false;
};

}  // namespace

namespace {

// Sorting copies each record from its offset: the input must be a plain
// file that can be read at any offset cheaply (not a pipe, not gzip). A
// complement or a DNA/RNA conversion runs in the order of the file before
// the sort, so those keep the collection.
bool sort_streams(const TofastOptions& opts) {
    return !opts.complement && opts.output_type == ResidueKind::Unknown && readable_at_offsets(opts.input_path);
}

// The records in name order. The first reading keeps each record's name,
// the offset where its text starts and its type; the names are put in the
// order the collection's sort gives, then each record is read again from its
// offset and handed to the job.
int stream_sorted_fasta_job(LineReader& in, TofastOptions& opts) {
    struct Place {
        std::int64_t start;
        std::size_t name_end;  // the end of the record's name in `names`
        ResidueKind type;
    };
    std::vector<Place> places;
    std::string names;  // every name, one after the other
    FastaRecordStarts starts;
    std::optional<ResidueKind> type;
    const auto index = [&](SequenceRecord& rec) {
        const std::int64_t start = starts.next(in);
        names += rec.name;
        places.push_back({start, names.size(), rec.type});
        if (!type && rec.length > 0) type = classify_residues(rec);
    };
    if (!stream_multi_fasta(in, index)) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    const std::int64_t end_of_file = in.tell();
    std::vector<std::string_view> name_views;
    name_views.reserve(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        const std::size_t from = k == 0 ? 0 : places[k - 1].name_end;
        name_views.push_back(std::string_view(names).substr(from, places[k].name_end - from));
    }
    const std::vector<std::size_t> order = name_order(name_views);
    name_views = {};
    StreamJob job(opts);
    job.set_type(type.value_or(ResidueKind::Unknown));
    FastaRecordsAt records(in, opts.input_path);
    for (const std::size_t k : order) {
        const Place& place = places[k];
        const std::int64_t end = k + 1 < places.size() ? places[k + 1].start : end_of_file;
        std::optional<SequenceRecord> rec = records.read(place.start, end);
        if (!rec) {
            static_cast<void>(in.finish());
            err("Error in reading file: %s\n", opts.input_path.c_str());
            end_program(1);
        }
        rec->type = place.type;
        job.take(*rec);
    }
    return job.finish();
}

// The mass search: the file is read once for its type (with the reading's
// marks), then again one protein at a time as the search runs, so that the
// search's console lines follow the reading as they do for a collection.
int stream_mass_search(LineReader& in, TofastOptions& opts) {
    std::optional<ResidueKind> type;
    const auto classify = [&type](SequenceRecord& rec) {
        if (!type && rec.length > 0) type = classify_residues(rec);
    };
    if (!stream_multi_fasta(in, classify)) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    const ResidueKind kind = type.value_or(ResidueKind::Unknown);
    if (kind == ResidueKind::Protein && opts.output_type != ResidueKind::Protein) {
        err("This is a protein sequence.\nOutput is set to protein sequence.\n");
        opts.output_type = ResidueKind::Protein;
    }
    if (!OutputTarget::create_empty(opts.output())) {
        err("Error in opening output file.\n");
        return 1;
    }
    std::optional<SequenceRecord> current;
    bool at_start = in.seek(0);
    const ProteinSource next = [&]() -> const SequenceRecord* {
        current = at_start ? read_fasta_record(in) : std::nullopt;
        if (current) return &*current;
        if (!at_start || in.error() || !in.eof()) {
            static_cast<void>(in.finish());
            err("Error in reading file: %s\n", opts.input_path.c_str());
            end_program(1);
        }
        return nullptr;
    };
    return mass_search_output(opts, next, kind);
}

}  // namespace

bool fasta_job_streams(const TofastOptions& opts) {
    // A codon table without a name is refused where the collection's route refuses it.
    const bool table_named = !opts.codon_table.empty() ||
                             (opts.output_type != ResidueKind::Protein && !(opts.info && opts.info_selector == 'c'));
    // The sort and the mass search read the file twice.
    return !opts.dialog && !opts.clear_mode && (!opts.sort || sort_streams(opts)) &&
           (!opts.ms || readable_at_offsets(opts.input_path)) && table_named;
}

int stream_fasta_job(TofastOptions& opts) {
    err("This is a FASTA file.\n");
    err("Reading sequences...\n");
    std::optional<LineReader> in = open_input(opts.input_path);
    if (!in) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    if (opts.ms) return stream_mass_search(*in, opts);
    if (opts.sort) return stream_sorted_fasta_job(*in, opts);
    StreamJob job(opts);
    if (!stream_multi_fasta(*in, [&job](SequenceRecord& rec) { job.take(rec); })) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    return job.finish();
}

}  // namespace kavro
