#include "ui/prompt.hpp"

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "output/output_target.hpp"
#include "ui/console_input.hpp"

namespace kavro {

namespace {
bool g_stdin_closed = false;
}  // namespace

bool ask_input_output(CommandLine& words, const InputOutputPrompts& prompts) {
    words.set(1, "infile");
    if (!ask_argument(words[1], prompts.input)) return false;
    words.set(2, prompts.output_default ? std::string(prompts.output_default) : words[1] + prompts.output_suffix);
    if (ask_argument(words[2], prompts.output) == 0) return false;
    // Data answered onto standard output: the rest of this command's texts go
    // to standard error, as for "stdout" on the command line (the dispatcher
    // routes them back when the command ends).
    if (OutputTarget::names_stdout(words[2])) set_messages_to_stderr(true);
    return true;
}

void mark_stdin_closed() { g_stdin_closed = true; }
bool stdin_closed() { return g_stdin_closed; }

int ask_argument_from(LineReader& in, std::string& argument, const char* prompt_utf8) {
    for (;;) {
        out("     -------------------------------------------\n");
        // The prompt text is Japanese too: it is converted with the line.
        jout_text(std::string("      ") + prompt_utf8 + " または exitと入力してください。\n");
        out("     -------------------------------------------\n\n");
        // The whole word is taken, so that a long answer is refused as one
        // and its tail does not answer the next prompt.
        std::string word;
        if (!in.read_word(word, std::string::npos) || word == "exit") {
            out("You selected EXIT.\n");
            return 0;
        }
        if (word.size() > kAnswerWidth) {
            err("The answer is longer than %zu characters; type a shorter one.\n", kAnswerWidth);
            continue;
        }
        if (word != "y") argument = word;
        return 1;
    }
}

bool wait_for_y_from(LineReader& in) {
    jout("y を押してからリターンしてください.\n");
    std::string_view piece;
    for (;;) {
        if (!in.read_piece(piece, kConfirmPiece)) return false;
        bool whole_line = !piece.empty() && piece.back() == '\n';
        std::string line(piece);
        trim_right(line);
        if (line == "y") {
            // Drop the rest of this line only: lines typed ahead (or piped
            // in) are the next commands.
            if (!whole_line) in.skip_rest_of_line();
            return true;
        }
    }
}

int ask_argument(std::string& argument, const char* prompt_utf8) {
    int go_on = ask_argument_from(stdin_reader(), argument, prompt_utf8);
    if (go_on == 0 && stdin_reader().eof()) mark_stdin_closed();
    return go_on;
}

void wait_for_y() {
    if (!wait_for_y_from(stdin_reader())) mark_stdin_closed();
}

}  // namespace kavro
