// extcds: the protein translations (/translation) of the CDS features of a
// GenBank or EMBL file as multi-FASTA, all of them or those of one CDS name,
// optionally with a table of names, lengths and descriptions
// (outfile_root.p.table) or with the locations kept in the definitions.

#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "features/feature_io.hpp"
#include "features/feature_loop.hpp"
#include "features/feature_table.hpp"
#include "features/locations.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

constexpr std::size_t kCdsNameWidth = 29;
// After this many failed entries the run stops.
constexpr int kMaxFailures = 10;

struct ExtcdsOptions {
    std::string input;
    std::string output;  // in table mode the root of both file names
    std::string cds_name;  // empty: every CDS
    bool table = false;
    bool exon_info = false;
};

std::optional<ExtcdsOptions> parse_words(int count, CommandLine& words) {
    ExtcdsOptions o;
    if (count == 1) {
        if (!ask_input_output(words)) return std::nullopt;
        out("What is the name of CDS?\n");
        out("If you input - all -, all CDS will be extracted.\n");
        std::string word;
        if (!stdin_reader().read_word(word, kWordWidth)) return std::nullopt;
        if (word != "all") o.cds_name = word.substr(0, kCdsNameWidth);
    } else if (count == 4) {
        const std::string& option = words[3];
        if (option == "exoninf")
            o.exon_info = true;
        else if (option == "t")
            o.table = true;
        else
            o.cds_name = option.substr(0, kCdsNameWidth);
    } else if (count != 3) {
        show_help("extcds");
        return std::nullopt;
    }
    o.input = words[1];
    o.output = words[2];
    return o;
}

// The definition begins with the name as a whole word.
bool names_feature(const std::string& definition, const std::string& name) {
    return feature_name_of(definition) == name;
}

// Table line: root_feature, length and the description (the definition
// after the feature name and the one character after it).
void write_table(Writer& w, const Collection& features, const std::string& root) {
    for (const SequenceRecord& f : features) {
        const std::string_view feature = feature_name_of(f.definition);
        const std::size_t from = std::min(feature.size() + 1, f.definition.size());
        w.write(root);
        w.put('_');
        w.write(feature);
        w.put('\t');
        w.write(std::to_string(f.length));
        w.put('\t');
        w.write(std::string_view(f.definition).substr(from));
        w.put('\n');
    }
}

}  // namespace

int cmd_extcds(int count, CommandLine& words) {
    auto parsed = parse_words(count, words);
    if (!parsed) return 1;
    const ExtcdsOptions& o = *parsed;
    // Translations are complete in their own qualifiers; nothing is taken
    // from other entries for the rest of the run.
    g_settings.seq_import = false;

    const SeqFormat format = feature_file_format(o.input);
    out("Reading sequence...\n");
    const std::string fasta_path = o.table ? o.output + ".fa" : o.output;
    const std::string table_path = o.output + ".p.table";
    std::optional<OutputTarget> fasta;
    std::optional<OutputTarget> table;
    int failures = 0;

    FeatureLoop loop;
    loop.mode = ExtractMode::Protein;
    loop.reader_options = FeatureOptions{.locations_in_protein_mode = o.exon_info};
    loop.texts.cannot_open_input = "Cannot open file: %s.\n\n";
    loop.texts.missing_end_line = "\nEnd tag // is missing.\n";
    loop.texts.terminated_after_failure = true;
    loop.open_outputs = [&] {
        if (output_would_replace_input(o.input, fasta_path) ||
            (o.table && output_would_replace_input(o.input, table_path)))
            return false;
        if (OutputTarget::names_stdout(fasta_path) || OutputTarget::create_empty(fasta_path))
            fasta = OutputTarget::open(fasta_path, OutputTarget::Mode::Append);
        if (!fasta) {
            err("Error in opening output file: %s.\n", fasta_path.c_str());
            return false;
        }
        if (o.table) {
            if (OutputTarget::create_empty(table_path)) table = OutputTarget::open(table_path, OutputTarget::Mode::Append);
            if (!table) {
                err("Error in opening output file: %s.\n", table_path.c_str());
                return false;
            }
        }
        return true;
    };
    loop.work = [&](FeatureEntry& e) {
        SequenceRecord& entry = e.entry;
        Collection& features = e.features;
        progress('h');
        progress('-');
        // A CDS without /translation has no protein to write; it is named
        // instead of being written as an empty entry.
        std::erase_if(features, [&entry](const SequenceRecord& f) {
            if (!f.residues.empty()) return false;
            err("No translation for %s %s.\n", entry.name.c_str(), std::string(feature_name_of(f.definition)).c_str());
            return true;
        });
        if (!o.cds_name.empty()) {
            SequenceRecord* found = nullptr;
            for (SequenceRecord& f : features) {
                if (names_feature(f.definition, o.cds_name)) {
                    found = &f;
                    break;
                }
            }
            if (!found) {
                err("No CDS: %s in database: %s.\n", o.cds_name.c_str(), entry.name.c_str());
                return EntryStep::Next;
            }
            if (write_fasta_entry(fasta->writer(), *found, true, '_', g_settings.line_length) != 0) {
                err("Unable to write file.\n");
                ++failures;
            }
            // Past kMaxFailures failed writes the run gives up.
            return failures <= kMaxFailures ? EntryStep::Next : EntryStep::Stop;
        }
        if (o.table)
            for (SequenceRecord& f : features) f.name = o.output;
        for (SequenceRecord& f : features) {
            if (write_fasta_entry(fasta->writer(), f, true, '_', g_settings.line_length) != 0) {
                err("Unable to write file.\n");
                end_program(1);
            }
        }
        // The table describes the same features: in table mode their
        // definitions carry no location.
        if (table) {
            write_table(table->writer(), features, o.output);
            if (table->writer().failed()) {
                err("Unable to write file %s.\n", table_path.c_str());
                end_program(1);
            }
        }
        return EntryStep::Next;
    };
    loop.close_outputs = [&](int) {
        const bool closed = fasta->close();
        if (closed && (!table || table->close())) return true;
        err("Unable to write file.\n");
        return false;
    };
    return run_feature_loop(o.input, format, loop);
}

}  // namespace kavro
