#pragma once
// Motif matching: which sequence letters agree with which motif letters, and
// a scanner that finds every window whose agreement count reaches a
// threshold, on the given strand and (for DNA) on the complementary one.
//
// Letters agree when they are equal. For DNA, N agrees with anything, and R
// with A or G, Y with T or C, W with A or T, S with G or C, M with A or C, K
// with G or T (either way round). For RNA, N agrees with anything, R with A
// or G, Y with U or C. For any other type only equal letters agree.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"

namespace kavro {

// The motif lengths the search accepts.
inline constexpr std::size_t kMinMotifLength = 3;
inline constexpr std::size_t kMaxMotifLength = 510;

bool letters_agree(ResidueKind type, char residue, char motif_letter);

// The DNA motif read backwards with every letter complemented (ambiguity
// codes included; letters without a complement become "*").
std::string reverse_complement_motif(std::string_view motif);

// The least number of agreeing letters that makes a window of a motif of
// `length` letters a match at `level`: a window matches when its count is at
// least level x length, compared in floating point.
int agreements_needed(double level, std::size_t length);

// One window found by the scanner: its 0-based start, and whether it matched
// the complementary motif (only when it did not match the motif itself).
struct MotifHit {
    std::int64_t start = 0;
    bool complementary = false;
};

class MotifScanner {
public:
    // The complementary motif is searched for DNA only. The motif must hold
    // at least one letter.
    MotifScanner(ResidueKind type, std::string motif);

    const std::string& motif() const { return motif_; }
    const std::string& complement() const { return complement_; }
    bool both_strands() const { return both_strands_; }

    // Every window of `text` (starts 0 .. size - motif length) whose
    // agreement count with the motif, or failing that with the complementary
    // motif, is at least `needed`; handed to on_hit in order. Returns how many.
    template <class OnHit>
    std::int64_t scan(std::string_view text, int needed, OnHit&& on_hit) const;
    std::int64_t count(std::string_view text, int needed) const {
        return scan(text, needed, [](const MotifHit&) {});
    }

private:
    // Up to this many letters, the mismatch counts of all motif prefixes
    // ending at a residue fit side by side in one 64-bit word (shift-add):
    // each residue costs one table look-up, a shift and an add per strand,
    // whatever the motif and the level.
    static constexpr std::size_t kPackedLimit = 15;
    // Up to this many letters, a search for full agreement keeps one bit per
    // motif prefix and both strands in one 64-bit word (shift-and).
    static constexpr std::size_t kExactLimit = 32;
    // Texts at least this long are searched in two interleaved halves.
    static constexpr std::size_t kSplitLength = 1024;

    template <bool Both, class OnHit>
    std::int64_t scan_packed(std::string_view text, int needed, OnHit& on_hit) const;
    template <class OnHit>
    std::int64_t scan_exact(std::string_view text, OnHit& on_hit) const;
    template <class OnHit>
    std::int64_t scan_direct(std::string_view text, int needed, OnHit& on_hit) const;
    bool window_reaches(const unsigned char* w, const std::string& m, int allowed) const;

