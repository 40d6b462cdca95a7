// Exon lists, joins and the cutting of feature sequences.
#include <gtest/gtest.h>

#include "features/feature_sequences.hpp"
#include "features/locations.hpp"
#include "support/feature_entries.hpp"
#include "support/run_kavro.hpp"

using namespace kavro;
using namespace kavro_test;

namespace {

std::string describe(const ExonList& exons) {
    std::string s;
    for (const Exon& e : exons) {
        s += (e.complement ? "c" : "") + e.accession + (e.accession.empty() ? "" : ":") +
             (e.partial_start ? "<" : "") + std::to_string(e.start) + "-" + (e.partial_end ? ">" : "") +
             std::to_string(e.end) + " ";
    }
    return s;
}

SequenceRecord entry_of(const std::string& residues, bool circular, const std::string& accession = "AB1") {
    SequenceRecord e;
    e.name = "ENT";
    e.residues = residues;
    e.length = static_cast<long>(residues.size());
    e.circular = circular ? 1 : 0;
    e.accession = accession;
    return e;
}

SequenceRecord feature_of(const std::string& location_string) {
    SequenceRecord f;
    f.name = "ENT";
    f.definition = "cdsA " + location_string + " product; AC=AB1; ";
    return f;
}

// The residues that cut_feature_sequences leaves for one feature.
std::string cut_one(const SequenceRecord& entry, const std::string& location_string, EndArgument s, EndArgument e,
                    bool split = false) {
    CaptureConsole console;
    Collection features{feature_of(location_string)};
    RemoteSequences remote;
    JoinContext ctx{.seq_import = false, .split_exons = split};
    EXPECT_TRUE(cut_feature_sequences(entry, features, 0, s, e, ctx, remote));
    return features[0].residues;
}

}  // namespace

TEST(Locations, ExonLists) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1 10  20", "10-20 "},
        {"1 complement 10  20", "c10-20 "},
        {"2 join 1  5 <8  >12", "1-5 <8->12 "},
        {"2 complement join 10  20 30  40", "c30-40 c10-20 "},
        {"2 join complement 1  5 X12345.1:8  12", "c1-5 X12345.1:8-12 "},
        {"1 5", ""},                       // a single base has no end
        {"3 order 1  2 4  5 7  8", ""},    // order is not joined
        {"1 join 1  5", ""},               // join of one segment
        {"2 1  5 7  8", ""},               // two segments without join
        {"1 1  99999999999", ""},          // beyond 32 bits
        {"x 1  5", ""},                    // count not digits
    };
    for (const auto& [loc, want] : cases) {
        CaptureConsole console;
        ExonList exons;
        std::string rest;
        const bool ok = parse_exon_list("cdsA " + loc + " some product", exons, &rest);
        EXPECT_EQ(ok ? describe(exons) : "", want) << loc;
        if (ok) {
            EXPECT_EQ(rest, "some product") << loc;
        }
    }
}

TEST(Locations, JoinsAndEnds) {
    const std::string seq = bases(1000);
    const SequenceRecord lin = entry_of(seq, false);
    const std::string cds = span(seq, 101, 400);
    struct Case {
        const char* what;
        std::string location;
        EndArgument s, e;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"whole", "1 101  400", {'S', 0}, {'E', 0}, cds},
        {"complement join", "2 complement join 10  20 30  40", {'S', 0}, {'E', 0},
         revcomp(span(seq, 30, 40)) + revcomp(span(seq, 10, 20))},
        {"upstream fill", "1 101  400", {'S', -150}, {'E', 0}, std::string(50, '-') + span(seq, 1, 400)},
        {"first codon", "1 101  400", {'S', 1}, {'S', 3}, span(seq, 101, 103)},
        {"last codon", "1 101  400", {'E', -2}, {'E', 0}, span(seq, 398, 400)},
        {"downstream on minus", "1 complement 101  400", {'S', 0}, {'E', 20}, revcomp(span(seq, 81, 400))},
        {"downstream fill", "1 951  1000", {'S', 0}, {'E', 5}, span(seq, 951, 1000) + "-----"},
        {"partial end with offset", "1 <101  400", {'S', -5}, {'E', 0}, "*"},
        {"fill beyond reason", "1 101  400", {'S', -2000000000}, {'E', 0}, "*"},
        {"location past the end", "1 990  1200", {'S', 0}, {'E', 0}, span(seq, 990, 1000)},
    };
    for (const Case& c : cases) EXPECT_EQ(cut_one(lin, c.location, c.s, c.e), c.want) << c.what;

    // Circular entries: joins across the origin, and the window they must keep to.
    const std::string big = bases(5000, 3);
    const SequenceRecord circ = entry_of(big, true);
    EXPECT_EQ(cut_one(circ, "2 join 4901  5000 1  60", {'S', 0}, {'E', 0}), span(big, 4901, 5000) + span(big, 1, 60));
    EXPECT_EQ(cut_one(circ, "1 4901  60", {'S', 0}, {'E', 0}), span(big, 4901, 5000) + span(big, 1, 60));
    EXPECT_EQ(cut_one(circ, "1 3000  60", {'S', 0}, {'E', 0}), "*");
    EXPECT_EQ(cut_one(circ, "1 1  60", {'S', -10}, {'E', 0}), span(big, 4991, 5000) + span(big, 1, 60));
    // Split mode separates exons.
    EXPECT_EQ(cut_one(lin, "2 join 1  5 11  15", {'s', 0}, {'e', 0}, true),
              span(seq, 1, 5) + "\nxxxxx\n" + span(seq, 11, 15));
}

TEST(Locations, RemoteExonsAndGenomicSpans) {
    const std::string seq = bases(1000);
    const std::string other = bases(500, 11);
    const std::string file = genbank({.name = "OTHER", .accession = "X00002", .features = {}, .sequence = other});
    LineReader in = LineReader::from_string(file);
    AccessionIndex index;
    index.build(in);
    ASSERT_EQ(index.size(), 1u);
    RemoteSequences remote;
    const SequenceRecord entry = entry_of(seq, false);
    auto cut = [&](bool import, const std::string& loc) {
        CaptureConsole console;
        Collection features{feature_of(loc)};
        JoinContext ctx{.seq_import = import, .remote_input = &in, .index = &index};
        cut_feature_sequences(entry, features, 0, {'S', 0}, {'E', 0}, ctx, remote);
        return features[0].residues;
    };
    const std::string loc = "2 join 1  10 X00002.1:5  9";
    EXPECT_EQ(cut(true, loc), span(seq, 1, 10) + span(other, 5, 9));
    EXPECT_EQ(cut(false, loc), "");  // refused with a message, the feature left as it was
    EXPECT_EQ(cut(true, "2 join 1  10 Z99999:5  9"), "*");  // not in the index

    // addseqg: the stretch from start to end, introns included.
    Collection features{feature_of("2 join 101  200 301  400")};
    JoinContext ctx{.seq_import = false};
    ASSERT_TRUE(extract_genomic_spans(entry, features, 0, {'S', -10}, {'E', 5}, ctx, remote));
    EXPECT_EQ(features[0].residues, span(seq, 91, 405));
    Collection minus{feature_of("1 complement 101  200")};
    ASSERT_TRUE(extract_genomic_spans(entry, minus, 0, {'S', 0}, {'E', 0}, ctx, remote));
    EXPECT_EQ(minus[0].residues, revcomp(span(seq, 101, 200)));
    EXPECT_FALSE(extract_genomic_spans(entry, minus, 0, {'X', 0}, {'E', 0}, ctx, remote));
}
