#pragma once
// Small builders shared by the unit tests of reports and writers.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "support/run_kavro.hpp"

namespace kavro_test {

// The one record builder of the tests: length from the residues.
inline kavro::SequenceRecord make_record(const std::string& name, const std::string& residues,
                                         kavro::ResidueKind type = kavro::ResidueKind::Unknown,
                                         const std::string& definition = "") {
    kavro::SequenceRecord r;
    r.name = name;
    r.definition = definition;
    r.residues = residues;
    r.length = static_cast<long>(residues.size());
    r.type = type;
    return r;
}

// What a report writes to a file.
inline std::string render(const std::function<void(kavro::Writer&)>& report) {
    TempDir dir;
    {
        auto w = kavro::Writer::open_truncate(dir / "r.txt");
        report(*w);
        EXPECT_TRUE(w->close());
    }
    return dir.read("r.txt");
}

inline std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

}  // namespace kavro_test
