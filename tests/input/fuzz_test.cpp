// Deterministic fuzzing of format detection and every reader: seeded random
// bytes, and valid files (inline samples and the real fixtures) mutated by
// flips, cuts, duplications, keyword and long-line insertions. Every input
// must end in a message and a null result or a collection: no crash, no hang,
// and the results keep their invariants (checked by run_reader).
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "input/all_readers.hpp"
#include "input/input_test_util.hpp"

using namespace input_test;

namespace {

constexpr unsigned kSeed = 0x4B415652u;
constexpr int kRandomCases = 600;
constexpr int kMutationsPerSeed = 150;

const char* const kKeywords[] = {
    "LOCUS       ", "DEFINITION  ", "FEATURES ", "ORIGIN\n", "//\n", "///\n", ">", ">x\n", ";c\n", "ID   ",
    "ID   X; SV 1; circular; genomic DNA; STD; PRO; 5 BP.\n", "ID   Y Reviewed; 3 AA.\n", "SQ   ", "AC   ",
    "DE   ", "CLUSTAL W\n\n", "     ", "\n\n", " 3 20 I\n", " 2 11 I\n", "ENTRY   ", "TITLE ", "SEQUENCE\n",
    "CODE  ", "NAME  ", "END\n", " circular ", "=", "\r\n", std::string_view("\0", 1).data(), "12345678901234",
};

std::vector<std::string> seed_inputs() {
    std::vector<std::string> seeds = {
        ">s1 circular\nACGT\n;c\nAC GT\n>s2\nMKV*\n",
        "CLUSTAL W multiple sequence alignment\n\nseqA            AC-GT ACGT 9\nseqB            ACCGT ACGT 9\n"
        "                *  **\n\nseqA            GG\nseqB            GC\n",
        " 2 12 I\nseqA  ACGTAC\nseqB  ACGTAC\n\nACGTAC\nACGTAC\n",
        "CODE  P1\nNAME  a protein\nSEQUENCE\n  1 M K V L\nEND\n",
    };
    // The real fixtures too (tests/fixtures/input).
    const std::string dir = std::string(KAVRO_FIXTURES) + "/input";
    if (DIR* d = opendir(dir.c_str())) {
        std::vector<std::string> names;
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != ".." && n != "SOURCES.md") names.push_back(n);
        }
        closedir(d);
        std::sort(names.begin(), names.end());
        for (const auto& n : names) {
            std::ifstream f(dir + "/" + n, std::ios::binary);
            std::ostringstream s;
            s << f.rdbuf();
            seeds.push_back(s.str());
        }
    }
    return seeds;
}

std::string mutate(std::string text, std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
    const int steps = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < steps; ++i) {
        std::size_t at = pick(text.size() + 1);
        switch (rng() % 8) {
            case 0:  // flip a byte
                if (!text.empty()) text[pick(text.size())] = static_cast<char>(rng() & 0xFF);
                break;
            case 1:  // cut a range
                text.erase(at, pick(200));
                break;
            case 2:  // duplicate a range
                if (at < text.size()) {
                    const std::string copy = text.substr(at, pick(400));
                    text.insert(at, copy);
                }
                break;
            case 3: {  // insert a keyword, at a line start when possible
                std::size_t nl = text.rfind('\n', at);
                std::size_t where = nl == std::string::npos ? 0 : nl + 1;
                std::string kw = kKeywords[pick(std::size(kKeywords))];
                if (kw.empty()) kw.push_back('\0');
                text.insert(where, kw);
                break;
            }
            case 4:  // a long line
                text.insert(at, std::string(500 + pick(1500), "ACGT-\t .\n"[pick(5)]));
                break;
            case 5:  // random bytes
                for (std::size_t n = pick(40); n > 0; --n) text.insert(text.begin() + static_cast<long>(at), static_cast<char>(rng() & 0xFF));
                break;
            case 6:  // truncate
                text.resize(at);
                break;
            default:  // CRLF line ends up to a point
                for (std::size_t p = 0; (p = text.find('\n', p)) != std::string::npos && p < at; p += 2) text.insert(p, 1, '\r');
                break;
        }
    }
    return text;
}

void run_all(const kavro_test::TempDir& dir, const std::string& text) {
    // A new file per case: emptying a freshly written file can wait for the
    // disk, removing it does not.
    static int serial = 0;
    const std::string name = "case" + std::to_string(serial++);
    dir.write(name, text);
    for (Reader r : all_readers()) {
        SCOPED_TRACE(reader_name(r));
        run_reader(r, dir / name);
    }
    unlink((dir / name).c_str());
}

TEST(InputFuzz, RandomBytes) {
    std::mt19937 rng(kSeed);
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    for (int i = 0; i < kRandomCases; ++i) {
        std::string text(rng() % 3000, '\0');
        // Mostly text-like bytes, so that lines and keywords occur.
        for (char& c : text) c = (rng() % 4 == 0) ? static_cast<char>(rng() & 0xFF) : "ACGT >\n /ID;-0123456789"[rng() % 23];
        run_all(dir, text);
        if (HasFailure()) {
            ADD_FAILURE() << "random case " << i;
            return;
        }
    }
}

TEST(InputFuzz, MutatedValidFiles) {
    std::mt19937 rng(kSeed + 1);
    const auto seeds = seed_inputs();
    ASSERT_GT(seeds.size(), 10u);
    kavro_test::TempDir dir;
    kavro_test::CaptureConsole console;
    for (std::size_t s = 0; s < seeds.size(); ++s) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            run_all(dir, mutate(seeds[s], rng));
            if (HasFailure()) {
                ADD_FAILURE() << "seed " << s << " mutation " << i;
                return;
            }
        }
    }
}

}  // namespace
