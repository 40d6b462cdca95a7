// Composition counting and the DNA/RNA/protein classification classify_residues.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "core/console.hpp"
#include "core/program_exit.hpp"
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

// True when no byte of text is a counted letter other than A, C, G and T (in
// either case). Counting such a text finds only A, C, G and T among the
// counted letters, so acg + T equals the letter count: the classification is
// DNA. This test runs in 4 kB blocks without branches inside a block, so the
// compiler turns it into vector code, and it gives up at the first block
// that holds another letter.
bool only_dna_letters(const char* text, std::size_t n) {
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
            // A, C, G, T and the letters counted in no letter slot: B, J, O, Z.
            const unsigned char kept = is('A') | is('C') | is('G') | is('T') | is('B') | is('J') | is('O') | is('Z');
            const auto letter = static_cast<unsigned char>(-static_cast<int>(static_cast<unsigned char>(u - 'A') < 26));
            other |= letter & static_cast<unsigned char>(~kept);
        }
        if (other) return false;
    }
    return true;
}

}  // namespace

ResidueKind classify_text(std::string_view residues) {
    if (residues.empty()) return ResidueKind::Unknown;
    // When no character is another counted letter, the text is DNA.
    if (only_dna_letters(residues.data(), residues.size())) return ResidueKind::Dna;
    Composition comp;
    zero_composition(comp);
    // Its result needs no check: a text that starts with NUL counts nothing.
    static_cast<void>(count_composition(residues.data(), static_cast<long>(residues.size()), comp));
    return classify_composition(comp);
}

ResidueKind classify_composition(const Composition& comp) {
    long letters = 0;
    for (int i = 1; i <= 22; ++i) letters += comp[static_cast<std::size_t>(i)];
    auto n = [&](char c) { return comp[static_cast<std::size_t>(composition_slot(c))]; };
    const long acg = n('A') + n('C') + n('G');
    const long nry = n('N') + n('R') + n('Y');
    const double L = static_cast<double>(letters);
    if (acg + n('T') == letters) return ResidueKind::Dna;
    if (acg + n('U') == letters) return ResidueKind::Rna;
    // The ambiguity codes N, R and Y belong to both alphabets: a text of
    // them and A, C, G is RNA only when it holds more U than T, so that
    // N-rich DNA with few T (or none) stays DNA.
    if (n('U') > n('T') && static_cast<double>(acg + n('U') + nry) >= 0.95 * L) return ResidueKind::Rna;
    if (static_cast<double>(acg + n('T') + nry) >= 0.95 * L) return ResidueKind::Dna;
    return n('U') > 1 ? ResidueKind::Unknown : ResidueKind::Protein;
}

ResidueKind classify_residues(const SequenceRecord* rec) {
    if (rec == nullptr) {
        err("This is not a valid sequence in c_comp.\n");
        end_program(1);
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
