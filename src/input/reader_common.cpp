#include "input/reader_common.hpp"

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
