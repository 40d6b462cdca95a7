// Format detection: the first line that names a format settles it.
#include <optional>
#include <string_view>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/input_source.hpp"

namespace kavro {

namespace {

// Detection looks at no more than this many pieces of the file.
constexpr int kDetectLines = 30;

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The format a line settles, or nothing.
std::optional<SeqFormat> classify_line(std::string_view line) {
    // FASTA, and PIR/NBRF files in the ">P1;" layout (a type code and ";"
    // after the ">"), which every FASTA reader reads by that layout's rules.
    if (line.starts_with(">")) return SeqFormat::Fasta;
    if (contains(line, "Genetic Sequence Data Bank")) return SeqFormat::Genbank;
    if (line.starts_with("LOCUS ")) {
        std::string_view rest = line.substr(6);
        std::string_view type;
        if (contains(rest, " aa "))
            type = "PRT;";
        else if (contains(rest, "DNA"))
            type = "DNA;";
        else if (contains(rest, "RNA"))
            type = "RNA;";
        else if (contains(rest, "PRT"))
            type = "PRT;";
        return type == "PRT;" ? SeqFormat::GenbankProtein : SeqFormat::Genbank;
    }
    if (line.starts_with("CODE ")) return SeqFormat::Nbrf;
    if (line.starts_with("ENTRY ") || contains(line, "P R O T E I N  S E Q U E N C E  D A T A B A S E"))
        return SeqFormat::Pir;
    if (line.starts_with("ID ")) {
        std::string_view rest = line.substr(3);
        if (contains(rest, "DNA") || contains(rest, "RNA")) return SeqFormat::Embl;
        if (contains(rest, "PRT")) return SeqFormat::Swissprot;
        if (contains(rest, "Reviewed") || contains(rest, "Unreviewed")) return SeqFormat::Uniprot;
        err("Unrecognizable data type in EMBL file.\n");
        return SeqFormat::EmblUntyped;
    }
    if (line.starts_with("CLUSTAL")) return SeqFormat::Clustal;
    if (has_no_alnum(line)) return std::nullopt;
    if (looks_like_phylip_header(line)) return SeqFormat::Phylip;
    return std::nullopt;
}

}  // namespace

SeqFormat detect_format(const std::string& path) {
    auto in = open_input(path);
    if (!in) {
        return SeqFormat::Error;
    }
    // Binary data (gzip is decompressed before this) is never read as residues.
    constexpr std::size_t kFirstBlock = 4096;
    if (looks_binary(in->peek().substr(0, kFirstBlock))) {
        err("This is not a text file: %s\n", path.c_str());
        return SeqFormat::Error;
    }
    std::string_view line;
    for (int n = 0; n < kDetectLines; ++n) {
        if (!in->read_piece(line, LineReader::kPiece)) {
            if (!in->finish()) return SeqFormat::Error;
            if (n == 0) {
                err("Empty file.\n");
                return SeqFormat::Error;
            }
            return SeqFormat::Raw;
        }
        if (std::optional<SeqFormat> code = classify_line(line)) return *code;
    }
    return SeqFormat::Raw;
}

// Two counts separated by blanks, optionally followed by the interleave
// mark "I": " 12 345" and "12 345 I" qualify; "12" or "12 345 x" do not.
bool looks_like_phylip_header(std::string_view line) {
    std::size_t end = line.find('\n');
    if (end != std::string_view::npos) line = line.substr(0, end);
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && blank(line[i])) ++i;
    if (i >= n || !is_digit(line[i])) return false;
    while (i < n && is_digit(line[i])) ++i;
    if (i < n && !blank(line[i])) return false;
    while (i < n && blank(line[i])) ++i;
    if (i >= n || !is_digit(line[i])) return false;
    while (i < n && is_digit(line[i])) ++i;
    if (i < n && !blank(line[i])) return false;
    while (i < n && blank(line[i])) ++i;
    if (i >= n) return true;
    return line[i] == 'I';
}

}  // namespace kavro
