#pragma once
// The entry loop every feature-extracting command runs (extint, extrna,
// noncod, cdsnuc, extcds): open the input, open the outputs behind the
// guard that keeps them off the input, read the entries one by one and hand
// each to the command, check the read, close, and print the closing line.
// Each command gives its per-entry work and its own message texts.

#include <cstdint>
#include <functional>
#include <string>

#include "core/sequence.hpp"
#include "features/feature_table.hpp"
#include "input/formats.hpp"

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

// Runs the loop over the GenBank or EMBL file `input` of that format: 0, or
// 1 after the messages.
[[nodiscard]] int run_feature_loop(const std::string& input, SeqFormat format, const FeatureLoop& loop);

}  // namespace kavro
