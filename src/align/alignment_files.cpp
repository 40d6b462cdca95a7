#include "align/alignment_files.hpp"

#include "output/alignment_writer.hpp"

namespace kavro {

std::optional<Collection> read_alignment(const std::string& path, SeqFormat format) {
    return format == SeqFormat::Phylip ? read_phylip(path, 0) : read_clustal(path, 0);
}

void sort_alignment(Collection& seqs) { sort_by_name(seqs); }

int write_alignment(const std::string& path, Collection& seqs, AlignmentLayout layout) {
    switch (layout) {
    case AlignmentLayout::Phylip: return write_phylip_file(path, &seqs);
    case AlignmentLayout::Nexus: return write_nexus_file(path, &seqs);
    case AlignmentLayout::Clustal: break;
    }
    return write_clustal_file(path, &seqs);
}

}  // namespace kavro
