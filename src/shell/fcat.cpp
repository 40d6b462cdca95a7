// fcat / cat: appends the second text file to the first.
#include "core/console.hpp"
#include "ui/command_line.hpp"
#include "ui/file_copy.hpp"

namespace kavro {

int cmd_fcat(int count, CommandLine& words) {
    if (count != 3) return 1;
    const std::string& target = words[1];
    const std::string& source = words[2];
    out("Adding text file: %s after the file: %s\n", source.c_str(), target.c_str());
    // Appending a file to itself would read what it has just written.
    if (same_file(target, source)) {
        err("Cannot append a file to itself: %s\n", target.c_str());
        return 1;
    }
    auto dest = Writer::open_append(target);
    if (!dest) {
        err("Cannot open file: %s\n", target.c_str());
        return 1;
    }
    auto in = LineReader::open(source);
    if (!in) {
        err("Cannot open file: %s\n", source.c_str());
        return 1;
    }
    return copy_into(*in, *dest, target);
}

}  // namespace kavro
