// The program's entry: banner, settings from the environment, then exactly
// one of the three run modes (command line, start-up script, menu).
#include "shell/shell.hpp"

#include <exception>
#include <new>
#include <optional>

#include "core/console.hpp"
#include "core/program_exit.hpp"
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

}  // namespace

int run_program(int argc, char** argv) {
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
