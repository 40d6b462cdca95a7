// genlist: what a sequence file holds. For GenBank and EMBL files the CDS
// names of every entry, or in table mode a tab-separated gene table of
// every CDS and RNA exon; for a FASTA file one line per entry.

#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "features/feature_io.hpp"
#include "features/gene_listing.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// The listing goes to the named file, or to standard output when it is
// "stdout" or cannot be written.
std::optional<OutputTarget> open_listing(const std::string& path) {
    if (!OutputTarget::names_stdout(path)) {
        std::optional<OutputTarget> file;
        if (OutputTarget::create_empty(OutputDestination(path))) file = OutputTarget::open(path, OutputTarget::Mode::Append);
        if (file) return file;
        err("Cannot open file: %s\n", path.c_str());
        err("Output to console.\n");
    }
    return OutputTarget::open("stdout", OutputTarget::Mode::Append);
}

// One line per entry, written as the entries are read: memory holds one.
int list_fasta(const std::string& input, Writer& out) {
    auto in = LineReader::open(input);
    if (!in) {
        err("Cannot read sequence.\n");
        return 1;
    }
    out.printf("\nThis is a list of sequences in the file: %s.\n\n", input.c_str());
    const auto read = stream_multi_fasta(*in, [&](SequenceRecord& rec) {
        std::string_view definition = rec.definition;
        while (definition.ends_with('\n') || definition.ends_with('\r')) definition.remove_suffix(1);
        out.printf("ID=%s, %ld residues, %.*s.\n", rec.name.c_str(), rec.length, static_cast<int>(definition.size()),
                   definition.data());
    });
    if (!read) {
        err("Cannot read sequence.\n");
        return 1;
    }
    return 0;
}

}  // namespace

int cmd_genlist(int count, CommandLine& words) {
    if (count == 1) {
        if (!ask_input_output(words, {.output_default = "stdout"})) return 1;
    } else if (count == 2) {
        if (words[1] == "help" || words[1] == "-h") {
            show_help("genlist");
            return 1;
        }
        words.set(2, "stdout");
    } else if (count != 3 && count != 4) {
        show_help("genlist");
        return 1;
    }
    const std::string input = words[1];
    const std::string output = words[2];
    const bool table = count == 4 && (words[3][0] == 't' || words[3][0] == 'T');

    const SeqFormat format = detect_format(input);
    if (format != SeqFormat::Genbank && format != SeqFormat::Embl && format != SeqFormat::Fasta) {
        err("This is not a GenBank, EMBL, or FASTA file.\n");
        end_program(1);
    }
    out("Reading sequence...\n");
    if (output_would_replace_input(input, output)) return 1;
    if (format == SeqFormat::Fasta && table) {
        err("Table output is not available for a FASTA file.\n");
        return 1;
    }
    auto target = open_listing(output);
    const int status = format == SeqFormat::Fasta ? list_fasta(input, target->writer())
                                              : list_feature_file(input, format, table, target->writer());
    if (!target->close()) {
        err("Unable to write file: %s.\n", output.c_str());
        return 1;
    }
    if (status != 0) return status;
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
