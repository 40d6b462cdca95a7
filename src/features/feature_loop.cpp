#include "features/feature_loop.hpp"

#include "core/console.hpp"
#include "features/feature_io.hpp"
#include "output/fasta_writer.hpp"
#include "input/line_reader.hpp"

namespace kavro {

void SingleOutput::attach(FeatureLoop& loop) {
    loop.open_outputs = [this] {
        if (output_would_replace_input(input_, output_)) return false;
        target_ = OutputTarget::open(output_, OutputTarget::Mode::Truncate);
        if (!target_) err(cannot_open_, output_.c_str());
        return target_.has_value();
    };
    loop.close_outputs = [this](int status) {
        if (target_->close() || status != 0) return true;
        err(write_failed_, output_.c_str());
        return false;
    };
}

EntryStep SingleOutput::write(FeatureEntry& e, Collection& batch, int line_length) {
    if (write_fasta_batch(target_->writer(), batch, 0, 0, line_length) == 0 && !target_->writer().failed())
        return EntryStep::Next;
    err(write_failed_, output_.c_str());
    e.status = 1;
    return EntryStep::Stop;
}

int run_feature_loop(const std::string& input, SeqFormat format, const FeatureLoop& loop) {
    const FeatureLoopTexts& texts = loop.texts;
    auto in = LineReader::open(input);
    if (!in) {
        err(texts.cannot_open_input, input.c_str());
        return 1;
    }
    if (!loop.open_outputs()) return 1;

    FeatureTableReader reader(*in, format, loop.reader_options);
    SequenceRecord entry;
    Collection features;  // reused: its room stays from entry to entry
    std::int64_t position = 0;
    int status = 0;
    for (;;) {
        const std::int64_t entry_start = position;
        const ReadOutcome outcome = reader.read(entry, features, position, loop.mode);
        if (outcome == ReadOutcome::EndOfInput) break;
        if (outcome != ReadOutcome::Entry) {
            // A failed read would fail again at the same position.
            err("%s", outcome == ReadOutcome::MissingEndLine ? texts.missing_end_line : texts.read_failed);
            status = 1;
            break;
        }
        FeatureEntry item{entry, features, reader, entry_start, status};
        if (loop.work(item) == EntryStep::Stop) break;
    }
    if (loop.after_entries) loop.after_entries(status);
    // A read that failed on the way fails the run (after its message).
    if (!in->finish() || (loop.finish_more && !loop.finish_more())) status = 1;
    if (!loop.close_outputs(status)) return 1;
    if (status != 0 && !texts.terminated_after_failure) return status;
    out("%s", texts.terminated);
    return status;
}

}  // namespace kavro
