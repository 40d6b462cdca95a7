#pragma once
// Builders shared by the motif tests.

#include <map>
#include <string>
#include <vector>

#include "support/run_kavro.hpp"

namespace motif_test {

// A reproducible text of letters drawn from `alphabet`.
inline std::string random_letters(std::size_t n, const std::string& alphabet, unsigned seed) {
    std::string s;
    s.reserve(n);
    unsigned x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s += alphabet[(x >> 16) % alphabet.size()];
    }
    return s;
}

inline bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

// Runs "sites" with the given words on one input file named in.fa (or the
// name given), standard input and environment.
inline kavro_test::Result sites(std::vector<std::string> words, const std::string& content,
                                const std::string& input = "", std::map<std::string, std::string> env = {},
                                const std::string& name = "in.fa") {
    words.insert(words.begin(), "sites");
    return kavro_test::run({.args = words, .input = input, .env = env, .files = {{name, content}}});
}

}  // namespace motif_test
