// The command table. Rows are searched in order and the first match wins;
// number aliases are words too ("21" is matched as a string).
#include "shell/command_table.hpp"

#include "shell/commands.hpp"
#include "shell/usage_texts.hpp"

namespace kavro {

std::span<const CommandRow> command_table() {
    // Built on first use, so the usage texts of the other file are in place.
    static const CommandRow rows[] = {
        {{"txtr"}, "1", cmd_txtr, '\0', usage::txtr},
        {{"getseq2"}, "2", cmd_getseq2, '\0', usage::getseq2},
        {{"toprot"}, "3", cmd_toprot, '\0', usage::toprot},
        {{"tofast"}, "4", cmd_tofast, '\0', usage::tofast},
        {{"complement", "comple"}, "", cmd_tofast, 'c', usage::complement},
        {{"toRNA", "torna"}, "", cmd_tofast, 'r', usage::to_rna},
        {{"seqcat"}, "5", cmd_seqcat, '\0', usage::seqcat},
        {{"extcds"}, "21", cmd_extcds, '\0', usage::extcds},
        {{"cdsnuc"}, "22", cmd_cdsnuc, '\0', usage::cdsnuc},
        {{"extrna"}, "23", cmd_extrna, '\0', usage::extrna},
        {{"genlist"}, "24", cmd_genlist, '\0', usage::genlist},
        {{"getent"}, "25", cmd_getent, '\0', usage::getent},
        {{"extint"}, "26", cmd_extint, '\0', usage::extint},
        {{"noncod"}, "27", cmd_noncod, '\0', usage::noncod},
        {{"getclu"}, "31", cmd_getclu, '\0', usage::getclu},
        {{"chname"}, "32", cmd_chname, '\0', usage::chname},
        {{"simtbl"}, "33", cmd_simtbl, '\0', usage::simtbl},
        {{"clu2fa"}, "", cmd_tofast, '\0', ""},
        {{"nucaln"}, "", cmd_nucaln, '\0', usage::nucaln},
        {{"sites"}, "", cmd_sites, '\0', usage::sites},
        {{"splcod"}, "", cmd_splcod, '\0', usage::splcod},
        {{"h", "help", "-h", "-help"}, "", cmd_help, '\0', ""},
        {{"rm", "remove", "del", "delete"}, "", cmd_rm, '\0', ""},
        {{"cp", "copy"}, "", cmd_cp, '\0', ""},
        {{"setvar"}, "", cmd_setvar, '\0', usage::other_commands},
        {{"system"}, "", cmd_system, '\0', usage::other_commands},
        {{"fcat", "cat"}, "", cmd_fcat, '\0', ""},
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

}  // namespace kavro
