#pragma once
// The entry loop every feature-extracting command runs (extint, extrna,
// noncod, cdsnuc, extcds): open the input, open the outputs behind the
// guard that keeps them off the input, read the entries one by one and hand
// each to the command, check the read, close, and print the closing line.
// Each command gives its per-entry work and its own message texts.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/sequence.hpp"
#include "features/feature_table.hpp"
#include "input/formats.hpp"
#include "output/output_target.hpp"

namespace kavro {

// The messages that differ between the commands, printf formats where they
// name a file.
struct FeatureLoopTexts {
    const char* cannot_open_input = "Cannot open file: %s\n\n";  // the input's name
    const char* missing_end_line = "End tag // is missing.\n";
    const char* read_failed = "Error in extracting CDS\n";      // the reader cannot go past an entry
    const char* terminated = "\nTerminated.\n";
    // True: the closing line is printed after a failed run too, which then
    // returns its status; false: a failed run returns before it.
    bool terminated_after_failure = false;
};

// One entry as the loop hands it over. The work may read again with the
// reader (from entry_start) and sets status when it fails the run.
struct FeatureEntry {
    SequenceRecord& entry;
    Collection& features;
    FeatureTableReader& reader;
    std::int64_t entry_start;  // where this entry's read began
    int& status;
};

enum class EntryStep { Next, Stop };

struct FeatureLoop {
    ExtractMode mode = ExtractMode::Coding;
    FeatureOptions reader_options{};
    FeatureLoopTexts texts{};
    // Guards and opens the outputs; false after its message.
    std::function<bool()> open_outputs;
    // The command's work on one entry; Stop ends the loop.
    std::function<EntryStep(FeatureEntry&)> work;
    // Called once the loop has ended, before the input is checked; none when
    // empty.
    std::function<void(int status)> after_entries;
    // Further inputs to check once the entries are read (false when one
    // failed); none when empty.
    std::function<bool()> finish_more;
    // Closes the outputs of a run that has `status` so far; false when one
    // failed, after the message the command gives for it.
    std::function<bool(int status)> close_outputs;
};

// The one output of extint, extrna and noncod, emptied before the entries
// are read. `cannot_open` (a printf format given the output's name) says
// that it cannot be opened; `write_failed` (the same) that a batch could not
// be written, or that closing it failed a run that had not failed.
class SingleOutput {
public:
    SingleOutput(std::string input, std::string output, const char* cannot_open, const char* write_failed)
        : input_(std::move(input)), output_(std::move(output)), cannot_open_(cannot_open), write_failed_(write_failed) {}

    // Sets the loop's open_outputs and close_outputs to this output's; the
    // output must outlive the loop's run.
    void attach(FeatureLoop& loop);
    // Appends the batch; Stop after the message, with the run failed.
    EntryStep write(FeatureEntry& e, Collection& batch, int line_length);

private:
    std::string input_, output_;
    const char* cannot_open_;
    const char* write_failed_;
    std::optional<OutputTarget> target_;
};

// Runs the loop over the GenBank or EMBL file `input` of that format: 0, or
// 1 after the messages.
[[nodiscard]] int run_feature_loop(const std::string& input, SeqFormat format, const FeatureLoop& loop);

}  // namespace kavro
