// toprot: translates the first entry of a nucleotide file and writes it in
// the form a switch chooses:
//   1   frame 1 as one FASTA record
//   6   the six frames as FASTA records (the default)
//   c   the six frames laid under the sequence and its complement
//   n   the three frames laid under the sequence
//   p   the presentation form of a gene; the exon file name follows the p
//   a   the table of open reading frames; s  the ORFs as protein records
//       (a minimum length, "max" or a "long" form may follow the letter)

#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/file_identity.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/exon_header.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "output/presentation_form.hpp"
#include "ui/command_line.hpp"
#include "ui/exon_dialog.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"
#include "translate/composite_listing.hpp"
#include "translate/orf_search.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

struct ToprotOptions {
    std::string input = "infile";
    std::string output = "outfile";
    std::string form = "6";  // the switch word
    std::string table = "default";
};

bool valid_switch(const std::string& s) {
    if (s == "1" || s == "6" || s == "c" || s == "n") return true;
    return !s.empty() && (s[0] == 'p' || s[0] == 'a' || s[0] == 's');
}

// The dialog: input, output, switch and codon table. 0 to go on, 1 to stop.
int ask_options(ToprotOptions& opt) {
    if (ask_argument(opt.input, "入力ファイル名") != 1) return 1;
    opt.output = opt.input + ".out";
    if (ask_argument(opt.output, "出力ファイル名") != 1) return 1;
    out("Switch --  1, 6, n, c, p, a, or s\n");
    std::string word;
    if (!stdin_reader().read_word(word, kWordWidth)) return 1;
    opt.form = word;
    if (!valid_switch(opt.form)) {
        err("Switch should be either 1, 6, c, n, p, a or s.\n");
        return 1;
    }
    const int answer = ask_argument(opt.table, "コドン表ファイル名");
    if (answer == 0) end_program(1);
    if (answer != 1) {
        err("Error in file name input.\n");
        return 1;
    }
    return 0;
}

// The first entry of the input, a nucleotide sequence without gaps; any
// failure ends the program.
SequenceRecord read_nucleotides(const std::string& path) {
    const SeqFormat format = detect_format(path);
    if (format == SeqFormat::Error) {
        err("Unknown file format.\n");
        end_program(1);
    }
    out("Reading sequence...\n");
    std::optional<SequenceRecord> rec = read_sequence(path, format, ResidueKind::Unknown, g_settings.form);
    if (!rec) {
        err("Error in reading file: %s\n", path.c_str());
        end_program(1);
    }
    // The FASTA and raw readers have classified their entry already.
    if (format != SeqFormat::Fasta && format != SeqFormat::Raw) rec->type = classify_residues(*rec);
    out("Data type is %s\n", type_name(rec->type));
    if (rec->type != ResidueKind::Dna && rec->type != ResidueKind::Rna) {
        err("This is not a DNA sequence: %s\n", path.c_str());
        end_program(1);
    }
    if (clear_gaps(*rec) != 0) {
        err("Error in clearing gaps in file: %s\n", rec->name.c_str());
        end_program(1);
    }
    out("Gaps were cleared.\n");
    return std::move(*rec);
}

// The codon table a run names; a name that is neither a built-in table nor a
// usable table file ends the run after select_codon_table's message.
CodonTable codon_table_or_end(const std::string& name) {
    std::optional<CodonTable> table = select_codon_table(name);
    if (!table) end_program(1);
    return std::move(*table);
}

[[noreturn]] void fail_write() {
    err("Unable to write file.\n");
    end_program(1);
}

// The codon table of a translation run, and whether the sequence can be
// complemented for the minus frames; nothing after the messages the
// complement would give.
std::optional<CodonTable> table_for_six_frames(const SequenceRecord& rec, const std::string& table_name) {
    CodonTable table = codon_table_or_end(table_name);
    const ResidueKind type = classify_residues(rec);
    if (type != ResidueKind::Dna && type != ResidueKind::Rna) {
        err("This is not a nucleic acid sequence: %s.\n", rec.name.c_str());
        err("Error in converting to complementary sequence.\n");
        return std::nullopt;
    }
    return table;
}

// Creates the output file empty; standard output needs no creating.
int open_output(const std::string& path) {
    if (OutputTarget::names_stdout(path) || OutputTarget::create_empty(path)) return 0;
    err("Error in opening output file.\n");
    return 1;
}

