// The peptide-mass search over a collection of proteins.
#include "msanal/msanal.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numeric>

#include "core/amino_acids.hpp"
#include "core/console.hpp"
#include "core/report_line.hpp"

namespace kavro {

namespace {

// Residue masses by byte (either case), modifications folded in; negative
// for characters that are not amino-acid letters.
struct MassTable {
    std::array<double, 256> mass;
    MassTable(bool carboxymethylation, bool met_oxidation) {
        mass.fill(-1.0);
        for (std::size_t i = 0; i < kAminoAcidCount; ++i) {
            double m = kMonoisotopicMasses[i];
            if (carboxymethylation && kAminoAcids[i].code == 'C') m += kCarboxymethylMass;
            if (met_oxidation && kAminoAcids[i].code == 'M') m += kOxidationMass;
            const auto up = static_cast<unsigned char>(kAminoAcids[i].code);
            mass[up] = m;
            mass[up + ('a' - 'A')] = m;
        }
    }
    double operator[](char c) const { return mass[static_cast<unsigned char>(c)]; }
};

// A peptide grown one residue at a time (at either end): its residue sum is
// kept, so each longer peptide costs one addition.
struct GrowingPeptide {
    double sum = 0.0;
    long length = 0;
    bool invalid = false;
    void add(double residue_mass) {
        if (residue_mass < 0.0) invalid = true;
        else sum += residue_mass;
        ++length;
    }
    double mass() const {
        if (invalid || length < 2) return 0.0;
        return sum - static_cast<double>(length - 1) * kMonoisotopicWater;
    }
};

// The corrected peaks sorted by value, each with its place in the file, so
// that the first peak (in file order) within the allowance of a mass is
// found by a binary search.
class PeakIndex {
public:
    // A peak that is not a number is never within the allowance of a mass;
    // it is left out, as it would break the ordering.
    PeakIndex(const std::vector<double>& corrected, double allowance) : allowance_(allowance) {
        for (std::size_t i = 0; i < corrected.size(); ++i)
            if (!std::isnan(corrected[i])) order_.push_back(i);
        std::sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return corrected[a] < corrected[b] || (corrected[a] == corrected[b] && a < b);
        });
        for (std::size_t i : order_) sorted_.push_back(corrected[i]);
    }
    // Place (in file order) of the first peak p with |p - m| < allowance, or -1.
    long match(double m) const {
        if (!(allowance_ > 0.0)) return -1;
        const double slack = 1e-9 * (1.0 + std::fabs(m) + allowance_);
        auto it = std::lower_bound(sorted_.begin(), sorted_.end(), m - allowance_ - slack);
        long best = -1;
        for (; it != sorted_.end() && *it <= m + allowance_ + slack; ++it) {
            if (std::fabs(*it - m) < allowance_) {
                const long place = static_cast<long>(order_[static_cast<std::size_t>(it - sorted_.begin())]);
                if (best < 0 || place < best) best = place;
            }
        }
        return best;
    }

private:
    double allowance_;
    std::vector<std::size_t> order_;
    std::vector<double> sorted_;
};

// One interval of the coverage merge.
struct Span {
    long start, end;
    int weight;
};

// Merges overlapping spans pairwise in list order: a span that overlaps a
// later one is folded into it. With complete_only, only spans of weight 2
// or more take part and a later span lying strictly inside ends the scan of
// the earlier one. Returns the summed length of the spans left and their
// number.
std::pair<long, long> merge_spans(std::vector<Span>& work, bool complete_only) {
    const int least = complete_only ? 2 : 1;
    for (std::size_t i = 0; i < work.size(); ++i) {
        Span& a = work[i];
        if (a.weight < least) continue;
        for (std::size_t j = i + 1; j < work.size(); ++j) {
            Span& b = work[j];
            if (b.weight < least) continue;
            if (a.start >= b.start && b.end >= a.start) {
                b.end = std::max(a.end, b.end);
                a.weight = 0;
            } else if (a.end >= b.start && b.end >= a.end) {
                b.start = std::min(a.start, b.start);
                a.weight = 0;
            } else if (b.start > a.start && b.end < a.end) {
                b.weight = 0;
                if (complete_only) break;
            }
            if (a.weight == 0) break;
        }
    }
    long covered = 0, spans = 0;
    for (const Span& s : work)
        if (s.weight >= least) {
            covered += s.end - s.start + 1;
            ++spans;
        }
    return {covered, spans};
}

