// CLUSTAL output: the header line and two empty lines, then blocks of 60
// residues, one row per entry (name field of name width + 5 columns, then
// the residues), each block followed by two empty lines, and two more at the
// end. No conservation line, no position numbers. An alignment without
// columns still gets one block, of names alone, so that its entries read back.

#include <algorithm>

#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

using namespace output_detail;

namespace {
constexpr std::string_view kClustalHeader = "CLUSTAL W MULTIPLE SEQUENCE ALIGNMENT (Output from KAVRO)";
constexpr std::size_t kClustalNameExtra = 5;  // blanks between name width and residues
constexpr std::size_t kClustalPerLine = 60;
constexpr long kClustalNameWidth = 30;
}  // namespace

int write_clustal(Writer& out, Collection* seqs, long name_width) {
    const std::size_t count = collection_count(seqs);
    if (count == 0) return empty_collection();
    const std::vector<std::string> names = row_names(*seqs, count, 0);
    // The name column widens to the longest name, so that the residue
    // columns stay aligned.
    std::size_t width = static_cast<std::size_t>(std::max(name_width, 0L));
    for (const auto& name : names) width = std::max(width, name.size());
    out.write(kClustalHeader);
    out.write("\n\n\n");
    const std::size_t length = (*seqs)[0].residues.size();
    for (std::size_t c = 0; c < std::max<std::size_t>(length, 1); c += kClustalPerLine) {
        for (std::size_t i = 0; i < count; ++i) {
            const SequenceRecord& rec = (*seqs)[i];
            write_name_field(out, names[i], width, width + kClustalNameExtra);
            if (c < rec.residues.size())
                write_printable(out, std::string_view(rec.residues).substr(c, kClustalPerLine));
            out.put('\n');
        }
        out.write("\n\n");
        if (int r = check_written(out)) return r;
    }
    out.write("\n\n");
    return finish_written(out);
}

int write_clustal_file(const std::string& path, Collection* seqs) {
    return write_alignment_file(path, seqs, kClustalNameWidth, write_clustal);
}

}  // namespace kavro
