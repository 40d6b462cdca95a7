// Base fractions, strand skews and the sliding-window composition table.
#include "convert/composition_report.hpp"

#include <algorithm>
#include <cmath>

#include "convert/info_report.hpp"
#include "core/report_line.hpp"
#include "core/console.hpp"
#include "translate/codon_table.hpp"

namespace kavro {

namespace {

// Adds the bases of text to counts (kBaseIndex numbers T/U 0, C 1, A 2,
// G 3; other characters count in the length only).
void add_bases(std::string_view text, BaseCounts& counts, long sign) {
    long n[5] = {0, 0, 0, 0, 0};
    for (char c : text) ++n[kBaseIndex[c]];
    // kBaseIndex numbers U C A G; BaseSlot is T C A G in the same order.
    for (int i = 0; i < 4; ++i) counts.base[static_cast<std::size_t>(i)] += sign * n[i];
    counts.length += sign * static_cast<long>(text.size());
}

}  // namespace

BaseCounts count_bases(std::string_view text) {
    BaseCounts counts;
    add_bases(text, counts, 1);
    return counts;
}

int base_fractions(const BaseCounts& counts, BaseFractions& fractions) {
    if (counts.length <= 0) return 1;
    const double length = static_cast<double>(counts.length);
    double sum = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        fractions[i] = static_cast<double>(counts.base[i]) / length;
        sum += fractions[i];
    }
    if (sum > 0.95 && sum <= 1.01) return 0;
    err("Strange composition.\n");
    if (sum <= 0.5) return 1;
    for (double& f : fractions) f /= sum;
    return 0;
}

int base_fractions(std::string_view text, BaseFractions& fractions) {
    return base_fractions(count_bases(text), fractions);
}

int record_base_fractions(const SequenceRecord* rec, BaseFractions& fractions) {
    if (rec == nullptr || rec->length == 0 || rec->residues.empty()) return 1;
    if (base_fractions(rec->residues, fractions) != 0) {
        err("Error in c_basecomp_seq.\n");
        return 1;
    }
    return 0;
}

namespace {

// (p - q) / (p + q) of two fractions, with the failure rules of the skews.
double skew(const BaseCounts& counts, BaseSlot plus, BaseSlot minus, const char* fail_message,
            const char* strange_message) {
    BaseFractions f;
    if (base_fractions(counts, f) != 0) {
        err("%s", fail_message);
        return kSkewFailure;
    }
    const double denominator = f[plus] + f[minus];
    if (denominator <= 0.0) {
        err("%s", strange_message);
        return kSkewFailure;
    }
    if (denominator <= 0.01) return 0.0;
    return (f[plus] - f[minus]) / denominator;
}

}  // namespace

double compute_gc_skew(const BaseCounts& counts) {
    return skew(counts, BASE_G, BASE_C, "Error in c_basecomp_seq in CountGCSkew.\n",
                "Strange composition G+C in CountGCSkew.\n");
}

double compute_at_skew(const BaseCounts& counts) {
    return skew(counts, BASE_A, BASE_T, "Error in c_basecomp_seq in CountATSkew.\n",
                "Strange composition A+T in CountATSkew.\n");
}

double compute_gc_skew(std::string_view text) { return compute_gc_skew(count_bases(text)); }
double compute_at_skew(std::string_view text) { return compute_at_skew(count_bases(text)); }

namespace {

// The quantities of the table, in column order: T, C, A, G, GC, AT, GC skew,
// AT skew.
constexpr int kMeasures = 8;

// Length-weighted sums over the windows.
struct Accumulator {
    double sum[kMeasures] = {};
    double sum_sq[kMeasures] = {};
    long total = 0;  // N, the sum of the window lengths

    void add(long length, const double (&x)[kMeasures]) {
        const double L = static_cast<double>(length);
        for (int i = 0; i < kMeasures; ++i) {
            sum[i] += L * x[i];
            sum_sq[i] += L * x[i] * x[i];
        }
        total += length;
    }
    // Weighted standard deviation; 0 where it would divide by zero or where
    // rounding leaves a negative variance.
    double deviation(int i, long window) const {
        const double N = static_cast<double>(total);
        const double denominator = N - static_cast<double>(window);
        if (total <= 0 || denominator <= 0.0) return 0.0;
        const double variance = (sum_sq[i] - sum[i] * sum[i] / N) / denominator;
        return variance > 0.0 ? std::sqrt(variance) : 0.0;
    }
    double mean(int i) const { return total > 0 ? sum[i] / static_cast<double>(total) : 0.0; }
};

// The counts of the current window, moved along the sequence by adding the
// bases that enter and removing those that leave, so that the whole table
// costs one pass over the sequence whatever the window size.
class SlidingCounts {
public:
    explicit SlidingCounts(std::string_view text) : text_(text) {}
    // Counts of positions [begin, end) (0-based); begin and end never go back.
    const BaseCounts& move_to(std::size_t begin, std::size_t end) {
        if (begin >= hi_) {
            counts_ = BaseCounts{};
            add_bases(text_.substr(begin, end - begin), counts_, 1);
        } else {
            add_bases(text_.substr(lo_, begin - lo_), counts_, -1);
            add_bases(text_.substr(hi_, end - hi_), counts_, 1);
        }
        lo_ = begin;
        hi_ = end;
        return counts_;
    }

private:
    std::string_view text_;
    std::size_t lo_ = 0, hi_ = 0;
    BaseCounts counts_;
};

}  // namespace

