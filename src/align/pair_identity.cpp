#include "align/pair_identity.hpp"

#include <algorithm>
#include <array>

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

namespace {

// A leaf holds at most this many rows unless no column splits them; paths
// are at most kMaxDepth columns long.
constexpr std::size_t kLeafRows = 8;
constexpr int kMaxDepth = 64;
// Columns tried at a node before every column is.
constexpr int kSampledColumns = 24;

}  // namespace

IdenticalIndex::IdenticalIndex(const std::vector<std::vector<std::uint8_t>>& codes) : codes_(codes) {
    nodes_.emplace_back();  // node 0 stands for "no node"
    std::unordered_map<std::size_t, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (!codes[i].empty()) groups[codes[i].size()].push_back(i);
    for (auto& [length, rows] : groups) {
        const std::size_t root = build(std::move(rows), 0);
        roots_.emplace(length, root);
    }
}

// The column that leaves a search the fewest rows to meet on average: a
// row with letter x meets the x part and the gap part, a row with a gap
// meets them all. False when no column does better than none.
bool IdenticalIndex::choose_column(const std::vector<std::size_t>& rows, std::size_t& column) {
    const std::size_t width = codes_[rows.front()].size();
    const auto m = static_cast<std::uint64_t>(rows.size());
    std::uint64_t best = m * m;
    std::array<std::uint32_t, 256> count{};
    auto try_column = [&](std::size_t c) {
        count.fill(0);
        for (std::size_t r : rows) ++count[codes_[r][c]];
        const std::uint64_t gaps = count[0];
        std::uint64_t cost = gaps * (m - gaps) + gaps * m;
        for (std::size_t x = 1; x < count.size(); ++x) cost += std::uint64_t{count[x]} * count[x];
        if (cost < best) {
            best = cost;
            column = c;
        }
    };
    for (int t = 0; t < kSampledColumns; ++t) {
        random_ = random_ * 6364136223846793005ULL + 1442695040888963407ULL;
        try_column(static_cast<std::size_t>((random_ >> 33) % width));
    }
    if (best < m * m) return true;
    for (std::size_t c = 0; c < width; ++c) try_column(c);
    return best < m * m;
}

std::size_t IdenticalIndex::build(std::vector<std::size_t> rows, int depth) {
    const std::size_t at = nodes_.size();
    nodes_.emplace_back();
    std::size_t column = 0;
    if (rows.size() <= kLeafRows || depth >= kMaxDepth || !choose_column(rows, column)) {
        nodes_[at].rows = std::move(rows);
        return at;
    }
    std::array<std::vector<std::size_t>, 256> parts;
    for (std::size_t r : rows) parts[codes_[r][column]].push_back(r);
    rows = std::vector<std::size_t>();
    nodes_[at].leaf = false;
    nodes_[at].column = column;
    for (std::size_t x = 1; x < parts.size(); ++x) {
        if (parts[x].empty()) continue;
        const std::size_t child = build(std::move(parts[x]), depth + 1);
        nodes_[at].children.emplace_back(static_cast<std::uint8_t>(x), child);
    }
    if (!parts[0].empty()) {
        const std::size_t child = build(std::move(parts[0]), depth + 1);
        nodes_[at].gaps = child;
    }
    return at;
}

std::vector<std::size_t> IdenticalIndex::earlier_identical(std::size_t i, bool first_only) const {
    std::vector<std::size_t> found;
    const auto& code = codes_[i];
    // A sequence without a letter compares nothing and is identical to none.
    if (std::find_if(code.begin(), code.end(), [](std::uint8_t c) { return c != 0; }) == code.end()) return found;
    const auto root = roots_.find(code.size());
    if (root == roots_.end()) return found;
    std::vector<std::size_t> candidates, pending{root->second};
    while (!pending.empty()) {
        const Node& node = nodes_[pending.back()];
        pending.pop_back();
        if (node.leaf) {
            for (std::size_t k : node.rows)
                if (k < i) candidates.push_back(k);
            continue;
        }
        if (node.gaps != 0) pending.push_back(node.gaps);
        const std::uint8_t letter = code[node.column];
        for (const auto& [x, child] : node.children)
            if (letter == 0 || letter == x) pending.push_back(child);
    }
    std::sort(candidates.begin(), candidates.end());
    for (std::size_t k : candidates) {
        if (!identical_letter_codes(code, codes_[k])) continue;
        found.push_back(k);
        if (first_only) break;
    }
    return found;
}

}  // namespace kavro