enum class Step { Go, StopWalk, Fail };

class Search {
public:
    Search(const MsDefinition& def, Writer& out)
        : def_(def), out_(out), masses_(def.carboxymethylation, def.met_oxidation),
          peaks_(corrected_peaks(def), def.allowance) {
        const long n = static_cast<long>(def.observed.size());
        first_capacity_ = 3 * n;
        step_ = n > 10 ? 30 : 3 * n;
        fragments_ = std::max<long>(def.fragments, 20 * n);
        cterm_ = MsDefinition::residue_set(def.cterm);
        nterm_ = MsDefinition::residue_set(def.nterm);
    }

    // Collects, merges and reports the hits of one protein; false on failure.
    bool protein(const SequenceRecord& rec);
    void finish() const {
        err("max_i1=%d, max_i2=%d\n", static_cast<int>(max_slot_), static_cast<int>(max_hits_));
        err("size of mslist0=%ld\n", kHitRecordSize);
    }

private:
    static std::vector<double> corrected_peaks(const MsDefinition& def) {
        std::vector<double> v;
        v.reserve(def.observed.size());
        for (double p : def.observed) v.push_back(p + -kProtonMass);
        return v;
    }
    Step consider(const GrowingPeptide& pep, long start, long end, int category);
    Step grow_left(long last, long end_pos, int category);
    Step grow_right(long first, long start_pos, int category);
    bool report(const SequenceRecord& rec);

    const MsDefinition& def_;
    Writer& out_;
    MassTable masses_;
    PeakIndex peaks_;
    std::string cterm_, nterm_;
    long first_capacity_ = 0, step_ = 0, fragments_ = 0;
    const SequenceRecord* rec_ = nullptr;
    std::vector<MsHit> hits_;  // its size is the hit capacity
    long count_ = 0;
    long slot_ = 0, slots_ = 100, max_slot_ = 0, max_hits_ = 0;
};

Step Search::consider(const GrowingPeptide& pep, long start, long end, int category) {
    double m = pep.mass();
    if (m == 0.0) return Step::Go;
    m += def_.displacement;
    if (m < def_.lower) return Step::Go;
    if (m > def_.upper) return Step::StopWalk;
    const long place = peaks_.match(m);
    if (place < 0) return Step::Go;
    const double peak = def_.observed[static_cast<std::size_t>(place)] + -kProtonMass;
    hits_[static_cast<std::size_t>(count_)] = MsHit{start, end, peak, m, peak - m, category, 1};
    ++count_;
    if (count_ == static_cast<long>(hits_.size())) {
        if (count_ > fragments_) {
            err("Too many hits. Change parameters to get fewer hits.\n");
            return Step::Fail;
        }
        if (!grow_mass_hits(rec_->name, hits_, count_, count_ + step_)) return Step::Fail;
    }
    return Step::Go;
}

// Peptides t..last (0-based) for t = last, last-1, ... 0, at most
// kLongestPeptide residues; each ends at the 1-based position end_pos.
// Each mass is summed from the peptide's first residue onwards, as
// peptide_mass does: a sum kept while growing leftwards would round
// differently and could move a mass across a limit or the allowance.
Step Search::grow_left(long last, long end_pos, int category) {
    const std::string& r = rec_->residues;
    bool invalid = false;
    for (long t = last; t >= 0 && last - t + 1 <= kLongestPeptide; --t) {
        invalid = invalid || masses_[r[static_cast<std::size_t>(t)]] < 0.0;
        GrowingPeptide pep;
        if (invalid) pep.invalid = true;  // weighs 0, passed over
        else
            for (long k = t; k <= last; ++k) pep.add(masses_[r[static_cast<std::size_t>(k)]]);
        const Step step = consider(pep, t + 1, end_pos, category);
        if (step != Step::Go) return step;
    }
    return Step::Go;
}

