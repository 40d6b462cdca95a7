// NEXUS output: the data block header, then an interleaved matrix in blocks
// of the line-length setting rounded down to tens plus ten residues (80 for
// 75), one row per entry with its name field (name width + 1 columns), an
// empty line after each block, and ";" and "end;". A name holding NEXUS
// punctuation or blanks is written in single quotes, an embedded quote
// doubled; otherwise a reader would split it into a name and residues.

#include <algorithm>

#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

using namespace output_detail;

namespace {

constexpr long kNexusMinNameWidth = 10;

const char* nexus_datatype(ResidueKind type) {
    switch (type) {
        case ResidueKind::Dna: return "dna";
        case ResidueKind::Rna: return "rna";
        case ResidueKind::Protein: return "protein";
        default: return "unknown";
    }
}

constexpr std::string_view kNexusPunctuation = "()[]{}/\\,;:=*'\"`+-<> ";

std::string nexus_token(std::string name) {
    if (name.find_first_of(kNexusPunctuation) == std::string::npos) return name;
    std::string quoted = "'";
    for (char c : name) {
        quoted.push_back(c);
        if (c == '\'') quoted.push_back('\'');
    }
    quoted.push_back('\'');
    return quoted;
}

// The names of the matrix rows, quoted where needed.
std::vector<std::string> nexus_names(const Collection& seqs, std::size_t count) {
    std::vector<std::string> names = row_names(seqs, count, 0);
    for (auto& name : names) name = nexus_token(std::move(name));
    return names;
}

}  // namespace

int write_nexus(Writer& out, Collection* seqs, long name_width, int line_length) {
    const std::size_t count = collection_count(seqs);
    if (count == 0) return empty_collection();
    const SequenceRecord& first = (*seqs)[0];
    out.write("#NEXUS\n");
    out.write("begin data;\n");
    out.printf("   dimensions ntax=%ld nchar=%ld;\n", static_cast<long>(count), first.length);
    out.printf("   format datatype=%s interleave=yes gap=-;\n", nexus_datatype(first.type));
    out.write("   matrix\n");

    const std::size_t line = static_cast<std::size_t>(std::max(line_length, 1));
    const std::size_t per_line = line / 10 * 10 + 10;
    const std::size_t length = first.residues.size();
    // "=" has a meaning in NEXUS; names carry "_" instead, in the records too.
    for (std::size_t i = 0; i < count; ++i) std::replace((*seqs)[i].name.begin(), (*seqs)[i].name.end(), '=', '_');
    const std::vector<std::string> names = nexus_names(*seqs, count);
    // The field widens to the longest name: a quoted name is never cut.
    std::size_t width = static_cast<std::size_t>(std::max(name_width, 0L));
    for (const auto& name : names) width = std::max(width, name.size());
    // An alignment without columns still lists its rows, names alone.
    for (std::size_t c = 0; c < std::max<std::size_t>(length, 1); c += per_line) {
        for (std::size_t i = 0; i < count; ++i) {
            const SequenceRecord& rec = (*seqs)[i];
            write_name_field(out, names[i], width, width + 1);
            if (c < rec.residues.size()) write_printable(out, std::string_view(rec.residues).substr(c, per_line));
            out.put('\n');
        }
        out.put('\n');
        if (int r = check_written(out)) return r;
    }
    out.write(";\n");
    out.write("end;\n");
    return finish_written(out);
}

int write_nexus_file(const std::string& path, Collection* seqs, int line_length) {
    // write_nexus widens the field to the longest name as written.
    return write_alignment_file(path, seqs, kNexusMinNameWidth, [line_length](Writer& out, Collection* s, long width) {
        return write_nexus(out, s, width, line_length);
    });
}

}  // namespace kavro
