// DNA/RNA conversion of one record and the batch operations over a
// collection. Residues are rewritten in one pass through a 256-entry table.
#include "core/conversions.hpp"

#include <algorithm>
#include <array>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

using ByteTable = std::array<char, 256>;

// Letters upper-cased, `from` replaced by `to`, every other byte unchanged.
ByteTable make_table(char from, char to) {
    ByteTable t{};
    for (int c = 0; c < 256; ++c) {
        const char up = to_upper(static_cast<char>(c));
        t[static_cast<std::size_t>(c)] = up == from ? to : up;
    }
    return t;
}

void translate_bytes(std::string& text, const ByteTable& table) {
    for (char& c : text) c = table[static_cast<unsigned char>(c)];
}

int convert(SequenceRecord& rec, ResidueKind from_type, ResidueKind to_type, const ByteTable& table, const char* name_tail,
            const char* definition_tail) {
    if (rec.type != from_type) {
        err(from_type == ResidueKind::Dna ? "This is not DNA.\n" : "This is not RNA.\n");
        return 1;
    }
    translate_bytes(rec.residues, table);
    rec.type = to_type;
    rec.name += name_tail;
    rec.definition += definition_tail;
    return 0;
}

// Progress dots go to the console's message stream: standard error while the
// data go to standard output.
void batch_mark(char mark) { progress(mark); }
void batch_end() { out("\n"); }

template <typename Op>
int for_each_record(Collection& seqs, Op op) {
    for (std::size_t i = 0; i < seqs.size(); ++i) {
        if (op(seqs[i]) != 0) return 1;
        if (i % 10 == 0) batch_mark('.');
    }
    batch_end();
    return 0;
}

}  // namespace

int to_rna(SequenceRecord& rec) {
    static const ByteTable table = make_table('T', 'U');
    return convert(rec, ResidueKind::Dna, ResidueKind::Rna, table, "_RNA", "; Converted to RNA.");
}

int to_dna(SequenceRecord& rec) {
    static const ByteTable table = make_table('U', 'T');
    return convert(rec, ResidueKind::Rna, ResidueKind::Dna, table, "_DNA", "; Converted to DNA.");
}

int complement_all(Collection& seqs) {
    return for_each_record(seqs, [](SequenceRecord& rec) {
        if (complement_seq(rec) == 0) return 0;
        err("Error in converting to complementary in sequence: %s.\n", rec.name.c_str());
        return 1;
    });
}

int to_rna_all(Collection& seqs) { return for_each_record(seqs, [](SequenceRecord& rec) { return to_rna(rec); }); }

int to_dna_all(Collection& seqs) { return for_each_record(seqs, [](SequenceRecord& rec) { return to_dna(rec); }); }

int clear_gaps_all(Collection& seqs) {
    return for_each_record(seqs, [](SequenceRecord& rec) {
        if (clear_gaps(rec) == 0) return 0;
        err("Error in clearing gaps in sequence: %s.\n", rec.name.c_str());
        return 1;
    });
}

}  // namespace kavro
