// cdsnuc: the nucleotide sequences of the CDS features of a GenBank or EMBL
// file as multi-FASTA, cut from each entry by the start and end arguments
// (S n / E n), optionally with their introns (the addseqg setting) or with
// a line of "xxxxx" between exons (split mode); all CDS or those whose
// definition holds a name.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "features/feature_io.hpp"
#include "features/feature_loop.hpp"
#include "features/feature_sequences.hpp"
#include "features/feature_table.hpp"
#include "input/formats.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

constexpr std::size_t kCdsNameWidth = 30;

struct CdsnucOptions {
    std::string input;
    std::string output;
    std::string cds_name;  // empty: every CDS
    EndArgument start{'S', 0};
    EndArgument end{'E', 0};
    bool split = false;
};

bool valid_reference(std::string& word) {
    if (word == "s" || word == "e") word[0] = to_upper(word[0]);
    return word == "S" || word == "E";
}

// An offset must stay inside the 32-bit range of positions.
bool offset_in_range(long value, const std::string& text) {
    if (value > -INT_MAX && value < INT_MAX) return true;
    err("Offset out of range: %s.\n", text.c_str());
    return false;
}

std::optional<CdsnucOptions> ask_everything(CommandLine& words) {
    CdsnucOptions o;
    if (!ask_input_output(words)) return std::nullopt;
    LineReader& console = stdin_reader();
    for (;;) {
        jout("出力したい 5'UTR と 3'UTR の長さを入力してください。\n");
        jout("start と end の書式は S xx または  E xx です.\n");
        jout("S xx は、 CDS の開始点から xx 塩基目を意味し、\n");
        jout("E xx は、 CDS の終止点から xx 塩基目を意味します。\n");
        jout("これら４個のデータの間にはスペースを入れてください。\n");
        std::string ref1, off1, ref2, off2;
        if (!console.read_word(ref1, kWordWidth) || !console.read_word(off1, kWordWidth) ||
            !console.read_word(ref2, kWordWidth) || !console.read_word(off2, kWordWidth))
            return std::nullopt;
        const long a = std::strtol(off1.c_str(), nullptr, 10);
        const long b = std::strtol(off2.c_str(), nullptr, 10);
        if (!valid_reference(ref1) || !valid_reference(ref2)) continue;
        if (!offset_in_range(a, off1) || !offset_in_range(b, off2)) return std::nullopt;
        o.start = {ref1[0], a};
        o.end = {ref2[0], b};
        break;
    }
    out("What is the name of CDS? Type <exit> to exit this session.\n");
    out("Use a command <genlist> to show all CDS names beforehand.\n");
    out("If you input - all -, all CDS will be extracted.\n\n");
    std::string word;
    if (!console.read_word(word, kWordWidth)) return std::nullopt;
    if (word == "exit") {
        o.input.clear();  // ends the command with 0
        return o;
    }
    if (word != "all") o.cds_name = word.substr(0, kCdsNameWidth);
    o.input = words[1];
    o.output = words[2];
    return o;
}

std::optional<CdsnucOptions> usage() {
    show_help("cdsnuc");
    return std::nullopt;
}

std::optional<CdsnucOptions> parse_words(int count, CommandLine& words) {
    if (count == 1) return ask_everything(words);
    CdsnucOptions o;
    if (count == 4 || count == 5) {
        if (words[3] != "split" || g_settings.addseqg) return usage();
        o.split = true;
        if (count == 5) o.cds_name = words[4];
    } else if (count == 7 || count == 8) {
        std::string ref1 = words[3], ref2 = words[5];
        if (!valid_reference(ref1) || !valid_reference(ref2)) return usage();
        o.start = {ref1[0], parse_position(words[4])};
        o.end = {ref2[0], parse_position(words[6])};
        if (!offset_in_range(o.start.offset, words[4]) || !offset_in_range(o.end.offset, words[6]))
            return std::nullopt;
        if (count == 8) o.cds_name = words[7];
    } else {
        return usage();
    }
    o.input = words[1];
    o.output = words[2];
    return o;
}