// Frame `frame` of rec (already reverse-complemented for a minus frame),
// named NAME_ptn or NAME_C_ptn, with the definition "Frame F.".
SequenceRecord translate_one_frame(const SequenceRecord& rec, int frame, const CodonTable& table) {
    auto protein = translate_record_with(rec, frame > 0 ? frame : -frame, table, kProteinSuffix);
    if (!protein) end_program(1);  // a whole codon table and frame 1-3 always translate
    protein->definition = "Frame " + std::to_string(frame) + ".";
    return std::move(*protein);
}

// The six frames as FASTA records, written one at a time: frames 1-3 from
// the sequence, then frames -1 to -3 from it reverse-complemented in place,
// so that only the sequence and one frame are held.
int write_six_frames(const ToprotOptions& opt, SequenceRecord& rec, const CodonTable& table) {
    if (open_output(opt.output) != 0) return 1;
    const bool to_stdout = OutputTarget::names_stdout(opt.output);
    std::optional<OutputTarget> target;
    if (!to_stdout) {
        target = OutputTarget::open_to(opt.output, OutputTarget::Mode::Append);
        if (!target) {
            err("Cannot open file: %s\n\n", opt.output.c_str());
            fail_write();
        }
    }
    Writer& w = to_stdout ? std_out() : target->writer();
    bool failed = false;
    for (int frame : {1, 2, 3, -1, -2, -3}) {
        if (frame == -1 && complement_seq(rec) != 0) end_program(1);  // checked before
        SequenceRecord protein = translate_one_frame(rec, frame, table);
        // A frame without a whole codon is left out; a failed entry says so,
        // and a failed output stops the run.
        if (protein.residues.empty()) continue;
        if (write_fasta_entry(w, protein, true, '_', g_settings.line_length) != 0) {
            failed = true;
            if (w.failed()) break;
        }
    }
    if (to_stdout) {
        if (failed || !std_out().flush()) fail_write();
        return 0;
    }
    const bool reported = w.failed();
    if (!target->close()) {
        if (!reported) err("Writing error.\n");
        err("Trouble in writing file: %s\n", opt.output.c_str());
        fail_write();
    }
    if (failed) fail_write();
    return 0;
}

int write_frames(const ToprotOptions& opt, SequenceRecord& rec) {
    const std::optional<CodonTable> table = table_for_six_frames(rec, opt.table);
    if (!table) return 1;
    if (opt.form == "6") {
        // Tiny sequences keep the all-at-once route: their translations
        // carry messages that come before any about the output.
        if (rec.residues.size() >= 3) return write_six_frames(opt, rec, *table);
        Collection frames;
        SequenceRecord reverse = copy_record(rec);
        if (complement_seq(reverse) != 0) end_program(1);  // checked before
        for (int frame : {1, 2, 3, -1, -2, -3}) frames.push_back(translate_one_frame(frame > 0 ? rec : reverse, frame, *table));
        if (open_output(opt.output) != 0) return 1;
        if (OutputTarget::names_stdout(opt.output)) {
            if (write_fasta_batch(std_out(), frames, 0, 0, g_settings.line_length) != 0 || !std_out().flush()) fail_write();
        } else if (write_fasta_all(opt.output, frames, g_settings.line_length) != 0) {
            fail_write();
        }
        return 0;
    }
    const int listed = write_composite(opt.output, rec, *table, opt.table, opt.form == "n", g_settings.line_length);
    if (listed == kNotNucleicAcid) end_program(1);
    if (listed != 0) fail_write();
    return 0;
}

int write_frame_one(const ToprotOptions& opt, const SequenceRecord& rec) {
    auto protein = translate_record_with(rec, 1, codon_table_or_end(opt.table), kProteinSuffix);
    if (!protein) {
        err("Error of translation in frame 1 of sequence: %s.\n", rec.name.c_str());
        return 1;
    }
    protein->definition = "Frame 1. ";
    if (open_output(opt.output) != 0) return 1;
    if (OutputTarget::names_stdout(opt.output)) {
        if (write_fasta_entry(std_out(), *protein, false, ' ', g_settings.line_length) != 0 || !std_out().flush()) fail_write();
        return 0;
    }
    // The writer marks the written file with a backspace and "w".
    if (write_fasta_file(opt.output, &*protein, false, ' ', g_settings.line_length) != 0) fail_write();
    return 0;
}

