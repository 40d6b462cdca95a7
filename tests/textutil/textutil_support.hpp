#pragma once
// Small helpers shared by the text-utility tests.

#include <string>

#include "support/feature_entries.hpp"
#include "support/run_kavro.hpp"

namespace textutil_test {

inline const std::string kDone = kavro_test::sjis("完了.\n");
inline const std::string kFailed = kavro_test::sjis("終了します..\n");


inline std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// A reproducible nucleotide sequence in lower case.
inline std::string make_bases(std::size_t n) {
    std::string s;
    unsigned x = 7;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s += "acgt"[(x >> 16) & 3];
    }
    return s;
}

// A GenBank entry with numbered ORIGIN lines of six groups of ten.
inline std::string genbank(const std::string& name, const std::string& bases, bool circular) {
    return kavro_test::genbank({.name = name,
                                .circular = circular,
                                .accession = "",
                                .organism = "",
                                .sequence = bases,
                                .definition = "A synthetic test molecule whose definition is longer than fifty\n"
                                              "            characters.",
                                .feature_table = false});
}

struct Fasta {
    std::string header;
    std::string residues;
};

// The single entry of a FASTA text: its header line and its residues joined.
inline Fasta parse_fasta(const std::string& text) {
    Fasta f;
    std::size_t nl = text.find('\n');
    f.header = text.substr(0, nl);
    for (std::size_t i = nl + 1; i < text.size(); ++i)
        if (text[i] != '\n') f.residues += text[i];
    return f;
}

}  // namespace textutil_test
