// Placeholder until the shell lands: prints the banner and ends.
#include "shell/shell.hpp"

#include "core/console.hpp"
#include "core/program_exit.hpp"

namespace kavro {

int dispatch_command(int, CommandLine&) { return 1; }
int split_command_line(const std::string&, CommandLine&) { return 1; }

int run_program(int argc, char** argv) {
    int status = 0;
    try {
        jout("\n\n**************************************************\n");
        jout("      KAVRO バージョン %s \n", "1.59.9");
        jout("      'menu' と入力すると詳細なメニューがでます.\n");
        jout("**************************************************\n\n");
        status = argc > 1 ? 1 : 0;
    } catch (const ProgramExit& e) {
        status = e.status;
    }
    if (!flush_console() && status == 0) status = 1;
    return status;
}

}  // namespace kavro
