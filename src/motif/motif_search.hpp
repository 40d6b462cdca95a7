#pragma once
// The motif search of the sites command: every sequence of a collection
// searched for a motif at the matching levels from 1.0 down to the chosen
// one, and the report of the matches with their statistics.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/held_text.hpp"
#include "core/sequence.hpp"
#include "core/writer.hpp"
#include "motif/motif_match.hpp"

namespace kavro {

enum class SitesMode { Summary = 0, Detailed = 1, Table = 2, Palindromes = 3 };

struct MotifSearchRequest {
    std::string input_name;  // printed in the report
    std::string output_name;  // named in the failure message
    std::string motif;        // upper case
    SitesMode mode = SitesMode::Detailed;
    double level = 0.99;
};

// The levels searched: 1.0, then down in steps of 0.1 while still at least
// the chosen level (less a rounding allowance) and not below 0. The steps
// are taken by repeated subtraction, so the later levels carry its rounding.
std::vector<double> search_levels(double chosen);

// Searches one sequence (its residues cleared to upper-case letters, its own
// kind `kind` as classify_residues gives it) and writes what the mode asks
// for; its console messages go to `messages`. Returns the number of matches
// at the last level plus 1, or -1 after a message when the sequence cannot be
// searched (missing, of another type than the file, or a motif out of bounds).
std::int64_t search_sequence_sites(Writer& w, SequenceRecord* rec, ResidueKind kind, const MotifScanner& scanner,
                                   const MotifSearchRequest& req, ResidueKind file_type, HeldText& messages);

// Modes 0, 1 and 2, one sequence at a time: each is searched and its part of
// the report written as it comes; only the totals are kept. The console
// messages of the searches are held and printed by finish(), so that a run
// that reads the file as it searches prints them after the reading, as a run
// over a collection read first does.
class MotifSearch {
public:
    // Without a file type, the first sequence's kind is the file's.
    MotifSearch(Writer& w, const MotifSearchRequest& req, std::optional<ResidueKind> file_type = std::nullopt);

    // One sequence, cleared to upper-case letters. After a sequence that
    // cannot be searched the rest are passed over.
    void take(SequenceRecord& rec);

    // The held messages, then the summary. 0, or 1 after
    // "Error in writing motif sites in file: %s\n".
    int finish();

private:
    Writer& w_;
    const MotifSearchRequest& req_;
    std::optional<ResidueKind> file_type_;
    std::optional<MotifScanner> scanner_;
    HeldText messages_;
    Composition comp_{};
    std::int64_t total_ = 0;
    std::int64_t matches_ = 0;
    std::size_t searched_ = 0;
    int uncounted_ = 0;
    bool failed_ = false;
};

// Modes 0, 1 and 2: searches every sequence and writes the report. 0, or 1
// after "Error in writing motif sites in file: %s\n".
[[nodiscard]] int run_motif_search(Writer& w, Collection& seqs, ResidueKind file_type, const MotifSearchRequest& req);

// Composition of every sequence added up, and the total length;
// "Error in counting bases.\nBut we continue.\n" for a sequence that cannot
// be counted.
std::int64_t total_composition(const Collection& seqs, Composition& comp);

// Appends the first residues of a circular sequence to its end for the
// length of one search (at most its own length), so that windows across the
// origin are seen; the destructor takes them off again.
class CircularExtension {
public:
    CircularExtension(SequenceRecord& rec, std::size_t extra);
    ~CircularExtension();
    CircularExtension(const CircularExtension&) = delete;
    CircularExtension& operator=(const CircularExtension&) = delete;
    std::size_t added() const { return added_; }

private:
    SequenceRecord& rec_;
    std::size_t own_size_;
    std::size_t added_ = 0;
};

}  // namespace kavro
