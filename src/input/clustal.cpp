// CLUSTAL alignments: a "CLUSTAL" header, then blocks of rows "name
// residues", the first block introducing the entries in order and each later
// block repeating them. Blank and conservation lines separate blocks.
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// A piece shorter than this (its line end counted), or one that begins
// with five blanks, is a separator line.
constexpr std::size_t kSeparatorBelow = 11;

bool is_separator(std::string_view piece) {
    return piece.size() < kSeparatorBelow || piece.starts_with("     ");
}

// Residue characters: letters, the gap "-" and the stop "*" (alignments of
// translated sequences hold stops, and the PHYLIP reader keeps them too).
bool residue_word(std::string_view word) {
    for (char c : word)
        if (!is_alpha(c) && c != '-' && c != '*') return false;
    return true;
}

struct Row {
    std::string_view name;
    std::string residues;
    bool strange = false;
};

// "name residues [more residue groups] [position]": the residue run may be
// written in blank-separated groups; further words of residue characters only
// continue it, a word of digits (the running position) ends the row, and a
// residue-like word with other characters is as strange as in the first run.
Row parse_row(std::string_view piece) {
    Row row;
    std::size_t pos = 0;
    auto next = [&]() {
        while (pos < piece.size() && is_space(piece[pos])) ++pos;
        std::size_t start = pos;
        while (pos < piece.size() && !is_space(piece[pos])) ++pos;
        return piece.substr(start, pos - start);
    };
    row.name = next();
    std::string_view first = next();
    row.strange = !residue_word(first);
    row.residues.assign(first);
    if (row.strange) return row;
    for (std::string_view word = next(); !word.empty(); word = next()) {
        if (all_digits(word)) break;
        if (!residue_word(word)) {
            row.strange = true;
            break;
        }
        row.residues.append(word);
    }
    return row;
}

}  // namespace

std::optional<Collection> read_clustal(const std::string& path, int keep_unclassified) {
    auto in = open_input(path);
    if (!in) return std::nullopt;
    Collection entries;
    bool header_seen = false;
    bool first_block_open = true;
    std::size_t count = 0;  // entries, fixed when the first block closes
    std::size_t row_index = 0;
    std::size_t width = 0;  // residues per row in the current block

    try {
        std::string_view piece;
        while (in->read_piece(piece, LineReader::kPiece)) {
            // A line that starts with "CLUSTAL" is the header, however short
            // ("CLUSTAL", "CLUSTAL W").
            if (!header_seen && piece.starts_with("CLUSTAL")) {
                header_seen = true;
                continue;
            }
            if (is_separator(piece)) {
                if (header_seen && first_block_open && row_index >= 2) {
                    first_block_open = false;
                    count = row_index;
                }
                continue;
            }
            if (!header_seen) {
                err("Unknown file format.\n");
                return std::nullopt;
            }
            Row row = parse_row(piece);
            if (first_block_open) {
                if (!add_alignment_entry(entries, row.name, kEntryNameWidth)) return std::nullopt;
            } else {
                if (row_index == count) row_index = 0;
                if (row.name != entries[row_index].name) {
                    err("Wrong ID name in %ld -th sequence.\n", static_cast<long>(row_index + 1));
                    return std::nullopt;
                }
            }
            const bool block_start = row_index == 0;
            if (!block_start && row.residues.size() != width) {
                err("Line length is not identical.\n");
                return std::nullopt;
            }
            if (row.strange) {
                err("Strange character in sequence.\n");
                return std::nullopt;
            }
            if (block_start) width = row.residues.size();
            entries[row_index].residues.append(row.residues);
            ++row_index;
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (!in->finish()) return std::nullopt;
    if (!header_seen) {
        err("Unknown file format.\n");
        return std::nullopt;
    }
    if (first_block_open) count = row_index;
    // An alignment without a single row, or whose last block lacks rows.
    if (row_index != count || count == 0) {
        err("Sequence is not complete.\n");
        return std::nullopt;
    }
    // Every row of a block has the block's width, so every entry now holds
    // the same number of residues: the full alignment, whether the file
    // ended inside a block or after the separator that closed the first.
    settle_alignment(entries, keep_unclassified);
    return entries;
}

}  // namespace kavro