int write_presentation(const ToprotOptions& opt, SequenceRecord& rec) {
    if (open_output(opt.output) != 0) return 1;
    const ExonTranslator translate = [&](const SequenceRecord& joined) -> std::optional<std::string> {
        auto protein = translate_record_with(joined, 1, codon_table_or_end(opt.table), kProteinSuffix);
        if (!protein) return std::nullopt;
        return std::move(protein->residues);
    };
    // The header and its exons come first; a failure on the way reads as a
    // failed write of the form.
    const auto refused = [&](const char* why) {
        err("%s", why);
        err("Trouble in writing pretty sequence: %s\n", opt.output.c_str());
        err("Unable to write file.\n");
        return 1;
    };
    if (make_header(rec, opt.form.substr(1), stdin_reader()) != 0) return refused("Unable to make header in fwrite_pretty.\n");
    const auto exons = parse_exon_header(rec.definition, static_cast<long>(rec.residues.size()));
    if (!exons) return refused("\nError in extracting exons.\nUnable to extract exons in fwrite_pretty.\n");
    if (write_presentation_file(opt.output, rec, *exons, opt.table, translate, g_settings.line_length) != 0) {
        err("Unable to write file.\n");
        return 1;
    }
    return 0;
}

int write_orfs(const ToprotOptions& opt, const SequenceRecord& rec) {
    const std::int64_t minimum = parse_orf_minimum(opt.form.substr(1));
    const CodonTable table = codon_table_or_end(opt.table);
    OrfSearch search = orf_search_for(minimum);
    if (add_orfs(rec, opt.table, table, true, search) != 0) {
        err("Unable to add orf infos to multiorf.\n");
        return 1;
    }
    SequenceRecord reverse = copy_record(rec);
    if (complement_seq(reverse) != 0) {
        err("Error in making complementary.\n");
        return 1;
    }
    if (add_orfs(reverse, opt.table, table, false, search) != 0) {
        err("Unable to add orf infos to multiorf.\n");
        return 1;
    }
    reverse = SequenceRecord();
    if (opt.form[0] == 'a') {
        if (write_orf_table(opt.output, rec, std::move(search.orfs), minimum) != 0) {
            err("Unable to print orf infos in multiorf.\n");
            return 1;
        }
    } else if (write_orf_sequences(opt.output, rec, std::move(search.orfs), minimum, table, g_settings.line_length) != 0) {
        err("Unable to print orf seq.\n");
        return 1;
    }
    return 0;
}

// True (after the message) when the output, emptied before the files are
// read, is a file toprot reads: the input, the exon file of "p", or a
// codon-table file (a built-in table's name is no file).
bool output_replaces_an_input(const ToprotOptions& opt) {
    if (OutputTarget::names_stdout(opt.output)) return false;
    if (output_is_input(opt.input, opt.output)) return true;
    if (opt.form[0] == 'p' && opt.form.size() > 1 && output_is_input(opt.form.substr(1), opt.output)) return true;
    return same_file(opt.table, opt.output) && output_is_input(opt.table, opt.output);
}

}  // namespace

int cmd_toprot(int count, CommandLine& words) {
    ToprotOptions opt;
    if (count == 1) {
        if (ask_options(opt) != 0) return 1;
    } else if (count >= 3 && count <= 5) {
        opt.input = words[1];
        opt.output = words[2];
        if (count >= 4) opt.form = words[3];
        if (count == 5) opt.table = words[4];
        if (!valid_switch(opt.form)) {
            err("Switch should be either 1, 6, c, n, p, a or s.\n");
            return 1;
        }
    } else {
        show_help("toprot");
        return 1;
    }

    if (output_replaces_an_input(opt)) return 1;

    SequenceRecord rec = read_nucleotides(opt.input);
    int status = 0;
    switch (opt.form[0]) {
        case '1': status = write_frame_one(opt, rec); break;
        case 'p': status = write_presentation(opt, rec); break;
        case 'a':
        case 's': status = write_orfs(opt, rec); break;
        default: status = write_frames(opt, rec); break;
    }
    if (status != 0) return status;
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
