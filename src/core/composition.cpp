// Composition counting and the DNA/RNA/protein classification classify_residues.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "core/console.hpp"
#include "core/sequence.hpp"

namespace kavro {

namespace {

// Slot of every byte: 1..22 for the counted letters (either case), 0 for any
// other printable character, -1 for control and non-ASCII bytes.
struct SlotTable {
    signed char slot[256];
    SlotTable() {
        for (int c = 0; c < 256; ++c) slot[c] = (c >= 0x20 && c < 0x7F) ? 0 : -1;
        for (int i = 0; kCompositionLetters[i]; ++i) {
            unsigned char up = static_cast<unsigned char>(kCompositionLetters[i]);
            slot[up] = static_cast<signed char>(i + 1);
            slot[up + ('a' - 'A')] = static_cast<signed char>(i + 1);
        }
    }
};

const SlotTable& slots() {
    static const SlotTable t;
    return t;
}

}  // namespace

const char* type_name(ResidueKind type) {
    switch (type) {
        case ResidueKind::Dna: return "DNA";
        case ResidueKind::Rna: return "RNA";
        case ResidueKind::Protein: return "protein";
        default: return "unknown";
    }
}

int composition_slot(char upper) {
    int s = slots().slot[static_cast<unsigned char>(upper)];
    return s > 0 ? s : 0;
}

void zero_composition(Composition& comp) { comp.fill(0); }

namespace {

// Counts upper-case A, C, G and T in blocks of 255 bytes (byte counters the
// compiler keeps in vector registers) and returns how many leading bytes it
// counted: it stops before the first block that holds any other byte, which
// the caller then counts the general way. Most DNA read from files is
// counted here entirely.
std::size_t count_upper_acgt_prefix(const unsigned char* p, std::size_t n, Composition& comp) {
    constexpr std::size_t kBlock = 255;
    long a = 0, c = 0, g = 0, t = 0;
    std::size_t done = 0;
    while (done < n) {
        const std::size_t m = n - done < kBlock ? n - done : kBlock;
        std::uint8_t ba = 0, bc = 0, bg = 0, bt = 0;
        for (std::size_t j = 0; j < m; ++j) {
            const unsigned char ch = p[done + j];
            ba = static_cast<std::uint8_t>(ba + (ch == 'A'));
            bc = static_cast<std::uint8_t>(bc + (ch == 'C'));
            bg = static_cast<std::uint8_t>(bg + (ch == 'G'));
            bt = static_cast<std::uint8_t>(bt + (ch == 'T'));
        }
        if (static_cast<std::size_t>(ba) + bc + bg + bt != m) break;
        a += ba, c += bc, g += bg, t += bt;
        done += m;
    }
    comp[static_cast<std::size_t>(composition_slot('A'))] += a;
    comp[static_cast<std::size_t>(composition_slot('C'))] += c;
    comp[static_cast<std::size_t>(composition_slot('G'))] += g;
    comp[static_cast<std::size_t>(composition_slot('T'))] += t;
    return done;
}

}  // namespace

int count_composition(const char* text, long length, Composition& comp) {
    if (text == nullptr) return 1;
    if (length <= 0 || text[0] == '\0') return 2;
    // Counting stops at the text's end as well as at `length`.
    const auto n = static_cast<std::size_t>(length);
    const void* nul = std::memchr(text, '\0', n);
    const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : n;
    const SlotTable& t = slots();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (end < 4096) {
        for (std::size_t i = 0; i < end; ++i) {
            int s = t.slot[p[i]];
            if (s >= 0) ++comp[static_cast<std::size_t>(s)];
        }
        return 0;
    }
    std::size_t i = count_upper_acgt_prefix(p, end, comp);
    if (i == end) return 0;
    // A byte histogram in four interleaved tables (no store-to-load stalls on
    // runs of one letter), folded into the slots afterwards.
    std::array<std::array<long, 256>, 4> hist{};
    for (; i + 4 <= end; i += 4) {
        ++hist[0][p[i]];
        ++hist[1][p[i + 1]];
        ++hist[2][p[i + 2]];
        ++hist[3][p[i + 3]];
    }
    for (; i < end; ++i) ++hist[0][p[i]];
    for (int c = 0; c < 256; ++c) {
        int s = t.slot[c];
        if (s < 0) continue;
        comp[static_cast<std::size_t>(s)] += hist[0][c] + hist[1][c] + hist[2][c] + hist[3][c];
    }
    return 0;
}

int count_seq_composition(const SequenceRecord* rec, Composition& comp) {
    if (rec == nullptr) return 1;
    if (rec->length == 0 || rec->residues.empty()) return 2;
    return count_composition(rec->residues.c_str(), rec->length, comp);
}

namespace {

// True when no byte of text is a counted letter other than A, C, G, T and
// the ambiguity codes N, R and Y (in either case). Counting such a text
// finds no U, so it is not RNA, and acg + T + nry equals the letter count,
// which passes the 95 % test for DNA (or acg + T alone does): the
// classification is DNA, whatever share of N it holds. This test runs in
// 4 kB blocks without branches inside a block, so the compiler turns it into
// vector code, and it gives up at the first block that holds another letter.
bool only_dna_letters_by_masks(const char* text, std::size_t n) {
    constexpr std::size_t kBlock = 4096;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t at = 0; at < n; at += kBlock) {
        const std::size_t len = n - at < kBlock ? n - at : kBlock;
        unsigned char other = 0;
        for (std::size_t i = 0; i < len; ++i) {
            // Masks of all ones or zero, joined with | and &: the form the
            // compiler vectorises (a chain of == joined by || it does not).
            const unsigned char u = p[at + i] & 0xDF;  // upper case for letters
            const auto is = [u](char c) { return static_cast<unsigned char>(-static_cast<int>(u == c)); };
            // A, C, G, T, N, R, Y and the letters counted in no letter slot: B, J, O, Z.
            const unsigned char kept = is('A') | is('C') | is('G') | is('T') | is('N') | is('R') | is('Y') | is('B') |
                                       is('J') | is('O') | is('Z');
            const auto letter = static_cast<unsigned char>(-static_cast<int>(static_cast<unsigned char>(u - 'A') < 26));
            other |= letter & static_cast<unsigned char>(~kept);
        }
        if (other) return false;
    }
    return true;
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same test by byte shuffles, 16 bytes at a time. An upper-cased letter
// is 0x41-0x5A: its low four bits pick, from one table for 0x4_ and one for
// 0x5_, whether it is kept.
__attribute__((target("ssse3"))) bool only_dna_letters_by_shuffles(const char* text, std::size_t n) {
    constexpr std::size_t kBlock = 4096;
    constexpr char K = static_cast<char>(0xFF);
    //                                       @  A  B  C  D  E  F  G  H  I  J  K  L  M  N  O
    const __m128i kept_4 = _mm_setr_epi8(0, K, K, K, 0, 0, 0, K, 0, 0, K, 0, 0, 0, K, K);
    //                                       P  Q  R  S  T  U  V  W  X  Y  Z
    const __m128i kept_5 = _mm_setr_epi8(0, 0, K, 0, K, 0, 0, 0, 0, K, K, 0, 0, 0, 0, 0);
    std::size_t at = 0;
    while (at + 16 <= n) {
        const std::size_t stop = std::min(n & ~std::size_t{15}, at + kBlock);
        __m128i other = _mm_setzero_si128();
        for (; at < stop; at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
            const __m128i upper = _mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(0xDF)));
            const __m128i from_a = _mm_sub_epi8(upper, _mm_set1_epi8('A'));
            const __m128i letter = _mm_cmpeq_epi8(_mm_subs_epu8(from_a, _mm_set1_epi8(25)), _mm_setzero_si128());
            const __m128i low = _mm_and_si128(upper, _mm_set1_epi8(0x0F));
            const __m128i row_5 = _mm_cmpeq_epi8(_mm_and_si128(upper, _mm_set1_epi8(0x10)), _mm_set1_epi8(0x10));
            const __m128i kept = _mm_or_si128(_mm_and_si128(row_5, _mm_shuffle_epi8(kept_5, low)),
                                              _mm_andnot_si128(row_5, _mm_shuffle_epi8(kept_4, low)));
            other = _mm_or_si128(other, _mm_andnot_si128(kept, letter));
        }
        if (_mm_movemask_epi8(other) != 0) return false;
    }
    return only_dna_letters_by_masks(text + at, n - at);
}
#endif

