// Help: the command list, the loop that shows the usage text of each command
// the user names, and the lookup from a command word or number to its text.
#include "shell/help.hpp"

#include <string>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "shell/command_table.hpp"
#include "shell/commands.hpp"
#include "shell/console_input.hpp"
#include "shell/prompt.hpp"
#include "shell/usage_texts.hpp"

namespace kavro {

namespace {

void print_command_list() {
    jout_text(
        "**********************************************************\n"
        "              コマンド名のリスト\n\n"
        " 1. txtr     2. getseq2   3. toprot    4. tofast\n"
        " 5. seqcat  21. extcds   22. cdsnuc   23. extrna\n"
        "24. genlist 25. getent   26. extint   27. noncod\n"
        "31. getclu  32. chname   33. simtbl   \n"
        "91. codon (コドン表の説明) 99. Other commands.\n"
        "**********************************************************\n");
}

// Help finds a command by its first word or its number only: "comple",
// "torna" and the other spare words have no help of their own.
std::string_view usage_text_for(std::string_view word) {
    if (word.empty()) return {};
    for (const CommandRow& row : command_table()) {
        if (row.usage.empty()) continue;
        if (word == row.words[0] || word == row.number) return row.usage;
    }
    if (word == "other" || word == "99") return usage::other_commands;
    if (word == "codon" || word == "91") return usage::codon_tables;
    return {};
}

}  // namespace

void show_help(std::string_view word) {
    std::string_view text = usage_text_for(word);
    if (text.empty()) {
        std::string w(word);
        jout("%s に対するヘルプはありません.\n", w.c_str());
        return;
    }
    jout_text(text);
}

void help_loop_from(LineReader& in, bool& input_ended) {
    input_ended = false;
    std::string_view piece;
    for (;;) {
        print_command_list();
        out("\n");
        jout("使い方を調べたいコマンド名を入力して下さい\n");
        jout("メインメニューにもどるには \"exit\" または \"e\".\n\n");
        if (!in.read_piece(piece, kHelpPiece)) {
            input_ended = true;
            return;
        }
        std::string line(piece);
        trim_right(line);
        if (line.empty()) continue;
        if (line == "exit" || line == "e") return;
        std::size_t pos = 0;
        std::string_view word = next_word(line, &pos);
        if (word.empty()) continue;
        show_help(word);
        if (!wait_for_y_from(in)) {
            input_ended = true;
            return;
        }
    }
}

void help_loop() {
    bool ended = false;
    help_loop_from(stdin_reader(), ended);
    if (ended) mark_stdin_closed();
}

int cmd_help(int, CommandLine& words) {
    if (words[1].empty())
        help_loop();
    else
        show_help(words[1]);
    return 0;
}

}  // namespace kavro