// Peptides first..u for u = first, first+1, ... to the end, at most
// kLongestPeptide residues; each starts at the 1-based position start_pos.
Step Search::grow_right(long first, long start_pos, int category) {
    const std::string& r = rec_->residues;
    const long len = static_cast<long>(r.size());
    GrowingPeptide pep;
    for (long u = first; u < len && u - first + 1 <= kLongestPeptide; ++u) {
        pep.add(masses_[r[static_cast<std::size_t>(u)]]);
        const Step step = consider(pep, start_pos, u + 1, category);
        if (step != Step::Go) return step;
    }
    return Step::Go;
}

bool Search::protein(const SequenceRecord& rec) {
    rec_ = &rec;
    max_slot_ = std::max(max_slot_, slot_);
    hits_.assign(static_cast<std::size_t>(first_capacity_), MsHit{});
    count_ = 0;
    const std::string& r = rec.residues;
    const long len = static_cast<long>(r.size());
    // A one-residue peptide weighs 0 and is passed over, so each walk may
    // start with the cleavage residue alone.
    for (char c : cterm_)
        for (long s = 0; s < len; ++s) {
            if (r[static_cast<std::size_t>(s)] != c) continue;
            if (s >= 5 && grow_left(s, s + 1, 2) == Step::Fail) return false;  // ends with the residue
            if (grow_right(s + 1, s + 2, 1) == Step::Fail) return false;       // starts right after it
        }
    for (char c : nterm_)
        for (long s = 0; s < len; ++s) {
            if (r[static_cast<std::size_t>(s)] != c) continue;
            if (s >= 5 && grow_left(s - 1, s, 8) == Step::Fail) return false;  // ends right before it
            if (grow_right(s, s + 1, 4) == Step::Fail) return false;           // starts with it
        }
    max_hits_ = std::max(max_hits_, count_);
    return report(rec);
}