bool only_dna_letters(const char* text, std::size_t n) {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (shuffles) return only_dna_letters_by_shuffles(text, n);
#endif
    return only_dna_letters_by_masks(text, n);
}

}  // namespace

ClassifyingCounts count_classifying_letters(std::string_view text) {
    // Counting stops at a NUL, as count_composition does.
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    ClassifyingCounts total;
    // Byte-wide sums over blocks of at most 255 bytes cannot overflow.
    constexpr std::size_t kBlock = 255;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t at = 0; at < text.size(); at += kBlock) {
        const std::size_t len = std::min(kBlock, text.size() - at);
        unsigned char a = 0, c = 0, g = 0, t = 0, u = 0, n = 0, r = 0, y = 0, uncounted = 0, letters = 0;
        const unsigned char* q = p + at;
        for (int i = 0; i < static_cast<int>(len); ++i) {
            // Masks of all ones (-1) or zero, subtracted: the form the
            // compiler vectorises (a chain of == joined by | becomes a
            // 64-bit bit test otherwise, which it does not).
            const unsigned char up = q[i] & 0xDF;  // upper case for letters
            const auto is = [up](char x) { return static_cast<unsigned char>(-static_cast<int>(up == x)); };
            a -= is('A');
            c -= is('C');
            g -= is('G');
            t -= is('T');
            u -= is('U');
            n -= is('N');
            r -= is('R');
            y -= is('Y');
            // B, J, O and Z are letters without a composition slot.
            uncounted -= static_cast<unsigned char>(is('B') | is('J') | is('O') | is('Z'));
            letters -= static_cast<unsigned char>(-static_cast<int>(static_cast<unsigned char>(up - 'A') < 26));
        }
        total.a += a;
        total.c += c;
        total.g += g;
        total.t += t;
        total.u += u;
        total.n += n;
        total.r += r;
        total.y += y;
        total.letters += static_cast<long>(letters) - uncounted;
    }
    return total;
}

