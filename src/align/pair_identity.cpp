#include "align/pair_identity.hpp"

#include <algorithm>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

// Positions are counted in blocks whose 32-bit counts cannot overflow; the
// loop over a block is simple enough for the compiler to vectorise.
constexpr std::size_t kCountBlock = std::size_t{1} << 30;

}  // namespace

std::vector<std::uint8_t> letter_codes(std::string_view residues) {
    std::vector<std::uint8_t> codes(residues.size());
    for (std::size_t i = 0; i < residues.size(); ++i) {
        const char c = residues[i];
        codes[i] = is_alpha(c) ? static_cast<std::uint8_t>(to_upper(c)) : 0;
    }
    return codes;
}

PairIdentity compare_letter_codes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    PairIdentity result;
    if (a.size() != b.size()) return result;
    if (a.empty()) {
        err("Empty sequence.\n");
        return result;
    }
    const std::uint8_t* x = a.data();
    const std::uint8_t* y = b.data();
    for (std::size_t start = 0; start < a.size(); start += kCountBlock) {
        const std::size_t end = std::min(a.size(), start + kCountBlock);
        std::uint32_t compared = 0, identical = 0;
        for (std::size_t i = start; i < end; ++i) {
            const std::uint32_t both = (x[i] != 0) & (y[i] != 0);
            compared += both;
            identical += both & (x[i] == y[i]);
        }
        result.compared += compared;
        result.identical += identical;
    }
    return result;
}

bool identical_letter_codes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size()) return false;
    const std::uint8_t* x = a.data();
    const std::uint8_t* y = b.data();
    bool any_compared = false;
    // Blocks of 64 positions: most different sequences differ in the first.
    constexpr std::size_t kBlock = 64;
    for (std::size_t start = 0; start < a.size(); start += kBlock) {
        const std::size_t end = std::min(a.size(), start + kBlock);
        std::uint8_t differ = 0, compared = 0;
        for (std::size_t i = start; i < end; ++i) {
            const std::uint8_t both = (x[i] != 0) & (y[i] != 0);
            compared |= both;
            differ |= both & (x[i] != y[i]);
        }
        if (differ) return false;
        any_compared |= compared != 0;
    }
    return any_compared;
}

}  // namespace kavro
