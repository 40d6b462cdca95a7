// GenBank entries (nucleotide and protein), one at a time from a position:
// LOCUS line, DEFINITION (up to FEATURES or ORIGIN), ORIGIN residues, "//".
#include <algorithm>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// Molecule words of this length or more are not kept in the record.
constexpr std::size_t kMoleculeBelow = 28;

void report_locus(std::string_view line, bool go_on) {
    err("%.*s", static_cast<int>(line.size()), line.data());
    genbank_format_help();
    if (go_on) err("But we try to continue.\n\n");
}

}  // namespace

std::optional<SequenceRecord> read_genbank_entry(LineReader& in, std::int64_t& position, ResidueKind requested_type,
                                                 EmptyEntry* empty, bool circular) {
    if (empty) *empty = EmptyEntry{};
    if (!seek_entry(in, position)) return std::nullopt;
    // Circular when the command says so or the LOCUS line does.
    SequenceRecord rec;
    std::string molecule_word;
    long header_length = 0;
    bool found = false;
    try {
        std::string_view rest;
        found = find_header(in, "LOCUS ", rest);
        if (found) {
            if (rest.find("circular") != std::string_view::npos) circular = true;
            auto words = split_words(rest, 4);
            std::string_view name = words[0];
            if (name.size() > kEntryNameWidth) {
                report_locus(rest, false);
                name = name.substr(0, kEntryNameWidth);
            }
            rec.name.assign(name);
            molecule_word.assign(words[3]);
            if (molecule_word == "circular") molecule_word = "DNA";
            if (molecule_word.size() < kMoleculeBelow) rec.set_molecule(molecule_word);
            tail_string(molecule_word, 3);
            if (words[2] == "aa") {
                if (requested_type == ResidueKind::Dna || requested_type == ResidueKind::Rna) report_locus(rest, true);
                molecule_word = "PRT";
            } else if (words[2] == "bp") {
                if (requested_type == ResidueKind::Protein || (molecule_word != "DNA" && molecule_word != "RNA"))
                    report_locus(rest, true);
                molecule_word = "DNA";
            }
            if (all_digits(words[1])) header_length = digits_value(words[1], kInt32Max);
            // Room for the residues the header announces (never more than
            // the rest of the file can hold), so that they need not grow.
            reserve_hint(rec.residues, std::min<std::int64_t>(header_length, in.remaining_hint()));
            // DEFINITION is collected up to FEATURES or ORIGIN, so the
            // ACCESSION, VERSION, KEYWORDS, SOURCE and REFERENCE lines in
            // between are collected too.
            read_entry_body(in, rec, {.definition = "DEFINITION ", .definition_stop = "FEATURES ",
                                      .sequence = "ORIGIN", .end = "//", .fast_lines = ResidueLines::GenBank});
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }

    rec.length = static_cast<long>(rec.residues.size());
    if (rec.length != header_length) {
        err("Sequence length is %ld in the header of file,\n", header_length);
        err("but %ld bases were read.\n", rec.length);
    }
    if (rec.length == 0) {
        if (found && empty) *empty = EmptyEntry{rec.name, in.tell()};
        return std::nullopt;
    }
    if (circular) rec.circular = 1;
    if (molecule_word == "DNA")
        rec.type = ResidueKind::Dna;
    else if (molecule_word == "RNA")
        rec.type = classify_residues(rec) == ResidueKind::Dna ? ResidueKind::Dna : ResidueKind::Unknown;
    else if (molecule_word == "PRT")
        rec.type = ResidueKind::Protein;
    else
        rec.type = requested_type;
    position = in.tell();
    return rec;
}

}  // namespace kavro
