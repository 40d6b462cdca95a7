#pragma once
// Every command handler of the program. Each lives in its own file under the
// subsystem it belongs to (src/convert/tofast.cpp, src/textutil/txtr.cpp...).

#include "ui/command_line.hpp"

namespace kavro {

int cmd_txtr(int count, CommandLine& words);
int cmd_getseq2(int count, CommandLine& words);
int cmd_toprot(int count, CommandLine& words);
int cmd_tofast(int count, CommandLine& words);
int cmd_seqcat(int count, CommandLine& words);
int cmd_extcds(int count, CommandLine& words);
int cmd_cdsnuc(int count, CommandLine& words);
int cmd_extrna(int count, CommandLine& words);
int cmd_genlist(int count, CommandLine& words);
int cmd_getent(int count, CommandLine& words);
int cmd_extint(int count, CommandLine& words);
int cmd_noncod(int count, CommandLine& words);
int cmd_getclu(int count, CommandLine& words);
int cmd_chname(int count, CommandLine& words);
int cmd_simtbl(int count, CommandLine& words);
int cmd_nucaln(int count, CommandLine& words);
int cmd_sites(int count, CommandLine& words);
int cmd_splcod(int count, CommandLine& words);
int cmd_rm(int count, CommandLine& words);
int cmd_cp(int count, CommandLine& words);
int cmd_fcat(int count, CommandLine& words);
int cmd_setvar(int count, CommandLine& words);
int cmd_system(int count, CommandLine& words);
// help: the help loop, or the usage text of word 1; always 0.
int cmd_help(int count, CommandLine& words);

}  // namespace kavro
