#include "features/introns.hpp"

#include <string>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "features/locations.hpp"

namespace kavro {

namespace {

// The cut of one intron on the plus strand, a1..z1, and the bases missing
// beyond the ends of a linear entry.
struct IntronCut {
    long a1 = 0, z1 = 0;
    long before = 0, after = 0;  // extension into the flanks (U and V)
    long front_fill = 0, back_fill = 0;
};

// Exon k and k+1 flank the intron; p is the number of bases from the last
// base of exon k to the first base of exon k+1, both counted.
IntronCut plan_cut(const Exon& x, const Exon& y, long p, long length, bool circular, EndArgument start,
                   EndArgument end) {
    IntronCut c;
    const bool plus = x.plus();
    // Room for extensions outside the intron in a linear entry.
    const long room_before = plus ? x.end : length - x.start + 1;
    const long room_after = plus ? length - y.start + 1 : y.end;
    const long n = start.offset, m = end.offset;
    if (start.reference == 'S') {
        c.before = -n;
        if (n < 0 && room_before < -n && !circular) {
            c.front_fill = -n - room_before;
            c.before = room_before;
        }
        (plus ? c.a1 : c.z1) = plus ? x.end - c.before + 1 : x.start + c.before - 1;
    } else {
        c.before = -n;
        if (n + p <= 0) {
            c.front_fill = 1 - p - n;
            c.before = p - 1;
        }
        (plus ? c.a1 : c.z1) = plus ? y.start - c.before - 1 : y.end + c.before + 1;
    }
    if (end.reference == 'E') {
        c.after = m;
        if (m > 0 && room_after < m && !circular) {
            c.back_fill = m - room_after;
            c.after = room_after;
        }
        (plus ? c.z1 : c.a1) = plus ? y.start + c.after - 1 : y.end - c.after + 1;
    } else {
        c.after = m;
        if (p < m) {
            c.back_fill = m - p;
            c.after = p - 1;
        }
        (plus ? c.z1 : c.a1) = plus ? x.end + c.after + 1 : x.start - c.after - 1;
    }
    return c;
}

}  // namespace

IntronResult extract_introns(const SequenceRecord& entry, const SequenceRecord& feature, EndArgument start,
                             EndArgument end, Collection& introns) {
    introns.clear();
    if (feature.name != entry.name) return IntronResult::PassedOver;
    const DefinitionParts parts = split_definition(feature.definition);
    const std::string feature_name(parts.feature_name);
    if (parts.count_word.empty() || has_non_digit(parts.count_word)) {
        err("\nError in making exon list. Skipping %s %s.\n", entry.name.c_str(), feature_name.c_str());
        return IntronResult::PassedOver;
    }
    if (parts.count_word == "1") return IntronResult::PassedOver;
    const std::string accession = definition_accession(feature.definition);
    const auto skipping = [&] { err("Skipping %s %s.\n", entry.name.c_str(), feature_name.c_str()); };

    ExonList exons;
    if (!parse_exon_list(feature.definition, exons, nullptr) || exons.size() < 2) {
        err("\nError in making exon list. Skipping %s %s.\n", entry.name.c_str(), feature_name.c_str());
        return IntronResult::PassedOver;
    }
    for (const Exon* x : {&exons.front(), &exons.back()}) {
        if (is_remote(x->accession, accession)) {
            err("\nSequence import from another file: %s.", x->accession.c_str());
            skipping();
            return IntronResult::PassedOver;
        }
    }
    if (exons_out_of_order(exons)) {
        err("\nThis CDS might be trans-spliced.\n");
        skipping();
        return IntronResult::PassedOver;
    }

    const bool circular = entry.circular != 0;
    const bool plus = exons.front().plus();
    introns.reserve(exons.size() - 1);
    for (std::size_t k = 0; k + 1 < exons.size(); ++k) {
        const Exon& x = exons[k];
        const Exon& y = exons[k + 1];
        const long p = plus ? y.start - x.end + 1 : x.start - y.end + 1;
        SequenceRecord intron = new_placeholder_seq();
        bool made = false;
        IntronCut c;
        const long number = static_cast<long>(k);
        if (p <= 0) {
            out("Intron length is negative or zero. Skipping %s %s intron %ld.\n", accession.c_str(),
                feature_name.c_str(), number);
        } else {
            c = plan_cut(x, y, p, entry.length, circular, start, end);
            if (c.a1 >= c.z1) {
                out("k=%ld, a1=%ld, z1=%ld. Skipping %s %s intron %ld.\n", number, c.a1, c.z1, accession.c_str(),
                    feature_name.c_str(), number);
            } else if (auto piece = extract_seq(entry, c.a1, c.z1)) {
                intron = std::move(*piece);
                made = true;
                if (!plus && complement_seq(intron) != 0) {
                    err("Error in converting to complementary in %s %s intron %ld.\n", entry.name.c_str(),
                        feature_name.c_str(), number);
                    introns.push_back(std::move(intron));
                    continue;
                }
            } else {
                err("Error in extracting sequence %s %s intron %ld.\n", entry.name.c_str(), feature_name.c_str(),
                    number);
            }
        }
        intron.name = entry.name;
        intron.accession = entry.accession;
        intron.definition = feature_name + "_intron_" + std::to_string(k + 1);
        if (made) {
            const long whole = static_cast<long>(intron.residues.size());
            if (whole < 0 || whole - c.before - c.after < 0) {
                err("Error of chopping sides in ext_introns.\n");
                intron.residues = "*";
            } else if (!circular && c.front_fill + c.back_fill > kFillFactor * entry.length + kFillMargin) {
                // No real request asks for more fill than this.
                err("Fill beyond the entry is too long in %s %s intron %ld.\n", entry.name.c_str(),
                    feature_name.c_str(), number);
                intron.residues = "*";
            } else if (!circular && (c.front_fill > 0 || c.back_fill > 0)) {
                intron.residues = repeat_char(c.front_fill, '-') + intron.residues + repeat_char(c.back_fill, '-');
            }
            intron.length = static_cast<long>(intron.residues.size());
        }
        introns.push_back(std::move(intron));
    }
    return IntronResult::Made;
}

}  // namespace kavro
