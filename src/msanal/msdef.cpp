// The definition file of the peptide-mass search, its reader and its echo.
//
// After an optional run of "#" comments, the first line is the title. Each
// later line is "value<TAB>key"; the first key of kKeys that the line
// contains decides what its value sets. "Number of peaks" is followed by one
// line per observed m/z value; "//END" ends the parameters.
#include <algorithm>
#include <cstdlib>
#include <new>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/line_reader.hpp"
#include "msanal/msanal.hpp"

namespace kavro {

namespace {

constexpr int kPeakRoomGuess = 1024;  // peaks reserved up front at most

enum class Key { Nterm, Cterm, Carboxy, Oxidation, Lower, Upper, Allowance, Displacement, Output,
                 MinCoverage2, MinMatch, Fragments, Peaks, End, None };

struct KeyName {
    std::string_view text;
    Key key;
};

constexpr KeyName kKeys[] = {
    {"Nterm", Key::Nterm},
    {"Cterm", Key::Cterm},
    {"Carboxymethylation", Key::Carboxy},
    {"Methionine oxidation", Key::Oxidation},
    {"Lower", Key::Lower},
    {"Upper", Key::Upper},
    {"Allowance", Key::Allowance},
    {"Displacement", Key::Displacement},
    {"Output", Key::Output},
    {"MinCoverage2", Key::MinCoverage2},
    {"MinMatch", Key::MinMatch},
    {"Number of fragments", Key::Fragments},
    {"Number of peaks", Key::Peaks},
    {"//END", Key::End},
};

Key key_of(std::string_view line) {
    for (const KeyName& k : kKeys)
        if (line.find(k.text) != std::string_view::npos) return k.key;
    return Key::None;
}

// A number at the start of the line, as scanf's "%lf" would read it.
bool leading_double(const std::string& line, double& value) {
    const char* begin = line.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) return false;
    value = v;
    return true;
}

bool leading_int(const std::string& line, int& value) {
    const char* begin = line.c_str();
    char* end = nullptr;
    const long v = std::strtol(begin, &end, 10);
    if (end == begin) return false;
    value = static_cast<int>(v);
    return true;
}

std::string first_word(std::string_view line) {
    std::size_t b = 0;
    while (b < line.size() && is_space(line[b])) ++b;
    std::size_t e = b;
    while (e < line.size() && !is_space(line[e])) ++e;
    return std::string(line.substr(b, e - b));
}

}  // namespace

std::string MsDefinition::residue_set(const std::string& word) {
    const std::size_t zero = word.find('0');
    return zero == std::string::npos ? word : word.substr(0, zero);
}

std::optional<MsDefinition> read_msdef(const std::string& path) {
    auto in = open_input(path);
    if (!in) {
        return std::nullopt;
    }
    MsDefinition def;
    bool have_title = false;
    long peaks_expected = 0;
    std::string_view piece;
    std::string line;
    while (in->read_piece(piece, kMsdefPiece)) {
        if (piece.empty() || piece[0] == '#' || piece == "\n") continue;
        line.assign(piece);
        if (static_cast<long>(def.observed.size()) < peaks_expected) {
            // Peak lines: the first number of each. A line without one (the
            // "m/z" heading of an echo) is passed over; "//END" ends early
            // and the peaks that did not come are left out.
            if (line.find("//END") != std::string::npos) break;
            double value;
            if (leading_double(line, value)) {
                try {
                    def.observed.push_back(value);
                } catch (const std::bad_alloc&) {
                    err("Memory allocation error in MSanal.\n");
                    return std::nullopt;
                }
            }
            continue;
        }
        if (!have_title) {
            std::string_view t = piece;
            if (!t.empty() && t.back() == '\n') t.remove_suffix(1);
            def.title.assign(t.substr(0, kTitleWidth));
            have_title = true;
            continue;
        }
        const Key key = key_of(line);
        if (key == Key::End) break;
        switch (key) {
            case Key::Nterm: def.nterm = first_word(line); break;
            case Key::Cterm: def.cterm = first_word(line); break;
            case Key::Carboxy: def.carboxymethylation = line[0] == '1'; break;
            case Key::Oxidation: def.met_oxidation = line[0] == '1'; break;
            case Key::Lower: leading_double(line, def.lower); break;
            case Key::Upper: leading_double(line, def.upper); break;
            case Key::Allowance: leading_double(line, def.allowance); break;
            case Key::Displacement: leading_double(line, def.displacement); break;
            case Key::Output: leading_int(line, def.output); break;
            case Key::MinCoverage2: leading_double(line, def.min_coverage2); break;
            case Key::MinMatch: leading_int(line, def.min_match); break;
            case Key::Fragments: leading_int(line, def.fragments); break;
            case Key::Peaks: {
                int n = 0;
                if (!leading_int(line, n) || n < 0) n = 0;
                peaks_expected = n;
                // The count is only a promise: room grows with the lines
                // that do come, so a wild count costs nothing.
                def.observed.clear();
                def.observed.reserve(static_cast<std::size_t>(std::min(n, kPeakRoomGuess)));
                break;
            }
            default: break;
        }
    }
    if (!in->finish()) return std::nullopt;
    return def;
}

void write_msdef_echo(Writer& out, const MsDefinition& def) {
    out.printf("%s\n", def.title.c_str());
    out.printf("%s\tNterm\n", def.nterm.c_str());
    out.printf("%s\tCterm\n", def.cterm.c_str());
    out.printf("%s\tCarboxymethylation\n", def.carboxymethylation ? "1" : "0");
    out.printf("%s\tMethionine oxidation\n", def.met_oxidation ? "1" : "0");
    out.printf("%9.4f\tLower limit\n", def.lower);
    out.printf("%9.4f\tUpper limit\n", def.upper);
    out.printf("%9.4f\tAllowance\n", def.allowance);
    out.printf("%9.4f\tDisplacement\n", def.displacement);
    out.printf("%d\tOutput (0: selected, 1: all)\n", def.output);
    out.printf("%9.4f\tMinCoverage2\n", def.min_coverage2);
    out.printf("%d\tMinMatch (minimum number of completely matched peaks)\n", def.min_match);
    out.printf("%d\tNumber of fragments\n", def.fragments);
    out.printf("%d\tNumber of peaks\n", static_cast<int>(def.observed.size()));
    out.write("m/z (obs)\tm/z (corr)\n");
    for (double peak : def.observed) out.printf("%9.4f\t%9.4f\n", peak, peak + -kProtonMass);
    out.write("//END of msdef file\n\n");
}

}  // namespace kavro
