#include "motif/motif_search.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/console.hpp"
#include "motif/motif_stats.hpp"

namespace kavro {

namespace {

constexpr double kLevelAllowance = 1e-7;

const std::string kReportRule(60, '*');
const std::string kSequenceRule(37, '*');

bool level_in_range(double b) { return !(b > 1.0 || b < 0.5); }

void write_sequence_header(Writer& w, const SequenceRecord& rec, const MotifScanner& scanner, ResidueKind file_type) {
    w.printf("  Sequence name: %s.   ", rec.name.c_str());
    w.printf("    Length  : %ld. ", rec.length);
    if (rec.circular) w.write("circular");
    w.printf("    Data type: %s.\n", type_name(file_type));
    w.printf("  Key motif    : %s.", scanner.motif().c_str());
    if (file_type == ResidueKind::Dna) w.printf("  Complementary: %s.", scanner.complement().c_str());
    w.write("\n");
}

}  // namespace

std::vector<double> search_levels(double chosen) {
    // The steps stop at 0: a level below it (however far below) would only
    // add levels that are refused, without end for a huge negative one.
    std::vector<double> levels;
    for (double b = 1.0; b >= chosen - kLevelAllowance && b > -kLevelAllowance; b -= 0.1) levels.push_back(b);
    return levels;
}

CircularExtension::CircularExtension(SequenceRecord& rec, std::size_t extra)
    : rec_(rec), own_size_(rec.residues.size()) {
    added_ = std::min(extra, own_size_);
    if (added_ == 0) return;
    const std::string head = rec.residues.substr(0, added_);
    rec.residues += head;
}

CircularExtension::~CircularExtension() { rec_.residues.resize(own_size_); }

std::int64_t search_sequence_sites(Writer& w, SequenceRecord* rec, ResidueKind kind, const MotifScanner& scanner,
                                   const MotifSearchRequest& req, ResidueKind file_type) {
    const std::size_t n = scanner.motif().size();
    if (rec == nullptr) {
        err("Sequence is empty.\n");
        return -1;
    }
    if (n < kMinMotifLength) {
        err("Motif too short.\n");
        return -1;
    }
    if (n > kMaxMotifLength) {
        err("Motif too long.\n");
        return -1;
    }
    if (kind != file_type) {
        err("Data types seems mixed. Stop processing...\n");
        return -1;
    }
    const bool detailed = req.mode == SitesMode::Detailed;
    if (detailed) write_sequence_header(w, *rec, scanner, file_type);

    std::optional<CircularExtension> wrap;
    if (rec->circular) {
        out("\tcircular genome: %s.\n", rec->name.c_str());
        wrap.emplace(*rec, n - 1);
    }
    const std::string_view text = rec->residues;
    const std::vector<double> levels = search_levels(req.level);
    std::int64_t last_count = 0;
    for (std::size_t li = 0; li < levels.size(); ++li) {
        const double b = levels[li];
        const bool last = li + 1 == levels.size();
        if (detailed) w.printf("\nMatching level= %4.2f\n", b);
        last_count = 0;
        if (text.empty()) {
            err("Sequence lengh zero.\n");
            continue;
        }
        if (!level_in_range(b)) {
            err("Precision should be between 0.5 and 1.0.\n");
            continue;
        }
        const int needed = agreements_needed(b, n);
        if (detailed) {
            long running = 0;
            last_count = scanner.scan(text, needed, [&](const MotifHit& hit) {
                w.printf(hit.complementary ? "%7ld position=%8ld,  %.*s complementary\n" : "%7ld position=%8ld,  %.*s\n",
                         ++running, static_cast<long>(hit.start + 1), static_cast<int>(n), text.data() + hit.start);
            });
        } else if (last) {
            last_count = scanner.count(text, needed);
        }
    }
    return last_count + 1;
}

std::int64_t total_composition(const Collection& seqs, Composition& comp) {
    zero_composition(comp);
    std::int64_t total = 0;
    for (const SequenceRecord& rec : seqs) {
        total += rec.length;
        if (count_seq_composition(&rec, comp) != 0) err("Error in counting bases.\nBut we continue.\n");
    }
    return total;
}

int run_motif_search(Writer& w, Collection& seqs, ResidueKind file_type, const MotifSearchRequest& req) {
    const MotifScanner scanner(file_type, req.motif);
    const bool table = req.mode == SitesMode::Table;
    std::int64_t matches = 0;
    // Each sequence is counted just before its search, and its kind taken
    // from the counts, so that its residues are read from memory once; the
    // messages about sequences that cannot be counted follow the search as
    // they would after a separate pass.
    Composition comp;
    zero_composition(comp);
    std::int64_t total = 0;
    int uncounted = 0;
    for (std::size_t i = 0; i < seqs.size(); ++i) {
        if (req.mode == SitesMode::Detailed && i > 0) w.printf("%s\n", kSequenceRule.c_str());
        Composition own;
        zero_composition(own);
        const bool counted = count_seq_composition(&seqs[i], own) == 0;
        const ResidueKind kind = counted ? classify_composition(own) : classify_residues(seqs[i]);
        const std::int64_t found = search_sequence_sites(w, &seqs[i], kind, scanner, req, file_type);
        if (found < 0) {
            err("Error in writing motif sites in file: %s\n", req.output_name.c_str());
            return 1;
        }
        matches += found - 1;
        total += seqs[i].length;
        if (!counted) ++uncounted;
        for (std::size_t k = 0; k < own.size(); ++k) comp[k] += own[k];
    }
    for (int i = 0; i < uncounted; ++i) err("Error in counting bases.\nBut we continue.\n");
    // With no residues at all the frequency is 0, not 0 / 0.
    const double frequency = total > 0 ? static_cast<double>(matches) / static_cast<double>(total) : 0.0;
    if (table) {
        w.printf("%ld\t", static_cast<long>(total));
        w.printf("%ld\t", static_cast<long>(matches));
        w.printf("%10.7f\t", frequency);
    } else {
        w.write("\n");
        w.write("----- Summary of motif search -----\n");
        w.printf("  Total length of sequence: %ld.\n", static_cast<long>(total));
        w.printf("  Number of match:          %ld.\n", static_cast<long>(matches));
        w.printf("    Frequency:              %10.7f.\n", frequency);
        w.write("\n");
    }
    write_composition(w, comp, total, file_type, table ? CompositionForm::Table : CompositionForm::Summary);
    if (!table) w.write("\n");
    const double expected = expected_motif_frequency(req.motif, file_type, comp, total);
    if (expected >= 0) {
        if (table)
            w.printf("%10.7f", expected);
        else
            w.printf("    Estimated frequency:    %10.7f.\n", expected);
    }
    write_probability(w, expected, total, matches, table);
    w.write("\n");
    if (!table) w.printf("%s\n", kReportRule.c_str());
    return 0;
}

}  // namespace kavro