int write_window_composition(Writer& out, const SequenceRecord* rec, long window, long slide) {
    if (rec == nullptr) {
        err("Empty sequence.\n");
        return 1;
    }
    out.printf("DNA info for %s\n", rec->name.c_str());
    if (rec->type != ResidueKind::Dna) {
        err("This is not a DNA sequence. Skipping...\n");
        return 1;
    }
    if (window < 1 || slide < 1) {
        err("Window and slide sizes are not correct.\n");
        return 1;
    }
    const long length = std::min(rec->length, static_cast<long>(rec->residues.size()));
    long n = length < window ? 0 : length / slide;
    out.printf("   Window size: %ld; Slide size: %ld.\n\n", window, slide);
    out.write("    From \t    To  \tLength\t   T \t   C \t   A  \t   G \t  GC \t  AT  \tGC skew\tAT skew\tcumGCskew\tcumATskew\n\n");

    SlidingCounts sliding(rec->residues);
    Accumulator acc;
    double cum_gc_skew = 0.0, cum_at_skew = 0.0;
    ReportLine line;
    long from = 1, to = window;
    for (long i = 0; i <= n && from <= length; ++i) {
        if (to > length) {
            to = length;
            if (i < n) n = i;
        }
        const BaseCounts& counts = sliding.move_to(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to));
        BaseFractions f;
        if (base_fractions(counts, f) != 0) {
            err("Error in c_basecomp_seq.\n");
            err("Error in calculating residue composition in fwrite_Dinfo.\n");
            err("The data are filled with zero, and then continue.\n");
            f.fill(0.0);
        }
        const long L = to - from + 1;
        const double gc_skew = compute_gc_skew(counts);
        const double at_skew = compute_at_skew(counts);
        if (gc_skew < -1.1 || gc_skew > 1.1 || at_skew < -1.1 || at_skew > 1.1) {
            err("Error in calculating skew values in fwrite_Dinfo.\n");
            if (!(gc_skew > 998.0 && at_skew > 998.0)) return 1;
            err("But we continue.\n");
        }
        const double x[kMeasures] = {f[BASE_T], f[BASE_C], f[BASE_A], f[BASE_G],
                                     f[BASE_C] + f[BASE_G], f[BASE_T] + f[BASE_A], gc_skew, at_skew};
        acc.add(L, x);
        cum_gc_skew += static_cast<double>(L) * gc_skew;
        cum_at_skew += static_cast<double>(L) * at_skew;
        // "%8ld\t%8ld\t%6ld" then six "\t%5.2f" per cents and four "\t%6.3f".
        line.integer(from, 8).ch('\t').integer(to, 8).ch('\t').integer(L, 6);
        for (int k = 0; k < 6; ++k) line.ch('\t').fixed(x[k] * 100, 5, 2);
        for (double v : {gc_skew, at_skew, cum_gc_skew / static_cast<double>(L), cum_at_skew / static_cast<double>(L)})
            line.ch('\t').fixed(v, 6, 3);
        line.ch('\n').write_to(out);
        from += slide;
        to += slide;
    }

    BaseFractions whole;
    if (record_base_fractions(rec, whole) != 0) {
        err("Error in calculating residue composition in fwrite_Dinfo.\n");
        return 1;
    }
    out.put('\n');
    if (n > 0) {
        double dev[kMeasures];
        for (int i = 0; i < kMeasures; ++i) dev[i] = acc.deviation(i, window);
        out.printf("\t Deviation        \t\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%6.3f\t%6.3f\n", dev[0] * 100,
                   dev[1] * 100, dev[2] * 100, dev[3] * 100, dev[4] * 100, dev[5] * 100, dev[6], dev[7]);
        const double t = acc.mean(0), c = acc.mean(1), a = acc.mean(2), g = acc.mean(3);
        out.printf("    Total accumulated\t    %8ld\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\t%5.2f\n", acc.total, t * 100,
                   c * 100, a * 100, g * 100, (g + c) * 100, (a + t) * 100);
    }
    out.printf("\t Total              \t\t%5.2f\t%5.2f\t%5.2f\t%5.2f\n", whole[BASE_T] * 100, whole[BASE_C] * 100,
               whole[BASE_A] * 100, whole[BASE_G] * 100);
    out.write("\n\n");
    flush_report(out);
    return 0;
}

int write_window_composition_all(Writer& out, const Collection& records, long window, long slide) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (write_window_composition(out, &records[i], window, slide) != 0) {
            err("Error in Mfwrite_Dinfo. Sequence No. %d.\n", static_cast<int>(i));
            return 1;
        }
    }
    return 0;
}

int write_window_composition_report(const OutputDestination& destination, const Collection& records, long window, long slide) {
    return run_collection_report(destination, [&](Writer& out) { return write_window_composition_all(out, records, window, slide); });
}

}  // namespace kavro
