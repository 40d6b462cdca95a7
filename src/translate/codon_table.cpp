// Codon indexes, the built-in genetic codes and codon-table files.
#include "translate/codon_table.hpp"

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/line_reader.hpp"

namespace kavro {

namespace {

struct NamedTable {
    std::string_view name;
    std::string_view table;
};

constexpr std::string_view kStandard = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG";
constexpr std::string_view kVertebrateMito = "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSS**GGGG";
constexpr std::string_view kYeastMito = "FFLLTTTTIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG";
constexpr std::string_view kMoldMito = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSRRGGGG";
constexpr std::string_view kInvertebrateMito = "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSSSGGGG";
constexpr std::string_view kCiliate = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYYQQHHQQNNKKDDEECC*WRRRRSSRRGGGG";
constexpr std::string_view kEchinodermMito = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNNKDDEECCWWRRRRSSSSGGGG";
constexpr std::string_view kEuplotid = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCCWRRRRSSRRGGGG";
constexpr std::string_view kAltYeast = "FFLLLLLSIIIMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECC*WRRRRSSRRGGGG";
constexpr std::string_view kAscidianMito = "FFLLLLLLIIMMVVVVSSSSPPPPTTTTAAAAYY**HHQQNNKKDDEECCWWRRRRSSGGGGGG";
constexpr std::string_view kFlatwormMito = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYYY*HHQQNNNKDDEECCWWRRRRSSSSGGGG";
constexpr std::string_view kBlepharisma = "FFLLLLLLIIIMVVVVSSSSPPPPTTTTAAAAYY*QHHQQNNKKDDEECC*WRRRRSSRRGGGG";
// Our own codes: a C in the first or second position read as U (code201),
// except that a CC codon has only its second C changed; code200 changes
// only the first C of a CC codon instead.
constexpr std::string_view kCode200 = "FFLLFFLLIIIMVVVVFFLLSSSSIIIMVVVVYY**YY**NNKKDDEECC*WCC*WSSRRGGGG";
constexpr std::string_view kCode201 = "FFLLFFLLIIIMVVVVFFLLLLLLIIIMVVVVYY**YY**NNKKDDEECC*WCC*WSSRRGGGG";

constexpr NamedTable kBuiltins[] = {
    {"default", kStandard},         {"mt", kMoldMito},          {"mito", kMoldMito},
    {"code1", kStandard},           {"code2", kVertebrateMito}, {"code3", kYeastMito},
    {"code4", kMoldMito},           {"code5", kInvertebrateMito}, {"code6", kCiliate},
    {"code9", kEchinodermMito},     {"code10", kEuplotid},      {"code11", kStandard},
    {"code12", kAltYeast},          {"code13", kAscidianMito},  {"code14", kFlatwormMito},
    {"code15", kBlepharisma},       {"code200", kCode200},      {"code201", kCode201},
};

}  // namespace

int codon_usage(std::string_view codon) {
    if (codon.size() != 3) {
        err("Error in codon_usage\n");
        return kNotACodon;
    }
    return codon_index(codon.data());
}

int get_codon(int index, std::string* text) {
    if (text == nullptr || text->size() < 3) {
        err("Null string in get_codon\n");
        return 1;
    }
    if (index < 0 || index >= kCodonCount) {
        err("Error in get_codon\n");
        return 1;
    }
    (*text)[0] = kBaseOrder[(index / 4) % 4];
    (*text)[1] = kBaseOrder[index / 16];
    (*text)[2] = kBaseOrder[index % 4];
    return 0;
}

std::string codon_text(int index) {
    if (index < 0 || index >= kCodonCount) return "???";
    return {kBaseOrder[(index / 4) % 4], kBaseOrder[index / 16], kBaseOrder[index % 4]};
}

char translate_codon(std::string_view codon, std::string_view table) {
    if (table.size() != static_cast<std::size_t>(kCodonCount)) {
        err("Error in codon table.\n");
        return kUnknownResidue;
    }
    const int index = codon_usage(codon);
    return index == kNotACodon ? kUnknownResidue : table[static_cast<std::size_t>(index)];
}

std::optional<CodonTable> builtin_codon_table(std::string_view name) {
    for (const NamedTable& t : kBuiltins)
        if (t.name == name) return CodonTable(t.table);
    return std::nullopt;
}

std::optional<CodonTable> select_codon_table(const std::string& name) {
    if (auto table = builtin_codon_table(name)) return table;
    if (auto table = read_codon_table_file(name)) return table;
    err("Codon table file: %s is not found.\n", name.c_str());
    return std::nullopt;
}

std::optional<CodonTable> read_codon_table_file(const std::string& path) {
    auto in = LineReader::open(path);
    if (!in) {
        err("Cannot open codon table file: %s\n\n", path.c_str());
        return std::nullopt;
    }
    CodonTable table;
    table.reserve(kCodonCount);
    std::string_view piece;
    // Each piece (a line, or a part of a line longer than the piece size)
    // whose first character is a letter or "*" gives one table entry.
    while (table.size() < static_cast<std::size_t>(kCodonCount) && in->read_piece(piece, kCodonFilePiece)) {
        const char c = piece.empty() ? '\0' : piece[0];
        if (is_alpha(c) || c == '*') table.push_back(c);
    }
    if (!in->finish()) return std::nullopt;
    if (table.size() < static_cast<std::size_t>(kCodonCount)) {
        err("The codon table is in an unknown format.\n");
        return std::nullopt;
    }
    return table;
}

}  // namespace kavro
