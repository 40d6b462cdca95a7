#include "features/noncoding.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/console.hpp"
#include "features/locations.hpp"

namespace kavro {

namespace {

// Masks bases from..to (1-based), cut to the sequence.
void mask_span(std::string& residues, long from, long to) {
    const long length = static_cast<long>(residues.size());
    from = std::max(from, 1L);
    to = std::min(to, length);
    if (from > to) return;
    std::fill(residues.begin() + (from - 1), residues.begin() + to, kMaskCharacter);
}

}  // namespace

void mask_features(SequenceRecord& entry, const Collection& features, bool keep_introns) {
    ExonList exons;
    for (std::size_t i = 0; i < features.size(); ++i) {
        const SequenceRecord& f = features[i];
        if (i % 10 == 0) progress('.');
        if (f.name != entry.name) continue;
        const DefinitionParts parts = split_definition(f.definition);
        if (parts.count_word.empty() || parts.count_word.find_first_not_of("0123456789") != std::string_view::npos ||
            !parse_exon_list(f.definition, exons, nullptr) || exons.empty()) {
            err("\nError in making exon list. Skipping %s %.*s.\n", entry.name.c_str(),
                static_cast<int>(parts.feature_name.size()), parts.feature_name.data());
            continue;
        }
        const std::string accession = definition_accession(f.definition);
        if (is_remote(exons.front().accession, accession) || is_remote(exons.back().accession, accession)) continue;
        for (const Exon& x : exons) {
            // Positions of another entry say nothing about this one.
            if (!is_remote(x.accession, accession)) mask_span(entry.residues, x.start, x.end);
        }
        if (keep_introns || exons_out_of_order(exons)) continue;
        for (std::size_t k = 0; k + 1 < exons.size(); ++k) {
            const Exon& x = exons[k];
            const Exon& y = exons[k + 1];
            if (x.plus())
                mask_span(entry.residues, x.end + 1, y.start - 1);
            else
                mask_span(entry.residues, y.end + 1, x.start - 1);
        }
    }
}

Collection unmasked_pieces(const SequenceRecord& entry, bool join_ends) {
    struct Run {
        std::size_t from, to;  // [from, to)
    };
    const std::string& s = entry.residues;
    std::vector<Run> runs;
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t from = s.find_first_not_of(kMaskCharacter, at);
        if (from == std::string::npos) break;
        std::size_t to = s.find(kMaskCharacter, from);
        if (to == std::string::npos) to = s.size();
        runs.push_back({from, to});
        at = to;
    }
    const bool joined = join_ends && runs.size() > 1 && runs.front().from == 0 && runs.back().to == s.size();
    Collection pieces;
    const std::size_t last = joined ? runs.size() - 1 : runs.size();
    for (std::size_t n = 0; n < last; ++n) {
        SequenceRecord piece;
        piece.name = entry.name;
        piece.definition = "NonCoding_" + std::to_string(n + 1);
        if (n == 0 && joined) piece.residues.assign(s, runs.back().from, runs.back().to - runs.back().from);
        piece.residues.append(s, runs[n].from, runs[n].to - runs[n].from);
        piece.length = static_cast<long>(piece.residues.size());
        piece.type = classify_residues(piece);
        if (piece.type == ResidueKind::Dna) pieces.push_back(std::move(piece));
    }
    return pieces;
}

}  // namespace kavro
