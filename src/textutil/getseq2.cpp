// getseq2: cuts the stretch start..end out of the first entry of a file and
// writes it as FASTA, optionally as the complementary strand. On a circular
// molecule a stretch may run across the origin (start > end).

#include <algorithm>
#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// Definitions are cut to this many characters before the extraction note.
constexpr std::size_t kDefinitionWidth = 50;


bool read_console_word(std::string& word) { return stdin_reader().read_word(word, kWordWidth); }

// "c" or "comp" chooses the complementary strand; any other answer "n".
std::optional<std::string> ask_strand() {
    std::string word;
    if (!read_console_word(word)) return std::nullopt;
    return (word == "c" || word == "comp") ? "c" : "n";
}

[[noreturn]] void fail_extraction() {
    err("Error in extracting sequence.\n");
    end_program(1);
}

SequenceRecord extract_or_exit(const SequenceRecord& rec, long from, long to) {
    auto part = extract_seq(rec, from, to);
    if (!part) fail_extraction();
    return std::move(*part);
}

// The stretch from..to. On a circular molecule with from > to it runs from
// `from` to the end and on from position 1 to `to`.
SequenceRecord cut_stretch(const SequenceRecord& rec, long from, long to, bool circular) {
    if (!circular || from <= to) {
        if (from < 1 || to < 1 || to < from) {
            err("Strange positions. start=%ld, end=%ld.\n", from, to);
            end_program(1);
        }
        return extract_or_exit(rec, from, to);
    }
    SequenceRecord part = extract_or_exit(rec, from, rec.length);
    SequenceRecord tail = extract_or_exit(rec, 1, to);
    if (append_residues(part, tail) != 0) end_program(1);
    part.definition += " Sequence added until " + std::to_string(to) + ". ";
    return part;
}

// The strand the words or the console give ("n" or "c"); nothing when the
// words do not fit the command or the console ends. The dialog fills the
// file names and positions into words.
std::optional<std::string> gather_arguments(int count, CommandLine& words) {
    if (count == 1) {
        words.set(1, "infile");
        if (!ask_argument(words[1], "入力ファイル名")) return std::nullopt;
        words.set(2, words[1] + ".out");
        if (!ask_argument(words[2], "出力ファイル名")) return std::nullopt;
        out("Type start position and end position\n");
        out("Use a space between the values.\n");
        std::string start, end;
        if (!read_console_word(start) || !read_console_word(end)) return std::nullopt;
        words.set(3, start);
        words.set(4, end);
        out("Normal strand or complementary strand?\n");
        out("Type n[ormal] or c[omp].\n");
        return ask_strand();
    }
    if (count == 5) {
        out("Normal strand or complementary strand?");
        out("Type n[ormal] or c[omp].");
        return ask_strand();
    }
    if (count == 6) return words[5];
    show_help("getseq2");
    return std::nullopt;
}

// The first entry of the input, classified, its definition cut and its gaps
// cleared; a failure ends the program.
SequenceRecord read_entry_or_exit(const std::string& input) {
    SeqFormat format = detect_format(input);
    if (format == SeqFormat::Error) {
        err("Unknown file format.\n");
        end_program(1);
    }
    out("Reading sequence...\n");
    auto rec = read_sequence(input, format, ResidueKind::Unknown);
    if (!rec) {
        err("Error in reading file: %s\n", input.c_str());
        end_program(1);
    }
    // read_sequence has already classified the entries whose reader gives
    // them no type (raw and FASTA); the others carry their header's type.
    if (format != SeqFormat::Fasta && format != SeqFormat::Raw) rec->type = classify_residues(*rec);
    out("Data type is %s\n", type_name(rec->type));
    if (rec->definition.size() > kDefinitionWidth) rec->definition.resize(kDefinitionWidth);
    if (clear_gaps(*rec) != 0) {
        err("Error in clearing gaps in file: %s\n", rec->name.c_str());
        end_program(1);
    }
    out("Gaps were cleared.\n");
    return std::move(*rec);
}

// Writes the stretch to the output file, created empty. 0, or 1 after a
// message.
int write_stretch(const std::string& output, SequenceRecord& part) {
    auto target = OutputTarget::open_to(output, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", output.c_str());
        err("Error in opening output file: %s.\n", output.c_str());
        return 1;
    }
    const int written = write_fasta_entry(target->writer(), part, true, ' ');
    if (!target->close() || written != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    return 0;
}

}  // namespace

int cmd_getseq2(int count, CommandLine& words) {
    const std::optional<std::string> strand = gather_arguments(count, words);
    if (!strand) return 1;
    const std::string input = words[1];
    const std::string output = words[2];

    // A position that is not a number is refused, not read as 0.
    for (const std::string& word : {words[3], words[4]}) {
        if (!is_position_text(word)) {
            err("This is not a position: %s\n", word.c_str());
            return 1;
        }
    }
    // "last" in the start position counts from the end: last-99 is -99.
    std::string start_text = words[3];
    bool from_last = remove_substring(start_text, "last") == 1;
    long start = parse_position(start_text);
    long end = parse_position(words[4]);

    std::optional<SequenceRecord> rec = read_entry_or_exit(input);
    // Circular when the setting says so or the entry does.
    const bool circular = g_settings.form || rec->circular != 0;

    // Positions count the residues that remain once gaps and blanks are gone.
    const long length = rec->length;
    if (end == 0) end = length;
    if (from_last && start < 0) start += length;
    if (circular) {
        out("\nThis is a circular genome: %s.\n", rec->name.c_str());
        if (end > length) end -= length;
        if (start < 1) start += length;
    }
    SequenceRecord part = cut_stretch(*rec, start, end, circular);
    rec.reset();
    out("Sequence extracted.\n");

    if (*strand == "c") {
        if (part.type == ResidueKind::Dna || part.type == ResidueKind::Rna) {
            out("Converting to complementary sequence...\n");
            if (complement_seq(part) != 0) return 1;
        } else {
            out("No attempt to make complementary sequence.\n");
        }
    }
    if (write_stretch(output, part) != 0) return 1;
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
