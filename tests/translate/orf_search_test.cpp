#include "translate/orf_search.hpp"

#include <gtest/gtest.h>

#include <type_traits>

#include "support/records.hpp"

namespace {

using kavro::OrfInfo;
using kavro::OrfList;

// Positions stay 64-bit: a plant chromosome can pass 2^31 bases.
static_assert(std::is_same_v<decltype(OrfInfo::start), std::int64_t>);
static_assert(std::is_same_v<decltype(OrfInfo::stop), std::int64_t>);
static_assert(std::is_same_v<decltype(OrfInfo::length), std::int64_t>);

const kavro::CodonTable kStandard = *kavro::select_codon_table("default");

// frame start stop length init term, one ORF per string.
std::vector<std::string> describe(const OrfList& orfs) {
    std::vector<std::string> d;
    for (const OrfInfo& o : orfs)
        d.push_back(std::to_string(o.frame) + " " + std::to_string(o.start) + " " + std::to_string(o.stop) + " " +
                    std::to_string(o.length) + " " + o.init + o.term);
    return d;
}

OrfList orfs_of(const std::string& residues, bool forward, const kavro::CodonTable& table = kStandard) {
    kavro_test::CaptureConsole quiet;
    kavro::OrfSearch search;
    const auto rec = kavro_test::make_record("s", residues, kavro::ResidueKind::Dna);
    EXPECT_EQ(kavro::add_orfs(rec, "default", table, forward, search), 0);
    return search.orfs;
}

TEST(OrfSearch, RegionsStartsAndClosingCodons) {
    struct Case {
        std::string residues;
        bool forward;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Frame 2 opens with a stop and closes empty at the end; frame 3 has
        // no M and is closed at its last codon.
        {"ATGAAATAG", true, {"1 1 7 6 M*", "3 3 6 3 EI"}},
        // Every M of a region starts its own ORF ending at the same stop.
        {"ATGATGAAATAA", true, {"1 1 10 9 M*", "1 4 10 6 M*", "3 3 9 6 DI"}},
        // On the reverse complement, positions count on the given strand.
        {"ATGAAATAG", false, {"-1 9 3 6 M*", "-3 7 4 3 EI"}},
        // An M right before the stop gives an ORF of one codon; a region of
        // the last codon alone is empty.
        {"CCCATGTAACCC", true, {"1 4 7 3 M*", "2 2 8 6 PN", "3 3 9 6 HT"}},
    };
    for (const Case& c : cases) EXPECT_EQ(describe(orfs_of(c.residues, c.forward)), c.expected) << c.residues;
    // The vertebrate mitochondrial code reads ATA as M and TGA as W.
    EXPECT_EQ(describe(orfs_of("ATAAAATGACCC", true, *kavro::builtin_codon_table("code2")))[0], "1 1 10 9 MP");
}

TEST(OrfSearch, TooShortSequenceIsRefused) {
    kavro_test::CaptureConsole cap;
    kavro::OrfSearch search;
    EXPECT_EQ(kavro::add_orfs(kavro_test::make_record("s", "ATGAAATA", kavro::ResidueKind::Dna), "default", kStandard,
                              true, search),
              1);
    EXPECT_EQ(cap.err(), "Too short sequence in AddOrfInfo.");
    EXPECT_TRUE(search.orfs.empty());
}

TEST(OrfSearch, MinimumLengthRules) {
    const OrfList base = orfs_of("ATGATGAAATAA", true);  // lengths 9 6 6
    struct Case {
        std::int64_t minimum, effective;
        std::vector<std::int64_t> lengths;
    };
    const Case cases[] = {
        {6, 6, {9, 6, 6}},
        {7, 7, {9, 6, 6}},
        {0, 9, {9, 6, 6}},   // the longest only
        {-6, 6, {9, 0, 6}},  // the nested ORF at the same stop drops out
        {-1, 1, {9, 0, 6}},
    };
    for (const Case& c : cases) {
        OrfList orfs = base;
        EXPECT_EQ(kavro::apply_minimum_rule(orfs, c.minimum), c.effective) << c.minimum;
        std::vector<std::int64_t> lengths;
        for (const OrfInfo& o : orfs) lengths.push_back(o.length);
        EXPECT_EQ(lengths, c.lengths) << c.minimum;
    }
    // ORFs of other frames or strands that happen to share a stop position
    // are not nested.
    OrfList strands = {{1, 30, 1, 1, 31, 'M', '*'}, {-2, 30, 61, 61, 31, 'M', '*'}};
    kavro::apply_minimum_rule(strands, -1);
    EXPECT_EQ(strands[1].length, 30);
    OrfList empty;
    EXPECT_EQ(kavro::apply_minimum_rule(empty, 0), 1);
}

// What the writers list: the ORFs that pass the rule.
std::vector<std::string> listed(OrfList orfs, std::int64_t minimum) {
    const std::int64_t effective = kavro::apply_minimum_rule(orfs, minimum);
    OrfList kept;
    for (const OrfInfo& o : orfs)
        if (o.length > 0 && o.length >= effective) kept.push_back(o);
    return describe(kept);
}

TEST(OrfSearch, ShortOrfsNeedNotBeKept) {
    std::string bases;
    for (unsigned x = 11, i = 0; i < 3000; ++i) bases += "ACGT"[((x = x * 1103515245u + 12345u) >> 16) & 3];
    const OrfList all = orfs_of(bases, true);
    for (std::int64_t minimum : {30, -30, 90, -90, 0}) {
        kavro::OrfSearch search = kavro::orf_search_for(minimum);
        {
            kavro_test::CaptureConsole quiet;  // gtest's own messages too: checks come after
            kavro::add_orfs(kavro_test::make_record("s", bases, kavro::ResidueKind::Dna), "default", kStandard, true, search);
        }
        EXPECT_EQ(search.found, all.size());
        EXPECT_LT(search.orfs.size(), all.size());
        EXPECT_EQ(listed(search.orfs, minimum), listed(all, minimum)) << minimum;
        EXPECT_FALSE(listed(all, minimum).empty());
    }
}

TEST(OrfSearch, MinimumFromTheSwitchWord) {
    const std::pair<std::string, std::int64_t> cases[] = {
        {"", 300},           {"max", 0},          {"0", 0},           {"250", 250},
        {"abc", 300},        {"25x", 300},        {"long", -300},     {"longests", -300},
        {"longests250", -250}, {"long250x", 300}, {"300longests", -300}, {"300long", -300},
        {"maximum", 300},    {"99999999999999999999", 300},
    };
    for (const auto& [rest, minimum] : cases) EXPECT_EQ(kavro::parse_orf_minimum(rest), minimum) << rest;
}

}  // namespace
