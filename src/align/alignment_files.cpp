#include "align/alignment_files.hpp"

#include <unordered_map>
#include <unordered_set>

#include "core/console.hpp"
#include "output/alignment_writer.hpp"

namespace kavro {

namespace {
// The smallest alignment the PHYLIP reader accepts.
constexpr std::size_t kPhylipMinEntries = 2;
constexpr std::size_t kPhylipMinColumns = 11;
}  // namespace

std::optional<Collection> read_alignment(const std::string& path, SeqFormat format) {
    return format == SeqFormat::Phylip ? read_phylip(path, 0) : read_clustal(path, 0);
}

bool sort_by_cut_names(Collection& seqs) {
    std::vector<std::string> keys;
    keys.reserve(seqs.size());
    std::unordered_map<std::string, int> uses;
    std::unordered_set<std::string> whole;
    for (const auto& rec : seqs) {
        keys.push_back(rec.name.substr(0, rec.name.find('_')));
        ++uses[keys.back()];
        if (!whole.insert(rec.name).second) {
            err("Name %s is used twice: sorted rows could not be told apart.\n", rec.name.c_str());
            return false;
        }
    }
    sort_by_keys(seqs, keys);
    for (std::size_t i = 0; i < seqs.size(); ++i)
        if (!keys[i].empty() && uses[keys[i]] == 1) seqs[i].name = std::move(keys[i]);
    return true;
}

int write_alignment(const std::string& path, Collection& seqs, AlignmentLayout layout, int line_length) {
    switch (layout) {
    case AlignmentLayout::Phylip:
        if (seqs.size() < kPhylipMinEntries || seqs[0].residues.size() < kPhylipMinColumns) {
            err("A PHYLIP alignment needs at least %ld sequences and %ld sites; this one has %ld and %ld.\n",
                static_cast<long>(kPhylipMinEntries), static_cast<long>(kPhylipMinColumns),
                static_cast<long>(seqs.size()), static_cast<long>(seqs.empty() ? 0 : seqs[0].residues.size()));
            return 1;
        }
        return write_phylip_file(path, &seqs);
    case AlignmentLayout::Nexus: return write_nexus_file(path, &seqs, line_length);
    case AlignmentLayout::Clustal: break;
    }
    return write_clustal_file(path, &seqs);
}

}  // namespace kavro
