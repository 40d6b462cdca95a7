// sites searches a FASTA file record by record; its report and both console
// streams must be those of the collection route (the whole file read, its
// records cleared, then searched), which CLUSTAL and raw files still take.
#include <gtest/gtest.h>

#include "core/conversions.hpp"
#include "core/program_exit.hpp"
#include "input/formats.hpp"
#include "motif/motif_search.hpp"
#include "motif_support.hpp"
#include "shell/commands.hpp"
#include "support/records.hpp"

namespace {

using kavro_test::TempDir;

struct Outcome {
    int status = -1;
    std::string out, err, file;
};

// sites in.fa out.txt MODE MOTIF LEVEL in this process.
Outcome streamed(const TempDir& dir, const std::string& mode, const std::string& motif, const std::string& level) {
    kavro::CommandLine words;
    const std::string args[] = {"sites", dir / "in.fa", dir / "out.txt", mode, motif, level};
    for (int i = 0; i < 6; ++i) words.set(i, args[i]);
    Outcome o;
    {
        kavro_test::CaptureConsole console;
        try {
            o.status = kavro::cmd_sites(6, words);
        } catch (const kavro::ProgramExit& e) {
            o.status = e.status;
        }
        o.out = console.out();
        o.err = console.err();
    }
    o.file = dir.read("out.txt");
    return o;
}

// The collection route's search of in.fa, the report's head left out.
Outcome collected(const TempDir& dir, const std::string& mode, const std::string& motif, double level) {
    Outcome o;
    {
        kavro_test::CaptureConsole console;
        std::optional<kavro::Collection> seqs = kavro::read_multi_fasta(dir / "in.fa", kavro::ResidueKind::Unknown);
        EXPECT_TRUE(seqs && kavro::clear_gaps_all(*seqs) == 0);
        const kavro::ResidueKind type = seqs->empty() ? kavro::ResidueKind::Unknown : kavro::classify_residues(seqs->front());
        const kavro::SitesMode m = mode == "1" ? kavro::SitesMode::Detailed
                                   : mode == "2" ? kavro::SitesMode::Table
                                                 : kavro::SitesMode::Summary;
        auto w = kavro::Writer::open_truncate(dir / "ref.txt");
        o.status = kavro::run_motif_search(*w, *seqs, type, {dir / "in.fa", dir / "out.txt", motif, m, level});
        EXPECT_TRUE(w->close());
        o.out = console.out();
        o.err = console.err();
    }
    o.file = dir.read("ref.txt");
    return o;
}

std::string report_head(const TempDir& dir, const std::string& mode, const std::string& motif) {
    if (mode == "2") return dir / "in.fa" + "\t" + motif + "\t";
    const std::string rule(60, '*');
    return rule + "\nSearch matching\n\n  Input file: " + dir / "in.fa" + ".\n  Target motif: " + motif + ".\n" + rule + "\n\n";
}

// 250 records (progress dots), empty ones, gaps and lower case, circular
// ones, long lines; `tail` ends the file.
std::string many_records(const std::string& tail) {
    std::string fa = "text before the first header\n";
    for (int i = 0; i < 250; ++i) {
        fa += ">r" + std::to_string(i) + (i % 37 == 5 ? " circular plasmid\n" : " record\n");
        if (i % 41 == 3) continue;  // no residues
        std::string s = motif_test::random_letters(static_cast<std::size_t>(40 + (i * 97) % 900), "ACGTacgtN-", static_cast<unsigned>(i));
        for (std::size_t at = 0; at < s.size(); at += i % 3 == 0 ? 700 : 60) fa += s.substr(at, i % 3 == 0 ? 700 : 60) + "\n";
    }
    return fa + tail;
}

TEST(SitesStream, SameReportAndMessagesAsTheCollectionRoute) {
    struct Case {
        std::string label, fasta;
    };
    const Case inputs[] = {
        {"dna", many_records("")},
        {"protein after dna", many_records(">p protein\nMKLVWQERTYIPSDFHKLMNPQRS\n")},
        {"no residues", ">a\n>b\n"},
    };
    struct Search {
        std::string mode, motif, level;
    };
    const Search searches[] = {{"0", "GAATTC", "0.99"}, {"1", "RGATCY", "0.99"}, {"2", "GATTACAG", "0.7"},
                               {"1", "ACGTACG", "0.4"}};
    for (const Case& input : inputs) {
        for (const Search& s : searches) {
            TempDir dir;
            dir.write("in.fa", input.fasta);
            const std::string label = input.label + " " + s.mode + " " + s.motif + " " + s.level;
            const Outcome got = streamed(dir, s.mode, s.motif, s.level);
            const Outcome want = collected(dir, s.mode, s.motif, std::stod(s.level));
            EXPECT_EQ(got.status, want.status) << label;
            EXPECT_EQ(got.file, report_head(dir, s.mode, s.motif) + want.file) << label;
            EXPECT_EQ(got.out, "Reading sequence...\nmode: " + s.mode + ".\nThis is a FASTA file.\n" + want.out +
                                   (want.status == 0 ? "\nTerminated.\n" : ""))
                << label;
            EXPECT_EQ(got.err, want.err) << label;
        }
    }
}

}  // namespace
