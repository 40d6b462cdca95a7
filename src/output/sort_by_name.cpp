// Ordering a collection by entry name (byte-wise ascending) with a quicksort
// whose partition steps fix where entries with equal names end up; callers
// rely on that order, so the steps below must not change.

#include <string>
#include <utility>

#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

namespace {

// Partitions seqs[lo..hi] around a copy of the last name and returns the
// pivot's final index.
long partition(Collection& seqs, long lo, long hi) {
    const std::string pivot = seqs[static_cast<std::size_t>(hi)].name;
    auto name = [&](long k) -> const std::string& { return seqs[static_cast<std::size_t>(k)].name; };
    long i = lo - 1;
    long j = hi;
    for (;;) {
        // seqs[hi] keeps the pivot name throughout, so i stops at hi at the latest.
        ++i;
        while (name(i) < pivot) ++i;
        --j;
        while (j > i && pivot < name(j)) --j;
        if (i >= j) break;
        std::swap(seqs[static_cast<std::size_t>(i)], seqs[static_cast<std::size_t>(j)]);
    }
    std::swap(seqs[static_cast<std::size_t>(i)], seqs[static_cast<std::size_t>(hi)]);
    return i;
}

// The two sides after a partition are disjoint, so sorting the smaller one by
// recursion and the larger one in the loop gives the same order as sorting
// them left then right, with a stack depth of at most log2(n).
void quicksort(Collection& seqs, long lo, long hi) {
    while (hi - lo >= 1) {
        const long p = partition(seqs, lo, hi);
        if (p - lo < hi - p) {
            quicksort(seqs, lo, p - 1);
            lo = p + 1;
        } else {
            quicksort(seqs, p + 1, hi);
            hi = p - 1;
        }
    }
}

// Names strictly ascending: every partition finds its pivot already last and
// swaps nothing, so the sort would leave the collection as it is.
bool strictly_ascending(const Collection& seqs, std::size_t count) {
    for (std::size_t k = 1; k < count; ++k)
        if (!(seqs[k - 1].name < seqs[k].name)) return false;
    return true;
}

}  // namespace

void sort_by_name(Collection& seqs) {
    const std::size_t count = output_detail::collection_count(&seqs);
    if (count < 2 || strictly_ascending(seqs, count)) return;
    quicksort(seqs, 0, static_cast<long>(count) - 1);
}

}  // namespace kavro
