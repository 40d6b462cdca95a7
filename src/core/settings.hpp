#pragma once
// The program-wide run-time settings. They are the only state that lives from
// one command to the next; main sets three of them from the environment and
// setvar changes them during a run. Nothing stores them between runs.

namespace kavro {

struct Settings {
    int line_length = 75;        // residues per output line; never below 1
    bool addseqg = false;        // cdsnuc/extrna include introns
    bool seq_import = true;      // take in sequence data from external entries
    bool form = false;           // every entry read is circular
};

inline Settings g_settings;

// Sets the line length, keeping it at least 1 (the writers divide by it).
// Returns false, changing nothing, for a value below 1.
[[nodiscard]] bool set_line_length(long value);

}  // namespace kavro
