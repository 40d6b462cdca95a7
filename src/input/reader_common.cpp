#include "input/reader_common.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"

namespace kavro::input_detail {

namespace {

ByteTable make_table(bool (*keep)(unsigned char), bool upper) {
    ByteTable t;
    for (int c = 1; c < 256; ++c) {
        auto uc = static_cast<unsigned char>(c);
        if (!keep(uc)) continue;
        t.map[uc] = upper ? static_cast<unsigned char>(to_upper(static_cast<char>(uc))) : uc;
    }
    return t;
}

bool keep_residue(unsigned char c) {
    // Printable characters but blanks and digits: what the FASTA writer
    // writes, so that the residue count of a record is what reaches the
    // output. Control bytes and bytes above 0x7E are dropped.
    return c > ' ' && c < 0x7F && !(c >= '0' && c <= '9');
}
bool keep_printable(unsigned char c) { return c >= 0x20 && c < 0x7F; }
bool keep_graphic(unsigned char c) { return c > 0x20 && c < 0x7F; }

}  // namespace

const ByteTable& residue_table() {
    static const ByteTable t = make_table(keep_residue, true);
    return t;
}

const ByteTable& printable_table() {
    static const ByteTable t = make_table(keep_printable, false);
    return t;
}

const ByteTable& graphic_table() {
    static const ByteTable t = make_table(keep_graphic, false);
    return t;
}

namespace {

constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;  // 0x0101...01
constexpr std::uint64_t kHighBits = kOnes * 0x80;

// Non-zero when some byte of w is below n / above n (n <= 127); exact as a
// test over the whole word.
constexpr std::uint64_t any_below(std::uint64_t w, std::uint64_t n) { return (w - kOnes * n) & ~w & kHighBits; }
constexpr std::uint64_t any_above(std::uint64_t w, std::uint64_t n) { return ((w + kOnes * (127 - n)) | w) & kHighBits; }

// True when every byte of s[0, n) lies in [lo, hi] (0 < lo <= hi < 0x7F).
// A word at a time; the last word ends at the text's end and may overlap the
// one before it, which only tests some bytes twice.
bool all_within(const char* s, std::size_t n, unsigned char lo, unsigned char hi) {
    auto word_bad = [&](std::size_t at) {
        std::uint64_t w;
        std::memcpy(&w, s + at, 8);
        return any_below(w, lo) | any_above(w, hi);
    };
    if (n >= 8) {
        std::uint64_t bad = word_bad(n - 8);
        for (std::size_t i = 0; i + 8 < n; i += 8) bad |= word_bad(i);
        return bad == 0;
    }
    bool bad = false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        bad |= c < lo || c > hi;
    }
    return !bad;
}

// A piece whose bytes before its final newline (if any) all lie in [lo, hi]
// goes in whole: the table keeps those bytes unchanged and drops the newline.
void append_clean_or_mapped(std::string& out, std::string_view text, const ByteTable& table, unsigned char lo,
                            unsigned char hi) {
    std::size_t body = text.size();
    if (body > 0 && text[body - 1] == '\n') --body;
    if (all_within(text.data(), body, lo, hi)) {
        out.append(text.data(), body);
        return;
    }
    append_mapped(out, text, table);
}

}  // namespace

void append_mapped(std::string& out, std::string_view text, const ByteTable& table) {
    // Mapped in chunks through a small buffer, appended with the string's
    // geometric growth.
    constexpr std::size_t kChunk = 512;
    char chunk[kChunk];
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = text.size();
    while (left > 0) {
        const std::size_t len = left < kChunk ? left : kChunk;
        std::size_t k = 0;
        for (std::size_t i = 0; i < len; ++i) {
            const unsigned char m = table.map[s[i]];
            chunk[k] = static_cast<char>(m);
            k += (m != 0);
        }
        out.append(chunk, k);
        s += len;
        left -= len;
    }
}

void append_residues(std::string& out, std::string_view text) { append_mapped(out, text, residue_table()); }

void append_printable(std::string& out, std::string_view text) {
    append_clean_or_mapped(out, text, printable_table(), 0x20, 0x7E);
}

void append_graphic(std::string& out, std::string_view text) {
    append_clean_or_mapped(out, text, graphic_table(), 0x21, 0x7E);
}

