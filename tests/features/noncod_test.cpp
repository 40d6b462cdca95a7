#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "features/feature_output.hpp"
#include "support/feature_entries.hpp"

namespace {

using testing::HasSubstr;

using namespace kavro_test;
using namespace feature_test;

const std::string kSeq = bases(600);

Entry annotated(std::vector<Feature> features, bool circular = false, std::string sequence = kSeq) {
    Entry e;
    e.name = "NONC";
    e.circular = circular;
    e.sequence = std::move(sequence);
    e.features = std::move(features);
    return e;
}

const Feature kSplitCds = {"CDS", "join(101..200,301..400)", {"/gene=\"abcA\"", "/translation=\"MKV\""}};
const Feature kTrna = {"tRNA", "complement(450..500)", {"/product=\"transfer RNA-Leu\""}};

std::vector<std::string> noncod(const std::string& input, const std::string& flag, std::string* headers = nullptr) {
    std::vector<std::string> args = {"noncod", "in", "out"};
    if (!flag.empty()) args.push_back(flag);
    auto r = run_on(input, args);
    EXPECT_EQ(r.status, 0) << r.err;
    if (headers)
        for (const auto& rec : fasta_records(r.file("out"))) *headers += rec.header + "|";
    return residues_of(r.file("out"));
}

TEST(Noncod, StretchesBetweenFeatures) {
    const std::vector<std::string> masked = {span(kSeq, 1, 100), span(kSeq, 401, 449), span(kSeq, 501, 600)};
    const std::vector<std::string> with_intron = {span(kSeq, 1, 100), span(kSeq, 201, 300), span(kSeq, 401, 449),
                                                  span(kSeq, 501, 600)};
    for (const std::string& input : {genbank(annotated({kSplitCds, kTrna})), embl(annotated({kSplitCds, kTrna}))}) {
        std::string headers;
        EXPECT_EQ(noncod(input, "", &headers), masked);
        EXPECT_EQ(headers, "NONC_NonCoding_1|NONC_NonCoding_2|NONC_NonCoding_3|");
        EXPECT_EQ(noncod(input, "0"), masked);
        EXPECT_EQ(noncod(input, "true"), with_intron);
    }
    // Without CDS the sequence read with the RNA features is used.
    EXPECT_EQ(noncod(genbank(annotated({kTrna})), ""),
              (std::vector<std::string>{span(kSeq, 1, 449), span(kSeq, 501, 600)}));
}

TEST(Noncod, EndsOriginsAndUnclassifiedPieces) {
    // The two end stretches of a circular entry are one stretch across the origin.
    std::string headers;
    EXPECT_EQ(noncod(genbank(annotated({kSplitCds}, true)), "", &headers),
              (std::vector<std::string>{span(kSeq, 401, 600) + span(kSeq, 1, 100)}));
    EXPECT_EQ(headers, "NONC_NonCoding_1|");
    // An exon beyond the end masks what lies inside; one across the origin masks nothing.
    const Feature beyond = {"CDS", "550..700", {"/translation=\"MKV\""}};
    const Feature across = {"CDS", "590..10", {"/translation=\"MKV\""}};
    EXPECT_EQ(noncod(genbank(annotated({kSplitCds, beyond})), ""),
              (std::vector<std::string>{span(kSeq, 1, 100), span(kSeq, 401, 549)}));
    EXPECT_EQ(noncod(genbank(annotated({kSplitCds, across})), ""),
              (std::vector<std::string>{span(kSeq, 1, 100), span(kSeq, 401, 600)}));
    // A stretch the classification does not take as DNA (U alone reads as
    // RNA) is dropped and its number left out.
    const std::string with_ns = kSeq.substr(0, 200) + std::string(100, 'U') + kSeq.substr(300);
    headers.clear();
    EXPECT_EQ(noncod(genbank(annotated({kSplitCds}, false, with_ns)), "1", &headers),
              (std::vector<std::string>{span(kSeq, 1, 100), span(kSeq, 401, 600)}));
    EXPECT_EQ(headers, "NONC_NonCoding_1|NONC_NonCoding_3|");
}

TEST(Noncod, EntriesWithoutFeaturesAndRefusals) {
    // An entry without features of its own contributes nothing, before or
    // after one that has them.
    Entry bare = annotated({});
    bare.name = "BARE";
    auto r = run_on(genbank(bare) + genbank(annotated({kTrna})) + genbank(bare), {"noncod", "in", "out"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\b*\b/")) << r.out;
    std::string headers;
    for (const auto& rec : fasta_records(r.file("out"))) headers += rec.header + "|";
    EXPECT_EQ(headers, "NONC_NonCoding_1|NONC_NonCoding_2|");
    EXPECT_THAT(r.out, HasSubstr("Reading file: in.\n"));
    EXPECT_TRUE(r.out.ends_with("Terminated.\n" + sjis("完了.\n")));
    for (auto args : {std::vector<std::string>{"noncod", "-h"}, {"noncod", "in"}, {"noncod", "a", "b", "c", "d"}}) {
        auto usage = run_on("", args);
        EXPECT_EQ(usage.status, 1);
        EXPECT_THAT(usage.out, HasSubstr(sjis("使い方: noncod infile outfile flag.\n")));
    }
    auto same = run_on(genbank(annotated({kTrna})), {"noncod", "in", "in"});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.file("in"), genbank(annotated({kTrna})));
    auto fasta = run_on(">x\nACGT\n", {"noncod", "in", "out"});
    EXPECT_EQ(fasta.status, 1);
    EXPECT_THAT(fasta.err, HasSubstr("This is not a GenBank or EMBL file.\n"));
}

}  // namespace
