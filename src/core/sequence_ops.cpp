// Record copies and the operations that change one record: gap clearing,
// reverse complement, joining, cutting and extraction of a stretch.
#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KAVRO_SHUFFLE_COMPLEMENT 1
#endif

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

namespace {

constexpr std::size_t kComplementBlock = 16;

// One step of the reverse complement: the block of 16 bytes at i and the
// one ending at j trade places, each reversed and complemented. Both are
// copied out first, so the lookups depend on nothing written in the step.
void swap_complement_blocks(char* p, std::size_t i, std::size_t j, const ComplementTable& table) {
    char front[kComplementBlock], back[kComplementBlock];
    std::memcpy(front, p + i, kComplementBlock);
    std::memcpy(back, p + j - kComplementBlock, kComplementBlock);
    for (std::size_t k = 0; k < kComplementBlock; ++k) {
        p[i + k] = table(back[kComplementBlock - 1 - k]);
        p[j - kComplementBlock + k] = table(front[kComplementBlock - 1 - k]);
    }
}

#ifdef KAVRO_SHUFFLE_COMPLEMENT
// The common letters A, C, G, T, U and N (either case) differ in the low four
// bits of their upper-case form (1, 3, 7, 4, 5, 14), so one byte shuffle by
// those bits gives each its complement, and a second gives the letter the
// bits stand for: a block whose upper-cased bytes all equal that letter holds
// common letters only. Any other block goes through the table.
__attribute__((target("ssse3"))) bool complement_block(__m128i block, bool rna, __m128i& result) {
    const __m128i upper = _mm_and_si128(block, _mm_set1_epi8(static_cast<char>(0xDF)));
    const __m128i bits = _mm_and_si128(upper, _mm_set1_epi8(0x0F));
    //                                      0  1    2  3    4    5    6  7    8  9  10 11 12 13 14   15
    const __m128i letters = _mm_setr_epi8(0, 'A', 0, 'C', 'T', 'U', 0, 'G', 0, 0, 0, 0, 0, 0, 'N', 0);
    const __m128i partners = _mm_setr_epi8(0, rna ? 'U' : 'T', 0, 'G', 'A', 'A', 0, 'C', 0, 0, 0, 0, 0, 0, 'N', 0);
    const __m128i same = _mm_cmpeq_epi8(_mm_shuffle_epi8(letters, bits), upper);
    if (_mm_movemask_epi8(same) != 0xFFFF) return false;
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    result = _mm_shuffle_epi8(_mm_shuffle_epi8(partners, bits), reverse);
    return true;
}

__attribute__((target("ssse3"))) void swap_complement_blocks_ssse3(char* p, std::size_t& i, std::size_t& j,
                                                                   const ComplementTable& table, bool rna) {
    while (j - i >= 2 * kComplementBlock) {
        auto* front_at = reinterpret_cast<__m128i*>(p + i);
        auto* back_at = reinterpret_cast<__m128i*>(p + j - kComplementBlock);
        __m128i front, back;
        if (complement_block(_mm_loadu_si128(front_at), rna, front) &&
            complement_block(_mm_loadu_si128(back_at), rna, back)) {
            _mm_storeu_si128(front_at, back);
            _mm_storeu_si128(back_at, front);
        } else {
            swap_complement_blocks(p, i, j, table);
        }
        i += kComplementBlock;
        j -= kComplementBlock;
    }
}
#endif

}  // namespace

void reverse_complement_text(std::string& s, bool rna) {
    const ComplementTable& table = rna ? kRnaComplement : kDnaComplement;
    char* p = s.data();
    std::size_t i = 0;
    std::size_t j = s.size();
#ifdef KAVRO_SHUFFLE_COMPLEMENT
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (shuffles) swap_complement_blocks_ssse3(p, i, j, table, rna);
#endif
    for (; j - i >= 2 * kComplementBlock; i += kComplementBlock, j -= kComplementBlock)
        swap_complement_blocks(p, i, j, table);
    while (j > i + 1) {
        --j;
        const char front = p[i];
        p[i] = table(p[j]);
        p[j] = table(front);
        ++i;
    }
    if (j == i + 1) p[i] = table(p[i]);  // the middle of an odd-length text
}

int complement_seq(SequenceRecord& rec) { return complement_seq(rec, classify_residues(rec)); }

int complement_seq(SequenceRecord& rec, ResidueKind type) {
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
    reverse_complement_text(rec.residues, type == ResidueKind::Rna);
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
