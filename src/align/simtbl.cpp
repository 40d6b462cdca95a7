// simtbl: compares every pair of sequences of an aligned set position by
// position. Table mode writes the lower triangle of the identity table;
// "list" lists the identical pairs; "nr" writes the set without the
// sequences identical to an earlier one.
//
// The table keeps one cell per pair of the lower triangle. The list and nr
// modes keep no table: each pair is decided as it is compared (pairs of
// different lengths never are identical, and sequences without gaps are
// matched through a hash index), which lets tens of thousands of sequences
// fit and keeps the time close to linear when few sequences hold gaps.

#include <cstdint>
#include <new>
#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <optional>
#include <string>
#include <vector>

#include "align/pair_identity.hpp"
#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

enum class SimilarityMode { Table, List, NonRedundant };

// The lower triangle, row i holding pairs (i, 0) .. (i, i-1); a cell is the
// identity fraction, or negative when nothing was compared.
class IdentityTriangle {
public:
    explicit IdentityTriangle(std::size_t n) : cells_(n < 2 ? 0 : n * (n - 1) / 2) {}
    double& at(std::size_t i, std::size_t k) { return cells_[i * (i - 1) / 2 + k]; }

private:
    std::vector<double> cells_;
};

std::vector<std::vector<std::uint8_t>> codes_of(const Collection& seqs) {
    std::vector<std::vector<std::uint8_t>> codes;
    codes.reserve(seqs.size());
    for (const auto& rec : seqs) codes.push_back(letter_codes(rec.residues));
    return codes;
}

// Every pair compared; nothing after "Error in allocating memory to sc
// table.\n" when the triangle does not fit in memory.
std::optional<IdentityTriangle> compare_all_pairs(const std::vector<std::vector<std::uint8_t>>& codes) {
    const std::size_t n = codes.size();
    std::optional<IdentityTriangle> table;
    try {
        table.emplace(n);
    } catch (const std::bad_alloc&) {
        err("Error in allocating memory to sc table.\n");
        return std::nullopt;
    }
    for (std::size_t i = 1; i < n; ++i)
        for (std::size_t k = 0; k < i; ++k) {
            const PairIdentity p = compare_letter_codes(codes[i], codes[k]);
            table->at(i, k) = p.compared == 0 ? -1.0
                                              : static_cast<double>(p.identical) / static_cast<double>(p.compared);
        }
    return table;
}

void write_table(Writer& w, const Collection& seqs, IdentityTriangle& table) {
    const std::size_t n = seqs.size();
    w.write("\nSimilarity table\n");
    for (std::size_t i = 0; i < n; ++i) w.printf("%6ld: %s.\n", static_cast<long>(i + 1), seqs[i].name.c_str());
    w.write("\n\n");
    for (std::size_t i = 1; i < n; ++i) {
        w.printf("%5ld: ", static_cast<long>(i + 1));
        for (std::size_t k = 0; k < i; ++k) {
            const double cell = table.at(i, k);
            // Every cell is six characters wide, an empty one as well.
            if (cell < 0) w.printf("%5ld ", 0L);
            else w.printf("%5.3f ", cell);
        }
        w.put('\n');
    }
    w.write("      ");
    for (std::size_t i = 1; i < n; ++i) w.printf("%5ld ", static_cast<long>(i));
    w.put('\n');
}

// Finds, for each sequence in file order, the earlier sequences identical to
// it. Sequences made of letters only are identical exactly when their
// case-folded texts are equal, so they are found through a hash index; a
// sequence holding gaps (or other non-letters) is compared position by
// position with the earlier sequences of its length.
class IdenticalFinder {
public:
    explicit IdenticalFinder(const std::vector<std::vector<std::uint8_t>>& codes) : codes_(codes) {}

    // The earlier sequences identical to sequence i, in order (only the
    // first when first_only), then sequence i is added to the index.
    std::vector<std::size_t> next(std::size_t i, bool first_only) {
        const auto& code = codes_[i];
        std::vector<std::size_t> found;
        if (code.empty()) {
            ++empty_count_;  // every pair of two empty sequences is reported
            for (std::size_t k = 1; k < empty_count_; ++k) err("Empty sequence.\n");
            return found;
        }
        const bool letters_only = std::find(code.begin(), code.end(), 0) == code.end();
        const std::string_view key(reinterpret_cast<const char*>(code.data()), code.size());
        auto& same_length = by_length_[code.size()];
        if (letters_only) {
            if (auto bucket = exact_.find(key); bucket != exact_.end()) found = bucket->second;
            for (std::size_t k : same_length.with_non_letters) {
                if (!found.empty() && first_only) break;
                if (identical_letter_codes(code, codes_[k])) found.push_back(k);
            }
            std::sort(found.begin(), found.end());
            exact_[key].push_back(i);
        } else {
            for (std::size_t k : same_length.all) {
                if (!identical_letter_codes(code, codes_[k])) continue;
                found.push_back(k);
                if (first_only) break;
            }
            same_length.with_non_letters.push_back(i);
        }
        same_length.all.push_back(i);
        if (first_only && found.size() > 1) found.erase(found.begin() + 1, found.end());
        return found;
    }

private:
    struct LengthGroup {
        std::vector<std::size_t> all, with_non_letters;
    };
    const std::vector<std::vector<std::uint8_t>>& codes_;
    std::unordered_map<std::string_view, std::vector<std::size_t>> exact_;
    std::unordered_map<std::size_t, LengthGroup> by_length_;
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
        words.set(1, "infile");
        if (!ask_argument(words[1], "入力ファイル名")) return 1;
        words.set(2, words[1] + ".out");
        if (!ask_argument(words[2], "出力ファイル名")) return 1;
    } else if (count == 4) {
        if (words[3] == "list") mode = SimilarityMode::List;
        else if (words[3] == "nr") mode = SimilarityMode::NonRedundant;
    } else if (count != 3) {
        show_help("simtbl");
        return 1;
    }
    const std::string input = words[1], output = words[2];

    auto seqs = read_sequences(input, mode);
    if (!seqs) return 1;
    const auto codes = codes_of(*seqs);
    std::optional<IdentityTriangle> table;
    if (mode == SimilarityMode::Table) {
        table = compare_all_pairs(codes);
        if (!table) return 1;
    }
    if (mode == SimilarityMode::NonRedundant) drop_redundant(*seqs, codes);

    auto target = OutputTarget::open(output, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", output.c_str());
        err("Cannot open file %s.\n", output.c_str());
        return 1;
    }
    Writer& w = target->writer();
    int written = 0;
    switch (mode) {
    case SimilarityMode::Table: write_table(w, *seqs, *table); break;
    case SimilarityMode::List: write_identical_pairs(w, *seqs, codes); break;
    case SimilarityMode::NonRedundant: written = write_fasta_batch(w, *seqs, 0, 0); break;
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