bool Search::report(const SequenceRecord& rec) {
    const auto n = static_cast<std::size_t>(count_);
    // The same peptide found in several ways: its first hit takes the
    // categories and weights of the others.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const MsHit &x = hits_[a], &y = hits_[b];
        return x.start != y.start ? x.start < y.start : x.end != y.end ? x.end < y.end : a < b;
    });
    for (std::size_t k = 0; k < n;) {
        MsHit& first = hits_[order[k]];
        std::size_t m = k + 1;
        for (; m < n && hits_[order[m]].start == first.start && hits_[order[m]].end == first.end; ++m) {
            MsHit& dup = hits_[order[m]];
            first.category += dup.category;
            first.weight += dup.weight;
            dup.weight = 0;
        }
        k = m;
    }
    if (static_cast<long>(hits_.size()) > fragments_) {
        err("Too many matches. i2=%d.\n", static_cast<int>(hits_.size()));
        return false;
    }

    std::vector<Span> work;
    work.reserve(n);
    for (std::size_t i = 0; i < n; ++i) work.push_back({hits_[i].start, hits_[i].end, hits_[i].weight});
    const long len = static_cast<long>(rec.residues.size());
    const auto [covered2, matches] = merge_spans(work, true);
    double coverage2 = 0.0;
    bool takes_slot = false;
    if (covered2 >= 1) {
        coverage2 = static_cast<double>(covered2) / static_cast<double>(len);
        if (def_.output == 0 && (coverage2 < def_.min_coverage2 || matches < def_.min_match)) return true;
        takes_slot = true;
    } else if (def_.output == 0) {
        return true;
    }
    const long covered1 = merge_spans(work, false).first;
    const double coverage1 = covered1 >= 1 ? static_cast<double>(covered1) / static_cast<double>(len) : 0.0;

    // The slot holds the name only when it is taken (a complete match); a
    // protein listed for Output 1 alone shows a slot without a name.
    out("\nNumber %d: %s coverage2=%9.4f, coverage1=%9.4f\n", static_cast<int>(slot_),
        takes_slot ? rec.name.c_str() : "", coverage2, coverage1);
    // "%s\t%ld\t%d\t%9.4f\t%9.4f\t" and "%ld-%ld\t%9.4f\t%9.4f\t%9.4f\t%s\t%d\t%d\n" per hit.
    ReportLine line;
    for (std::size_t i = 0; i < n; ++i) {
        const MsHit& h = hits_[i];
        if (h.weight == 0) continue;
        line.text(rec.name).ch('\t').integer(len, 0).ch('\t').integer(matches, 0).ch('\t');
        line.fixed(coverage2, 9, 4).ch('\t').fixed(coverage1, 9, 4).ch('\t');
        line.integer(h.start, 0).ch('-').integer(h.end, 0).ch('\t');
        line.fixed(h.mass, 9, 4).ch('\t').fixed(h.peak, 9, 4).ch('\t').fixed(h.diff, 9, 4).ch('\t');
        line.text(std::string_view(rec.residues).substr(static_cast<std::size_t>(h.start - 1), static_cast<std::size_t>(h.end - h.start + 1)));
        line.ch('\t').integer(h.category, 0).ch('\t').integer(h.weight, 0).ch('\n');
    }
    line.write_to(out_);
    if (takes_slot && ++slot_ >= slots_) {
        out("ms_num is being increased from %d to %d.\n", static_cast<int>(slots_), static_cast<int>(slots_ + 10));
        slots_ += 10;
    }
    return true;
}

}  // namespace

bool grow_mass_hits(const std::string& name, std::vector<MsHit>& hits, long old_count, long new_count) {
    if (old_count < 0 || new_count < 0) {
        err("Strange value in MSrealloc.\n");
        return false;
    }
    try {
        if (new_count > static_cast<long>(hits.size())) hits.resize(static_cast<std::size_t>(new_count), MsHit{});
    } catch (const std::bad_alloc&) {
        err("Memory allocation error in MSrealloc for %s.\n", name.c_str());
        return false;
    }
    return true;
}

namespace {

// Echo, header and the hit table of every protein; 0 or 1.
int search_all(const MsDefinition& def, Writer& out, const ProteinSource& next) {
    write_msdef_echo(out, def);
    Search search(def, out);
    out.write("ID     \tlength\t match \tcoverage 2\tcoverage 1\tstart - end\t MW  \t  m/z \t diff  \tsequence      \t category \t weight\n\n");
    long i = 0;
    while (const SequenceRecord* protein = next()) {
        err("\r%ld", i++);
        if (!search.protein(*protein)) return 1;
    }
    search.finish();
    out.put('\n');
    return 0;
}

}  // namespace

int run_mass_search(const std::string& definition_path, Writer& out, const Collection& proteins) {
    std::size_t i = 0;
    return run_mass_search_over(definition_path, out, [&]() -> const SequenceRecord* {
        return i < proteins.size() ? &proteins[i++] : nullptr;
    });
}

int run_mass_search_over(const std::string& definition_path, Writer& out, const ProteinSource& next) {
    const auto def = read_msdef(definition_path);
    if (!def) return 1;
    const int status = search_all(*def, out, next);
    if (!out.flush() && status == 0) {
        err("Unable to write output file.\n");
        return 1;
    }
    return status;
}

double peptide_mass(std::string_view peptide, bool carboxymethylation, bool met_oxidation) {
    if (peptide.size() < 2) return 0.0;
    const MassTable masses(carboxymethylation, met_oxidation);
    GrowingPeptide pep;
    for (char c : peptide) pep.add(masses[c]);
    return pep.mass();
}

}  // namespace kavro
