// Translation of texts, records and collections.
#include "translate/translation.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/console.hpp"
#include "core/message_sink.hpp"
#include "core/settings.hpp"

namespace kavro {

namespace {

// A codon table laid out for translation: the table's letters at the codon
// indexes, then "?" for every weight sum that holds a non-base. A table of
// the wrong size translates everything to "?".
class Translator {
public:
    explicit Translator(std::string_view table) {
        letters_.fill(kUnknownResidue);
        valid_ = table.size() == static_cast<std::size_t>(kCodonCount);
        if (valid_) std::copy(table.begin(), table.end(), letters_.begin());
    }
    // "Error in codon table.\n" when the table was not 64 letters long.
    void report(MessageSink messages = {}) const {
        if (!valid_) messages("Error in codon table.\n");
    }
    // Number of whole codons in frame 1-3 of a text of `length` >= 3.
    static std::size_t codons(std::size_t length, int frame) {
        return (length - static_cast<std::size_t>(frame) + 1) / 3;
    }
    // Translates n codons starting at in into out. out may be the text
    // itself: residue i is written after codon i (at 3i or later) is read.
    void run(const char* in, std::size_t n, char* out) const {
        const std::uint16_t* pairs = first_two_bases().data();
        for (std::size_t i = 0; i < n; ++i, in += 3) {
            std::uint16_t two;
            std::memcpy(&two, in, 2);
            out[i] = letters_[pairs[little_endian(two)] + kCodonWeights.third[static_cast<unsigned char>(in[2])]];
        }
    }

private:
    // The weights of the first two bases together, indexed by the two bytes
    // read as one little-endian number: one load instead of two per codon.
    using PairWeights = std::array<std::uint16_t, 1 << 16>;
    static const PairWeights& first_two_bases() {
        static const PairWeights table = [] {
            PairWeights t{};
            for (unsigned i = 0; i < t.size(); ++i)
                t[i] = static_cast<std::uint16_t>(kCodonWeights.first[i & 0xFF] + kCodonWeights.second[i >> 8]);
            return t;
        }();
        return table;
    }
    static std::uint16_t little_endian(std::uint16_t v) {
        if constexpr (std::endian::native == std::endian::big) return static_cast<std::uint16_t>((v >> 8) | (v << 8));
        return v;
    }

    std::array<char, kLargestCodonSum + 1> letters_;
    bool valid_ = false;
};

}  // namespace

std::optional<std::string> translate_frame(std::string_view residues, int frame, std::string_view table) {
    if (frame < 1 || frame > 3) {
        err("Error in frame number.\n");
        return std::nullopt;
    }
    if (residues.size() < 3) {
        err("Sequence too short");
        return std::string(1, kUnknownResidue);
    }
    const Translator translator(table);
    translator.report();
    const std::size_t n = Translator::codons(residues.size(), frame);
    std::string protein(n, '\0');
    translator.run(residues.data() + (frame - 1), n, protein.data());
    return protein;
}

std::string frame_label(int frame) { return "Frame " + std::to_string(frame) + " "; }

namespace {

// Turns rec into its translation: reverse-complemented first for a negative
// frame, then its residues (or `plus_strand`, the residues of the record it
// is a header copy of) translated, in place when they are its own. Its
// definition gets "; Translated sequence.", or becomes `label` when one is
// given. 0, or 1 after a message.
int translate_into(SequenceRecord& rec, int frame, const Translator& translator, std::string_view suffix,
                   const std::string* plus_strand, const std::string* label = nullptr, MessageSink messages = {}) {
    const std::string source_name = rec.name;
    const std::string* residues = plus_strand ? plus_strand : &rec.residues;
    if (frame < 0) {
        if (complement_seq(rec, classify_residues(rec), messages) != 0) {
            messages("Error in converting to complementary sequence.\n");
            return 1;
        }
        frame = -frame;
        residues = &rec.residues;
    }
    if (frame < 1 || frame > 3) {
        messages("Error in frame number.\nUnable to translate.\n");
        return 1;
    }
    if (residues->size() < 3) {
        messages("Sequence too short in: " + source_name + ".\n");
        rec.residues.assign(1, kUnknownResidue);
    } else {
        translator.report(messages);
        const std::size_t n = Translator::codons(residues->size(), frame);
        if (residues == &rec.residues) {
            translator.run(rec.residues.data() + (frame - 1), n, rec.residues.data());
            rec.residues.resize(n);
        } else {
            rec.residues.assign(n, '\0');
            translator.run(residues->data() + (frame - 1), n, rec.residues.data());
        }
    }
    if (label)
        rec.definition = *label;
    else
        rec.definition += "; Translated sequence.";
    rec.name += suffix;
    rec.type = ResidueKind::Protein;
    rec.length = static_cast<long>(rec.residues.size());
    return 0;
}

}  // namespace

std::optional<SequenceRecord> translate_record_with(const SequenceRecord& rec, int frame, const CodonTable& table,
                                                    std::string_view suffix) {
    // A plus-strand translation reads the source residues directly; only a
    // minus-strand one needs a full copy to reverse-complement.
    SequenceRecord dup = frame < 0 ? copy_record(rec) : copy_record_header(rec);
    if (translate_into(dup, frame, Translator(table), suffix, frame < 0 ? nullptr : &rec.residues) != 0)
        return std::nullopt;
    return dup;
}

std::optional<SequenceRecord> translate_record(const SequenceRecord& rec, int frame, const std::string& table_name,
                                               std::string_view suffix) {
    const std::optional<CodonTable> table = select_codon_table(table_name);
    if (!table) return std::nullopt;
    return translate_record_with(rec, frame, *table, suffix);
}

namespace {

// A progress dot (or the closing line end) on the console's message stream
// (standard error while the translated data go to standard output).
void progress_dot(const char* text) {
    out("%s", text);
    if (!messages_to_stderr()) flush_out();
}

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
        if (i % 10 == 0) progress_dot(".");
    }
    progress_dot("\n");
    return 0;
}

}  // namespace

std::optional<Collection> translate_collection(const Collection& source, int frame, const std::string& table_name) {
    const std::optional<CodonTable> selected = select_codon_table(table_name);
    if (!selected) return std::nullopt;
    const CodonTable& table = *selected;
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

int translate_record_in_place(SequenceRecord& rec, int frame, const CodonTable& table, MessageSink messages) {
    const std::string label = frame_label(frame);
    return translate_into(rec, frame, Translator(table), kProteinSuffix, nullptr, &label, messages);
}

int translate_collection_in_place(Collection& records, int frame, const std::string& table_name) {
    const std::optional<CodonTable> table = select_codon_table(table_name);
    if (!table) return 1;
    return translate_collection_in_place_with(records, frame, *table);
}

int translate_collection_in_place_with(Collection& records, int frame, const CodonTable& table) {
    const Translator translator(table);
    const std::string label = frame_label(frame);
    return translate_each(records.size(), records, [&](std::size_t i) {
        return translate_into(records[i], frame, translator, kProteinSuffix, nullptr, &label) == 0;
    });
}

}  // namespace kavro
