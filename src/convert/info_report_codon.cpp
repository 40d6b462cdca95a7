// Codon-usage reports: the table of one record and the summary over many.
#include <vector>

#include "convert/info_report.hpp"
#include "core/report_line.hpp"
#include "core/console.hpp"
#include "translate/codon_table.hpp"

namespace kavro {

namespace {

// count * 100 / whole, or 0 when there is nothing to divide by.
double percent(long count, long whole) {
    return whole > 0 ? static_cast<double>(count) * 100.0 / static_cast<double>(whole) : 0.0;
}

bool is_console(const Writer* out) { return out == nullptr || out->fd() == 1; }

// "%c  %s = %6ld, %6.2f %%" (the line's end is the caller's).
ReportLine& codon_line(ReportLine& line, char aa, const std::string& codon, long count, double share) {
    return line.ch(aa).text("  ").text(codon).text(" = ").integer(count, 6).text(", ").fixed(share, 6, 2).text(" %");
}

}  // namespace

int count_codons(const SequenceRecord& rec, CodonCounts& counts) {
    counts.fill(0);
    const long usable = std::min<long>(rec.length, static_cast<long>(rec.residues.size()));
    const char* p = rec.residues.data();
    // Non-codons all land in slots past the 64 codons, then are dropped.
    std::array<long, kLargestCodonSum + 1> sums{};
    for (long pos = 0; pos < usable - 2; pos += 3) ++sums[codon_sum(p + pos)];
    for (int i = 0; i < kCodonCount; ++i) counts[static_cast<std::size_t>(i)] = sums[static_cast<std::size_t>(i)];
    return 0;
}

int write_record_codon_usage(Writer* out, const SequenceRecord* rec, std::string_view table, CodonCounts* counts,
                             MessageSink messages) {
    if (rec == nullptr) {
        messages("Empty sequence.\n");
        return 1;
    }
    if (counts == nullptr) {
        messages("Empty code_count in fwrite_info3.\n");
        return 1;
    }
    if (rec->type != ResidueKind::Dna) {
        messages("Sequence should be DNA in fwrite_info3.\n");
        return 1;
    }
    if (count_codons(*rec, *counts) != 0) {
        messages("Error in calculating codon_usage in fwrite_info3.\n");
        return 1;
    }
    if (is_console(out)) return 0;

    const long codons = rec->length / 3;
    out->printf("%s: %ld nt\n\n", rec->name.c_str(), rec->length);
    std::string codon = "   ";
    ReportLine line;
    for (int i = 0; i < kCodonCount; ++i) {
        if (get_codon(i, &codon) != 0) {
            messages("Error in getting codon in fwrite_info3.\n");
            return 1;
        }
        const char aa = static_cast<std::size_t>(i) < table.size() ? table[static_cast<std::size_t>(i)] : '?';
        const long n = (*counts)[static_cast<std::size_t>(i)];
        codon_line(line, aa, codon, n, percent(n, codons)).text(".\n");
    }
    line.write_to(*out);
    out->put('\n');
    flush_report(*out);
    return 0;
}

int write_codon_usage_all(Writer* out, const Collection& records, std::string_view table) {
    CodonCounts each{}, totals{};
    long codon_total = 0;
    for (const SequenceRecord& rec : records) {
        if (write_record_codon_usage(out, &rec, table, &each) != 0) {
            err("Error in getting code_count in Mfwrite_info3.\n");
            return 1;
        }
        for (int i = 0; i < kCodonCount; ++i) totals[static_cast<std::size_t>(i)] += each[static_cast<std::size_t>(i)];
        each.fill(0);
        codon_total += rec.length / 3;
    }
    Writer& summary = out ? *out : std_out();
    if (write_codon_summary(summary, table, totals, codon_total, static_cast<long>(records.size())) != 0) {
        err("Trouble in writing codon summary in Mfwrite_info3.\n");
        return 1;
    }
    return 0;
}

int write_codon_summary(Writer& out, std::string_view table, const CodonCounts& totals, long codon_total,
                        long sequences) {
    auto letter = [&](int i) { return static_cast<std::size_t>(i) < table.size() ? table[static_cast<std::size_t>(i)] : '?'; };
    // Relative usage: each codon's share among the codons of its amino acid.
    std::vector<double> relative(65, 0.0);
    for (const char* a = kSummaryAminoOrder; *a; ++a) {
        long sum = 0;
        for (int i = 0; i < kCodonCount; ++i)
            if (letter(i) == *a) sum += totals[static_cast<std::size_t>(i)];
        for (int i = 0; i < kCodonCount; ++i)
            if (letter(i) == *a) relative[static_cast<std::size_t>(i)] = percent(totals[static_cast<std::size_t>(i)], sum);
    }

    static constexpr char kRule[] = "*****************************************\n";
    out.write(kRule);
    out.printf("Total codon usage\n  %ld codons in %ld sequences.\n\n", codon_total, sequences);
    ReportLine line;
    for (int i = 0; i < kCodonCount; ++i) {
        const long n = totals[static_cast<std::size_t>(i)];
        codon_line(line, letter(i), codon_text(i), n, percent(n, codon_total)).text(".\n");
        if (i % 4 == 3 && i != kCodonCount - 1) line.ch('\n');
    }
    line.write_to(out);
    out.write(kRule);
    out.put('\n');
    flush_report(out);

    out.write(kRule);
    out.printf("Total codon usage sorted by amino acids\n  %ld codons in %ld sequences.\n\n", codon_total, sequences);
    for (const char* a = kSummaryAminoOrder; *a; ++a) {
        for (int i = 0; i < kCodonCount; ++i) {
            if (letter(i) != *a) continue;
            const long n = totals[static_cast<std::size_t>(i)];
            codon_line(line, *a, codon_text(i), n, percent(n, codon_total));
            line.text(", ").fixed(relative[static_cast<std::size_t>(i)], 6, 2).text(" %.\n");
        }
        if (*a != 'U' && *a != 'X' && *a != 'Y') line.ch('\n');
    }
    line.write_to(out);
    out.write(kRule);
    flush_report(out);
    return out.failed() ? 1 : 0;
}

int write_codon_info_all(const OutputDestination& destination, const Collection& records, const std::string& table_name) {
    if (table_name.empty()) {
        err("No valid codon_file.\n");
        return 1;
    }
    const std::optional<CodonTable> table = select_codon_table(table_name);
    if (!table) return kUnknownCodonTable;
    return run_collection_report(destination, [&](Writer& out) { return write_codon_usage_all(&out, records, *table); });
}

}  // namespace kavro
