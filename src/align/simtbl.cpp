// simtbl: compares every pair of sequences of an aligned set position by
// position. Table mode writes the lower triangle of the identity table;
// "list" lists the identical pairs; "nr" writes the set without the
// sequences identical to an earlier one.
//
// Table mode writes each row as it is computed and keeps no table. The list
// and nr modes keep no table either: each sequence is compared only with
// the earlier ones that a partition of its length group (by the letters of
// a few columns, gaps matching any letter) leaves as candidates, so the
// time stays close to linear when sequences are not near-copies.

#include <cstdint>
#include <new>
#include <algorithm>
#include <string_view>
#include <optional>
#include <string>
#include <vector>

#include "align/pair_identity.hpp"
#include "core/console.hpp"
#include "core/file_identity.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

enum class SimilarityMode { Table, List, NonRedundant };

std::vector<std::vector<std::uint8_t>> codes_of(const Collection& seqs) {
    std::vector<std::vector<std::uint8_t>> codes;
    codes.reserve(seqs.size());
    for (const auto& rec : seqs) codes.push_back(letter_codes(rec.residues));
    return codes;
}

// The messages the comparison of every pair gives, without the table: one
// "Empty sequence.\n" for each pair of two empty sequences.
void report_empty_pairs(const std::vector<std::vector<std::uint8_t>>& codes) {
    std::size_t empty = 0;
    for (const auto& code : codes) {
        if (!code.empty()) continue;
        for (std::size_t k = 0; k < empty; ++k) err("Empty sequence.\n");
        ++empty;
    }
}

// Row i of the table holds pairs (i, 0) .. (i, i-1); each row is written as
// soon as it is compared.
void write_table(Writer& w, const Collection& seqs, const std::vector<std::vector<std::uint8_t>>& codes) {
    const std::size_t n = seqs.size();
    w.write("\nSimilarity table\n");
    for (std::size_t i = 0; i < n; ++i) w.printf("%6ld: %s.\n", static_cast<long>(i + 1), seqs[i].name.c_str());
    w.write("\n\n");
    for (std::size_t i = 1; i < n; ++i) {
        w.printf("%5ld: ", static_cast<long>(i + 1));
        for (std::size_t k = 0; k < i; ++k) {
            const PairIdentity p = compare_letter_codes(codes[i], codes[k]);
            // Every cell is six characters wide, an empty one as well.
            if (p.compared == 0) w.printf("%5ld ", 0L);
            else w.printf("%5.3f ", static_cast<double>(p.identical) / static_cast<double>(p.compared));
        }
        w.put('\n');
    }
    w.write("      ");
    for (std::size_t i = 1; i < n; ++i) w.printf("%5ld ", static_cast<long>(i));
    w.put('\n');
}

// Finds, for each sequence in file order, the earlier sequences identical to
// it (IdenticalIndex); a pair of two empty sequences is reported as the
// comparison of every pair reports it.
class IdenticalFinder {
public:
    explicit IdenticalFinder(const std::vector<std::vector<std::uint8_t>>& codes) : codes_(codes), index_(codes) {}

    // The earlier sequences identical to sequence i, in order (only the
    // first when first_only).
    std::vector<std::size_t> next(std::size_t i, bool first_only) {
        if (codes_[i].empty()) {
            ++empty_count_;
            for (std::size_t k = 1; k < empty_count_; ++k) err("Empty sequence.\n");
            return {};
        }
        return index_.earlier_identical(i, first_only);
    }

private:
    const std::vector<std::vector<std::uint8_t>>& codes_;
    IdenticalIndex index_;
    std::size_t empty_count_ = 0;
};

void write_identical_pairs(Writer& w, const Collection& seqs, const std::vector<std::vector<std::uint8_t>>& codes) {
    IdenticalFinder finder(codes);
    for (std::size_t i = 0; i < seqs.size(); ++i)
        for (std::size_t k : finder.next(i, false))
            w.printf("Sequence %ld: %s is identical to sequence %ld: %s.\n", static_cast<long>(i),
                     seqs[i].name.c_str(), static_cast<long>(k), seqs[k].name.c_str());
    w.put('\n');
}

