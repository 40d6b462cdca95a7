#pragma once
// Helpers for the writer tests: records, and the bytes a writer produces on a
// file in a temporary directory.

#include <functional>
#include <string>

#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/writer.hpp"
#include "support/run_kavro.hpp"
#include "support/records.hpp"

namespace output_test {

inline kavro::SequenceRecord record(std::string name, std::string residues, std::string definition = "") {
    return kavro_test::make_record(name, residues, kavro::ResidueKind::Unknown, definition);
}

// Runs write on a Writer over a fresh file and returns the file's bytes.
inline std::string written(const std::function<void(kavro::Writer&)>& write) {
    return kavro_test::render(write);
}

// Keeps the settings a test changes.
struct SavedState {
    kavro::Settings settings = kavro::g_settings;
    ~SavedState() {
        kavro::g_settings = settings;
    }
};

}  // namespace output_test
