// The command table. Rows are searched in order and the first match wins;
// number aliases are words too ("21" is matched as a string).
#include "shell/command_table.hpp"

#include "output/output_target.hpp"
#include "shell/commands.hpp"

namespace kavro {

std::span<const CommandRow> command_table() {
    static const CommandRow rows[] = {
        {{"txtr"}, "1", cmd_txtr, '\0', 0},
        {{"getseq2"}, "2", cmd_getseq2, '\0', 0},
        {{"toprot"}, "3", cmd_toprot, '\0', 2},
        {{"tofast"}, "4", cmd_tofast, '\0', 2},
        {{"complement", "comple"}, "", cmd_tofast, 'c', 2},
        {{"toRNA", "torna"}, "", cmd_tofast, 'r', 2},
        {{"seqcat"}, "5", cmd_seqcat, '\0', 0},
        {{"extcds"}, "21", cmd_extcds, '\0', 2},
        {{"cdsnuc"}, "22", cmd_cdsnuc, '\0', 2},
        {{"extrna"}, "23", cmd_extrna, '\0', 2},
        {{"genlist"}, "24", cmd_genlist, '\0', 2},
        {{"getent"}, "25", cmd_getent, '\0', 2},
        {{"extint"}, "26", cmd_extint, '\0', 2},
        {{"noncod"}, "27", cmd_noncod, '\0', 2},
        {{"getclu"}, "31", cmd_getclu, '\0', 0},
        {{"chname"}, "32", cmd_chname, '\0', 0},
        {{"simtbl"}, "33", cmd_simtbl, '\0', 2},
        {{"clu2fa"}, "", cmd_tofast, '\0', 2},
        {{"nucaln"}, "", cmd_nucaln, '\0', 0},
        {{"sites"}, "", cmd_sites, '\0', 2},
        {{"splcod"}, "", cmd_splcod, '\0', 0},
        {{"h", "help", "-h", "-help"}, "", cmd_help, '\0', 0},
        {{"rm", "remove", "del", "delete"}, "", cmd_rm, '\0', 0},
        {{"cp", "copy"}, "", cmd_cp, '\0', 0},
        {{"setvar"}, "", cmd_setvar, '\0', 0},
        {{"system"}, "", cmd_system, '\0', 0},
        {{"fcat", "cat"}, "", cmd_fcat, '\0', 0},
    };
    return rows;
}

const CommandRow* find_command(std::string_view word) {
    if (word.empty()) return nullptr;
    for (const CommandRow& row : command_table()) {
        if (word == row.number) return &row;
        for (std::string_view w : row.words)
            if (word == w) return &row;
    }
    return nullptr;
}

int apply_tofast_option(char option, int count, CommandLine& words) {
    if (option == '\0' || words[1].empty() || words[2].empty()) return count;
    words.clear_from(3);
    words[3] = std::string(1, option);
    return 4;
}

bool writes_data_to_stdout(const CommandRow& row, int count, const CommandLine& words) {
    if (row.handler == cmd_genlist && count == 2) return words[1] != "help" && words[1] != "-h";
    const int at = row.data_output_word;
    return at > 0 && at < count && at < kMaxWords && OutputTarget::names_stdout(words[at]);
}

}  // namespace kavro
