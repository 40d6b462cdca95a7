// Record copies and the operations that change one record: gap clearing,
// reverse complement, joining, cutting and extraction of a stretch.
#include <algorithm>
#include <array>

#include "core/console.hpp"
#include "core/sequence.hpp"
#include "core/text_ops.hpp"

namespace kavro {

SequenceRecord copy_record_header(const SequenceRecord& rec) {
    SequenceRecord copy;
    copy.length = rec.length;
    copy.type = rec.type;
    copy.circular = rec.circular;
    copy.name = rec.name;
    copy.set_accession(rec.accession);
    copy.set_organism(rec.organism);
    copy.definition = rec.definition;
    return copy;  // residues empty, molecule not carried over
}

SequenceRecord copy_record(const SequenceRecord& rec) {
    SequenceRecord copy = copy_record_header(rec);
    copy.residues = rec.residues;
    return copy;
}

namespace {

// True when every byte is an upper-case letter, as in most entries: then
// clearing gaps changes nothing, and this scan (which the compiler turns
// into vector code) costs far less than rewriting every byte.
bool only_upper_letters(std::string_view s) {
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < s.size(); at += kBlock) {
        const std::size_t n = std::min(kBlock, s.size() - at);
        const auto* p = reinterpret_cast<const unsigned char*>(s.data() + at);
        unsigned char outside = 0;
        for (std::size_t i = 0; i < n; ++i) outside |= static_cast<unsigned char>(p[i] - 'A') > 25;
        if (outside) return false;
    }
    return true;
}

}  // namespace

int clear_gaps(SequenceRecord& rec) {
    std::string& s = rec.residues;
    if (rec.length >= 0 && static_cast<std::size_t>(rec.length) == s.size() && only_upper_letters(s)) return 0;
    std::size_t kept = 0;
    for (char c : s) {
        if (is_alpha(c)) s[kept++] = to_upper(c);
    }
    s.resize(kept);
    const long n = static_cast<long>(kept);
    if (n > rec.length) {
        // The length field disagrees with the text; the letters stay packed
        // but the length is not trusted.
        err("Error in sequence length.\n%ld,%ld", n, rec.length);
        return 1;
    }
    rec.length = n;
    return 0;
}

namespace {

// Complement of every byte: the letters of "*ACDGHKMNRSTUWY" (either case)
// map to the matching letter of the DNA or RNA target; anything else is "*".
// B (not A) and V (not T/U) are each other's complement.
struct ComplementTable {
    std::array<char, 256> map{};
    constexpr explicit ComplementTable(const char* target) {
        constexpr const char* source = "*ACDGHKMNRSTUWYBV";
        for (auto& m : map) m = '*';
        for (int i = 0; source[i] != '\0'; ++i) {
            const char up = source[i];
            map[static_cast<unsigned char>(up)] = target[i];
            if (up >= 'A' && up <= 'Z') map[static_cast<unsigned char>(up + ('a' - 'A'))] = target[i];
        }
    }
    char operator()(char c) const { return map[static_cast<unsigned char>(c)]; }
};

constexpr ComplementTable kDnaComplement("*TGHCDMKNYSAAWRVB");
constexpr ComplementTable kRnaComplement("*UGHCDMKNYSAAWRVB");

}  // namespace

char complement_base(char c, bool rna) { return rna ? kRnaComplement(c) : kDnaComplement(c); }

int complement_seq(SequenceRecord& rec) {
    const ResidueKind type = classify_residues(rec);
    if (type != ResidueKind::Dna && type != ResidueKind::Rna) {
        err("This is not a nucleic acid sequence: %s.\n", rec.name.c_str());
        return 1;
    }
    // The length field must describe the text exactly: a longer length would
    // pull bytes from beyond its end into the complement.
    if (rec.length < 0 || static_cast<std::size_t>(rec.length) != rec.residues.size()) {
        err("Error in sequence file: %s.\n", rec.name.c_str());
        return 1;
    }
    const ComplementTable& table = (type == ResidueKind::Rna) ? kRnaComplement : kDnaComplement;
    std::string& s = rec.residues;
    std::size_t i = 0;
    std::size_t j = s.size();
    while (j > i + 1) {
        --j;
        const char front = s[i];
        s[i] = table(s[j]);
        s[j] = table(front);
        ++i;
    }
    if (j == i + 1) s[i] = table(s[i]);  // the middle of an odd-length text
    rec.definition += ";Complementary for: ";
    rec.definition += rec.name;
    rec.definition += '.';
    rec.name += "_C";
    return 0;
}

int append_residues(SequenceRecord& rec, const SequenceRecord& other) {
    if (other.length == 0) return 0;
    rec.residues += other.residues;
    rec.length = static_cast<long>(rec.residues.size());
    return 0;
}

int cut_residues(SequenceRecord& rec, long from, long to) {
    if (rec.length < from || to < from) {
        err("Error of extraction positions: %ld, %ld\n", from, to);
        return 1;
    }
    if (to > rec.length) to = rec.length;
    if (from < 1) from = 1;
    if (extract_in_place(rec.residues, from, to) != 0) {
        err("Error in picking up sequence.\n");
        return 1;
    }
    return 0;
}

SequenceRecord new_placeholder_seq() {
    SequenceRecord rec;
    rec.length = 1;  // an empty slot, as the intron and exon collectors expect
    return rec;
}

std::optional<SequenceRecord> extract_seq(const SequenceRecord& rec, long from, long to) {
    if (rec.length < from || to < from) {
        err("Error of extraction positions: %ld, %ld\n", from, to);
        return std::nullopt;
    }
    if (to > rec.length) to = rec.length;
    if (from < 1) from = 1;
    SequenceRecord part;
    part.name = rec.name;
    part.type = rec.type;
    part.definition = rec.definition + "_Extracted from " + std::to_string(from) + " to " +
                      std::to_string(to) + "; ";
    part.residues = extract_new(rec.residues, from, to);
    part.length = static_cast<long>(part.residues.size());
    return part;
}

}  // namespace kavro
