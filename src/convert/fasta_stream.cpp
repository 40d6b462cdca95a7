// tofast's FASTA jobs, streamed. The whole-collection route reads every
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
#include "convert/conversions.hpp"
#include "convert/info_report.hpp"
#include "core/console.hpp"
#include "core/message_sink.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "translate/codon_table.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

// A conversion pass marks records 0, 10, 20, ...
constexpr long kPassMarkEvery = 10;

bool is_nucleic(ResidueKind type) { return type == ResidueKind::Dna || type == ResidueKind::Rna; }

// Console text held back, in order: messages for standard error, and the
// progress marks and mask announcements, which go to the console's message
// stream (standard error as well while the data go to standard output).
class HeldText {
public:
    void error(std::string_view text) { add(true, text); }
    void side(std::string_view text) { add(false, text); }

    void print() {
        for (const auto& [to_error, text] : pieces_) {
            if (to_error)
                err("%s", text.c_str());
            else
                out_text(text);
        }
        pieces_.clear();
    }

private:
    void add(bool to_error, std::string_view text) {
        if (text.empty()) return;
        if (!pieces_.empty() && pieces_.back().first == to_error)
            pieces_.back().second.append(text);
        else
            pieces_.emplace_back(to_error, std::string(text));
    }

    std::vector<std::pair<bool, std::string>> pieces_;
};

enum class Pass { None, Complement, ToRna, ToDna };

class StreamJob {
public:
    explicit StreamJob(TofastOptions& opts) : opts_(opts) {
        if (opts.output_type == ResidueKind::Protein) codon_table_ = builtin_codon_table(opts.codon_table).value_or("");
        if (opts.mask) {
            minimum_ = maximum_ = -kMaskThreshold;
        } else if (opts.limit) {
            minimum_ = opts.min_length;
            maximum_ = opts.max_length;
        }
    }

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
        if (failed_) end_program(1);
        if (!target_) {
            // Opening it again says why it cannot be created.
            static_cast<void>(OutputTarget::create_empty(opts_.output()));
            err("Error in opening output file.\n");
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

    // The end of a report: as the whole-file run ends it.
    int finish_report(const char* opening, const char* failure) {
        err("%s", opening);
        writing_.print();
        const bool closed = target_->close();
        if (report_failed_ || !closed) {
            err("Unable to write output file.\n");
            err("%s", failure);
            return 1;
        }
        err("Terminated.\n");
        return 0;
    }

    // The collection's type is known: the decisions the whole-collection
    // route takes after reading, then the output, then the waiting records.
    void settle(ResidueKind type) {
        typed_ = true;
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
        } else if (type == ResidueKind::Dna && opts_.output_type == ResidueKind::Rna) {
            pass_ = Pass::ToRna;
        } else if (type == ResidueKind::Rna && opts_.output_type == ResidueKind::Dna) {
            pass_ = Pass::ToDna;
        }
        translating_ = !opts_.info && !opts_.composition && is_nucleic(type) && opts_.output_type == ResidueKind::Protein;
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
            case Pass::ToRna:
                if (rec.type != ResidueKind::Dna) {
                    pass_failed("This is not DNA.\nError in converting to RNA.\n");
                    return false;
                }
                static_cast<void>(to_rna(rec));  // cannot fail: the record is DNA
                break;
            default:
                if (rec.type != ResidueKind::Rna) {
                    pass_failed("This is not RNA.\nError in converting to DNA.\n");
                    return false;
                }
                static_cast<void>(to_dna(rec));  // cannot fail: the record is RNA
                break;
        }
        if (index % kPassMarkEvery == 0) before_writing_.side("\b.");
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
    std::vector<SequenceRecord> waiting_;
    std::optional<OutputTarget> target_;
    Writer* out_ = nullptr;
    std::string announcements_;
    std::string held_lines_;
    std::string codon_table_;  // the translation's; streaming needs one built in
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

bool fasta_job_streams(const TofastOptions& opts) {
    const bool nucleic_output = opts.output_type == ResidueKind::Rna || opts.output_type == ResidueKind::Dna;
    // A codon table read from a file may fail only once the whole file has
    // been read: such a run keeps the collection.
    const bool translation_streams = opts.output_type != ResidueKind::Protein || builtin_codon_table(opts.codon_table).has_value();
    // The codon report and the count of records need every record first.
    const bool report_streams = !opts.info || opts.info_selector == 0 || opts.info_selector == 's' ||
                                opts.info_selector == 'l' || opts.info_selector == 'n';
    return !opts.dialog && !opts.clear_mode && !opts.sort && !opts.ms && report_streams &&
           translation_streams && !(opts.complement && nucleic_output);
}

int stream_fasta_job(TofastOptions& opts) {
    err("This is a FASTA file.\n");
    err("Reading sequences...\n");
    std::optional<LineReader> in = LineReader::open(opts.input_path);
    if (!in) {
        err("Cannot open file: %s\n\n", opts.input_path.c_str());
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    StreamJob job(opts);
    if (!stream_multi_fasta(*in, [&job](SequenceRecord& rec) { job.take(rec); })) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    return job.finish();
}

}  // namespace kavro
