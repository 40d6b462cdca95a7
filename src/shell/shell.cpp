// The program's entry: banner, settings from the environment, then exactly
// one of the three run modes (command line, start-up script, menu).
#include "shell/shell.hpp"

#include <exception>
#include <new>
#include <optional>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/version.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"
#include "input/line_reader.hpp"
#include "shell/command_table.hpp"
#include "shell/commands.hpp"
#include "ui/help.hpp"
#include "ui/menus.hpp"
#include "ui/prompt.hpp"
#include "shell/runtime_settings.hpp"
#include "shell/tokenizer.hpp"

namespace kavro {

namespace {

const char* const kScriptName = "kavro.cf";
// Process arguments copied into words; later ones still count.
constexpr int kCopiedArguments = 9;

// Trims and echoes one line read, then splits it. Nothing for an empty line;
// otherwise the word count. A line that cannot be split ends the program.
std::optional<int> prepare_line(std::string line, CommandLine& words, bool from_script) {
    trim_right(line);
    jout("\n今の入力内容: %s.\n", line.c_str());
    if (line.empty()) return std::nullopt;
    if (line.size() + 42 > kLineBuffer) {
        jerr("コマンドが長すぎます.\n");
        end_program(1);
    }
    for (int k = 0; k < kEndMarkerPairs; ++k) line += " #";
    if (split_command_line(line, words) != 0) {
        if (from_script)
            err("Error in reading line from %s.\n", kScriptName);
        else
            err("Error in reading line.\n");
        end_program(1);
    }
    return count_words(words);
}

// The process arguments as the command's words; the count is the number of
// arguments, even beyond those copied.
int command_line_words(int argc, char** argv, CommandLine& words) {
    // Process arguments are taken whole: the 99-character room of a word
    // limits typed lines, but a long path given by the shell must not be cut.
    for (int k = 1; k < argc && k <= kCopiedArguments; ++k) words[k - 1] = argv[k];
    return argc - 1;
}

int run_command_line(int count, CommandLine& words) {
    if (count > kMaxWords) {
        err("Too many arguments: a command takes at most %d words, the command word included.\n", kMaxWords);
        end_program(1);
    }
    return dispatch_command(count, words);
}

// Every line of the script is a command; failures are reported and skipped.
// 0, or 1 when the script could not be read to its end.
int run_script(LineReader& script, CommandLine& words) {
    std::string_view piece;
    int line_number = 0;
    while (script.read_piece(piece, kCommandPiece)) {
        ++line_number;
        std::optional<int> count = prepare_line(std::string(piece), words, true);
        if (!count) continue;
        if (dispatch_command(*count, words) != 0)
            err("Error in line %d with command: %s %s. Skipping...\n", line_number, words[0].c_str(),
                words[1].c_str());
    }
    return script.finish() ? 0 : 1;
}

bool is_help_word(const std::string& w) { return w == "h" || w == "help" || w == "-help" || w == "-h"; }

// Help, menu, setvar, system and comment lines keep the menu open; the first
// other command ends the run with its status. The end of standard input
// ends the run as "exit" does.
int run_menu(CommandLine& words) {
    LineReader& in = stdin_reader();
    int status = 0;
    std::string_view piece;
    for (;;) {
        if (words[0] != "menu") print_main_menu();
        std::optional<int> count;
        while (!count) {
            if (!in.read_piece(piece, kCommandPiece)) return in.finish() ? status : 1;
            count = prepare_line(std::string(piece), words, false);
        }
        const std::string& command = words[0];
        if (is_help_word(command)) {
            if (words[1].empty())
                help_loop();
            else
                show_help(words[1]);
        } else if (command == "menu") {
            if (words[1].empty()) print_category_menu();
        } else if (command == "e" || command == "exit") {
            return status;
        } else if (command == "setvar" || command == "system") {
            status = command == "setvar" ? cmd_setvar(*count, words) : cmd_system(*count, words);
            wait_for_y();
        } else if (*count != 0 && !find_command(command)) {
            // A typo: dispatch reports it, and the menu comes again.
            static_cast<void>(dispatch_command(*count, words));
        } else {
            status = dispatch_command(*count, words);
            if (*count != 0) return status;
        }
        if (stdin_closed()) return status;
    }
}

void finish(int status) {
    if (status == 0)
        jout("完了.\n");
    else
        jout("終了します..\n");
}

// The answers to the two options that package tests and workflow engines
// ask before any command word: plain text on standard output, no banner.
const char* const kCommandSummary =
    "Usage: kavro <command> <arguments>   (a command given alone asks for its arguments)\n"
    "       kavro help <command>           (the usage of one command)\n"
    "       kavro --version | --help\n"
    "\n"
    "Commands (menu numbers in brackets):\n"
    "  txtr (1)                 clean up a text file (blanks, numbers, case, empty lines, line ends, re-flow, line ranges)\n"
    "  getseq2 (2)              cut a stretch out of a sequence, optionally as the complementary strand\n"
    "  toprot (3)               translate a DNA sequence (one or six frames, composite and presentation forms, ORF lists)\n"
    "  tofast (4)               convert GenBank, EMBL, SwissProt/UniProt, PIR, NBRF, FASTA, CLUSTAL or raw files to FASTA\n"
    "  complement, comple       tofast writing the complementary strand\n"
    "  toRNA, torna             tofast writing RNA\n"
    "  clu2fa                   tofast for CLUSTAL alignments (multi-FASTA output)\n"
    "  seqcat (5)               join the sequence of a second file to that of a first\n"
    "  extcds (21)              protein translations of the CDS features of GenBank/EMBL entries\n"
    "  cdsnuc (22)              coding sequences of the CDS features, with flanks or split by exon\n"
    "  extrna (23)              tRNA, rRNA and snRNA sequences\n"
    "  genlist (24)             list of the CDS names of a file, or its gene table\n"
    "  getent (25)              whole entries chosen by ID, accession, organism, definition, number, file or group\n"
    "  extint (26)              introns of the CDS features\n"
    "  noncod (27)              non-coding stretches between features\n"
    "  getclu (31)              sub-alignments, format conversion, sorting, gap removal, information-content selection\n"
    "  chname (32)              rename entries of a FASTA or CLUSTAL file\n"
    "  simtbl (33)              similarity tables, lists of identical sequences, non-redundant sets\n"
    "  nucaln                   nucleotide alignment following a protein alignment\n"
    "  sites                    motif and palindrome search\n"
    "  splcod                   split a codon alignment by codon position\n"
    "  h, help, -h, -help       the help loop, or the usage of one command\n"
    "  cp, copy                 copy a text file\n"
    "  rm, remove, del, delete  remove files\n"
    "  fcat, cat                append a text file to another\n"
    "  setvar                   change a run-time setting (printline, form, addseqg, seq_import)\n"
    "  system                   run an operating-system command line\n"
    "\n"
    "An output name ending in .gz is written gzip-compressed; \"stdout\" writes to standard output.\n";

// "--version" and "--help" as the only argument: their text, or nothing for
// any other command line.
std::optional<std::string> startup_option_text(int argc, char** argv) {
    if (argc != 2) return std::nullopt;
    const std::string_view word = argv[1];
    if (word == "--version") return std::string("kavro ") + kProgramVersion + "\n";
    if (word == "--help") return std::string(kCommandSummary);
    return std::nullopt;
}

}  // namespace

int run_program(int argc, char** argv) {
    if (const auto text = startup_option_text(argc, argv)) {
        out_text(*text);
        return flush_console() ? 0 : 1;
    }
    CommandLine words;
    int status = 0;
    try {
        // A command line whose data go to standard output sends the banner
        // and the closing line to standard error as well.
        const int count = command_line_words(argc, argv, words);
        if (count > 0 && command_writes_to_stdout(count, words)) set_messages_to_stderr(true);
        print_banner();
        read_environment_settings();
        if (argc > 1) {
            status = run_command_line(count, words);
            finish(status);
        } else if (auto script = LineReader::open(kScriptName)) {
            status = run_script(*script, words);
        } else {
            status = run_menu(words);
            finish(status);
        }
    } catch (const ProgramExit& e) {
        status = e.status;
    } catch (const std::bad_alloc&) {
        err("Out of memory.\n");
        status = 1;
    } catch (const std::exception& e) {
        err("Unexpected error: %s\n", e.what());
        status = 1;
    } catch (...) {
        err("Unexpected error.\n");
        status = 1;
    }
    // A failed write to standard output, or to a file whose failure showed
    // only when it was closed on the way out, is a failed run.
    if (!flush_console()) status = 1;
    if (Writer::unchecked_failures() > 0) status = 1;
    return status == 0 ? 0 : 1;
}

}  // namespace kavro
