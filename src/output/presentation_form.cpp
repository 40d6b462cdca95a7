// The presentation form: the exon walk that marks exons and places the
// amino acids, then the blocks.
#include "output/presentation_form.hpp"

#include <algorithm>
#include <cctype>

#include "core/console.hpp"
#include "output/exon_header.hpp"
#include "output/output_banner.hpp"
#include "output/output_target.hpp"

namespace kavro {

namespace {

// The two working lines: the sequence in lower case with its exon bases in
// upper case, and the amino acids under the first base of their codons,
// walking the exons in list order (a complementary exon from its end down).
struct FormLines {
    std::string bases;
    std::string amino_acids;
};

FormLines walk_exons(const std::string& residues, const PresentationExons& exons, const std::string& protein) {
    FormLines lines{residues, std::string(residues.size(), ' ')};
    std::transform(lines.bases.begin(), lines.bases.end(), lines.bases.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto placed = static_cast<long>(protein.size()) * 3 - 2;
    long k = 0;
    auto visit = [&](long x) {
        char& base = lines.bases[static_cast<std::size_t>(x - 1)];
        base = static_cast<char>(std::toupper(static_cast<unsigned char>(base)));
        if (k % 3 == 0 && k < placed)
            lines.amino_acids[static_cast<std::size_t>(x - 1)] = protein[static_cast<std::size_t>(k / 3)];
        ++k;
    };
    for (const PresentationExon& e : exons) {
        if (!e.complement)
            for (long x = e.start; x <= e.end; ++x) visit(x);
        else
            for (long x = e.end; x >= e.start; --x) visit(x);
    }
    return lines;
}

long count_residue_letters(std::string_view piece) {
    return std::count_if(piece.begin(), piece.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

void write_blocks(Writer& out, const FormLines& lines, int line_length) {
    const long n = static_cast<long>(lines.bases.size());
    const long width = listing_block_width(line_length);
    long amino_acids = 0;
    std::string piece;
    auto padded = [&](const std::string& line, long p, long e) {
        piece.assign(line, static_cast<std::size_t>(p), static_cast<std::size_t>(e - p + 1));
        piece.resize(static_cast<std::size_t>(width + 1), ' ');
        return piece.c_str();
    };
    for (long p = 0; p < n; p += width) {
        const long e = std::min(n - 1, p + width - 1);
        out.printf("%s%6ld\n", padded(lines.bases, p, e), e + 1);
        const long count = count_residue_letters(std::string_view(lines.amino_acids).substr(
            static_cast<std::size_t>(p), static_cast<std::size_t>(e - p + 1)));
        if (count == 0) continue;
        amino_acids += count;
        out.printf("%s%6ld\n", padded(lines.amino_acids, p, e), amino_acids);
        out.put('\n');
    }
}

}  // namespace

int write_presentation_form(Writer& out, const SequenceRecord& rec, const PresentationExons& exons,
                            const std::string& table_name, const ExonTranslator& translate, int line_length) {
    SequenceRecord joined = copy_record_header(rec);
    joined.residues = join_exons(rec.residues, exons, rec.type == ResidueKind::Rna);
    joined.length = static_cast<long>(joined.residues.size());
    const std::optional<std::string> protein = translate(joined);
    if (!protein) {
        err("Error of translation in sequence: %s.\n", rec.name.c_str());
        return 1;
    }
    if (exons_out_of_order(exons)) {
        err("This might be trans-spliced. Abort to write pretty sequence.\n");
        return 1;
    }
    const FormLines lines = walk_exons(rec.residues, exons, *protein);
    write_output_banner(out);
    out.printf(">%s\n", rec.name.c_str());
    out.printf("%s\n", rec.definition.c_str());
    out.printf("  Codon table file: %s\n\n", table_name.c_str());
    write_blocks(out, lines, line_length);
    out.write("\n\n");
    return out.flush() ? 0 : 1;
}

int write_presentation_file(const std::string& path, const SequenceRecord& rec, const PresentationExons& exons,
                            const std::string& table_name, const ExonTranslator& translate, int line_length) {
    auto target = OutputTarget::open(path, OutputTarget::Mode::Append);
    if (!target) {
        err("Cannot open file: %s\n", path.c_str());
        return 1;
    }
    const int status = write_presentation_form(target->writer(), rec, exons, table_name, translate, line_length);
    const bool closed = target->close();
    if (status != 0 || !closed) {
        err("Trouble in writing pretty sequence: %s\n", path.c_str());
        return 1;
    }
    progress('w');
    return 0;
}

}  // namespace kavro
