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
    // The table's letters, then "?" for every sum that holds a non-base. A
    // table of the wrong size is reported once and gives "?" throughout.
    std::array<char, kLargestCodonSum + 1> letters;
    letters.fill(kUnknownResidue);
    if (table.size() == static_cast<std::size_t>(kCodonCount))
        for (int i = 0; i < kCodonCount; ++i) letters[static_cast<std::size_t>(i)] = table[static_cast<std::size_t>(i)];
    else
        err("Error in codon table.\n");

    const std::size_t codons = (length - static_cast<std::size_t>(frame) + 1) / 3;
    std::string protein(codons, '\0');
    char* out = protein.data();
    const char* p = residues.data() + (frame - 1);
    for (std::size_t i = 0; i < codons; ++i, p += 3)
        out[i] = letters[codon_sum(p)];
    return protein;
}

std::string frame_label(int frame) { return "Frame " + std::to_string(frame) + " "; }

namespace {

// Turns rec into its translation: reverse-complemented first for a negative
// frame, then its residues (or `plus_strand`, the residues of the record it
// is a header copy of) translated. Its definition gets "; Translated
// sequence.", or becomes `label` when one is given. 0, or 1 after a message.
int translate_into(SequenceRecord& rec, int frame, const CodonTable& table, std::string_view suffix,
                   const std::string* plus_strand, const std::string* label = nullptr) {
    const std::string source_name = rec.name;
    const std::string* residues = plus_strand ? plus_strand : &rec.residues;
    if (frame < 0) {
        if (complement_seq(rec) != 0) {
            err("Error in converting to complementary sequence.\n");
            return 1;
        }
        frame = -frame;
        residues = &rec.residues;
    }
    auto protein = translate_frame(*residues, frame, table);
    if (!protein) {
        err("Unable to translate.\n");
        return 1;
    }
    if (residues->size() < 3) err(" in: %s.\n", source_name.c_str());
    rec.residues = std::move(*protein);
    if (label)
        rec.definition = *label;
    else
        rec.definition += "; Translated sequence.";
    rec.name += suffix;
    rec.type = TYPE_PROTEIN;
    rec.length = static_cast<long>(rec.residues.size());
    return 0;
}

}  // namespace

std::optional<SequenceRecord> translate_record_with(const SequenceRecord& rec, int frame, const CodonTable& table,
                                                    std::string_view suffix) {
    // A plus-strand translation reads the source residues directly; only a
    // minus-strand one needs a full copy to reverse-complement.
    SequenceRecord dup = frame < 0 ? copy_seq_h(rec) : copy_seq_header(rec);
    if (translate_into(dup, frame, table, suffix, frame < 0 ? nullptr : &rec.residues) != 0) return std::nullopt;
    return dup;
}

std::optional<SequenceRecord> translate_record(const SequenceRecord& rec, int frame, const std::string& table_name,
                                               std::string_view suffix) {
    const CodonTable table = select_codon_table(table_name);
    return translate_record_with(rec, frame, table, suffix);
}

namespace {

// The collection loop: each record passes through `one`, which translates
// it; progress dots after records 0, 10, 20, ... and a newline at the end.
template <typename One>
int translate_each(std::size_t count, const Collection& names, One&& one) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = names[i].name;
        if (!one(i)) {
            err("Error of translation in sequence: %s.\n", name.c_str());
            return 1;
        }
        if (i % 10 == 0) {
            out(".");
            flush_out();
        }
    }
    out("\n");
    return 0;
}

}  // namespace

std::optional<Collection> translate_collection(const Collection& source, int frame, const std::string& table_name) {
    const CodonTable table = select_codon_table(table_name);
    Collection result;
    result.reserve(source.size());
    const int status = translate_each(source.size(), source, [&](std::size_t i) {
        auto rec = translate_record_with(source[i], frame, table, kProteinSuffix);
        if (!rec) return false;
        rec->definition = frame_label(frame);
        result.push_back(std::move(*rec));
        return true;
    });
    if (status != 0) return std::nullopt;
    return result;
}

int translate_collection_in_place(Collection& records, int frame, const std::string& table_name) {
    const CodonTable table = select_codon_table(table_name);
    const std::string label = frame_label(frame);
    return translate_each(records.size(), records, [&](std::size_t i) {
        return translate_into(records[i], frame, table, kProteinSuffix, nullptr, &label) == 0;
    });
}

}  // namespace kavro
