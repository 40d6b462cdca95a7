// rm / remove / del / delete: removes every file named, going on past a
// failure, and fails if any removal failed.
#include <unistd.h>

#include "core/console.hpp"
#include "ui/command_line.hpp"

namespace kavro {

int cmd_rm(int count, CommandLine& words) {
    const std::string& w0 = words[0];
    if (w0 != "rm" && w0 != "remove" && w0 != "del" && w0 != "delete") return 1;
    int status = 0;
    for (int i = 1; i < count && i < kMaxWords && !words[i].empty(); ++i) {
        if (::unlink(words[i].c_str()) == 0) {
            out("File: %s removed.\n", words[i].c_str());
        } else {
            err("Unable to remove file: %s.\n", words[i].c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace kavro
