// Interleaved PHYLIP alignments: a first line "ntax nchar I", a first block
// of rows "name sequence", then blocks of sequence text only, one row per
// entry in the same order, blocks separated by blank lines.
#include <climits>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

constexpr std::size_t kNameWidth = 20;
constexpr long kMinTaxa = 2;
constexpr long kMinSites = 11;

// scanf("%d")-style: skips white space, reads an optionally signed number
// (clamped to the int range); false when no digit follows.
bool scan_int(std::string_view text, std::size_t& pos, long& value) {
    while (pos < text.size() && is_space(text[pos])) ++pos;
    std::size_t p = pos;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p >= text.size() || !is_digit(text[p])) return false;
    const long v = digits_value(text.substr(p), INT_MAX);
    while (p < text.size() && is_digit(text[p])) ++p;
    value = negative ? -v : v;
    pos = p;
    return true;
}

}  // namespace

std::optional<Collection> read_phylip(const std::string& path, int keep_unclassified) {
    auto in = open_input(path);
    if (!in) return std::nullopt;
    Collection entries;
    bool header_seen = false;
    bool first_block_open = true;
    long ntax = 0, nchar = 0;
    std::size_t count = 0;
    std::size_t row_index = 0;
    std::size_t width = 0;
    std::string text;

    try {
        std::string_view piece;
        while (in->read_piece(piece, LineReader::kPiece)) {
            const bool blank = count_graphic(piece) == 0;
            if (!header_seen) {
                if (blank) continue;
                header_seen = true;
                std::size_t pos = 0;
                std::string_view mark;
                if (scan_int(piece, pos, ntax) && scan_int(piece, pos, nchar)) mark = split_words(piece.substr(pos), 1)[0];
                if (ntax < kMinTaxa || nchar < kMinSites) {
                    err("Strange sequence alignment.\n");
                    return std::nullopt;
                }
                if (!mark.starts_with("I") && !mark.starts_with("i")) {
                    err("Specify I in the first line in a Phylip interleaved file .\n");
                    return std::nullopt;
                }
                continue;
            }
            if (blank) {
                if (first_block_open && row_index > 1) {
                    if (static_cast<long>(row_index) != ntax) {
                        err("Number of sequences is not correct.\n");
                        return std::nullopt;
                    }
                    first_block_open = false;
                    count = row_index;
                }
                continue;
            }
            if (first_block_open) {
                // Tabs count as blanks; the name is the first word, the rest
                // of the row after the blanks that follow it is sequence.
                std::size_t pos = 0;
                auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
                while (pos < piece.size() && is_blank(piece[pos])) ++pos;
                std::size_t start = pos;
                while (pos < piece.size() && !is_blank(piece[pos]) && piece[pos] != '\n') ++pos;
                std::string_view name = piece.substr(start, pos - start);
                while (pos < piece.size() && is_blank(piece[pos])) ++pos;
                if (!add_alignment_entry(entries, name, kNameWidth)) return std::nullopt;
                text.assign(piece.substr(pos));
            } else {
                if (row_index == count) row_index = 0;
                text.assign(piece);
            }
            keep_letters_and(text, "-*");
            if (row_index != 0 && text.size() != width) {
                err("Line length is not identical.\n");
                err("linelength= %d, seqstr= %d\n", static_cast<int>(width), static_cast<int>(text.size()));
                err("seqstr: %s\n", text.c_str());
                return std::nullopt;
            }
            if (row_index == 0) width = text.size();
            entries[row_index].residues.append(text);
            ++row_index;
        }
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (!in->finish()) return std::nullopt;
    if (!header_seen) {
        err("Strange sequence alignment.\n");
        return std::nullopt;
    }
    if (first_block_open) count = row_index;
    const bool incomplete = row_index != count;
    if (incomplete) {
        err("Sequence might not be complete.\n");
        err("k= %ld, num_seq= %ld.\n", static_cast<long>(row_index), static_cast<long>(count));
    }
    // Entries of a complete alignment all hold the same number of residues.
    const long total = entries.empty() ? 0 : static_cast<long>(entries[0].residues.size());
    if (total != nchar) {
        err("Error in sequence length.\n");
        err("In the first line, it is %ld, while it is in fact %ld.\n", nchar, total);
        if (incomplete) return std::nullopt;
    }
    if (count == 0) return std::nullopt;
    // An entry whose last row is missing keeps the residues it has: its
    // length is what was read, never more.
    settle_alignment(entries, keep_unclassified);
    return entries;
}

}  // namespace kavro