std::size_t append_clean_fasta_lines(std::string& out, std::string_view text, FastaFilter filter) {
    const unsigned char lo = filter == FastaFilter::Printable ? 0x20 : 0x21;
    const unsigned char hi = 0x7E;
    const char* const base = text.data();
    std::size_t used = 0;
    std::size_t guess = 0;  // lines of a FASTA file mostly have one length
    while (used < text.size()) {
        const char* const p = base + used;
        const std::size_t left = text.size() - used;
        std::size_t bytes;
        if (guess != 0 && guess <= left && p[guess - 1] == '\n') {
            // A newline inside would fail the character test below.
            bytes = guess;
        } else {
            const void* nl = std::memchr(p, '\n', std::min(left, LineReader::kPiece));
            if (!nl) break;
            bytes = static_cast<std::size_t>(static_cast<const char*>(nl) - p) + 1;
        }
        if (p[0] == '>' || p[0] == ';' || p[0] == '/') break;
        if (!all_within(p, bytes - 1, lo, hi)) break;
        out.append(p, bytes - 1);
        used += bytes;
        guess = bytes;
    }
    return used;
}

namespace {

constexpr std::size_t kGroups = 6;
constexpr std::size_t kGroupWidth = 10;
constexpr std::size_t kResiduesPerLine = kGroups * kGroupWidth;

// The columns of a layout: 1 where a residue stands, 0 where a blank or a
// digit stands (the final newline is not included).
template <std::size_t First, std::size_t Bytes>
struct LineColumns {
    static_assert(First + kGroups * (kGroupWidth + 1) - 1 < Bytes);
    static constexpr std::array<unsigned char, Bytes - 1> residue = [] {
        std::array<unsigned char, Bytes - 1> t{};
        for (std::size_t g = 0; g < kGroups; ++g)
            for (std::size_t k = 0; k < kGroupWidth; ++k) t[First + g * (kGroupWidth + 1) + k] = 1;
        return t;
    }();
};

// Copies the 60 residues of a line in the layout (First, Bytes) to dst,
// upper-cased, and tells whether the line is clean: its newline at the end,
// a letter in every residue column, a blank or a digit in every other one.
// A letter of either case gives (c | 0x20) in 'a'..'z', and c & 0xDF is its
// upper case. The test runs over every column without branches, so that the
// compiler turns it into vector code.
template <std::size_t First, std::size_t Bytes>
bool clean_residue_line(const unsigned char* p, char* dst) {
    if (p[Bytes - 1] != '\n') return false;
    unsigned char bad = 0;
    for (std::size_t i = 0; i + 1 < Bytes; ++i) {
        const unsigned char c = p[i];
        const unsigned char want_letter = LineColumns<First, Bytes>::residue[i];
        const unsigned char not_letter = static_cast<unsigned char>((c | 0x20) - 'a') >= 26;
        const unsigned char not_dropped = (c != ' ') & (static_cast<unsigned char>(c - '0') >= 10);
        bad |= (not_letter & want_letter) | (not_dropped & (want_letter ^ 1));
    }
    for (std::size_t g = 0; g < kGroups; ++g) {
        // Ten bytes as 8 + 2, upper-cased a word at a time.
        const unsigned char* group = p + First + g * (kGroupWidth + 1);
        std::uint64_t head;
        std::uint16_t tail;
        std::memcpy(&head, group, 8);
        std::memcpy(&tail, group + 8, 2);
        head &= 0xDFDFDFDFDFDFDFDFull;
        tail &= 0xDFDF;
        std::memcpy(dst + g * kGroupWidth, &head, 8);
        std::memcpy(dst + g * kGroupWidth + 8, &tail, 2);
    }
    return bad == 0;
}

template <std::size_t First, std::size_t Bytes>
std::size_t append_clean_lines(std::string& out, std::string_view text) {
    // Residues collect in a small buffer and join `out` a few kB at a time.
    constexpr std::size_t kLinesPerChunk = 64;
    char chunk[kLinesPerChunk * kResiduesPerLine];
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t used = 0, k = 0;
    while (text.size() - used >= Bytes && clean_residue_line<First, Bytes>(p + used, chunk + k)) {
        used += Bytes;
        k += kResiduesPerLine;
        if (k == sizeof chunk) {
            out.append(chunk, k);
            k = 0;
        }
    }
    out.append(chunk, k);
    return used;
}

}  // namespace

std::size_t append_clean_residue_lines(std::string& out, std::string_view text, ResidueLines layout) {
    switch (layout) {
        case ResidueLines::GenBank: return append_clean_lines<10, 76>(out, text);
        case ResidueLines::Embl: return append_clean_lines<5, 81>(out, text);
        case ResidueLines::SwissProt: return append_clean_lines<5, 71>(out, text);
    }
    return 0;
}

