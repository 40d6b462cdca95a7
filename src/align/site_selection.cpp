#include "align/site_selection.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

// Letter classes counted for the information content: 1..22; 0 other
// printable characters; -1 characters that are not counted at all.
constexpr int kLetterClasses = 22;
constexpr int kClassSlots = kLetterClasses + 1;

const std::array<std::int8_t, 256>& class_table() {
    static const std::array<std::int8_t, 256> table = [] {
        std::array<std::int8_t, 256> t{};
        for (int c = 0; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            t[static_cast<std::size_t>(c)] =
                static_cast<std::int8_t>(is_print(ch) ? composition_slot(to_upper(ch)) : -1);
        }
        return t;
    }();
    return table;
}

// Entropy in bits of the letter counts in slots 1..22 (0 without letters).
template <typename Count>
double entropy_bits(const Count* slots) {
    double total = 0;
    for (int s = 1; s <= kLetterClasses; ++s) total += static_cast<double>(slots[s]);
    if (total == 0) total = 1;
    double sum = 0;
    for (int s = 1; s <= kLetterClasses; ++s) {
        if (slots[s] == 0) continue;
        const double p = static_cast<double>(slots[s]) / total;
        sum += p * std::log(p);
    }
    return -sum / std::log(2.0);
}

// The largest residue count of the alignment: the first entry's length.
std::size_t alignment_width(const Collection& seqs) {
    return seqs.empty() ? 0 : static_cast<std::size_t>(std::max(0L, seqs[0].length));
}

// Moves the kept columns of every entry to its front and cuts it there.
void keep_columns(Collection& seqs, const std::vector<char>& keep) {
    for (auto& rec : seqs) {
        const std::size_t n = std::min(rec.residues.size(), keep.size());
        std::size_t k = 0;
        for (std::size_t j = 0; j < n; ++j)
            if (keep[j]) rec.residues[k++] = rec.residues[j];
        rec.residues.resize(k);
        rec.length = static_cast<long>(k);
    }
}

}  // namespace

int remove_gap_columns(Collection& seqs, double level) {
    if (level < 0) {
        err("Negative level setting in RemoveGaps.\n");
        return 1;
    }
    const std::size_t width = alignment_width(seqs);
    // Counted entry by entry, so each residue text is read in order.
    std::vector<std::uint32_t> gaps(width, 0);
    for (const auto& rec : seqs) {
        const std::size_t n = std::min(rec.residues.size(), width);
        const char* r = rec.residues.data();
        for (std::size_t j = 0; j < n; ++j) gaps[j] += r[j] == '-';
    }
    const double entries = static_cast<double>(seqs.size());
    std::vector<char> keep(width);
    for (std::size_t j = 0; j < width; ++j) keep[j] = level >= static_cast<double>(gaps[j]) / entries;
    keep_columns(seqs, keep);
    return 0;
}

double information_content(std::string_view text) {
    if (text.size() <= 10) {
        err("Strange data in InfContent.\n");
        return -1.0;
    }
    if (text[0] == '\0') {
        err("Error in counting bases in InfContent.\n\n");
        return -1.0;
    }
    std::array<long, kClassSlots> slots{};
    const auto& classes = class_table();
    for (char c : text) {
        if (c == '\0') break;
        const int s = classes[static_cast<unsigned char>(c)];
        if (s >= 0) ++slots[static_cast<std::size_t>(s)];
    }
    return entropy_bits(slots.data());
}

int select_sites_by_information(Collection& seqs, double inf_min, double inf_max) {
    if (inf_min < 0 || inf_max > 2.0) {
        err("Unusual setting of min or max in SelectSitesByInf.\n");
        return 1;
    }
    const std::size_t width = alignment_width(seqs);
    const std::size_t entries = seqs.size();
    const auto& classes = class_table();

    // One class histogram per column, filled entry by entry; the whole
    // alignment's histogram is their sum.
    std::vector<std::uint32_t> columns(width * kClassSlots, 0);
    for (const auto& rec : seqs) {
        const std::size_t n = std::min(rec.residues.size(), width);
        for (std::size_t j = 0; j < n; ++j) {
            const int s = classes[static_cast<unsigned char>(rec.residues[j])];
            if (s >= 0) ++columns[j * kClassSlots + static_cast<std::size_t>(s)];
        }
    }
    double whole = -1.0;
    if (width * entries <= 10) {
        err("Strange data in InfContent.\n");
    } else if (seqs[0].residues.empty()) {
        err("Error in counting bases in InfContent.\n\n");
    } else {
        std::array<double, kClassSlots> total{};
        for (std::size_t j = 0; j < width; ++j)
            for (int s = 0; s < kClassSlots; ++s)
                total[static_cast<std::size_t>(s)] += columns[j * kClassSlots + static_cast<std::size_t>(s)];
        whole = entropy_bits(total.data());
    }
    out("Information content of whole alignment: %5.3e\n", whole);

    std::vector<char> keep(width, 0);
    for (std::size_t j = 0; j < width; ++j) {
        double h;
        if (entries <= 10) {
            err("Strange data in InfContent.\n");
            h = -1.0;
        } else if (seqs[0].residues.size() <= j) {
            err("Error in counting bases in InfContent.\n\n");
            h = -1.0;
        } else {
            h = entropy_bits(&columns[j * kClassSlots]);
        }
        keep[j] = inf_min * whole <= h && h <= inf_max * whole;
    }
    keep_columns(seqs, keep);
    return 0;
}

}  // namespace kavro
