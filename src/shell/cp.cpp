// cp / copy: copies a text file.
#include "core/console.hpp"
#include "ui/command_line.hpp"
#include "ui/file_copy.hpp"

namespace kavro {

int cmd_cp(int count, CommandLine& words) {
    out("Copying file: %s to %s.\n", words[1].c_str(), words[2].c_str());
    if (count != 3 || (words[0] != "cp" && words[0] != "copy")) return 1;
    if (words[1].empty() || words[2].empty()) return 1;
    return copy_text_file(words[1], words[2]);
}

}  // namespace kavro
