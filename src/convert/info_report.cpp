// The full report, the one-item reports and their collection forms.
#include "convert/info_report.hpp"

#include "core/report_line.hpp"
#include "core/console.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {


// The definition as the full report shows it: ";" starts a new line, a
// newline becomes ";" (in a definition longer than one character), other
// printable characters stay and everything else is dropped.
void write_definition(Writer& out, const std::string& def, char separator) {
    if (!def.empty() && def[0] != ' ' && def[0] != '\n' && def[0] != '\r') out.put(separator);
    for (char c : def) {
        if (c == ';')
            out.put('\n');
        else if (is_print(c))
            out.put(c);
        else if (c == '\n' && def.size() > 1)
            out.put(';');
    }
}

}  // namespace

// Reports flush after each record so that they keep their order with the
// console messages; a file is flushed when it is closed.
void flush_report(Writer& out) {
    if (out.fd() == 1 || out.fd() == 2) out.flush();
}

namespace {

// "   %c = %6ld, %6.2f %%.\n" with the count and its share of the length.
void write_count_line(Writer& out, char letter, long count, long length) {
    ReportLine line;
    line.text("   ").ch(letter).text(" = ").integer(count, 6).text(", ");
    line.fixed(static_cast<double>(count) * 100.0 / static_cast<double>(length), 6, 2).text(" %.\n");
    line.write_to(out);
}

}  // namespace

int write_record_info(Writer& out, const SequenceRecord* rec, bool with_definition, char separator) {
    if (rec == nullptr) {
        err("Empty sequence.\n");
        return 1;
    }
    out.put('>');
    out.write(rec->name);
    if (with_definition) write_definition(out, rec->definition, separator);
    out.put('\n');
    if (out.failed()) {
        err("Writing error.\n");
        return 2;
    }

    Composition comp;
    zero_composition(comp);
    if (count_seq_composition(rec, comp) != 0) {
        err("Error in calculating residue composition in fwrite_info.\n");
        return 1;
    }
    auto count = [&](char letter) { return comp[static_cast<std::size_t>(composition_slot(letter))]; };

    out.printf("   Data type: %s.\n", type_name(rec->type));
    out.printf("   Sequence length: %ld.\n\n", rec->length);
    if (rec->type == ResidueKind::Dna || rec->type == ResidueKind::Rna) {
        for (char letter : {'A', 'C', 'G'}) write_count_line(out, letter, count(letter), rec->length);
        const char last = rec->type == ResidueKind::Dna ? 'T' : 'U';
        write_count_line(out, last, count(last), rec->length);
    } else {
        for (const AminoAcid& aa : kAminoAcids) write_count_line(out, aa.code, count(aa.code), rec->length);
        out.put('\n');
        out.printf("   Mol. Wt. = %10.2f \n", molecular_weight(rec));
    }
    out.write("\n\n");
    flush_report(out);
    if (out.failed()) {
        err("Writing error.\n");
        return 2;
    }
    return 0;
}

double molecular_weight(const SequenceRecord* rec) {
    if (rec == nullptr || rec->length < 2 || rec->residues.size() < 2) return 0.0;
    double sum = 0.0;
    for (char c : rec->residues) {
        const int row = amino_acid_index(c);
        if (row < 0) return 0.0;
        sum += kAverageMasses[row];
    }
    return sum - static_cast<double>(rec->length - 1) * kAverageWater;
}

int write_info_item(Writer& out, const SequenceRecord* rec, char selector) {
    if (rec == nullptr) {
        err("Empty sequence.\n");
        return 1;
    }
    if (selector == 'l')
        out.printf("%ld\n", rec->length);
    else if (selector == 's')
        out.printf("%s\n", rec->residues.c_str());
    else
        out.printf("%s\n", rec->name.c_str());
    flush_report(out);
    return 0;
}


namespace {


}  // namespace

int write_info_all(const OutputDestination& destination, const Collection& records) {
    return run_collection_report(destination, [&](Writer& out) {
        for (const SequenceRecord& rec : records)
            if (write_record_info(out, &rec, true, '_') != 0) return 1;
        return 0;
    });
}

int write_info_item_all(const OutputDestination& destination, const Collection& records, char selector) {
    return run_collection_report(destination, [&](Writer& out) {
        if (selector == '#') {
            out.printf("%ld\n", static_cast<long>(records.size()));
            return 0;
        }
        for (const SequenceRecord& rec : records)
            if (write_info_item(out, &rec, selector) != 0) return 1;
        return 0;
    });
}

}  // namespace kavro
