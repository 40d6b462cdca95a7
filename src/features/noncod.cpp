// noncod: the non-coding stretches of every entry of a GenBank or EMBL
// file. Each entry is read twice, for its CDS and for its RNA features;
// what those cover is masked and every DNA stretch left is written.

#include <string>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "features/feature_commands.hpp"
#include "features/feature_io.hpp"
#include "features/feature_table.hpp"
#include "features/noncoding.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

struct FeatureRead {
    SequenceRecord entry;
    Collection features;
    bool usable = false;
};

// One read of the entry at `position`; false when the loop must end
// (status set).
bool read_part(FeatureTableReader& reader, std::int64_t& position, ExtractMode mode, FeatureRead& part,
               int& status) {
    const ReadOutcome outcome = reader.read(part.entry, part.features, position, mode);
    if (outcome != ReadOutcome::Entry) {
        status = end_of_entries(outcome, mode == ExtractMode::Rna ? "Error in extracting RNA\n"
                                                                  : "Error in extracting CDS\n");
        return false;
    }
    part.usable = !part.features.empty() && !part.entry.residues.empty();
    if (part.entry.residues.empty()) progress(mode == ExtractMode::Rna ? '/' : '*');
    return true;
}

}  // namespace

int cmd_noncod(int count, CommandLine& words) {
    bool keep_introns = false;
    if (count == 1) {
        words.set(1, "infile");
        if (!ask_argument(words[1], "入力ファイル名")) return 1;
        words.set(2, words[1] + ".out");
        if (!ask_argument(words[2], "出力ファイル名")) return 1;
        out("Do you want introns included in the output?\n");
        out("If yes, press 1, otherwise 0.\n\n");
        std::string answer;
        if (!stdin_reader().read_word(answer, kWordWidth)) return 1;
        keep_introns = answer == "1";
    } else if (count == 3 || count == 4) {
        keep_introns = count == 4 && (words[3] == "1" || words[3] == "true" || words[3] == "TRUE");
    } else {
        show_help("noncod");
        return 1;
    }
    const std::string input = words[1];
    const std::string output = words[2];

    out("Reading file: %s.\n", input.c_str());
    const SeqFormat format = detect_format(input);
    if (format != SeqFormat::Genbank && format != SeqFormat::Embl) {
        err("This is not a GenBank or EMBL file.\n");
        return 1;
    }
    auto in = LineReader::open(input);
    if (!in) {
        err("Cannot open file: %s\n\n", input.c_str());
        return 1;
    }
    if (output_would_replace_input(input, output)) return 1;
    auto target = OutputTarget::open(output, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open output file: %s\n\n", output.c_str());
        return 1;
    }

    FeatureTableReader reader(*in, format);
    std::int64_t position = 0;
    int status = 0;
    for (;;) {
        const std::int64_t entry_start = position;
        FeatureRead cds, rna;
        if (!read_part(reader, position, ExtractMode::Coding, cds, status)) break;
        std::int64_t again = entry_start;
        if (!read_part(reader, again, ExtractMode::Rna, rna, status)) break;
        if (!cds.usable && !rna.usable) continue;
        SequenceRecord& entry = cds.usable ? cds.entry : rna.entry;
        const bool circular = entry.circular != 0;
        if (circular) out("Circular DNA: %s.\n", entry.name.c_str());
        if (cds.usable) mask_features(entry, cds.features, keep_introns);
        if (rna.usable) mask_features(entry, rna.features, keep_introns);
        Collection pieces = unmasked_pieces(entry, circular);
        if (pieces.empty()) continue;
        if (write_fasta_batch(target->writer(), pieces, 0, 0, g_settings.line_length) != 0 || target->writer().failed()) {
            err("Unable to write to file: %s.\n", output.c_str());
            status = 1;
            break;
        }
    }
    // A read that failed on the way fails the run (after its message).
    if (!in->finish()) status = 1;
    if (!target->close() && status == 0) {
        err("Unable to write to file: %s.\n", output.c_str());
        return 1;
    }
    if (status != 0) return status;
    out("Terminated.\n");
    return 0;
}

}  // namespace kavro
