// Translation of texts, records and collections.
#include "translate/translation.hpp"

#include <array>

#include "core/console.hpp"

namespace kavro {

std::optional<std::string> translate_frame(std::string_view residues, int frame, std::string_view table) {
    if (frame < 1 || frame > 3) {
        err("Error in frame number.\n");
        return std::nullopt;
    }
    const std::size_t length = residues.size();
    if (length < 3) {
        err("Sequence too short");
        return std::string(1, kUnknownResidue);
    }
    // A 65-entry lookup: the table's letters, then "?" for non-codons. A
    // table of the wrong size is reported once and gives "?" throughout.
    std::array<char, kCodonCount + 1> letters;
    letters.fill(kUnknownResidue);
    if (table.size() == static_cast<std::size_t>(kCodonCount))
        for (int i = 0; i < kCodonCount; ++i) letters[static_cast<std::size_t>(i)] = table[static_cast<std::size_t>(i)];
    else
        err("Error in codon table.\n");

    const std::size_t start = static_cast<std::size_t>(frame - 1);
    const std::size_t codons = length + 1 < static_cast<std::size_t>(frame) ? 0 : (length - static_cast<std::size_t>(frame) + 1) / 3;
    std::string protein(codons, '\0');
    const char* p = residues.data() + start;
    for (std::size_t i = 0; i < codons; ++i, p += 3)
        protein[i] = letters[static_cast<std::size_t>(codon_index(p))];
    return protein;
}

std::string frame_label(int frame) { return "Frame " + std::to_string(frame) + " "; }

std::optional<SequenceRecord> translate_record_with(const SequenceRecord& rec, int frame, const CodonTable& table,
                                                    std::string_view suffix) {
    // A plus-strand translation reads the source residues directly; only a
    // minus-strand one needs a full copy to reverse-complement.
    SequenceRecord dup;
    const std::string* residues = &rec.residues;
    if (frame < 0) {
        dup = copy_seq_h(rec);
        if (complement_seq(dup) != 0) {
            err("Error in converting to complementary sequence.\n");
            return std::nullopt;
        }
        frame = -frame;
        residues = &dup.residues;
    } else {
        dup = copy_seq_header(rec);
    }
    auto protein = translate_frame(*residues, frame, table);
    if (!protein) {
        err("Unable to translate.\n");
        return std::nullopt;
    }
    if (residues->size() < 3) err(" in: %s.\n", rec.name.c_str());
    dup.residues = std::move(*protein);
    dup.definition += "; Translated sequence.";
    dup.name += suffix;
    dup.type = TYPE_PROTEIN;
    dup.length = static_cast<long>(dup.residues.size());
    return dup;
}

std::optional<SequenceRecord> translate_record(const SequenceRecord& rec, int frame, const std::string& table_name,
                                               std::string_view suffix) {
    const CodonTable table = select_codon_table(table_name);
    return translate_record_with(rec, frame, table, suffix);
}

std::optional<Collection> translate_collection(const Collection& source, int frame, const std::string& table_name) {
    const CodonTable table = select_codon_table(table_name);
    Collection result;
    result.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        auto rec = translate_record_with(source[i], frame, table, kProteinSuffix);
        if (!rec) {
            err("Error of translation in sequence: %s.\n", source[i].name.c_str());
            return std::nullopt;
        }
        rec->definition = frame_label(frame);
        result.push_back(std::move(*rec));
        if (i % 10 == 0) {
            out(".");
            flush_out();
        }
    }
    out("\n");
    return result;
}

}  // namespace kavro
