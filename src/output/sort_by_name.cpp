// Ordering a collection by entry name (byte-wise ascending) with a quicksort
// whose partition steps fix where entries with equal names end up; callers
// rely on that order, so the steps below must not change. The same steps
// order a collection by keys given beside it (names as they will be shown).

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/alignment_writer.hpp"
#include "output/output_detail.hpp"

namespace kavro {

namespace {

// The sort works on anything that names its items by index and swaps them:
// the records of a collection, or a permutation of separate names.
struct RecordItems {
    Collection& seqs;
    const std::string& name(long k) const { return seqs[static_cast<std::size_t>(k)].name; }
    void swap(long i, long j) { std::swap(seqs[static_cast<std::size_t>(i)], seqs[static_cast<std::size_t>(j)]); }
};

// The records of a collection ordered by keys given beside them; the keys
// move with their records.
struct KeyedRecords {
    Collection& seqs;
    std::vector<std::string>& keys;
    const std::string& name(long k) const { return keys[static_cast<std::size_t>(k)]; }
    void swap(long i, long j) {
        std::swap(seqs[static_cast<std::size_t>(i)], seqs[static_cast<std::size_t>(j)]);
        std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
    }
};

struct NameOrder {
    const std::vector<std::string_view>& names;
    std::vector<std::size_t>& order;
    std::string_view name(long k) const { return names[order[static_cast<std::size_t>(k)]]; }
    void swap(long i, long j) { std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]); }
};

// Partitions items[lo..hi] around a copy of the last name and returns the
// pivot's final index.
template <class Items>
long partition(Items& items, long lo, long hi) {
    const std::string pivot(items.name(hi));
    long i = lo - 1;
    long j = hi;
    for (;;) {
        // items[hi] keeps the pivot name throughout, so i stops at hi at the latest.
        ++i;
        while (items.name(i) < pivot) ++i;
        --j;
        while (j > i && pivot < items.name(j)) --j;
        if (i >= j) break;
        items.swap(i, j);
    }
    items.swap(i, hi);
    return i;
}

// The two sides after a partition are disjoint, so sorting the smaller one by
// recursion and the larger one in the loop gives the same order as sorting
// them left then right, with a stack depth of at most log2(n).
template <class Items>
void quicksort(Items& items, long lo, long hi) {
    while (hi - lo >= 1) {
        const long p = partition(items, lo, hi);
        if (p - lo < hi - p) {
            quicksort(items, lo, p - 1);
            lo = p + 1;
        } else {
            quicksort(items, p + 1, hi);
            hi = p - 1;
        }
    }
}

// Names strictly ascending: every partition finds its pivot already last and
// swaps nothing, so the sort would leave the items as they are.
template <class Items>
bool strictly_ascending(const Items& items, std::size_t count) {
    for (std::size_t k = 1; k < count; ++k)
        if (!(items.name(static_cast<long>(k) - 1) < items.name(static_cast<long>(k)))) return false;
    return true;
}

template <class Items>
void sort_items(Items& items, std::size_t count) {
    if (count < 2 || strictly_ascending(items, count)) return;
    quicksort(items, 0, static_cast<long>(count) - 1);
}

}  // namespace

void sort_by_keys(Collection& seqs, std::vector<std::string>& keys) {
    KeyedRecords items{seqs, keys};
    sort_items(items, std::min(output_detail::collection_count(&seqs), keys.size()));
}

void sort_by_name(Collection& seqs) {
    RecordItems items{seqs};
    sort_items(items, output_detail::collection_count(&seqs));
}

std::vector<std::size_t> name_order(const std::vector<std::string_view>& names) {
    std::vector<std::size_t> order(names.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    NameOrder items{names, order};
    sort_items(items, order.size());
    return order;
}

}  // namespace kavro
