// extint: the introns of the CDS features of a GenBank or EMBL file, one
// sequence per intron, with ends that can reach into the flanking exons.

#include <string>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "features/feature_commands.hpp"
#include "features/feature_io.hpp"
#include "features/feature_loop.hpp"
#include "features/feature_table.hpp"
#include "features/introns.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

constexpr std::size_t kNameWidth = 30;

struct IntronRequest {
    EndArgument start, end;
    std::string name;  // empty: the introns of every CDS
    bool leave = false;
};

// The dialog; false when standard input ends or a path is not given.
bool ask_request(CommandLine& words, IntronRequest& req) {
    if (!ask_input_output(words)) return false;
    if (!ask_feature_ends("出力したい 5'側エクソン と 3'エクソン の長さを入力してください。\n"
                          "start と end の書式は S xx または  E xx です.\n"
                          "S xx は、 イントロン の開始点から xx 塩基目を意味し、\n"
                          "E xx は、 イントロン の終止点から xx 塩基目を意味します。\n"
                          "これら４個のデータの間にはスペースを入れてください。\n",
                          req.start, req.end))
        return false;
    out("What is the name of CDS? Type <exit> to exit this session.\n");
    out("Use a command <genlist> to show all CDS names beforehand.\n");
    out("If you input - all -, introns of all CDS will be extracted.\n\n");
    std::string word;
    if (!stdin_reader().read_word(word, kWordWidth)) return false;
    req.leave = word == "exit";
    if (word != "all") req.name = word.substr(0, kNameWidth);
    return true;
}

}  // namespace

int cmd_extint(int count, CommandLine& words) {
    IntronRequest req;
    if (count == 1) {
        if (!ask_request(words, req)) return 1;
        if (req.leave) return 0;
    } else if ((count == 7 || count == 8) && parse_feature_end(words[3], words[4], req.start) &&
               parse_feature_end(words[5], words[6], req.end)) {
        if (count == 8) req.name = words[7].substr(0, kNameWidth);
    } else {
        show_help("extint");
        return 1;
    }
    const std::string input = words[1];
    const std::string output = words[2];

    const SeqFormat format = feature_file_format(input);
    out("Reading sequence...\n");
    FeatureLoop loop;
    SingleOutput single(input, output, "Cannot open output file: %s\n\n", "Unable to write file: %s.\n");
    single.attach(loop);
    loop.work = [&](FeatureEntry& e) {
        if (e.entry.residues.empty()) {
            progress('/');
            return EntryStep::Next;
        }
        progress('h');
        if (classify_and_clear_gaps(e.entry) != 0) return EntryStep::Next;
        Collection introns;
        for (const SequenceRecord& feature : e.features) {
            progress('.');
            if (!req.name.empty() && feature.definition.find(req.name) == std::string::npos) continue;
            const IntronResult result = extract_introns(e.entry, feature, req.start, req.end, introns);
            if (result == IntronResult::PassedOver) continue;
            if (result == IntronResult::Failed) {
                err("Error in extracting introns.\n");
                return EntryStep::Stop;
            }
            progress('-');
            if (single.write(e, introns, g_settings.line_length) == EntryStep::Stop) return EntryStep::Stop;
        }
        return EntryStep::Next;
    };
    return run_feature_loop(input, format, loop);
}

}  // namespace kavro
