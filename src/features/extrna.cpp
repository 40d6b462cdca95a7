// extrna: the nucleotide sequences of the tRNA, rRNA and snRNA features of
// a GenBank or EMBL file, cut with start and end arguments, with their
// introns when the addseqg setting is on.

#include <string>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "features/feature_commands.hpp"
#include "features/feature_io.hpp"
#include "features/feature_loop.hpp"
#include "features/feature_sequences.hpp"
#include "features/feature_table.hpp"
#include "features/locations.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// A name selects at most this many features of one entry.
constexpr std::size_t kMaxPerEntry = 10;
constexpr std::size_t kNameWidth = 30;

struct RnaRequest {
    EndArgument start, end;
    std::string name;  // empty: every RNA
};

// The dialog: paths, the two end arguments and the RNA name. False when the
// user leaves.
bool ask_request(CommandLine& words, RnaRequest& req) {
    if (!ask_input_output(words)) return false;
    if (!ask_feature_ends("出力したい 5'UTR と 3'UTR の長さを入力してください。\n"
                          "start と end の書式は S xx または  E xx です.\n"
                          "S xx は、 RNA の開始点から xx 塩基目を意味し、\n"
                          "E xx は、 RNA の終止点から xx 塩基目を意味します。\n"
                          "これら４個のデータの間にはスペースを入れてください。\n",
                          req.start, req.end))
        return false;
    out("What is the name of RNA? Type <exit> to exit this session.\n");
    out("Use a command <genlist> to show all CDS names beforehand.\n");
    out("If you input - all -, all RNA will be extracted.\n\n");
    std::string word;
    if (!stdin_reader().read_word(word, kWordWidth) || word == "exit") return false;
    if (word != "all") req.name = word.substr(0, kNameWidth);
    return true;
}

// The features whose name (the definition's first word) is the requested
// one, at most kMaxPerEntry of them.
Collection select_by_name(const Collection& features, const std::string& name) {
    Collection chosen;
    for (const SequenceRecord& f : features) {
        if (chosen.size() >= kMaxPerEntry) break;
        if (feature_name_of(f.definition) == name) chosen.push_back(f);
    }
    return chosen;
}

}  // namespace

int cmd_extrna(int count, CommandLine& words) {
    RnaRequest req;
    if (count == 1) {
        if (!ask_request(words, req)) return 1;
    } else if ((count == 7 || count == 8) && parse_feature_end(words[3], words[4], req.start) &&
               parse_feature_end(words[5], words[6], req.end)) {
        if (count == 8) req.name = words[7].substr(0, kNameWidth);
    } else {
        show_help("extrna");
        return 1;
    }
    const std::string input = words[1];
    const std::string output = words[2];

    // RNA genes are cut from their own entry only, for the rest of the run.
    g_settings.seq_import = false;
    const SeqFormat format = feature_file_format(input);
    out("Reading sequence...\n");
    const JoinContext ctx;
    RemoteSequences remote;
    FeatureLoop loop;
    loop.mode = ExtractMode::Rna;
    SingleOutput single(input, output, "Cannot open output file: %s.\n\n", "Unable to write file.\n");
    single.attach(loop);
    loop.work = [&](FeatureEntry& e) {
        if (e.entry.residues.empty()) {
            progress('.');
            return EntryStep::Next;
        }
        progress('h');
        if (classify_and_clear_gaps(e.entry) != 0) return EntryStep::Next;
        const bool cut = g_settings.addseqg
                             ? extract_genomic_spans(e.entry, e.features, 0, req.start, req.end, ctx, remote)
                             : cut_feature_sequences(e.entry, e.features, 0, req.start, req.end, ctx, remote);
        if (!cut) {
            err("Error in extracting sequence.\n");
            return EntryStep::Next;
        }
        out("\nSequences extracted.\n.");
        flush_out();
        Collection chosen;
        if (!req.name.empty()) {
            out("Extracting sequences: %s...\n", req.name.c_str());
            chosen = select_by_name(e.features, req.name);
            if (chosen.empty()) {
                out("No sequence extracted.\n");
                e.status = 1;
                return EntryStep::Stop;
            }
        } else {
            out("Extracting all sequences...\n");
        }
        return single.write(e, req.name.empty() ? e.features : chosen, g_settings.line_length);
    };
    return run_feature_loop(input, format, loop);
}

}  // namespace kavro