    ResidueKind type_;
    std::string motif_;
    std::string complement_;
    bool both_strands_;
    unsigned field_bits_ = 0;
    std::array<std::uint64_t, 256> mismatch_direct_{};
    std::array<std::uint64_t, 256> mismatch_complement_{};
    // Bit i (motif) and bit 32 + i (complementary motif) set when the
    // residue agrees with letter i.
    std::array<std::uint64_t, 256> agree_bits_{};
    std::vector<bool> agree_;  // 256 x 256, residue x motif letter
};

template <bool Both, class OnHit>
std::int64_t MotifScanner::scan_packed(std::string_view text, int needed, OnHit& on_hit) const {
    const std::size_t n = motif_.size();
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned top = static_cast<unsigned>((n - 1) * field_bits_);
    const std::uint64_t field = (std::uint64_t{1} << field_bits_) - 1;
    const std::uint64_t allowed = static_cast<std::uint64_t>(static_cast<int>(n) - needed);
    std::uint64_t direct = 0, comp = 0;
    for (std::size_t q = 0; q + 1 < n; ++q) {
        direct = (direct << field_bits_) + mismatch_direct_[s[q]];
        if constexpr (Both) comp = (comp << field_bits_) + mismatch_complement_[s[q]];
    }
    std::int64_t hits = 0;
    for (std::size_t q = n - 1; q < text.size(); ++q) {
        direct = (direct << field_bits_) + mismatch_direct_[s[q]];
        bool on_direct = ((direct >> top) & field) <= allowed;
        bool on_comp = false;
        if constexpr (Both) {
            comp = (comp << field_bits_) + mismatch_complement_[s[q]];
            on_comp = ((comp >> top) & field) <= allowed;
        }
        if (on_direct || on_comp) [[unlikely]] {
            ++hits;
            on_hit(MotifHit{static_cast<std::int64_t>(q + 1 - n), !on_direct});
        }
    }
    return hits;
}

template <class OnHit>
std::int64_t MotifScanner::scan_exact(std::string_view text, OnHit& on_hit) const {
    const std::size_t n = motif_.size();
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    // Bit i of a strand's half: the last i + 1 residues agree with the first
    // i + 1 letters. A new prefix starts at bit 0 of each half; bit n - 1
    // never reaches the other half's bit 32, as the table masks it away.
    const std::uint64_t start = both_strands_ ? (std::uint64_t{1} << 32) | 1 : 1;
    const std::uint64_t done_direct = std::uint64_t{1} << (n - 1);
    const std::uint64_t done = done_direct | (both_strands_ ? done_direct << 32 : 0);
    auto hit_at = [&](std::size_t q, std::uint64_t state) {
        return MotifHit{static_cast<std::int64_t>(q + 1 - n), (state & done_direct) == 0};
    };
    // A long text is read as two halves side by side, so that the two
    // chains of state updates overlap in the processor. The second half
    // starts afresh at `mid` and so sees the windows starting there or
    // later; the first runs n - 1 residues past `mid` to finish the windows
    // starting before it. The second half's hits are handed on afterwards.
    const std::size_t mid = text.size() >= kSplitLength ? text.size() / 2 : text.size();
    const std::size_t first_end = std::min(text.size(), mid + n - 1);
    std::vector<MotifHit> later;
    std::uint64_t a = 0, b = 0;
    std::int64_t hits = 0;
    std::size_t qa = 0, qb = mid;
    for (; qa < first_end && qb < text.size(); ++qa, ++qb) {
        a = ((a << 1) | start) & agree_bits_[s[qa]];
        b = ((b << 1) | start) & agree_bits_[s[qb]];
        if ((a | b) & done) [[unlikely]] {
            if (a & done) {
                ++hits;
                on_hit(hit_at(qa, a));
            }
            if (b & done) later.push_back(hit_at(qb, b));
        }
    }
    for (; qa < first_end; ++qa) {
        a = ((a << 1) | start) & agree_bits_[s[qa]];
        if (a & done) [[unlikely]] {
            ++hits;
            on_hit(hit_at(qa, a));
        }
    }
    for (; qb < text.size(); ++qb) {
        b = ((b << 1) | start) & agree_bits_[s[qb]];
        if (b & done) [[unlikely]] later.push_back(hit_at(qb, b));
    }
    for (const MotifHit& h : later) on_hit(h);
    return hits + static_cast<std::int64_t>(later.size());
}

template <class OnHit>
std::int64_t MotifScanner::scan_direct(std::string_view text, int needed, OnHit& on_hit) const {
    const std::size_t n = motif_.size();
    const int allowed = static_cast<int>(n) - needed;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::int64_t hits = 0;
    for (std::size_t p = 0; p + n <= text.size(); ++p) {
        bool on_direct = window_reaches(s + p, motif_, allowed);
        bool on_comp = !on_direct && both_strands_ && window_reaches(s + p, complement_, allowed);
        if (on_direct || on_comp) {
            ++hits;
            on_hit(MotifHit{static_cast<std::int64_t>(p), on_comp});
        }
    }
    return hits;
}

template <class OnHit>
std::int64_t MotifScanner::scan(std::string_view text, int needed, OnHit&& on_hit) const {
    const std::size_t n = motif_.size();
    if (n == 0 || text.size() < n) return 0;
    if (needed < 0) needed = 0;
    if (needed > static_cast<int>(n)) return 0;
    if (needed == static_cast<int>(n) && n <= kExactLimit) return scan_exact(text, on_hit);
    if (n > kPackedLimit) return scan_direct(text, needed, on_hit);
    return both_strands_ ? scan_packed<true>(text, needed, on_hit) : scan_packed<false>(text, needed, on_hit);
}

}  // namespace kavro
