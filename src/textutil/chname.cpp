// chname: changes entry names in a FASTA or CLUSTAL file, either one name
// given on the command line or interactively from a numbered list, and
// writes the file again in its own format.

#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/alignment_writer.hpp"
#include "output/fasta_writer.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// A name typed at the console may have at most this many characters.
constexpr std::size_t kTypedNameWidth = 29;
// Names in the numbered list are padded to this width, three to a line.
constexpr int kListNameWidth = 30;
constexpr long kListColumns = 3;
// Console answers longer than this are read in parts.
constexpr std::size_t kConsoleWordWidth = 4096;

std::optional<std::string> read_console_word() {
    std::string word;
    if (!stdin_reader().read_word(word, kConsoleWordWidth)) return std::nullopt;
    return word;
}

// The first entry named `old_name` ("-" is the first entry) gets `new_name`;
// when no entry has that name nothing changes.
void rename_direct(Collection& seqs, const std::string& old_name, const std::string& new_name) {
    for (auto& rec : seqs) {
        if (old_name == "-" || rec.name == old_name) {
            rec.name = new_name;
            return;
        }
    }
}

void show_list(const Collection& seqs, const std::string& input) {
    out("\nThis is a list of sequences in the file: %s.\n\n", input.c_str());
    long number = 0;
    for (const auto& rec : seqs) {
        ++number;
        out("%5ld %-*s\t", number, kListNameWidth, rec.name.c_str());
        if (number % kListColumns == 0) out("\n");
    }
}

// The number of the entry to rename, 0 to finish; nothing at the end of
// standard input.
std::optional<long> ask_entry_number(long count) {
    for (;;) {
        out("\nType number of sequence to change name or 0 to exit: ");
        auto word = read_console_word();
        if (!word) return std::nullopt;
        // At most 18 digits keeps the value far from overflow.
        if (!has_non_digit(*word) && word->size() <= 18) {
            long number = std::stol(*word);
            if (number <= count) return number;
        }
        out("\nType correct number. Try again.");
    }
}

std::optional<std::string> ask_new_name() {
    for (;;) {
        out("\nNew name: ");
        auto word = read_console_word();
        if (!word) return std::nullopt;
        if (word->size() <= kTypedNameWidth) return word;
    }
}

// Renames until the user types 0; the end of standard input ends the
// renaming as 0 does, keeping the names changed so far.
void rename_interactive(Collection& seqs, const std::string& input) {
    const long count = static_cast<long>(seqs.size());
    for (;;) {
        show_list(seqs, input);
        auto number = ask_entry_number(count);
        if (!number || *number == 0) return;
        auto name = ask_new_name();
        if (!name) return;
        seqs[static_cast<std::size_t>(*number - 1)].name = *name;
    }
}

int write_entries(Collection& seqs, SeqFormat format, const std::string& output) {
    if (format == SeqFormat::Clustal) return write_clustal_file(output, &seqs);
    // The FASTA writers append: start from an empty file so that the result
    // replaces an old output instead of following it.
    if (!OutputTarget::create_empty(output)) return 1;
    if (seqs.size() == 1) return write_fasta_file(output, &seqs.front(), true, ' ', g_settings.line_length);
    return write_fasta_all(output, seqs, g_settings.line_length);
}

}  // namespace

int cmd_chname(int count, CommandLine& words) {
    if (count == 1) {
        if (!ask_input_output(words, {"Input file name", "Output file name", ".out"})) return 1;
    } else if (count != 3 && count != 5) {
        show_help("chname");
        return 1;
    }
    const std::string input = words[1], output = words[2];

    out("Reading sequence...\n");
    SeqFormat format = detect_format(input);
    if (format != SeqFormat::Fasta && format != SeqFormat::Clustal) {
        err("This is not a FASTA or CLUSTAL file.\n");
        return 1;
    }
    auto seqs = format == SeqFormat::Clustal ? read_clustal(input, 0) : read_multi_fasta(input, ResidueKind::Unknown);
    if (!seqs) {
        err("Error in reading file: %s\n", input.c_str());
        return 1;
    }
    if (count == 5)
        rename_direct(*seqs, words[3], words[4]);
    else
        rename_interactive(*seqs, input);

    if (write_entries(*seqs, format, output) != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
