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
                                   const MotifSearchRequest& req, ResidueKind file_type, HeldText& messages) {
    const std::size_t n = scanner.motif().size();
    if (rec == nullptr) {
        messages.error("Sequence is empty.\n");
        return -1;
    }
    if (n < kMinMotifLength) {
        messages.error("Motif too short.\n");
        return -1;
    }
    if (n > kMaxMotifLength) {
        messages.error("Motif too long.\n");
        return -1;
    }
    if (kind != file_type) {
        messages.error("Data types seems mixed. Stop processing...\n");
        return -1;
    }
    const bool detailed = req.mode == SitesMode::Detailed;
    if (detailed) write_sequence_header(w, *rec, scanner, file_type);

    std::optional<CircularExtension> wrap;
    if (rec->circular) {
        messages.side("\tcircular genome: " + rec->name + ".\n");
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
            messages.error("Sequence lengh zero.\n");
            continue;
        }
        if (!level_in_range(b)) {
            messages.error("Precision should be between 0.5 and 1.0.\n");
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

MotifSearch::MotifSearch(Writer& w, const MotifSearchRequest& req, std::optional<ResidueKind> file_type)
    : w_(w), req_(req), file_type_(file_type) {
    zero_composition(comp_);
    if (file_type_) scanner_.emplace(*file_type_, req_.motif);
}

void MotifSearch::take(SequenceRecord& rec) {
    if (failed_) return;
    if (!file_type_) {
        file_type_ = classify_residues(rec);
        scanner_.emplace(*file_type_, req_.motif);
    }
    if (req_.mode == SitesMode::Detailed && searched_ > 0) w_.printf("%s\n", kSequenceRule.c_str());
    ++searched_;
    // The sequence is counted just before its search, and its kind taken
    // from the counts, so that its residues are read from memory once; the
    // messages about sequences that cannot be counted follow the search as
    // they would after a separate pass.
    Composition own;
    zero_composition(own);
    const bool counted = count_seq_composition(&rec, own) == 0;
    const ResidueKind kind = counted ? classify_composition(own) : classify_residues(rec);
    const std::int64_t found = search_sequence_sites(w_, &rec, kind, *scanner_, req_, *file_type_, messages_);
    if (found < 0) {
        failed_ = true;
        return;
    }
    matches_ += found - 1;
    total_ += rec.length;
    if (!counted) ++uncounted_;
    for (std::size_t k = 0; k < own.size(); ++k) comp_[k] += own[k];
}

int MotifSearch::finish() {
    messages_.print();
    if (failed_) {
        err("Error in writing motif sites in file: %s\n", req_.output_name.c_str());
        return 1;
    }
    const ResidueKind file_type = file_type_.value_or(ResidueKind::Unknown);
    const bool table = req_.mode == SitesMode::Table;
    for (int i = 0; i < uncounted_; ++i) err("Error in counting bases.\nBut we continue.\n");
    // With no residues at all the frequency is 0, not 0 / 0.
    const double frequency = total_ > 0 ? static_cast<double>(matches_) / static_cast<double>(total_) : 0.0;
    if (table) {
        w_.printf("%ld\t", static_cast<long>(total_));
        w_.printf("%ld\t", static_cast<long>(matches_));
        w_.printf("%10.7f\t", frequency);
    } else {
        w_.write("\n");
        w_.write("----- Summary of motif search -----\n");
        w_.printf("  Total length of sequence: %ld.\n", static_cast<long>(total_));
        w_.printf("  Number of match:          %ld.\n", static_cast<long>(matches_));
        w_.printf("    Frequency:              %10.7f.\n", frequency);
        w_.write("\n");
    }
    write_composition(w_, comp_, total_, file_type, table ? CompositionForm::Table : CompositionForm::Summary);
    if (!table) w_.write("\n");
    const double expected = expected_motif_frequency(req_.motif, file_type, comp_, total_);
    if (expected >= 0) {
        if (table)
            w_.printf("%10.7f", expected);
        else
            w_.printf("    Estimated frequency:    %10.7f.\n", expected);
    }
    write_probability(w_, expected, total_, matches_, table);
    w_.write("\n");
    if (!table) w_.printf("%s\n", kReportRule.c_str());
    return 0;
}

int run_motif_search(Writer& w, Collection& seqs, ResidueKind file_type, const MotifSearchRequest& req) {
    MotifSearch search(w, req, file_type);
    for (SequenceRecord& rec : seqs) search.take(rec);
    return search.finish();
}

}  // namespace kavro