// True when the residues are A, C, G and T only, as in most entries: then
// they are DNA and clearing gaps would change nothing, and this one scan
// (which the compiler vectorises) stands for both.
bool only_acgt(std::string_view s) {
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < s.size(); at += kBlock) {
        const std::size_t n = std::min(kBlock, s.size() - at);
        const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data() + at);
        bool other = false;
        for (std::size_t i = 0; i < n; ++i) other |= (p[i] != 'A') & (p[i] != 'C') & (p[i] != 'G') & (p[i] != 'T');
        if (other) return false;
    }
    return true;
}

}  // namespace

int cmd_cdsnuc(int count, CommandLine& words) {
    auto parsed = parse_words(count, words);
    if (!parsed) return 1;
    const CdsnucOptions& o = *parsed;
    if (o.input.empty()) return 0;

    const SeqFormat format = feature_file_format(o.input);
    out("Reading sequence...\n");
    std::optional<OutputTarget> target;
    // Exons of other entries of the file are found through an index of
    // their accessions, read from a second handle on the same file.
    std::optional<LineReader> remote_input;
    AccessionIndex index;
    JoinContext ctx{.seq_import = g_settings.seq_import, .split_exons = o.split};
    RemoteSequences remote;
    std::size_t named_found = 0;  // CDS of the chosen name, over the whole file

    FeatureLoop loop;
    loop.texts.missing_end_line = "\nEnd tag // is missing.\n";
    loop.texts.terminated_after_failure = true;
    loop.open_outputs = [&] {
        if (output_would_replace_input(o.input, o.output)) return false;
        if (OutputTarget::names_stdout(o.output) || OutputTarget::create_empty(o.output))
            target = OutputTarget::open(o.output, OutputTarget::Mode::Append);
        if (!target) {
            err("Cannot open output file: %s\n\n", o.output.c_str());
            return false;
        }
        if (g_settings.seq_import) {
            out("Making index...\n");
            remote_input = LineReader::open(o.input);
            if (!remote_input) {
                err("Error in making index for file: %s.\n", o.input.c_str());
                return false;
            }
            index.build_on_first_use(*remote_input);
            ctx.remote_input = &*remote_input;
            ctx.index = &index;
        }
        return true;
    };
    loop.work = [&](FeatureEntry& e) {
        SequenceRecord& entry = e.entry;
        Collection& features = e.features;
        if (entry.residues.empty()) {
            progress('/');
            return EntryStep::Next;
        }
        progress('h');
        const bool plain_dna = only_acgt(entry.residues);
        entry.type = plain_dna ? ResidueKind::Dna : classify_residues(entry);
        if (!plain_dna && clear_gaps(entry) != 0) {
            err("Error in clearing gaps in file: %s\n", entry.name.c_str());
            return EntryStep::Next;
        }
        if (!o.cds_name.empty()) {
            std::erase_if(features, [&](const SequenceRecord& f) {
                return f.definition.find(o.cds_name) == std::string::npos;
            });
        }
        for (std::size_t i = 0; i < features.size(); ++i) progress('.');
        const bool cut = g_settings.addseqg
                             ? extract_genomic_spans(entry, features, 0, o.start, o.end, ctx, remote)
                             : o.split ? cut_feature_sequences(entry, features, 0, {'s', 0}, {'e', 0}, ctx, remote)
                                       : cut_feature_sequences(entry, features, 0, o.start, o.end, ctx, remote);
        if (!cut) {
            err("Error in extracting sequence.\n");
            e.status = 1;
            return EntryStep::Stop;
        }
        named_found += features.size();
        for (SequenceRecord& f : features) {
            progress('-');
            if (write_fasta_entry(target->writer(), f, true, '_', g_settings.line_length) != 0) err("Unable to write file.\n");
        }
        return EntryStep::Next;
    };
    loop.after_entries = [&](int status) {
        // A name that no CDS of the file holds would otherwise leave an
        // empty output and no word about why.
        if (status == 0 && !o.cds_name.empty() && named_found == 0)
            err("No CDS: %s in file: %s.\n", o.cds_name.c_str(), o.input.c_str());
    };
    loop.finish_more = [&] { return !remote_input || remote_input->finish(); };
    loop.close_outputs = [&](int) {
        if (target->close()) return true;
        err("Unable to write file.\n");
        return false;
    };
    return run_feature_loop(o.input, format, loop);
}

}  // namespace kavro
