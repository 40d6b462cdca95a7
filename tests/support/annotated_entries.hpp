#pragma once
// Builders of annotated GenBank and EMBL entries and multi-FASTA files for
// the tests of the feature commands.

#include <string>
#include <vector>

namespace kavro_test {

struct Feature {
    std::string key;       // "CDS", "tRNA", ...
    std::string location;  // "join(1..10,20..30)"; long ones are wrapped
    std::vector<std::string> qualifiers;  // "/gene=\"abcA\"", "/pseudo"
};

struct Entry {
    std::string name = "ENT1";
    std::string accession = "X00001";
    std::string organism = "Escherichia coli";
    std::string definition = "Test entry.";
    std::string bases;  // lower case
    bool circular = false;
    std::vector<Feature> features;
    std::string extra_accessions;  // appended to the ACCESSION / AC line
};

// A reproducible nucleotide sequence in lower case.
inline std::string test_bases(std::size_t n, unsigned seed = 7) {
    std::string s;
    unsigned x = seed;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s += "acgt"[(x >> 16) & 3];
    }
    return s;
}

// Wraps a location or qualifier at 58 characters behind the given margin.
inline std::string wrapped(const std::string& margin, const std::string& first, const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 58)
        out += (i == 0 ? first : margin) + text.substr(i, 58) + "\n";
    return out;
}

inline std::string genbank_entry(const Entry& e) {
    std::string t = "LOCUS       " + e.name + "    " + std::to_string(e.bases.size()) + " bp    DNA     " +
                    (e.circular ? "circular" : "linear  ") + "  BCT 01-JAN-2000\n";
    t += "DEFINITION  " + e.definition + "\n";
    t += "ACCESSION   " + e.accession + (e.extra_accessions.empty() ? "" : " " + e.extra_accessions) + "\n";
    t += "SOURCE      " + e.organism + "\n  ORGANISM  " + e.organism + "\n            Bacteria.\n";
    t += "FEATURES             Location/Qualifiers\n";
    t += "     source          1.." + std::to_string(e.bases.size()) + "\n";
    const std::string margin(21, ' ');
    for (const Feature& f : e.features) {
        std::string key = "     " + f.key;
        key.resize(21, ' ');
        t += wrapped(margin, key, f.location);
        for (const auto& q : f.qualifiers) t += wrapped(margin, margin, q);
    }
    t += "ORIGIN\n";
    for (std::size_t i = 0; i < e.bases.size(); i += 60) {
        std::string n = std::to_string(i + 1);
        t += std::string(9 - std::min<std::size_t>(9, n.size()), ' ') + n;
        for (std::size_t j = i; j < i + 60 && j < e.bases.size(); j += 10) t += " " + e.bases.substr(j, 10);
        t += "\n";
    }
    return t + "//\n";
}

inline std::string embl_entry(const Entry& e) {
    std::string t = "ID   " + e.name + "; SV 1; " + (e.circular ? "circular" : "linear") + "; genomic DNA; STD; PRO; " +
                    std::to_string(e.bases.size()) + " BP.\nXX\n";
    t += "AC   " + e.accession + ";" + (e.extra_accessions.empty() ? "" : " " + e.extra_accessions + ";") + "\nXX\n";
    t += "DE   " + e.definition + "\nXX\nOS   " + e.organism + "\nOC   Bacteria.\nXX\n";
    t += "FH   Key             Location/Qualifiers\nFH\n";
    t += "FT   source          1.." + std::to_string(e.bases.size()) + "\n";
    const std::string margin = "FT" + std::string(19, ' ');
    for (const Feature& f : e.features) {
        std::string key = "FT   " + f.key;
        key.resize(21, ' ');
        t += wrapped(margin, key, f.location);
        for (const auto& q : f.qualifiers) t += wrapped(margin, margin, q);
    }
    t += "XX\nSQ   Sequence " + std::to_string(e.bases.size()) + " BP;\n";
    for (std::size_t i = 0; i < e.bases.size(); i += 60) {
        std::string line = "    ";
        for (std::size_t j = i; j < i + 60 && j < e.bases.size(); j += 10) line += " " + e.bases.substr(j, 10);
        line.resize(72, ' ');
        t += line + std::to_string(std::min(e.bases.size(), i + 60)) + "\n";
    }
    return t + "//\n";
}

inline std::string joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const auto& p : parts) all += p;
    return all;
}

// Entries named prefix1..prefixN with short distinct residues.
inline std::string numbered_fasta(int n, const std::string& prefix = "seq") {
    std::string t;
    for (int i = 1; i <= n; ++i)
        t += ">" + prefix + std::to_string(i) + " entry " + std::to_string(i) + "\n" + test_bases(20, i) + "\n";
    return t;
}

}  // namespace kavro_test
