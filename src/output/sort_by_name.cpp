// Ordering a collection by entry name (byte-wise ascending) with a quicksort
// whose partition steps fix where entries with equal names end up; callers
// rely on that order, so the steps below must not change. The same steps
// order a collection by keys given beside it (names as they will be shown).

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

namespace {

// The collection and its keys, swapped together.
struct Keyed {
    Collection& seqs;
    std::vector<std::string>& keys;

    const std::string& key(long k) const { return keys[static_cast<std::size_t>(k)]; }
    void swap(long a, long b) {
        std::swap(seqs[static_cast<std::size_t>(a)], seqs[static_cast<std::size_t>(b)]);
        std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
    }
};

// Partitions [lo..hi] around a copy of the last key and returns the pivot's
// final index.
long partition(Keyed& s, long lo, long hi) {
    const std::string pivot = s.key(hi);
    long i = lo - 1;
    long j = hi;
    for (;;) {
        // The entry at hi keeps the pivot key throughout, so i stops at hi at the latest.
        ++i;
        while (s.key(i) < pivot) ++i;
        --j;
        while (j > i && pivot < s.key(j)) --j;
        if (i >= j) break;
        s.swap(i, j);
    }
    s.swap(i, hi);
    return i;
}

// The two sides after a partition are disjoint, so sorting the smaller one by
// recursion and the larger one in the loop gives the same order as sorting
// them left then right, with a stack depth of at most log2(n).
void quicksort(Keyed& s, long lo, long hi) {
    while (hi - lo >= 1) {
        const long p = partition(s, lo, hi);
        if (p - lo < hi - p) {
            quicksort(s, lo, p - 1);
            lo = p + 1;
        } else {
            quicksort(s, p + 1, hi);
            hi = p - 1;
        }
    }
}

// Keys strictly ascending: every partition finds its pivot already last and
// swaps nothing, so the sort would leave the collection as it is.
bool strictly_ascending(const std::vector<std::string>& keys, std::size_t count) {
    for (std::size_t k = 1; k < count; ++k)
        if (!(keys[k - 1] < keys[k])) return false;
    return true;
}

}  // namespace

void sort_by_keys(Collection& seqs, std::vector<std::string>& keys) {
    const std::size_t count = std::min(output_detail::collection_count(&seqs), keys.size());
    if (count < 2 || strictly_ascending(keys, count)) return;
    Keyed s{seqs, keys};
    quicksort(s, 0, static_cast<long>(count) - 1);
}

void sort_by_name(Collection& seqs) {
    std::vector<std::string> names;
    names.reserve(seqs.size());
    for (const auto& rec : seqs) names.push_back(rec.name);
    sort_by_keys(seqs, names);
}

}  // namespace kavro
