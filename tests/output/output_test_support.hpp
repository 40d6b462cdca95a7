#pragma once
// Helpers for the writer tests: records, and the bytes a writer produces on a
// file in a temporary directory.

#include <functional>
#include <string>

#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/writer.hpp"
#include "support/run_kavro.hpp"

namespace output_test {

inline kavro::SequenceRecord record(std::string name, std::string residues, std::string definition = "") {
    kavro::SequenceRecord r;
    r.name = std::move(name);
    r.definition = std::move(definition);
    r.length = static_cast<long>(residues.size());
    r.residues = std::move(residues);
    return r;
}

// Runs write on a Writer over a fresh file and returns the file's bytes.
inline std::string written(const std::function<void(kavro::Writer&)>& write) {
    kavro_test::TempDir dir;
    {
        auto w = kavro::Writer::open_truncate(dir / "out");
        write(*w);
        EXPECT_TRUE(w->close());
    }
    return dir.read("out");
}

// Keeps the settings a test changes.
struct SavedState {
    kavro::Settings settings = kavro::g_settings;
    ~SavedState() {
        kavro::g_settings = settings;
    }
};

}  // namespace output_test
