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

// The reading of one interleaved alignment, line by line.
class PhylipReader {
public:
    // False after a message when the file is refused.
    bool take(std::string_view piece) {
        const bool blank = count_graphic(piece) == 0;
        if (!header_seen_) return blank || take_header(piece);
        if (blank) return close_first_block();
        return take_row(piece);
    }

    // The alignment once the input has ended; nothing after a message.
    std::optional<Collection> finish(int keep_unclassified) {
        if (!header_seen_) {
            err("Strange sequence alignment.\n");
            return std::nullopt;
        }
        if (first_block_open_) count_ = row_index_;
        const bool incomplete = row_index_ != count_;
        if (incomplete) {
            err("Sequence might not be complete.\n");
            err("k= %ld, num_seq= %ld.\n", static_cast<long>(row_index_), static_cast<long>(count_));
        }
        // Entries of a complete alignment all hold the same number of residues.
        const long total = entries_.empty() ? 0 : static_cast<long>(entries_[0].residues.size());
        if (total != nchar_) {
            err("Error in sequence length.\n");
            err("In the first line, it is %ld, while it is in fact %ld.\n", nchar_, total);
            if (incomplete) return std::nullopt;
        }
        if (count_ == 0) return std::nullopt;
        // An entry whose last row is missing keeps the residues it has: its
        // length is what was read, never more.
        settle_alignment(entries_, keep_unclassified);
        return std::move(entries_);
    }

private:
    // "ntax nchar I": the counts, and the mark of the interleaved layout.
    bool take_header(std::string_view piece) {
        header_seen_ = true;
        std::size_t pos = 0;
        std::string_view mark;
        if (scan_int(piece, pos, ntax_) && scan_int(piece, pos, nchar_)) mark = split_words(piece.substr(pos), 1)[0];
        if (ntax_ < kMinTaxa || nchar_ < kMinSites) {
            err("Strange sequence alignment.\n");
            return false;
        }
        if (!mark.starts_with("I") && !mark.starts_with("i")) {
            err("Specify I in the first line in a Phylip interleaved file .\n");
            return false;
        }
        return true;
    }

    // A blank line after the rows of the first block fixes the entry count.
    bool close_first_block() {
        if (!first_block_open_ || row_index_ <= 1) return true;
        if (static_cast<long>(row_index_) != ntax_) {
            err("Number of sequences is not correct.\n");
            return false;
        }
        first_block_open_ = false;
        count_ = row_index_;
        return true;
    }

    bool take_row(std::string_view piece) {
        if (first_block_open_) {
            // Tabs count as blanks; the name is the first word, the rest
            // of the row after the blanks that follow it is sequence.
            std::size_t pos = 0;
            auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
            while (pos < piece.size() && is_blank(piece[pos])) ++pos;
            std::size_t start = pos;
            while (pos < piece.size() && !is_blank(piece[pos]) && piece[pos] != '\n') ++pos;
            std::string_view name = piece.substr(start, pos - start);
            while (pos < piece.size() && is_blank(piece[pos])) ++pos;
            if (!add_alignment_entry(entries_, name, kNameWidth)) return false;
            text_.assign(piece.substr(pos));
        } else {
            if (row_index_ == count_) row_index_ = 0;
            text_.assign(piece);
        }
        keep_letters_and(text_, "-*");
        if (row_index_ != 0 && text_.size() != width_) {
            err("Line length is not identical.\n");
            err("linelength= %d, seqstr= %d\n", static_cast<int>(width_), static_cast<int>(text_.size()));
            err("seqstr: %s\n", text_.c_str());
            return false;
        }
        if (row_index_ == 0) width_ = text_.size();
        entries_[row_index_].residues.append(text_);
        ++row_index_;
        return true;
    }

    Collection entries_;
    bool header_seen_ = false;
    bool first_block_open_ = true;
    long ntax_ = 0, nchar_ = 0;
    std::size_t count_ = 0;      // entries, fixed when the first block closes
    std::size_t row_index_ = 0;  // the entry the next row belongs to
    std::size_t width_ = 0;      // residues per row in the current block
    std::string text_;
};

}  // namespace

std::optional<Collection> read_phylip(const std::string& path, int keep_unclassified) {
    auto in = open_input(path);
    if (!in) return std::nullopt;
    PhylipReader reader;
    try {
        std::string_view piece;
        while (in->read_piece(piece, LineReader::kPiece))
            if (!reader.take(piece)) return std::nullopt;
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (!in->finish()) return std::nullopt;
    return reader.finish(keep_unclassified);
}

}  // namespace kavro
