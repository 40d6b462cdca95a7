// help / h: the help loop, or the usage text of the command named.
#include "shell/commands.hpp"
#include "ui/help.hpp"

namespace kavro {

int cmd_help(int, CommandLine& words) {
    if (words[1].empty())
        help_loop();
    else
        show_help(words[1]);
    return 0;
}

}  // namespace kavro
