// Interleaved PHYLIP output: "count<TAB>length<TAB>I", then blocks of 50
// residues in groups of ten. The first block's rows start with the name field
// (name width + 1 columns), later ones with 11 blanks; an empty line follows
// every block. Names are cut to the name width and must still tell the rows
// apart: a name that would repeat an earlier one is renamed.

#include <algorithm>
#include <map>
#include <set>

#include "core/console.hpp"
#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

using namespace output_detail;

namespace {
constexpr std::size_t kPhylipPerLine = 50;
constexpr std::size_t kPhylipGroup = 10;
constexpr std::string_view kPhylipIndent = "           ";  // 11 blanks
constexpr long kPhylipNameWidth = 10;

// Cut names that repeat an earlier row's name end in "_2", "_3"... instead
// (cut shorter to make room), avoiding every name already in use; each
// change is told on standard error with the entry's full name. Each cut
// name remembers the number it reached, so many repeats stay linear.
void make_distinct(std::vector<std::string>& names, const Collection& seqs, std::size_t width) {
    std::set<std::string> taken(names.begin(), names.end());
    if (taken.size() == names.size()) return;
    std::set<std::string> seen;
    std::map<std::string, long> next_number;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (seen.insert(names[i]).second) continue;
        std::string candidate;
        long& k = next_number.try_emplace(names[i], 2).first->second;
        for (;; ++k) {
            const std::string suffix = "_" + std::to_string(k);
            const std::size_t keep = width > suffix.size() ? width - suffix.size() : 0;
            candidate = names[i].substr(0, keep) + suffix;
            if (!taken.contains(candidate)) break;
        }
        err("PHYLIP names hold %ld characters: %s is written as %s.\n", static_cast<long>(width),
            seqs[i].name.c_str(), candidate.c_str());
        taken.insert(candidate);
        seen.insert(candidate);
        names[i] = std::move(candidate);
    }
}

}  // namespace

int write_phylip(Writer& out, Collection* seqs, long name_width) {
    const std::size_t count = collection_count(seqs);
    if (count == 0) return empty_collection();
    const std::size_t width = static_cast<std::size_t>(std::max(name_width, 0L));
    std::vector<std::string> names = row_names(*seqs, count, width);
    if (width > 0) make_distinct(names, *seqs, width);
    out.printf("%ld\t%ld\tI\n", static_cast<long>(count), (*seqs)[0].length);
    const std::size_t length = (*seqs)[0].residues.size();
    for (std::size_t c = 0; c < length; c += kPhylipPerLine) {
        for (std::size_t i = 0; i < count; ++i) {
            const SequenceRecord& rec = (*seqs)[i];
            if (c == 0)
                write_name_field(out, names[i], width, width + 1);
            else
                out.write(kPhylipIndent);
            const std::size_t n = rec.residues.size();
            const std::size_t block_end = std::min(c + kPhylipPerLine, n);
            // A blank after every index that leaves 9 modulo 10, except the
            // block's last.
            for (std::size_t g = c; g < block_end; g += kPhylipGroup) {
                const std::size_t group_end = std::min(g + kPhylipGroup, block_end);
                write_printable(out, std::string_view(rec.residues).substr(g, group_end - g));
                if (group_end == g + kPhylipGroup && group_end != c + kPhylipPerLine) out.put(' ');
            }
            out.put('\n');
        }
        out.put('\n');
        if (int r = check_written(out)) return r;
    }
    return finish_written(out);
}

int write_phylip_file(const std::string& path, Collection* seqs) {
    return write_alignment_file(path, seqs, kPhylipNameWidth, write_phylip);
}

}  // namespace kavro