ResidueKind classify_text(std::string_view residues) {
    if (residues.empty()) return ResidueKind::Unknown;
    // When no character is a counted letter outside DNA's, the text is DNA.
    if (only_dna_letters(residues.data(), residues.size())) return ResidueKind::Dna;
    return classify_counts(count_classifying_letters(residues));
}

ResidueKind classify_composition(const Composition& comp) {
    auto n = [&](char c) { return comp[static_cast<std::size_t>(composition_slot(c))]; };
    ClassifyingCounts k;
    k.a = n('A');
    k.c = n('C');
    k.g = n('G');
    k.t = n('T');
    k.u = n('U');
    k.n = n('N');
    k.r = n('R');
    k.y = n('Y');
    for (int i = 1; i <= 22; ++i) k.letters += comp[static_cast<std::size_t>(i)];
    return classify_counts(k);
}

ResidueKind classify_counts(const ClassifyingCounts& k) {
    const long acg = k.a + k.c + k.g;
    const long nry = k.n + k.r + k.y;
    const double L = static_cast<double>(k.letters);
    if (acg + k.t == k.letters) return ResidueKind::Dna;
    if (acg + k.u == k.letters) return ResidueKind::Rna;
    // The ambiguity codes N, R and Y belong to both alphabets: a text of
    // them and A, C, G is RNA only when it holds more U than T, so that
    // N-rich DNA with few T (or none) stays DNA.
    if (k.u > k.t && static_cast<double>(acg + k.u + nry) >= 0.95 * L) return ResidueKind::Rna;
    if (static_cast<double>(acg + k.t + nry) >= 0.95 * L) return ResidueKind::Dna;
    return k.u > 1 ? ResidueKind::Unknown : ResidueKind::Protein;
}

ResidueKind classify_residues(const SequenceRecord* rec) {
    if (rec == nullptr) {
        err("This is not a valid sequence in c_comp.\n");
        return ResidueKind::Unknown;
    }
    if (rec->length == 0 || rec->residues.empty()) return ResidueKind::Unknown;
    // Classification covers at most the first `length` characters, and
    // stops at a NUL as counting does.
    std::string_view text(rec->residues);
    text = text.substr(0, rec->length < 0 ? 0 : std::min(static_cast<std::size_t>(rec->length), text.size()));
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    // A text without a counted letter (gaps, digits, a NUL first) is DNA.
    return text.empty() ? ResidueKind::Dna : classify_text(text);
}

}  // namespace kavro
