// Help: the command list, the loop that shows the usage text of each command
// the user names, and the lookup from a command word or number to its text.
#include "ui/help.hpp"

#include <string>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "ui/console_input.hpp"
#include "ui/prompt.hpp"
#include "ui/usage_texts.hpp"

namespace kavro {

std::span<const HelpTopic> help_topics() {
    // Built on first use, so the usage texts of the other file are in place.
    static const HelpTopic topics[] = {
        {"txtr", "1", usage::txtr},          {"getseq2", "2", usage::getseq2},
        {"toprot", "3", usage::toprot},      {"tofast", "4", usage::tofast},
        {"complement", "", usage::complement}, {"toRNA", "", usage::to_rna},
        {"seqcat", "5", usage::seqcat},      {"extcds", "21", usage::extcds},
        {"cdsnuc", "22", usage::cdsnuc},     {"extrna", "23", usage::extrna},
        {"genlist", "24", usage::genlist},   {"getent", "25", usage::getent},
        {"extint", "26", usage::extint},     {"noncod", "27", usage::noncod},
        {"getclu", "31", usage::getclu},     {"chname", "32", usage::chname},
        {"simtbl", "33", usage::simtbl},     {"nucaln", "", usage::nucaln},
        {"sites", "", usage::sites},         {"splcod", "", usage::splcod},
        {"setvar", "", usage::other_commands}, {"system", "", usage::other_commands},
        {"other", "99", usage::other_commands}, {"codon", "91", usage::codon_tables},
    };
    return topics;
}

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
    for (const HelpTopic& topic : help_topics())
        if (word == topic.word || word == topic.number) return topic.usage;
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

}  // namespace kavro
