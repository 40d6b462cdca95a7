#include "features/gene_listing.hpp"

#include <optional>

#include "core/console.hpp"
#include "features/feature_commands.hpp"
#include "features/feature_table.hpp"
#include "features/locations.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"

namespace kavro {

namespace {

// The description after a location is cut to this many characters.
constexpr std::size_t kRemainderWidth = 511;

std::string_view first_word(std::string_view definition) { return feature_name_of(definition); }

void write_table_header(Writer& out, const SequenceRecord& entry) {
    out.write("#GTF\n");
    out.printf("Organism: %s %s\n", entry.organism.c_str(), entry.name.c_str());
    out.write("Type: type_unknown \n");
    out.printf("Size: %ld \n", entry.length);
    out.write("Contigs: 0\n\ndefinition of format:\n\nname\ttype\torient\tstart\tstop\tlength\tdescription\n");
}

// The reader leaves the residues empty both for an entry without a sequence
// block and for one whose features of the asked kind are missing; only the
// first is passed over, so such an entry is looked through once more.
bool has_sequence_block(LineReader& in, std::int64_t from, std::int64_t to, SeqFormat format) {
    const std::string_view key = format == SeqFormat::Embl ? "SQ " : "ORIGIN";
    bool found = false;
    if (in.seek(from)) {
        std::string_view piece;
        bool line_start = true;
        while (!found && in.tell() < to && in.read_piece(piece, LineReader::kPiece)) {
            found = line_start && piece.starts_with(key);
            line_start = piece.ends_with('\n');
        }
    }
    in.seek(to);
    return found;
}

struct EntryRead {
    ReadOutcome outcome;
    SequenceRecord entry;
    Collection features;
    bool listed = false;  // the entry has a sequence block
};

EntryRead read_entry(FeatureTableReader& reader, std::int64_t& position, ExtractMode mode, SeqFormat format) {
    EntryRead r;
    const std::int64_t from = position;
    r.outcome = reader.read(r.entry, r.features, position, mode);
    if (r.outcome == ReadOutcome::Entry)
        r.listed = !r.entry.residues.empty() ||
                   (r.features.empty() && has_sequence_block(reader.input(), from, position, format));
    return r;
}

}  // namespace

void write_gene_names(Writer& out, const Collection& features) {
    const std::string* previous = nullptr;
    for (const SequenceRecord& f : features) {
        if (!previous || *previous != f.name)
            out.printf("The genes in the file: %s are: ", f.name.c_str());
        else
            out.write(", ");
        previous = &f.name;
        if (f.definition.starts_with(' '))
            out.write("no_info");
        else
            out.write(first_word(f.definition));
    }
    out.write(".\n");
}

int write_gene_table(Writer& out, const Collection& features, GeneKind kind) {
    const char* type = kind == GeneKind::Cds ? "CDS\t" : "RNA\t";
    ExonList exons;
    std::string remainder;
    for (const SequenceRecord& f : features) {
        const std::string_view name = first_word(f.definition);
        if (!parse_exon_list(f.definition, exons, &remainder)) {
            err("Error in making exon list in show_gene_table.\n");
            return 1;
        }
        if (remainder.size() > kRemainderWidth) remainder.resize(kRemainderWidth);
        const bool single = exons.size() == 1;
        for (std::size_t k = 0; k < exons.size(); ++k) {
            const Exon& x = exons[k];
            out.write(name);
            if (!single) out.printf("_%zu", k + 1);
            out.put('\t');
            out.write(type);
            out.write(x.complement ? "R\t" : "F\t");
            out.printf("%8ld\t%8ld\t%8ld\t", x.complement ? x.end : x.start, x.complement ? x.start : x.end,
                       x.end - x.start);
            if (single)
                out.printf("%s\n", remainder.c_str());
            else
                out.printf("\"Exon %zu %s\"\n", k + 1, remainder.c_str());
        }
    }
    out.put('\n');
    return 0;
}

int list_feature_file(const std::string& input, SeqFormat format, bool table, Writer& out) {
    auto in = LineReader::open(input);
    if (!in) {
        err("Cannot open file: %s.\n\n", input.c_str());
        return 1;
    }
    FeatureTableReader reader(*in, format);
    std::int64_t position = 0;
    for (;;) {
        const std::int64_t entry_start = position;
        EntryRead cds = read_entry(reader, position, ExtractMode::Coding, format);
        if (cds.outcome != ReadOutcome::Entry) {
            const int status = end_of_entries(cds.outcome, "Error in extracting headers.\n");
            return in->finish() ? status : 1;
        }
        if (!table) {
            if (cds.listed) write_gene_names(out, cds.features);
            continue;
        }
        if (cds.listed) {
            write_table_header(out, cds.entry);
            if (write_gene_table(out, cds.features, GeneKind::Cds) != 0) {
                err("Error in showing gene table.\n");
                out.write("Error ... \n\n");
                continue;
            }
        }
        std::int64_t again = entry_start;
        EntryRead rna = read_entry(reader, again, ExtractMode::Rna, format);
        if (rna.outcome != ReadOutcome::Entry) {
            const int status = end_of_entries(rna.outcome, "Error in extracting headers.\n");
            return in->finish() ? status : 1;
        }
        if (rna.listed && write_gene_table(out, rna.features, GeneKind::Rna) != 0) {
            err("Error in showing gene table 2.\n");
            out.write("Error ... \n\n");
        }
    }
}

}  // namespace kavro
