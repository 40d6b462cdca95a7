#include "motif/motif_stats.hpp"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kavro {

namespace {

constexpr std::string_view kProteinLetters = "ACDEFGHIKLMNPQRSTVWY";

// Phi(z) - 0.5 for z = 0.0, 0.1, ..., 4.0, to five decimals; the last entry
// is halfway to 0.5 so the smallest tail printed is 2.5e-05.
constexpr std::array<double, 41> kNormalTable = {
    0.0,     0.03983, 0.07926, 0.11791, 0.15542, 0.19146, 0.22575, 0.25804, 0.28814, 0.31594, 0.34134,
    0.36433, 0.38493, 0.40320, 0.41924, 0.43319, 0.44520, 0.45543, 0.46407, 0.47128, 0.47725, 0.48214,
    0.48610, 0.48928, 0.49180, 0.49379, 0.49534, 0.49653, 0.49744, 0.49813, 0.49865, 0.49903, 0.49931,
    0.49952, 0.49966, 0.49977, 0.49984, 0.49989, 0.49993, 0.49995, 0.499975};

// Below this an expected frequency gives no usable probability.
constexpr double kSmallestEstimate = 1e-15;

const char* const kAborted = "Estimation of probability aborted because estimated frequency is too small.\n";

double percent(const Composition& comp, std::int64_t total, char letter) {
    return 100.0 * residue_frequency(comp, total, letter);
}

long count_of(const Composition& comp, char letter) {
    return comp[static_cast<std::size_t>(composition_slot(letter))];
}

// Frequency of a nucleotide letter or ambiguity code; f(N) = 1; -1 for a
// letter outside the alphabet. `u_or_t` is the fourth base of the type.
double nucleotide_frequency(char c, double a, double cc, double g, double t, bool rna) {
    switch (c) {
        case 'A': return a;
        case 'C': return cc;
        case 'G': return g;
        case 'N': return 1.0;
        case 'R': return a + g;
        case 'Y': return cc + t;
        default: break;
    }
    if (c == (rna ? 'U' : 'T')) return t;
    if (rna) return -1.0;
    switch (c) {
        case 'W': return a + t;
        case 'S': return cc + g;
        case 'M': return a + cc;
        case 'K': return g + t;
        default: return -1.0;
    }
}

}  // namespace

double residue_frequency(const Composition& comp, std::int64_t total, char letter) {
    if (total <= 0) return 0.0;
    return static_cast<double>(count_of(comp, letter)) / static_cast<double>(total);
}

double expected_motif_frequency(std::string_view motif, ResidueKind type, const Composition& comp, std::int64_t total) {
    if (motif.size() < 3) return -1.0;
    auto f = [&](char c) { return residue_frequency(comp, total, c); };
    if (type == ResidueKind::Protein) {
        double e = 1.0;
        for (char c : motif) {
            if (kProteinLetters.find(c) == std::string_view::npos) return -1.0;
            e *= f(c);
        }
        return e;
    }
    if (type != ResidueKind::Dna && type != ResidueKind::Rna) return -1.0;
    const bool rna = type == ResidueKind::Rna;
    const double a = f('A'), c = f('C'), g = f('G'), t = f(rna ? 'U' : 'T');
    double direct = 1.0, comp_strand = 1.0;
    for (char m : motif) {
        const double p = nucleotide_frequency(m, a, c, g, t, rna);
        if (p < 0) return -1.0;
        direct *= p;
        // The letter seen from the other strand: A as T, C as G, R as Y...
        comp_strand *= nucleotide_frequency(m, t, g, c, a, rna);
    }
    if (rna) return direct;
    std::string reverse(motif.rbegin(), motif.rend());
    for (char& m : reverse) m = complement_base(m, false);
    return reverse == motif ? direct : direct + comp_strand;
}

double normal_tail(double z) {
    double k = std::floor(10.0 * std::fabs(z));
    std::size_t index = !(k < 40.0) ? 40 : static_cast<std::size_t>(k);  // NaN and infinity too
    return 0.5 - kNormalTable[index];
}

void write_composition(Writer& w, const Composition& comp, std::int64_t total, ResidueKind type, CompositionForm form) {
    const bool summary = form == CompositionForm::Summary;
    if (type == ResidueKind::Dna || type == ResidueKind::Rna) {
        if (summary) {
            w.printf("   A = %6ld, %6.2f %%.", count_of(comp, 'A'), percent(comp, total, 'A'));
            w.printf("   C = %6ld, %6.2f %%.\n", count_of(comp, 'C'), percent(comp, total, 'C'));
            w.printf("   G = %6ld, %6.2f %%.", count_of(comp, 'G'), percent(comp, total, 'G'));
        }
        if (type == ResidueKind::Rna) {
            if (summary) w.printf("   U = %6ld, %6.2f %%.\n", count_of(comp, 'U'), percent(comp, total, 'U'));
            return;
        }
        const double gc = percent(comp, total, 'G') + percent(comp, total, 'C');
        if (summary) {
            w.printf("   T = %6ld, %6.2f %%.\n", count_of(comp, 'T'), percent(comp, total, 'T'));
            w.printf("\n");
            w.printf("    AT = %6.2f %%.  ", percent(comp, total, 'A') + percent(comp, total, 'T'));
            w.printf("  GC = %6.2f %%.\n", gc);
        } else {
            w.printf("%6.2f %%", gc);
        }
        return;
    }
    if (type != ResidueKind::Protein) return;
    bool line_end = false;
    for (char c : kProteinLetters) {
        w.printf(line_end ? "   %c = %6ld, %6.2f %%.\n" : "   %c = %6ld, %6.2f %%.", c, count_of(comp, c),
                 percent(comp, total, c));
        line_end = !line_end;
    }
    w.printf("\n");
}

void write_probability(Writer& w, double expected, std::int64_t total, std::int64_t matches, bool table) {
    if (!(expected >= kSmallestEstimate)) {
        w.write(kAborted);
        return;
    }
    if (table) return;
    const double mean = static_cast<double>(total) * expected;
    const double variance = (1.0 - expected) * mean;
    // No residues, or an estimate of 1 or more (a motif of N only, or both
    // strands of a motif such as NNW together), leave no spread: the tail
    // would be a division by zero or the root of a negative number.
    if (!(variance > 0.0)) {
        w.write(kAborted);
        return;
    }
    const double gap = std::fabs(std::trunc(static_cast<double>(matches) - mean));
    const double p = normal_tail(gap / std::sqrt(variance));
    if (p > 2.6e-05)
        w.printf("    Probability:   %7.1e.\n", p);
    else
        w.printf("    Probability: < %7.1e.\n", p);
}

}  // namespace kavro
