#include <gtest/gtest.h>

#include <random>

#include "output/alignment_writer.hpp"
#include "output/output_test_support.hpp"

namespace {

using kavro::Collection;
using output_test::record;

// Records named by names, each carrying its original index as residues.
Collection named(const std::vector<std::string>& names) {
    Collection seqs;
    for (std::size_t k = 0; k < names.size(); ++k) seqs.push_back(record(names[k], std::to_string(k)));
    return seqs;
}

std::string order(const Collection& seqs) {
    std::string s;
    for (const auto& r : seqs) s += r.name + r.residues + " ";
    return s;
}

// The partition steps with plain recursion on both sides.
void plain_quicksort(Collection& a, long lo, long hi) {
    if (hi - lo < 1) return;
    const std::string pivot = a[hi].name;
    long i = lo - 1, j = hi;
    for (;;) {
        ++i;
        while (a[i].name < pivot) ++i;
        --j;
        while (j > i && pivot < a[j].name) --j;
        if (i >= j) break;
        std::swap(a[i], a[j]);
    }
    std::swap(a[i], a[hi]);
    plain_quicksort(a, lo, i - 1);
    plain_quicksort(a, i + 1, hi);
}

class SortByName : public ::testing::Test {
protected:
    output_test::SavedState saved;
};

TEST_F(SortByName, OrdersByNameWithTheQuicksortsOrderForEqualNames) {
    Collection seqs = named({"b", "a", "c", "a"});
    kavro::sort_by_name(seqs);
    EXPECT_EQ(order(seqs), "a1 a3 b0 c2 ");

    seqs = named({"x", "x"});
    kavro::sort_by_name(seqs);
    EXPECT_EQ(order(seqs), "x1 x0 ");
    seqs = named({"x", "x", "x"});
    kavro::sort_by_name(seqs);
    EXPECT_EQ(order(seqs), "x1 x2 x0 ");

    seqs = named({"B", "a", "\xe9", "A"});  // byte order: upper case first, high bytes last
    kavro::sort_by_name(seqs);
    EXPECT_EQ(order(seqs), "A3 B0 a1 \xe9" "2 ");
}

TEST_F(SortByName, SortsTheWholeCollection) {
    Collection seqs = named({"c", "b", "a"});
    kavro::sort_by_name(seqs);
    EXPECT_EQ(order(seqs), "a2 b1 c0 ");
    Collection none;
    kavro::sort_by_name(none);
    EXPECT_TRUE(none.empty());
}

TEST_F(SortByName, SameOrderAsPlainRecursion) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names(rng() % 300);
        const unsigned spread = 1 + rng() % 40;
        for (auto& n : names) n = std::string(1 + rng() % 2, static_cast<char>('a' + rng() % spread));
        if (round % 10 == 0) std::sort(names.begin(), names.end());
        if (round % 10 == 1) std::sort(names.rbegin(), names.rend());
        if (round % 10 == 2)  // distinct and ascending: nothing moves
            for (std::size_t k = 0; k < names.size(); ++k) names[k] = std::to_string(1000 + k);
        Collection seqs = named(names);
        Collection expect = seqs;
        plain_quicksort(expect, 0, static_cast<long>(expect.size()) - 1);
        kavro::sort_by_name(seqs);
        ASSERT_EQ(order(seqs), order(expect)) << "round " << round;
    }
}

}  // namespace
