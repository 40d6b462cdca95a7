#pragma once
// The one in-memory sequence entry, its type codes, collections and the
// operations that classify or change a record.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.hpp"

namespace kavro {

enum class ResidueKind : int { Unknown = 0, Dna = 1, Rna = 2, Protein = 3 };

// "unknown", "DNA", "RNA" or "protein"; "unknown" for any other code.
const char* type_name(ResidueKind type);

// Room of the fixed-width fields; longer values are cut to fit.
inline constexpr std::size_t kAccessionWidth = 29;
inline constexpr std::size_t kOrganismWidth = 49;
inline constexpr std::size_t kMoleculeWidth = 31;

struct SequenceRecord {
    long length = 0;   // number of residues once a reader or operation is done
    ResidueKind type = ResidueKind::Unknown;
    int circular = 0;  // 1 circular, 0 linear
    std::string name;
    std::string accession;   // at most kAccessionWidth characters
    std::string organism;    // at most kOrganismWidth characters
    std::string molecule;    // at most kMoleculeWidth characters
    std::string definition;
    std::string residues;

    void set_accession(std::string_view v) { accession.assign(v.substr(0, kAccessionWidth)); }
    void set_organism(std::string_view v) { organism.assign(v.substr(0, kOrganismWidth)); }
    void set_molecule(std::string_view v) { molecule.assign(v.substr(0, kMoleculeWidth)); }
};

using Collection = std::vector<SequenceRecord>;

// ---- record copies ----
// Header copy: name, accession, organism, definition, length, type, circular;
// empty residues; molecule not copied.
SequenceRecord copy_record_header(const SequenceRecord& rec);
// Full copy.
SequenceRecord copy_record(const SequenceRecord& rec);

// ---- composition ----
// 30 counters: slot 0 printable characters that are none of the counted
// letters; slots 1..22 the letters of kCompositionLetters in that order,
// upper and lower case together. Control characters are counted nowhere.
using Composition = std::array<long, 30>;
inline constexpr char kCompositionLetters[] = "ACDEFGHIKLMNPQRSTUVWXY";
// Slot of an upper-case letter in Composition (0 when not a counted letter).
[[nodiscard]] int composition_slot(char upper);

void zero_composition(Composition& comp);
// 1 for a null text, 2 for length 0 or an empty text, else 0 after adding the
// counts of the first `length` characters.
[[nodiscard]] int count_composition(const char* text, long length, Composition& comp);
[[nodiscard]] int count_seq_composition(const SequenceRecord* rec, Composition& comp);

// Classification of the residues: ResidueKind::Unknown, ResidueKind::Dna, ResidueKind::Rna or
// ResidueKind::Protein. A null record gives ResidueKind::Unknown after a
// message; every command hands a record.
ResidueKind classify_residues(const SequenceRecord* rec);
inline ResidueKind classify_residues(const SequenceRecord& rec) { return classify_residues(&rec); }
// The same classification of a whole residue text.
ResidueKind classify_text(std::string_view residues);
// The counts the classification rests on (up to a NUL, either case): A, C,
// G, T, U, N, R, Y and every letter with a composition slot.
struct ClassifyingCounts {
    long a = 0, c = 0, g = 0, t = 0, u = 0, n = 0, r = 0, y = 0, letters = 0;
};
ClassifyingCounts count_classifying_letters(std::string_view text);
// The rule all three apply, on the counts of a text that is not empty (a
// caller that counts anyway need not count twice).
ResidueKind classify_counts(const ClassifyingCounts& counts);
ResidueKind classify_composition(const Composition& comp);

// ---- operations (0 success, 1 failure; messages on standard error) ----
[[nodiscard]] int clear_gaps(SequenceRecord& rec);
[[nodiscard]] int complement_seq(SequenceRecord& rec);
// The same for a record whose kind is already known (classified once), its
// messages sent to `messages`.
[[nodiscard]] int complement_seq(SequenceRecord& rec, ResidueKind type, MessageSink messages = {});
[[nodiscard]] int append_residues(SequenceRecord& rec, const SequenceRecord& other);
[[nodiscard]] int cut_residues(SequenceRecord& rec, long from, long to);
SequenceRecord new_placeholder_seq();
std::optional<SequenceRecord> extract_seq(const SequenceRecord& rec, long from, long to);

// Complement of one residue letter by the DNA (rna = false) or RNA table.
char complement_base(char c, bool rna);
// Reverses text and complements every byte by the DNA or RNA table.
void reverse_complement_text(std::string& text, bool rna);

}  // namespace kavro
