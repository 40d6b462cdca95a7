#pragma once
// Open reading frames of a nucleotide sequence: the three frames of the
// sequence and of its reverse complement, every start codon of an open
// region giving its own ORF up to the region's closing codon. The ORFs are
// kept in one list and written as a table or as translated FASTA records.
//
// An open region runs from the codon after a stop (or the frame's first
// codon) up to the next stop, or up to the frame's last complete codon when
// no stop comes. Every "M" in it starts an ORF; a region without "M" still
// gives one ORF from its first codon. The length counts the bases from the
// start codon up to, not including, the closing codon.
//
// Positions are 1-based on the given sequence's coordinates; an ORF on the
// complementary strand has stop < start. They are 64-bit: chromosomes above
// 2^31 bases exist.

#include <cstdint>
#include <string>
#include <vector>

#include "core/sequence.hpp"
#include "translate/codon_table.hpp"

namespace kavro {

struct OrfInfo {
    int frame = 0;              // 1-3 on the given strand, -1 to -3 on the complementary one
    std::int64_t length = 0;    // bases from the start codon to the closing codon
    std::int64_t region_start = 0;  // first codon of the open region
    std::int64_t start = 0;     // first base of the start codon
    std::int64_t stop = 0;      // first base of the closing codon
    char init = 0;              // amino acid of the start codon
    char term = 0;              // amino acid of the closing codon ("*" for a stop)
};

// The found ORFs in the order found: frames 1-3 of the given strand, then
// frames -1 to -3.
using OrfList = std::vector<OrfInfo>;

// Sequences shorter than this hold no ORF worth a search.
inline constexpr std::int64_t kShortestOrfSequence = 9;

// The ORFs found so far. ORFs shorter than shortest_kept are counted but
// not kept: no minimum that the writers apply could let them pass (see
// orf_search_for), and a chromosome has millions of short ones. With
// longest_only, shortest_kept rises to the longest ORF found so far.
struct OrfSearch {
    OrfList orfs;
    std::size_t found = 0;
    std::int64_t shortest_kept = 0;
    bool longest_only = false;
};

// Appends the ORFs of the three frames of rec, which is the given sequence
// (forward) or its reverse complement (!forward), and shows the running
// count. Prints "\nCodon file: %s\n" first. 0, or 1 after
// "Too short sequence in AddOrfInfo." for fewer than 9 bases or after the
// translation module's message.
[[nodiscard]] int add_orfs(const SequenceRecord& rec, const std::string& table_name, const CodonTable& table, bool forward,
             OrfSearch& search);

// An empty search that keeps what a minimum (as for apply_minimum_rule)
// can list: ORFs of |minimum| bases and more, or for 0 the ones as long as
// the longest found before them.
inline OrfSearch orf_search_for(std::int64_t minimum) {
    OrfSearch search;
    search.shortest_kept = minimum < 0 ? -minimum : minimum;
    search.longest_only = minimum == 0;
    return search;
}

// The minimum length of an ORF to list:
//   n > 0: ORFs of n bases and more;
//   0:     only the longest ORF(s) (the largest length, at least 1);
//   -n:    of ORFs sharing a frame and stop codon with the ORF listed just
//          before them, only the first (the one with the most upstream
//          start), and of those the ones of n bases and more.
// Applies the rule (the negative one zeroes the length of the ORFs it drops)
// and returns the effective minimum.
std::int64_t apply_minimum_rule(OrfList& orfs, std::int64_t minimum);

// Reads the minimum from what follows the letter of the "a" or "s" switch:
// "max" (or "0") means the longest only; digits give that minimum; text
// beginning with "long" and then digits, or digits followed by text
// beginning with "long" ("s300longests"), give the negative (longest of
// overlapping ORFs) form; "long" without a number gives -300; anything else
// gives 300, as does an empty rest.
std::int64_t parse_orf_minimum(const std::string& rest);
inline constexpr std::int64_t kDefaultOrfMinimum = 300;

// The ORF table: banner, heading, and one tab-separated line per kept ORF.
// 0, or 1 after "Cannot open file: %s\n\n" or a failed write.
[[nodiscard]] int write_orf_table(const std::string& path, const SequenceRecord& rec, OrfList orfs, std::int64_t minimum);

// Each kept ORF, its closing codon included, translated in its own frame
// and written as a FASTA record NAME_orf#N (NAME_C_orf#N on the
// complementary strand) with "from..to N aa  frameF". 0, or 1 after a
// message; the ORFs before a failure stay written. Residue lines hold
// line_length letters.
[[nodiscard]] int write_orf_sequences(const std::string& path, const SequenceRecord& rec, OrfList orfs,
                                      std::int64_t minimum, const CodonTable& table, int line_length);

}  // namespace kavro
