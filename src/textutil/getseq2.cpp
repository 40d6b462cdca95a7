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
#include "shell/commands.hpp"
#include "shell/help.hpp"
#include "shell/prompt.hpp"

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

// True when every byte is an upper-case letter, as in most entries: then
// clearing gaps would change nothing, and this scan (which the compiler
// vectorises) costs far less than rewriting every byte.
bool only_upper_letters(std::string_view s) {
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < s.size(); at += kBlock) {
        const std::size_t n = std::min(kBlock, s.size() - at);
        const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data() + at);
        unsigned char outside = 0;
        for (std::size_t i = 0; i < n; ++i) outside |= static_cast<unsigned char>(p[i] - 'A') > 25;
        if (outside) return false;
    }
    return true;
}

// clear_gaps, skipped when there is nothing to clear.
int clear_gaps_if_needed(SequenceRecord& rec) {
    if (rec.length >= 0 && static_cast<std::size_t>(rec.length) == rec.residues.size() &&
        only_upper_letters(rec.residues))
        return 0;
    return clear_gaps(rec);
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

}  // namespace

int cmd_getseq2(int count, CommandLine& words) {
    std::string strand;
    if (count == 1) {
        words.set(1, "infile");
        if (!ask_argument(words[1], "入力ファイル名")) return 1;
        words.set(2, words[1] + ".out");
        if (!ask_argument(words[2], "出力ファイル名")) return 1;
        out("Type start position and end position\n");
        out("Use a space between the values.\n");
        std::string start, end;
        if (!read_console_word(start) || !read_console_word(end)) return 1;
        words.set(3, start);
        words.set(4, end);
        out("Normal strand or complementary strand?\n");
        out("Type n[ormal] or c[omp].\n");
        auto answer = ask_strand();
        if (!answer) return 1;
        strand = *answer;
    } else if (count == 5) {
        out("Normal strand or complementary strand?");
        out("Type n[ormal] or c[omp].");
        auto answer = ask_strand();
        if (!answer) return 1;
        strand = *answer;
    } else if (count == 6) {
        strand = words[5];
    } else {
        show_help("getseq2");
        return 1;
    }
    const std::string input = words[1];
    const std::string output = words[2];

    // "last" in the start position counts from the end: last-99 is -99.
    std::string start_text = words[3];
    bool from_last = remove_substring(start_text, "last") == 1;
    long start = parse_position(start_text);
    long end = parse_position(words[4]);

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
    // The run takes the entry's circular flag when the setting is off; the
    // setting is given back however the command ends.
    FormGuard form_guard;
    if (!g_settings.form) g_settings.form = rec->circular != 0;
    const bool circular = g_settings.form;

    out("Data type is %s\n", type_name(rec->type));
    if (rec->definition.size() > kDefinitionWidth) rec->definition.resize(kDefinitionWidth);
    if (clear_gaps_if_needed(*rec) != 0) {
        err("Error in clearing gaps in file: %s\n", rec->name.c_str());
        end_program(1);
    }
    out("Gaps were cleared.\n");

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

    if (strand == "c") {
        if (part.type == ResidueKind::Dna || part.type == ResidueKind::Rna) {
            out("Converting to complementary sequence...\n");
            if (complement_seq(part) != 0) return 1;
        } else {
            out("No attempt to make complementary sequence.\n");
        }
    }

    if (truncate_output_file(output) != 0) {
        err("Error in opening output file: %s.\n", output.c_str());
        return 1;
    }
    if (write_fasta_file(output, &part, true, ' ') != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
