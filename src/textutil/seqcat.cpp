// seqcat: joins the sequence of a second file to the end of the sequence of
// a first one. Two CLUSTAL alignments are joined entry by entry into a longer
// alignment; any other pair of files gives one joined FASTA entry.
//
// Both inputs are read completely before the output is emptied, so the output
// may be one of the inputs (seqcat a.fa b.fa a.fa appends b to a).

#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "output/alignment_writer.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// Entry names of the two alignments must agree on this many characters.
constexpr std::size_t kComparedNameWidth = 10;

bool names_match(const std::string& a, const std::string& b) {
    return a.compare(0, kComparedNameWidth, b, 0, kComparedNameWidth) == 0;
}

bool prepare_output(const std::string& path) {
    if (!OutputTarget::create_empty(path)) {
        err("Error in opening output file.\n");
        return false;
    }
    return true;
}

Collection read_alignment_or_exit(const std::string& path) {
    auto seqs = read_clustal(path, 0);
    if (!seqs) {
        err("Error in reading file: %s\n", path.c_str());
        end_program(1);
    }
    return std::move(*seqs);
}

int join_alignments(const std::string& file1, const std::string& file2, const std::string& output) {
    out("These are CLUSTAL files.\n");
    out("Reading sequence 1...\n");
    Collection first = read_alignment_or_exit(file1);
    out("Reading sequence 2...\n");
    Collection second = read_alignment_or_exit(file2);
    if (!prepare_output(output)) return 1;

    if (first.size() != second.size()) {
        err("Numbers of sequences are not equal.\n");
        return 1;
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        auto& a = first[i];
        const auto& b = second[i];
        if (!names_match(a.name, b.name)) {
            err("Sequence IDs do not match.\n");
            err("Unable to combine sequences.\n");
            return 1;
        }
        if (append_residues(a, b) != 0) {
            err("Unable to combine sequences.\n");
            return 1;
        }
    }
    out("Writing sequences...\n");
    if (write_clustal_file(output, &first) != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    return 0;
}

void announce_format(SeqFormat format) {
    switch (format) {
    case SeqFormat::Genbank: out("This is a GenBank file.\n"); break;
    case SeqFormat::GenbankProtein: out("This is a GenBank protein file.\n"); break;
    case SeqFormat::Embl: out("This is an EMBL file.\n"); break;
    case SeqFormat::Swissprot: out("This is a SwissProt file.\n"); break;
    case SeqFormat::Pir: out("This is a PIR file.\n"); break;
    case SeqFormat::Fasta: out("This is a FASTA file.\n"); break;
    default: break;
    }
}

// The first entry of a file, classified; nothing (after the message) when
// there is none or it holds no residues.
std::optional<SequenceRecord> read_one(const std::string& path, SeqFormat format, int which) {
    out("Reading sequence %d...\n", which);
    announce_format(format);
    auto rec = read_sequence(path, format, ResidueKind::Unknown, g_settings.form);
    if (!rec || rec->length == 0 || rec->residues.empty()) {
        err("Error in reading sequence %d.\n", which);
        return std::nullopt;
    }
    rec->type = classify_residues(*rec);
    return rec;
}

int join_sequences(const std::string& file1, SeqFormat format1, const std::string& file2, SeqFormat format2,
                   const std::string& output) {
    auto first = read_one(file1, format1, 1);
    if (!first) return 1;
    auto second = read_one(file2, format2, 2);
    if (!second) return 1;
    if (first->type != second->type) {
        err("The two sequences are of different types.\n");
        return 1;
    }
    out("Data type is %s\n", type_name(first->type));
    if (!prepare_output(output)) return 1;
    if (append_residues(*first, *second) != 0) {
        err("Unable to combine sequences.\n");
        return 1;
    }
    if (write_fasta_file(output, &*first, false, ' ', g_settings.line_length) != 0) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    return 0;
}

}  // namespace

int cmd_seqcat(int count, CommandLine& words) {
    if (count == 1) {
        words.set(1, "file1");
        if (!ask_argument(words[1], "最初の入力ファイル名")) return 1;
        words.set(2, "file2");
        if (!ask_argument(words[2], "後につなげる入力ファイル名")) return 1;
        words.set(3, "outfile");
        if (!ask_argument(words[3], "出力ファイル名")) return 1;
    } else if (count == 3) {
        words.set(3, "outfile");
        if (!ask_argument(words[3], "出力ファイル名")) return 1;
    } else if (count != 4) {
        show_help("seqcat");
        return 1;
    }
    const std::string file1 = words[1], file2 = words[2], output = words[3];

    SeqFormat format1 = detect_format(file1);
    SeqFormat format2 = detect_format(file2);
    if (format1 == SeqFormat::Error || format2 == SeqFormat::Error) {
        err("Unknown file format.\n");
        end_program(1);
    }
    int status = format1 == SeqFormat::Clustal && format2 == SeqFormat::Clustal
                     ? join_alignments(file1, file2, output)
                     : join_sequences(file1, format1, file2, format2, output);
    if (status != 0) return status;
    progress('w');
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
