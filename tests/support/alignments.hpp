#pragma once
// Builders of alignment files for end-to-end tests, and a reader of what a
// command wrote back into rows.

#include <string>
#include <utility>
#include <vector>

#include "input/formats.hpp"
#include "support/run_kavro.hpp"

namespace kavro_test {

// (name, residues) in entry order.
using AlignmentRows = std::vector<std::pair<std::string, std::string>>;

// A CLUSTAL file with blocks of 60 columns.
inline std::string clustal_text(const AlignmentRows& rows) {
    std::string t = "CLUSTAL W (1.83) multiple sequence alignment\n\n\n";
    for (std::size_t c = 0; c < rows[0].second.size(); c += 60) {
        for (const auto& [name, residues] : rows) {
            t += name + std::string(name.size() < 20 ? 20 - name.size() : 1, ' ');
            t += residues.substr(c, 60) + "\n";
        }
        t += "\n";
    }
    return t;
}

// An interleaved PHYLIP file with blocks of 50 columns.
inline std::string phylip_text(const AlignmentRows& rows) {
    std::string t = std::to_string(rows.size()) + " " + std::to_string(rows[0].second.size()) + " I\n";
    for (std::size_t c = 0; c < rows[0].second.size(); c += 50) {
        for (const auto& [name, residues] : rows) {
            t += c == 0 ? name + std::string(name.size() < 11 ? 11 - name.size() : 1, ' ') : std::string(11, ' ');
            t += residues.substr(c, 50) + "\n";
        }
        t += "\n";
    }
    return t;
}

inline std::string fasta_text(const AlignmentRows& rows) {
    std::string t;
    for (const auto& [name, residues] : rows) t += ">" + name + "\n" + residues + "\n";
    return t;
}

// The entries of a CLUSTAL or PHYLIP file written by a command.
inline AlignmentRows read_back_alignment(const Result& r, const std::string& name) {
    const std::string path = r.dir->path() + "/" + name;
    const kavro::SeqFormat format = kavro::detect_format(path);
    auto seqs = format == kavro::SeqFormat::Phylip ? kavro::read_phylip(path, 1) : kavro::read_clustal(path, 1);
    AlignmentRows rows;
    if (seqs)
        for (const auto& rec : *seqs) rows.push_back({rec.name, rec.residues});
    return rows;
}


}  // namespace kavro_test