void reserve_hint(std::string& text, std::int64_t bytes) {
    if (bytes <= 0) return;
    try {
        text.reserve(static_cast<std::size_t>(std::min(bytes, kMaxReserve)));
    } catch (const std::bad_alloc&) {
        // The text grows as it is filled instead.
    }
}

bool seek_entry(LineReader& in, std::int64_t position) {
    if (in.seek(position)) return true;
    err("File seek error.\n");
    return false;
}

bool find_header(LineReader& in, std::string_view keyword, std::string_view& rest) {
    std::string_view piece;
    while (in.read_piece(piece, LineReader::kPiece)) {
        if (!piece.starts_with(keyword)) continue;
        rest = piece.substr(keyword.size());
        return true;
    }
    return false;
}

std::string_view code_name(std::string_view rest) {
    std::string_view name = split_words(rest, 1)[0];
    if (name.size() > kEntryNameWidth) {
        err("File format is strange. But we continue.\n");
        err("%.*s", static_cast<int>(rest.size()), rest.data());
        name = name.substr(0, kEntryNameWidth);
    }
    return name;
}

void read_entry_body(LineReader& in, SequenceRecord& rec, const EntryBody& body) {
    // A keyword test looks at the first character before comparing the rest:
    // most pieces are residue lines that start with a blank or a digit.
    auto starts = [](std::string_view piece, std::string_view keyword) {
        return !keyword.empty() && !piece.empty() && piece[0] == keyword[0] && piece.starts_with(keyword);
    };
    bool defining = false, sequence = false;
    std::string_view piece;
    for (;;) {
        // A clean sequence line would, as a piece, pass every keyword test
        // (it starts with a blank or a digit) and go to residue collection.
        if (body.fast_lines && sequence && !defining)
            in.skip(append_clean_residue_lines(rec.residues, in.buffered(), *body.fast_lines));
        if (!in.read_piece(piece, LineReader::kPiece)) return;
        if (starts(piece, body.definition)) {
            defining = true;
            piece.remove_prefix(body.definition.size());
        } else if (starts(piece, body.definition_stop)) {
            defining = false;
        } else if (starts(piece, body.sequence)) {
            sequence = true;
            defining = false;
            continue;
        } else if (starts(piece, body.end)) {
            return;
        }
        if (defining)
            collect_definition(rec.definition, piece);
        else if (sequence)
            append_residues(rec.residues, piece);
    }
}

bool add_alignment_entry(Collection& entries, std::string_view name, std::size_t name_width) {
    if (name.size() > name_width) {
        err("Too long ID name.\n");
        return false;
    }
    if (entries.size() == 1 && name == entries[0].name) {
        err("Only one sequence.\n");
        return false;
    }
    entries.emplace_back();
    entries.back().name.assign(name);
    return true;
}

void settle_alignment(Collection& entries, int keep_unclassified) {
    for (SequenceRecord& rec : entries) rec.length = static_cast<long>(rec.residues.size());
    const ResidueKind type = keep_unclassified == 0 ? classify_residues(entries[0]) : ResidueKind::Unknown;
    for (SequenceRecord& rec : entries) rec.type = type;
}

std::vector<std::string_view> split_words(std::string_view text, std::size_t max) {
    std::vector<std::string_view> words(max);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < max; ++i) {
        while (pos < text.size() && is_space(text[pos])) ++pos;
        std::size_t start = pos;
        while (pos < text.size() && !is_space(text[pos])) ++pos;
        words[i] = text.substr(start, pos - start);
    }
    return words;
}

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!is_digit(c)) return false;
    return true;
}

void genbank_format_help() {
    err("File format is strange. Reading might be aborted.\n\n");
    err("GenBank format should be:\n");
    err("LOCUS       IDstring   length bp    type          division    date\n");
    err("This is an example:\n");
    err("LOCUS       APSTCAA       787 bp    DNA             BCT       03-NOV-1993\n\n");
    err("GenBank protein format should be:\n");
    err("LOCUS       AAN75219       436 aa                linear   PLN 02-DEC-2002\n\n");
}

void embl_format_help() {
    err("File format is strange. Reading might be aborted.\n\n");
    err("EMBL format should be:\n");
    err("ID IDstring STANDARD; DNA(RNA); division; length BP\n\n");
    err("Swiss Prot format should be:\n");
    err("ID IDstring STANDARD; PRT; length AA\n\n");
    err("UniProt format should be:\n");
    err("ID IDstring Reviewed; length AA.\n\n");
}

}  // namespace kavro::input_detail
