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

#include "convert/conversions.hpp"
#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"

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
        err("Writing sequences...\n");
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
        const int result = write_fasta_entry_quietly(*out_, rec, true, '_');
        if (result == 2) {
            writing_.error("Writing error.\n");
            write_failed_ = true;
        } else if (result == 3) {
            writing_.error("Error in sequence length.\n");
        }
    }

    TofastOptions& opts_;
    HeldText before_writing_;  // printed after the reading's closing dot
    HeldText writing_;         // printed after "Writing sequences..."
    std::vector<SequenceRecord> waiting_;
    std::optional<OutputTarget> target_;
    Writer* out_ = nullptr;
    std::string announcements_;
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
    return !opts.dialog && !opts.clear_mode && !opts.sort && !opts.ms && !opts.info && !opts.composition &&
           opts.output_type != ResidueKind::Protein && !(opts.complement && nucleic_output);
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
