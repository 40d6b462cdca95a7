#pragma once
// Builders of GenBank and EMBL entries, with or without feature tables: the
// one GenBank text builder of the tests (readers, feature reader, locations,
// feature commands, text utilities).
//
//   std::string gb = genbank({.name = "ECO", .accession = "U00096",
//                             .features = {{"CDS", "10..21", {"/gene=\"abcA\""}}},
//                             .sequence = bases(60)});

#include <optional>
#include <string>
#include <vector>

namespace kavro_test {

struct Feature {
    std::string key;
    std::string location;                 // as written, wrapped at column 80
    std::vector<std::string> qualifiers;  // "/gene=\"x\"", one line each
};

struct Entry {
    std::string name = "TESTSEQ";
    bool circular = false;
    std::string accession = "AB000001";
    std::string organism = "Escherichia coli";
    std::vector<Feature> features;
    std::string sequence;  // bases, written lower case in the sequence block
    bool end_line = true;
    // GenBank only: the LOCUS line after "LOCUS       " (made from the name,
    // length and form when empty), the DEFINITION text with its continuation
    // lines ("Test entry NAME." when empty), whether a FEATURES table is
    // written, and ORIGIN lines as they stand instead of the numbered sequence.
    std::string locus;
    std::string definition;
    bool feature_table = true;
    std::optional<std::string> origin;
};

// A reproducible sequence of n bases (no runs of one letter).
inline std::string bases(std::size_t n, unsigned seed = 7) {
    std::string s(n, 'A');
    unsigned x = seed;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = "ACGT"[(x >> 16) & 3];
    }
    return s;
}

inline std::string lower(std::string s) {
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// The location wrapped after commas so that no line passes column 79.
inline std::vector<std::string> wrap_location(const std::string& loc) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < loc.size(); ++i) {
        cur.push_back(loc[i]);
        if (loc[i] == ',' && cur.size() > 40) {
            lines.push_back(cur);
            cur.clear();
        }
    }
    lines.push_back(cur);
    return lines;
}

inline std::string genbank(const Entry& e) {
    std::string s = "LOCUS       ";
    if (e.locus.empty())
        s += e.name + "    " + std::to_string(e.sequence.size()) + " bp    DNA     " +
             (e.circular ? "circular" : "linear  ") + " BCT 01-JAN-2000\n";
    else
        s += e.locus + "\n";
    s += "DEFINITION  " + (e.definition.empty() ? "Test entry " + e.name + "." : e.definition) + "\n";
    if (!e.accession.empty()) s += "ACCESSION   " + e.accession + "\n";
    if (!e.organism.empty()) s += "SOURCE      " + e.organism + "\n  ORGANISM  " + e.organism + "\n            Bacteria.\n";
    if (e.feature_table) {
        s += "FEATURES             Location/Qualifiers\n";
        s += "     source          1.." + std::to_string(e.sequence.size()) + "\n";
    }
    for (const Feature& f : e.features) {
        auto lines = wrap_location(f.location);
        std::string key = f.key;
        key.resize(16, ' ');
        s += "     " + key + lines[0] + "\n";
        for (std::size_t i = 1; i < lines.size(); ++i) s += std::string(21, ' ') + lines[i] + "\n";
        for (const std::string& q : f.qualifiers) s += std::string(21, ' ') + q + "\n";
    }
    s += "ORIGIN\n";
    if (e.origin) return s + *e.origin + (e.end_line ? "//\n" : "");
    const std::string seq = lower(e.sequence);
    for (std::size_t i = 0; i < seq.size(); i += 60) {
        std::string num = std::to_string(i + 1);
        s += std::string(9 - num.size(), ' ') + num;
        for (std::size_t j = i; j < std::min(i + 60, seq.size()); j += 10) s += " " + seq.substr(j, 10);
        s += "\n";
    }
    if (e.end_line) s += "//\n";
    return s;
}

inline std::string embl(const Entry& e) {
    std::string s = "ID   " + e.name + "; SV 1; " + (e.circular ? "circular" : "linear") +
                    "; genomic DNA; STD; PRO; " + std::to_string(e.sequence.size()) + " BP.\nXX\n";
    if (!e.accession.empty()) s += "AC   " + e.accession + ";\nXX\n";
    if (!e.organism.empty()) s += "OS   " + e.organism + "\nOC   Bacteria.\nXX\n";
    s += "FH   Key             Location/Qualifiers\nFH\n";
    s += "FT   source          1.." + std::to_string(e.sequence.size()) + "\n";
    for (const Feature& f : e.features) {
        auto lines = wrap_location(f.location);
        std::string key = f.key;
        key.resize(16, ' ');
        s += "FT   " + key + lines[0] + "\n";
        for (std::size_t i = 1; i < lines.size(); ++i) s += "FT" + std::string(19, ' ') + lines[i] + "\n";
        for (const std::string& q : f.qualifiers) s += "FT" + std::string(19, ' ') + q + "\n";
    }
    s += "XX\nSQ   Sequence " + std::to_string(e.sequence.size()) + " BP;\n";
    const std::string seq = lower(e.sequence);
    for (std::size_t i = 0; i < seq.size(); i += 60) {
        std::string line = "    ";
        for (std::size_t j = i; j < std::min(i + 60, seq.size()); j += 10) line += " " + seq.substr(j, 10);
        line.resize(72, ' ');
        std::string num = std::to_string(std::min(i + 60, seq.size()));
        s += line + std::string(10 - num.size(), ' ') + num + "\n";
    }
    if (e.end_line) s += "//\n";
    return s;
}


// Reverse complement of upper-case bases.
inline std::string revcomp(const std::string& s) {
    std::string r(s.rbegin(), s.rend());
    for (auto& c : r) c = c == 'A' ? 'T' : c == 'T' ? 'A' : c == 'C' ? 'G' : c == 'G' ? 'C' : c;
    return r;
}

// Bases from..to (1-based, inclusive) of s.
inline std::string span(const std::string& s, std::size_t from, std::size_t to) {
    return s.substr(from - 1, to - from + 1);
}

}  // namespace kavro_test
