#include "input/reader_common.hpp"

#include <cstdint>
#include <cstring>

#include "core/console.hpp"
#include "core/text_ops.hpp"

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
    // POSIX classes: control is 0x00-0x1F and 0x7F; bytes above 0x7F belong
    // to no class and are kept like any other character.
    return !(c < 0x20 || c == 0x7F || c == ' ' || (c >= '0' && c <= '9'));
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

// True when every byte of text is printable and not a space.
bool all_graphic(const char* s, std::size_t n) {
    std::uint64_t bad = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s + i, 8);
        bad |= any_below(w, 0x21) | any_above(w, 0x7E);
    }
    for (; i < n; ++i) bad |= !is_graph(s[i]);
    return bad == 0;
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

void append_graphic(std::string& out, std::string_view text) {
    // A clean FASTA line (graphic characters and its newline) goes in whole.
    std::size_t body = text.size();
    if (body > 0 && text[body - 1] == '\n') --body;
    if (all_graphic(text.data(), body)) {
        out.append(text.data(), body);
        return;
    }
    append_mapped(out, text, graphic_table());
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

long digits_value(std::string_view digits) {
    constexpr long kMax = 2147483647;
    long v = 0;
    for (char c : digits) {
        if (!is_digit(c)) break;
        v = v > kMax / 10 ? kMax : v * 10 + (c - '0');
    }
    return v > kMax ? kMax : v;
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
