#pragma once
// Reading back what the feature commands write, for their end-to-end tests.

#include <string>
#include <vector>

#include "support/run_kavro.hpp"
#include "support/text_checks.hpp"

namespace feature_test {

struct FastaRecord {
    std::string header;  // without ">"
    std::string residues;
};

// Every entry of a FASTA text, residue lines joined.
inline std::vector<FastaRecord> fasta_records(const std::string& text) {
    std::vector<FastaRecord> records;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        const std::string line = text.substr(at, nl - at);
        if (line.starts_with(">"))
            records.push_back({line.substr(1), ""});
        else if (!records.empty())
            records.back().residues += line;
        at = nl + 1;
    }
    return records;
}

// The residues of every record, in order.
inline std::vector<std::string> residues_of(const std::string& text) {
    std::vector<std::string> all;
    for (const auto& r : fasta_records(text)) all.push_back(r.residues);
    return all;
}

// Runs a command over one input file "in" whose output is "out".
inline kavro_test::Result run_on(const std::string& input, std::vector<std::string> args,
                                 std::map<std::string, std::string> env = {}) {
    return kavro_test::run({.args = args, .env = env, .files = {{"in", input}}});
}

}  // namespace feature_test
