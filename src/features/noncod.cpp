// noncod: the non-coding stretches of every entry of a GenBank or EMBL
// file. Each entry is read twice, for its CDS and for its RNA features;
// what those cover is masked and every DNA stretch left is written.

#include <string>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "features/feature_commands.hpp"
#include "features/feature_io.hpp"
#include "features/feature_loop.hpp"
#include "features/feature_table.hpp"
#include "features/noncoding.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
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

// The RNA read of the entry at `position`; false when the loop must end
// (status set).
bool read_rna_part(FeatureTableReader& reader, std::int64_t& position, FeatureRead& part, int& status) {
    const ReadOutcome outcome = reader.read(part.entry, part.features, position, ExtractMode::Rna);
    if (outcome != ReadOutcome::Entry) {
        status = end_of_entries(outcome, "Error in extracting RNA\n");
        return false;
    }
    part.usable = !part.features.empty() && !part.entry.residues.empty();
    if (part.entry.residues.empty()) progress('/');
    return true;
}

}  // namespace

int cmd_noncod(int count, CommandLine& words) {
    bool keep_introns = false;
    if (count == 1) {
        if (!ask_input_output(words)) return 1;
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
    FeatureLoop loop;
    loop.texts.terminated = "Terminated.\n";
    SingleOutput single(input, output, "Cannot open output file: %s\n\n", "Unable to write to file: %s.\n");
    single.attach(loop);
    // Each entry is read twice, for its CDS and then from the same place
    // for its RNA features.
    loop.work = [&](FeatureEntry& e) {
        const bool cds_usable = !e.features.empty() && !e.entry.residues.empty();
        if (e.entry.residues.empty()) progress('*');
        FeatureRead rna;
        std::int64_t again = e.entry_start;
        if (!read_rna_part(e.reader, again, rna, e.status)) return EntryStep::Stop;
        if (!cds_usable && !rna.usable) return EntryStep::Next;
        SequenceRecord& entry = cds_usable ? e.entry : rna.entry;
        const bool circular = entry.circular != 0;
        if (circular) out("Circular DNA: %s.\n", entry.name.c_str());
        if (cds_usable) mask_features(entry, e.features, keep_introns);
        if (rna.usable) mask_features(entry, rna.features, keep_introns);
        Collection pieces = unmasked_pieces(entry, circular);
        if (pieces.empty()) return EntryStep::Next;
        return single.write(e, pieces, g_settings.line_length);
    };
    return run_feature_loop(input, format, loop);
}

}  // namespace kavro