// Identity with an entry dropped earlier drops as well: the comparison
// reads the codes, which stay.
void drop_redundant(Collection& seqs, const std::vector<std::vector<std::uint8_t>>& codes) {
    IdenticalFinder finder(codes);
    for (std::size_t i = 0; i < seqs.size(); ++i) {
        if (finder.next(i, true).empty()) continue;
        seqs[i].residues.clear();
        seqs[i].length = 0;
    }
}

// The sequences, checked for one data type (and one length in table mode).
std::optional<Collection> read_sequences(const std::string& path, SimilarityMode mode) {
    out("Reading sequence...\n");
    const SeqFormat format = detect_format(path);
    if (format != SeqFormat::Fasta && format != SeqFormat::Clustal) {
        err("This is not a FASTA or CLUSTAL file.\n");
        return std::nullopt;
    }
    if (mode != SimilarityMode::Table && format != SeqFormat::Fasta) {
        err("Only FASTA sequences are accepted in the list or nr mode.\n");
        return std::nullopt;
    }
    auto seqs = format == SeqFormat::Clustal ? read_clustal(path, 0) : read_multi_fasta(path, ResidueKind::Unknown);
    if (!seqs || seqs->empty()) {
        err("Error in reading file: %s\n", path.c_str());
        return std::nullopt;
    }
    if (mode == SimilarityMode::Table && format == SeqFormat::Fasta) {
        for (const auto& rec : *seqs)
            if (rec.residues.size() != (*seqs)[0].residues.size()) {
                err("Unequal length of sequences in file: %s\n", path.c_str());
                return std::nullopt;
            }
    }
    const ResidueKind type = (*seqs)[0].type;
    if (type != ResidueKind::Dna && type != ResidueKind::Rna && type != ResidueKind::Protein) {
        err("Sequences should be DNA, RNA or protein in file: %s. \n", path.c_str());
        return std::nullopt;
    }
    out("data type is %s.\n", type_name(type));
    for (std::size_t i = 1; i < seqs->size(); ++i)
        if (classify_residues((*seqs)[i]) != type) {
            err("All sequences should be of the same data type, either DNA or RNA in file:%s.\n", path.c_str());
            return std::nullopt;
        }
    return seqs;
}

}  // namespace

int cmd_simtbl(int count, CommandLine& words) {
    SimilarityMode mode = SimilarityMode::Table;
    if (count == 1) {
        if (!ask_input_output(words)) return 1;
    } else if (count == 4) {
        if (words[3] == "list") mode = SimilarityMode::List;
        else if (words[3] == "nr") mode = SimilarityMode::NonRedundant;
    } else if (count != 3) {
        show_help("simtbl");
        return 1;
    }
    const std::string input = words[1], output = words[2];
    if (!OutputTarget::names_stdout(output) && output_is_input(input, output)) return 1;

    auto seqs = read_sequences(input, mode);
    if (!seqs) return 1;
    const auto codes = codes_of(*seqs);
    // The table reads the codes and the names only.
    if (mode == SimilarityMode::Table)
        for (auto& rec : *seqs) rec.residues = std::string();
    if (mode == SimilarityMode::NonRedundant) drop_redundant(*seqs, codes);

    auto target = OutputTarget::open(output, OutputTarget::Mode::Truncate);
    if (!target) {
        // The pairs are compared before the output is needed.
        if (mode == SimilarityMode::Table) report_empty_pairs(codes);
        err("Cannot open file: %s\n\n", output.c_str());
        err("Cannot open file %s.\n", output.c_str());
        return 1;
    }
    Writer& w = target->writer();
    int written = 0;
    switch (mode) {
    case SimilarityMode::Table: write_table(w, *seqs, codes); break;
    case SimilarityMode::List: write_identical_pairs(w, *seqs, codes); break;
    case SimilarityMode::NonRedundant: written = write_fasta_batch(w, *seqs, 0, 0, g_settings.line_length); break;
    }
    if (!target->close() || written != 0) {
        err("Error in writing sequence.\n");
        if (mode == SimilarityMode::NonRedundant) end_program(1);
        return 1;
    }
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
